#pragma once
// The records every part of the program shares. TControlMapping and TProfile are stored as raw
// bytes (profile store, single-profile files), so their layout is fixed to the byte.
#include "engine/ShortString.h"
#include "platform/dinput/DirectInput.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace padwright {

enum TFunctionKind : std::int32_t {
    fkNone = 0,
    fkKey = 1,
    fkAppCommand = 2,
    fkMouse = 8,
    fkPower = 16,
};

enum TPressState : std::int32_t {
    psIdle = 0,
    psPressed = 1,
    psRepeating = 2,
};

constexpr int FunctionNameCapacity = 50;
constexpr int NameCapacity = 255;

struct TControlMapping {
    ShortString<FunctionNameCapacity> FunctionName;
    std::uint8_t Filler1;
    std::int32_t Code;
    std::int32_t Kind;
    std::uint8_t Ctrl;
    std::uint8_t Alt;
    std::uint8_t Win;
    std::uint8_t Shift;
    std::uint8_t AutoRepeat;
    std::uint8_t Filler2[3];
    std::int32_t RepeatRate;
    std::int32_t RepeatCountdown;
    std::int32_t Reserved;
    std::int32_t PressState;
};

static_assert(std::is_standard_layout_v<TControlMapping>);
static_assert(std::is_trivially_copyable_v<TControlMapping>);
static_assert(sizeof(TControlMapping) == 84);
static_assert(offsetof(TControlMapping, FunctionName) == 0);
static_assert(offsetof(TControlMapping, Filler1) == 51);
static_assert(offsetof(TControlMapping, Code) == 52);
static_assert(offsetof(TControlMapping, Kind) == 56);
static_assert(offsetof(TControlMapping, Ctrl) == 60);
static_assert(offsetof(TControlMapping, Alt) == 61);
static_assert(offsetof(TControlMapping, Win) == 62);
static_assert(offsetof(TControlMapping, Shift) == 63);
static_assert(offsetof(TControlMapping, AutoRepeat) == 64);
static_assert(offsetof(TControlMapping, Filler2) == 65);
static_assert(offsetof(TControlMapping, RepeatRate) == 68);
static_assert(offsetof(TControlMapping, RepeatCountdown) == 72);
static_assert(offsetof(TControlMapping, Reserved) == 76);
static_assert(offsetof(TControlMapping, PressState) == 80);

// Control slots of a profile.
constexpr int AxisCount = 6; // X, Y, Z, Rx, Ry, Rz
constexpr int MaxSliders = 2;
constexpr int MaxHats = 4;
constexpr int HatDirections = 8;
constexpr int MaxButtons = 128;
constexpr int SlotCount = 176;
constexpr int FirstSliderSlot = 12;
constexpr int FirstHatSlot = 16;
constexpr int FirstButtonSlot = 48;

// axis 0..5 (X..Rz); positive = false for the "-" direction.
constexpr int AxisSlot(int axis, bool positive) {
    return 2 * axis + (positive ? 1 : 0);
}
// slider 0..1
constexpr int SliderSlot(int slider, bool positive) {
    return FirstSliderSlot + 2 * slider + (positive ? 1 : 0);
}
// hat 0..3, direction 0..7 (0 = up, clockwise in 45 degree steps)
constexpr int HatSlot(int hat, int direction) {
    return FirstHatSlot + 8 * hat + direction;
}
// button 0..127
constexpr int ButtonSlot(int button) {
    return FirstButtonSlot + button;
}

// A set of control slots, one bit per slot.
using SlotSet = std::bitset<SlotCount>;

struct TProfile {
    ShortString<NameCapacity> Name;
    TControlMapping Mappings[SlotCount];
};

static_assert(std::is_standard_layout_v<TProfile>);
static_assert(std::is_trivially_copyable_v<TProfile>);
static_assert(sizeof(TProfile) == 15040);
static_assert(offsetof(TProfile, Name) == 0);
static_assert(offsetof(TProfile, Mappings) == 256);

// Hat direction labels as the settings panel shows them.
inline constexpr const char* HatDirectionLabels[HatDirections] = {"Up",   "U-R", "Right", "D-R",
                                                                  "Down", "D-L", "Left",  "U-L"};

// One found or active controller. Names are UTF-8, cut to 255 bytes.
struct TJoystick {
    std::string Name;
    std::uint32_t JoystickID = 0;
    GUID Guid{};
    std::int32_t MaxVal = 10;
    std::int32_t DeadZone = 10;
    std::int32_t Threshold = 5;
    // The user's own choice of profile: what the settings keep.
    std::int32_t Profile = 0;
    // A profile set in its place by a program rule or a command, for as long as the program in
    // front stays; 0: Profile is in effect. Never saved.
    std::int32_t FollowedProfile = 0;
    bool RepeatKeys = true;
    bool Acquired = false;
    std::string XName, YName, ZName, RxName, RyName, RzName;
    std::array<std::string, MaxSliders> SliderNames;
    std::array<std::string, MaxHats> POVNames;
    std::array<std::string, MaxButtons> ButtonNames;
    std::int32_t XCount = 0, YCount = 0, ZCount = 0, RxCount = 0, RyCount = 0, RzCount = 0;
    std::int32_t SliderCount = 0;
    std::int32_t POVCount = 0;
    std::array<std::int32_t, MaxHats> POVMax{};
    std::int32_t ButtonCount = 0;
    // The opened device; copies share the one reference, as COM's AddRef would.
    std::shared_ptr<IDirectInputDevice8> Device;
    // The controls its last evaluated reading engaged; empty once it is released or not read.
    SlotSet Engaged;
    // The descriptor Device signals input on (SetEventNotification); -1 when it must be polled.
    int Notification = -1;

    // The profile number the engine reads the controller with.
    std::int32_t ProfileInEffect() const {
        return FollowedProfile != 0 ? FollowedProfile : Profile;
    }

    void ClearObjectCounts() {
        XCount = YCount = ZCount = RxCount = RyCount = RzCount = 0;
        SliderCount = POVCount = ButtonCount = 0;
    }
};

// "Name: <name> -- ID: <id>", the text of a controller in both controller lists.
std::string ControllerListText(const TJoystick& joystick);

// Whether two controller names are one as the settings keep names (TrimmedName): a found
// controller's name is matched against a remembered one so.
bool SameControllerName(std::string_view a, std::string_view b);

} // namespace padwright
