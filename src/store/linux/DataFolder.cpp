#include "store/DataFolder.h"

#include <cstdlib>

namespace padwright {

// Where the desktop's other programs keep their data too (the toolkit's generic data location).
std::string DataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (dataHome && *dataHome) {
        base = dataHome;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.local/share";
    }
    return base + "/Padwright";
}

} // namespace padwright
