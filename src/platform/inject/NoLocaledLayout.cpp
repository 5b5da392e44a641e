#include "platform/inject/SystemLayout.h"

namespace padwright {

std::optional<XkbNames> ReadSystemLayout(std::string& error) {
    error = "this build has no D-Bus client to ask systemd-localed";
    return std::nullopt;
}

} // namespace padwright
