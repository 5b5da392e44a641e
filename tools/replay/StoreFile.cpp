#include "StoreFile.h"

#include "engine/Errors.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace padwright::replay {

void LoadStoreFile(const std::string& path, StableList<TProfile>& profiles) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InOutError(errno, path);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw InOutError(errno, path);
    if (bytes.size() % sizeof(TProfile) != 0)
        throw Error("Padwright.pro is not compatible with this version.");
    for (std::size_t at = 0; at < bytes.size(); at += sizeof(TProfile)) {
        TProfile profile;
        std::memcpy(&profile, bytes.data() + at, sizeof profile);
        profiles.push_back(profile);
    }
}

} // namespace padwright::replay
