#pragma once
// One controller of Windows' DirectInput behind the seam (see WinDirectInput.h).
#include "platform/dinput/DirectInput.h"

struct IDirectInputDevice8A;

namespace padwright {

class WinDevice final : public IDirectInputDevice8 {
public:
    // Takes over the reference to `device`.
    explicit WinDevice(::IDirectInputDevice8A* device) : device_(device) {}
    ~WinDevice() override;
    WinDevice(const WinDevice&) = delete;
    WinDevice& operator=(const WinDevice&) = delete;

    HRESULT SetCooperativeLevel(WindowHandle window, DWORD flags) override;
    HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD flags) override;
    HRESULT GetProperty(DWORD property, DIPROPHEADER* header) override;
    HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override;
    HRESULT Poll() override;
    HRESULT GetDeviceState(DWORD size, void* data) override;
    // Makes an auto-reset event, hands it to DirectInput and, once it is accepted, to the
    // caller: DirectInput sets it on every change of the state, and a wait on it resets it.
    HRESULT SetEventNotification(HANDLE event) override;

private:
    void CloseEvent();

    ::IDirectInputDevice8A* device_;
    WaitHandle event_ = NoWaitHandle;
};

} // namespace padwright
