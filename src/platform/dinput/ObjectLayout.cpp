#include "platform/dinput/ObjectLayout.h"

#include <cstddef>

namespace padwright {

namespace {

constexpr const char* AxisNames[6] = {"X Axis",     "Y Axis",     "Z Axis",
                                      "X Rotation", "Y Rotation", "Z Rotation"};
const GUID* const AxisTypes[6] = {&GUID_XAxis,  &GUID_YAxis,  &GUID_ZAxis,
                                  &GUID_RxAxis, &GUID_RyAxis, &GUID_RzAxis};
constexpr unsigned SimulationCodes[] = {ABS_THROTTLE, ABS_RUDDER, ABS_WHEEL, ABS_GAS, ABS_BRAKE};

// A hat is read by the signs of its two values, which needs a centre at 0 with room on both
// sides; pressures (0..255) on HAT codes are not hats.
bool IsHatRange(const AbsRange& r) {
    return r.minimum < 0 && 0 < r.maximum;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(const EvdevDescription& device) : device_(device) {
        layout_.absObject.fill(ObjectLayout::None);
        layout_.keyObject.fill(ObjectLayout::None);
    }

    ObjectLayout Build() {
        // Which code each axis and slider reads: X..Rz their own codes, then the simulation
        // codes in code order take the two sliders and after them the axes still free, so a
        // wheel with throttle, wheel, gas and brake keeps all four.
        std::array<int, 6> axisCode;
        axisCode.fill(-1);
        std::array<int, MaxLayoutSliders> sliderCode;
        sliderCode.fill(-1);
        for (int axis = 0; axis < 6; ++axis)
            if (device_.HasAbs(ABS_X + static_cast<unsigned>(axis)))
                axisCode[static_cast<std::size_t>(axis)] = ABS_X + axis;
        int sliders = 0;
        for (unsigned code : SimulationCodes) {
            if (!device_.HasAbs(code))
                continue;
            if (sliders < MaxLayoutSliders) {
                sliderCode[static_cast<std::size_t>(sliders++)] = static_cast<int>(code);
                continue;
            }
            for (int& taken : axisCode) {
                if (taken < 0) {
                    taken = static_cast<int>(code);
                    break;
                }
            }
        }
        for (int axis = 0; axis < 6; ++axis)
            if (const int code = axisCode[static_cast<std::size_t>(axis)]; code >= 0)
                AddAxis(ObjectKind::Axis, axis, *AxisTypes[axis], AxisNames[axis],
                        static_cast<unsigned>(code), static_cast<DWORD>(4 * axis));
        for (int slider = 0; slider < sliders; ++slider)
            AddAxis(ObjectKind::Slider, slider, GUID_Slider, "Slider",
                    static_cast<unsigned>(sliderCode[static_cast<std::size_t>(slider)]),
                    static_cast<DWORD>(offsetof(DIJOYSTATE2, rglSlider) + 4 * slider));
        AddHats();
        AddButtons();
        return std::move(layout_);
    }

private:
    void Add(ObjectInfo info) { layout_.objects.push_back(std::move(info)); }
    std::int16_t NextIndex() const { return static_cast<std::int16_t>(layout_.objects.size()); }

    void AddAxis(ObjectKind kind, int index, const GUID& type, const char* name, unsigned code,
                 DWORD offset) {
        layout_.absObject[code] = NextIndex();
        Add({kind, index, type, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axisInstance_++), offset, name,
             code, 0, device_.absinfo[code]});
    }

    void AddHats() {
        int hats = 0;
        for (unsigned pair = 0; pair < 4 && hats < MaxLayoutHats; ++pair) {
            const unsigned x = ABS_HAT0X + 2 * pair;
            const unsigned y = x + 1;
            if (!device_.HasAbs(x) || !device_.HasAbs(y) || !IsHatRange(device_.absinfo[x]) ||
                !IsHatRange(device_.absinfo[y]))
                continue;
            layout_.absObject[x] = layout_.absObject[y] = NextIndex();
            Add({ObjectKind::Hat, hats, GUID_POV,
                 DIDFT_POV | DIDFT_MAKEINSTANCE(static_cast<DWORD>(hats)),
                 static_cast<DWORD>(offsetof(DIJOYSTATE2, rgdwPOV) + 4 * hats), "Hat Switch", x, y,
                 AbsRange{}});
            ++hats;
        }
    }

    void AddButtons() {
        int buttons = 0;
        for (unsigned code = BTN_MISC; code < KEY_CNT && buttons < MaxLayoutButtons; ++code) {
            if (!device_.HasKey(code))
                continue;
            layout_.keyObject[code] = NextIndex();
            Add({ObjectKind::Button, buttons, GUID_Button,
                 DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(static_cast<DWORD>(buttons)),
                 static_cast<DWORD>(offsetof(DIJOYSTATE2, rgbButtons) + buttons),
                 "Button " + std::to_string(buttons), code, 0, AbsRange{}});
            ++buttons;
        }
    }

    const EvdevDescription& device_;
    ObjectLayout layout_;
    DWORD axisInstance_ = 0;
};

} // namespace

const ObjectInfo* ObjectLayout::FindByType(DWORD dwType) const {
    for (const ObjectInfo& o : objects)
        if (o.dwType == dwType)
            return &o;
    return nullptr;
}

const ObjectInfo* ObjectLayout::FindByOffset(DWORD offset) const {
    for (const ObjectInfo& o : objects)
        if (o.dwOfs == offset)
            return &o;
    return nullptr;
}

ObjectLayout BuildObjectLayout(const EvdevDescription& device) {
    return LayoutBuilder(device).Build();
}

std::vector<UnusedCode> UnusedCodes(const EvdevDescription& device, const ObjectLayout& layout) {
    std::vector<UnusedCode> unused;
    for (unsigned code = 0; code < ABS_CNT; ++code)
        if (device.HasAbs(code) && layout.absObject[code] == ObjectLayout::None)
            unused.push_back({EV_ABS, code});
    for (unsigned code = 0; code < KEY_CNT; ++code)
        if (device.HasKey(code) && layout.keyObject[code] == ObjectLayout::None)
            unused.push_back({EV_KEY, code});
    return unused;
}

} // namespace padwright
