#include "platform/dinput/ObjectLayout.h"

#include <cstddef>

namespace padwright {

namespace {

constexpr const char* AxisNames[6] = {"X Axis",     "Y Axis",     "Z Axis",
                                      "X Rotation", "Y Rotation", "Z Rotation"};
const GUID* const AxisTypes[6] = {&GUID_XAxis,  &GUID_YAxis,  &GUID_ZAxis,
                                  &GUID_RxAxis, &GUID_RyAxis, &GUID_RzAxis};
constexpr unsigned SliderCodes[] = {ABS_THROTTLE, ABS_RUDDER, ABS_WHEEL, ABS_GAS, ABS_BRAKE};

bool IsHatRange(const AbsRange& r) {
    return r.minimum == -1 && r.maximum == 1;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(const EvdevDescription& device) : device_(device) {
        layout_.absObject.fill(ObjectLayout::None);
        layout_.keyObject.fill(ObjectLayout::None);
    }

    ObjectLayout Build() {
        for (int axis = 0; axis < 6; ++axis) {
            const unsigned code = ABS_X + static_cast<unsigned>(axis);
            if (device_.HasAbs(code))
                AddAxis(ObjectKind::Axis, axis, *AxisTypes[axis], AxisNames[axis], code,
                        static_cast<DWORD>(4 * axis));
        }
        int sliders = 0;
        for (unsigned code : SliderCodes) {
            if (sliders == MaxLayoutSliders)
                break;
            if (device_.HasAbs(code)) {
                AddAxis(ObjectKind::Slider, sliders, GUID_Slider, "Slider", code,
                        static_cast<DWORD>(offsetof(DIJOYSTATE2, rglSlider) + 4 * sliders));
                ++sliders;
            }
        }
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

    // Some pads report button pressures on HAT codes; only a -1..1 pair is a hat switch.
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

} // namespace padwright
