#include "platform/dinput/win/WinDirectInput.h"

#include "platform/dinput/win/WinDevice.h"

#include <cstring>

// After the seam: DirectInput's header defines the seam's constant names as macros of the same
// values, so from here on they are DirectInput's own; its interface names stay the seam's.
#include <dinput.h>
#undef IDirectInput8
#undef IDirectInputDevice8

namespace padwright {

namespace {

class WinDirectInput final : public IDirectInput8 {
public:
    explicit WinDirectInput(::IDirectInput8A* directInput) : directInput_(directInput) {}
    ~WinDirectInput() override { directInput_->Release(); }
    WinDirectInput(const WinDirectInput&) = delete;
    WinDirectInput& operator=(const WinDirectInput&) = delete;

    HRESULT EnumDevices(DWORD devType, const EnumDevicesCallback& callback, void* context,
                        DWORD flags) override {
        Devices c{&callback, context};
        return directInput_->EnumDevices(devType, OnDevice, &c, flags);
    }

    HRESULT CreateDevice(const padwright::GUID& instance,
                         std::shared_ptr<IDirectInputDevice8>& device) override {
        ::GUID guid;
        std::memcpy(&guid, &instance, sizeof guid);
        ::IDirectInputDevice8A* made = nullptr;
        const HRESULT hr = directInput_->CreateDevice(guid, &made, nullptr);
        if (SUCCEEDED(hr))
            device = std::make_shared<WinDevice>(made);
        return hr;
    }

private:
    struct Devices {
        const EnumDevicesCallback* callback;
        void* context;
    };

    // The names come as the ANSI code page has them, which the manifest makes UTF-8.
    static BOOL CALLBACK OnDevice(const ::DIDEVICEINSTANCEA* device, void* raw) {
        const auto& c = *static_cast<Devices*>(raw);
        padwright::DIDEVICEINSTANCEA ours{};
        ours.dwSize = sizeof ours;
        std::memcpy(&ours.guidInstance, &device->guidInstance, sizeof ours.guidInstance);
        std::memcpy(&ours.guidProduct, &device->guidProduct, sizeof ours.guidProduct);
        ours.dwDevType = device->dwDevType;
        std::memcpy(ours.tszInstanceName, device->tszInstanceName, sizeof ours.tszInstanceName);
        std::memcpy(ours.tszProductName, device->tszProductName, sizeof ours.tszProductName);
        ours.tszInstanceName[sizeof ours.tszInstanceName - 1] = '\0';
        ours.tszProductName[sizeof ours.tszProductName - 1] = '\0';
        return (*c.callback)(ours, c.context);
    }

    ::IDirectInput8A* directInput_;
};

} // namespace

HRESULT DirectInput8Create(std::shared_ptr<IDirectInput8>& out) {
    void* made = nullptr;
    const HRESULT hr = ::DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION,
                                            IID_IDirectInput8A, &made, nullptr);
    if (SUCCEEDED(hr))
        out = std::make_shared<WinDirectInput>(static_cast<::IDirectInput8A*>(made));
    return hr;
}

} // namespace padwright
