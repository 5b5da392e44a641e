#pragma once
#include "engine/Records.h"
#include "engine/StableList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace padwright {

// "When Program is in front, Controller uses Profile": a rule of program following.
struct TProgramRule {
    // Matched, ignoring case, against the class or instance of WM_CLASS, the Wayland app id or
    // the executable's name.
    std::string Program;
    // 1-based like a controller's Profile, and kept in step with it when profiles are deleted.
    std::int32_t Profile = 0;
    // A controller's GUID in its braced text form; empty: every controller.
    std::string Controller;
};

// The lists every part works on. One object owns them; nothing here is global, so a test
// can build as many as it likes.
struct TLists {
    StableList<TProfile> Profiles;
    StableList<TJoystick> FoundJoysticks;
    StableList<TJoystick> ActiveJoysticks;
    std::int32_t MaxJoysticks = 4;
    // The rules of program following, in the order the settings keep them.
    std::vector<TProgramRule> Programs;

    // The profile a controller uses now, or nullptr for none. A profile number outside
    // 1..Profiles.size() counts as none, so a damaged setting never reaches past the list.
    TProfile* ProfileOf(const TJoystick& joystick) {
        const std::int32_t number = joystick.ProfileInEffect();
        if (number < 1 || number > Profiles.count())
            return nullptr;
        return &Profiles[static_cast<std::size_t>(number - 1)];
    }
};

// A new profile: every byte 0, then the name.
TProfile NewProfile(std::string_view name);

} // namespace padwright
