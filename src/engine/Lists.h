#pragma once
#include "engine/Records.h"
#include "engine/StableList.h"

#include <cstdint>

namespace padwright {

// The three lists every part works on. One object owns them; nothing here is global, so a test
// can build as many as it likes.
struct TLists {
    StableList<TProfile> Profiles;
    StableList<TJoystick> FoundJoysticks;
    StableList<TJoystick> ActiveJoysticks;
    std::int32_t MaxJoysticks = 4;

    // The profile a controller uses, or nullptr for none. A Profile number outside
    // 1..Profiles.size() counts as none, so a damaged setting never reaches past the list.
    TProfile* ProfileOf(const TJoystick& joystick) {
        if (joystick.Profile < 1 || joystick.Profile > Profiles.count())
            return nullptr;
        return &Profiles[static_cast<std::size_t>(joystick.Profile - 1)];
    }
};

// A new profile: every byte 0, then the name.
TProfile NewProfile(std::string_view name);

} // namespace padwright
