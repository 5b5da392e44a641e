#include "platform/inject/KeyPlacement.h"
#include "platform/inject/SystemLayout.h"
#include "platform/inject/X11Layout.h"
#include "platform/inject/XDisplayName.h"

namespace padwright {

std::unique_ptr<ILayoutSource> OpenDesktopLayout(const char* displayName) {
    const char* display = ChosenDisplay(displayName);
    std::string error;
    if (display && *display)
        if (auto x11 = X11Layout::Open(display, error))
            return x11;
    if (const auto names = ReadSystemLayout(error))
        if (const auto keys = LayoutKeysFromNames(*names, error))
            return std::make_unique<FixedLayout>(*keys);
    return std::make_unique<FixedLayout>();
}

} // namespace padwright
