#pragma once
#include <cstdlib>
#include <string>
#include <unistd.h>

// A folder of the fuzz run's own, on tmpfs when there is one: saves flush to the disk, which
// would otherwise pace the loop.
inline std::string ScratchFolder() {
    static const std::string folder = [] {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/padwright-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()))
                return pattern;
        }
        std::abort();
    }();
    return folder;
}
