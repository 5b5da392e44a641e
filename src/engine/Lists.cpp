#include "engine/Lists.h"

#include <cstring>

namespace padwright {

TProfile NewProfile(std::string_view name) {
    TProfile profile;
    std::memset(&profile, 0, sizeof profile);
    profile.Name.assign(name);
    return profile;
}

} // namespace padwright
