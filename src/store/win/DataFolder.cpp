#include "store/DataFolder.h"

#include "platform/win/Utf16.h"

#include <cstdlib>
#include <shlobj.h>

namespace padwright {

// The user's local application data, where programs keep what does not roam with the user.
std::string DataFolder() {
    std::string base;
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) {
        base = Utf8(local);
    } else {
        wchar_t* known = nullptr;
        if (SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known) == S_OK)
            base = Utf8(known);
        CoTaskMemFree(known);
    }
    return base + "\\Padwright";
}

} // namespace padwright
