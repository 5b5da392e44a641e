#pragma once
// How an evdev node is presented as a DirectInput joystick: which kernel codes become which
// objects (axes, sliders, hats, buttons), with their type GUIDs, dwType, offsets in DIJOYSTATE2
// and DirectInput's generic names.
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevDescription.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace padwright {

enum class ObjectKind : std::uint8_t { Axis, Slider, Hat, Button };

struct ObjectInfo {
    ObjectKind kind;
    int index; // axis 0..5 (X..Rz), slider 0..1, hat 0..3, button 0..127
    GUID guidType;
    DWORD dwType;     // type bits and instance number
    DWORD dwOfs;      // offset of the object's value in DIJOYSTATE2
    std::string name; // DirectInput's generic name
    unsigned codeX;   // ABS or KEY code (for a hat: its X code)
    unsigned codeY;   // a hat's Y code; unused otherwise
    AbsRange range;   // the kernel's range (axes and sliders)
};

struct ObjectLayout {
    static constexpr std::int16_t None = -1;

    std::vector<ObjectInfo> objects; // axes X..Rz, sliders, hats, buttons
    // Where a kernel code lands: the index into `objects`, or None.
    std::array<std::int16_t, ABS_CNT> absObject;
    std::array<std::int16_t, KEY_CNT> keyObject;

    const ObjectInfo* FindByType(DWORD dwType) const;
    const ObjectInfo* FindByOffset(DWORD offset) const;
};

constexpr int MaxLayoutSliders = 2;
constexpr int MaxLayoutHats = 4;
constexpr int MaxLayoutButtons = 128;

ObjectLayout BuildObjectLayout(const EvdevDescription& device);

// A kernel code of the device that became no object: a lone or pressure HAT code, a simulation
// axis with no slider or axis left, a button past the 128th, a key below BTN_MISC, and codes
// DirectInput has no object for.
struct UnusedCode {
    unsigned type; // EV_ABS or EV_KEY
    unsigned code;
};
std::vector<UnusedCode> UnusedCodes(const EvdevDescription& device, const ObjectLayout& layout);

} // namespace padwright
