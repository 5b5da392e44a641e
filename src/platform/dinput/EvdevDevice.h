#pragma once
// One controller opened through the kernel seam, presented as a DirectInput joystick device.
#include "platform/dinput/AxisScaling.h"
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevKernel.h"
#include "platform/dinput/ObjectLayout.h"

#include <memory>
#include <vector>

namespace padwright {

class EvdevDevice final : public IDirectInputDevice8 {
public:
    EvdevDevice(std::unique_ptr<IEvdevNode> node, DWORD joystickId);

    HRESULT SetCooperativeLevel(WindowHandle window, DWORD flags) override;
    HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD flags) override;
    HRESULT GetProperty(DWORD property, DIPROPHEADER* header) override;
    HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override;
    HRESULT Poll() override;
    HRESULT GetDeviceState(DWORD size, void* data) override;
    HRESULT SetEventNotification(HANDLE event) override;

    const ObjectLayout& Layout() const { return layout_; }
    // Where object `index` of Layout() rests, as its readings since the device was created
    // tell (Centre for anything but an axis or slider).
    AxisRest RestOf(std::size_t index) const { return rests_[index].Rest(); }

private:
    // DirectInput's defaults for a new joystick device.
    struct AxisSetting {
        LONG lMin = 0;
        LONG lMax = 65535;
        DWORD deadZone = 0;
    };
    struct ObjectValue {
        std::int32_t first = 0;  // axis reading, hat X, button down (as the next state shows it)
        std::int32_t second = 0; // hat Y
        // Buttons: what the last state showed, and the changes read after `first` that later
        // states are still to show, one each.
        std::int32_t shown = 0;
        std::uint32_t toggles = 0;
    };

    // Applies every pending event. False once the device has vanished.
    bool Drain();
    void Apply(const EvdevEvent& event);
    void ApplyButton(ObjectValue& v, bool down);
    // After a state was handed out: each button with changes still to show moves on by one.
    void ButtonsShown();
    // Changes read before the device was acquired are history: each button shows where it is.
    void ButtonsSettled();
    // The objects a property header addresses; empty when it addresses none.
    HRESULT Resolve(const DIPROPHEADER& header, std::vector<std::size_t>& indices) const;
    HRESULT GetObjectProperty(DWORD property, DIPROPHEADER* header);
    HRESULT SetObjectProperty(DWORD property, const DIPROPHEADER* header);

    std::unique_ptr<IEvdevNode> node_;
    ObjectLayout layout_;
    std::vector<ObjectValue> values_;
    std::vector<AxisSetting> settings_;
    std::vector<AxisRestGuess> rests_;
    DWORD joystickId_;
    bool formatSet_ = false;
    bool acquired_ = false;
    bool gone_ = false;
};

} // namespace padwright
