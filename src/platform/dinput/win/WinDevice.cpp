#include "platform/dinput/win/WinDevice.h"

#include "platform/Utf8Fit.h"
#include "platform/dinput/win/WinHandle.h"

#include <cstring>
#include <string>

// After the seam: DirectInput's header defines the seam's constant names as macros of the same
// values, so from here on they are DirectInput's own; its interface names stay the seam's.
#include <dinput.h>
#undef IDirectInput8
#undef IDirectInputDevice8

namespace padwright {

namespace {

// The seam's property ids are the numbers behind DirectInput's MAKEDIPROP GUID pointers.
const ::GUID& Property(DWORD property) {
    return *reinterpret_cast<const ::GUID*>(static_cast<std::uintptr_t>(property));
}

::DIPROPHEADER* Header(DIPROPHEADER* header) {
    return reinterpret_cast<::DIPROPHEADER*>(header);
}

// UTF-16 into the seam's UTF-8 bytes, cut without splitting a character.
void ToUtf8(const std::wstring& wide, char* out, std::size_t capacity) {
    std::string text(wide.size() * 3, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    const std::string fitted = Utf8Cut(text, capacity - 1);
    std::memcpy(out, fitted.c_str(), fitted.size() + 1);
}

struct ObjectsContext {
    const EnumObjectsCallback* callback;
    void* context;
};

BOOL CALLBACK OnObject(const ::DIDEVICEOBJECTINSTANCEA* object, void* raw) {
    const auto& c = *static_cast<ObjectsContext*>(raw);
    padwright::DIDEVICEOBJECTINSTANCEA ours{};
    ours.dwSize = sizeof ours;
    std::memcpy(&ours.guidType, &object->guidType, sizeof ours.guidType);
    ours.dwOfs = object->dwOfs;
    ours.dwType = object->dwType;
    ours.dwFlags = object->dwFlags;
    std::memcpy(ours.tszName, object->tszName, sizeof ours.tszName);
    ours.tszName[sizeof ours.tszName - 1] = '\0';
    return (*c.callback)(ours, c.context);
}

} // namespace

WinDevice::~WinDevice() {
    device_->Unacquire();
    CloseEvent();
    device_->Release();
}

HRESULT WinDevice::SetCooperativeLevel(WindowHandle window, DWORD flags) {
    return device_->SetCooperativeLevel(reinterpret_cast<HWND>(window), flags);
}

// The seam knows one format, c_dfDIJoystick2; DirectInput's own description of it goes in.
HRESULT WinDevice::SetDataFormat(const padwright::DIDATAFORMAT* format) {
    if (format == nullptr)
        return E_POINTER;
    if (format->dwDataSize != sizeof(::DIJOYSTATE2))
        return DIERR_INVALIDPARAM;
    return device_->SetDataFormat(&::c_dfDIJoystick2);
}

HRESULT WinDevice::Acquire() {
    return device_->Acquire();
}

HRESULT WinDevice::Unacquire() {
    return device_->Unacquire();
}

HRESULT WinDevice::EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD flags) {
    ObjectsContext c{&callback, context};
    return device_->EnumObjects(OnObject, &c, flags);
}

// DIPROPSTRING is as large in both (260 UTF-16 units, 520 bytes): the name is converted in
// place.
HRESULT WinDevice::GetProperty(DWORD property, padwright::DIPROPHEADER* header) {
    const HRESULT hr = device_->GetProperty(Property(property), Header(header));
    if (hr == DI_OK && static_cast<const void*>(&Property(property)) == &DIPROP_INSTANCENAME &&
        header->dwSize == sizeof(::DIPROPSTRING)) {
        const auto* text = reinterpret_cast<::DIPROPSTRING*>(header);
        const std::wstring wide(text->wsz, wcsnlen(text->wsz, MAX_PATH));
        ToUtf8(wide, reinterpret_cast<padwright::DIPROPSTRING*>(header)->wsz,
               sizeof(padwright::DIPROPSTRING::wsz));
    }
    return hr;
}

HRESULT WinDevice::SetProperty(DWORD property, const padwright::DIPROPHEADER* header) {
    return device_->SetProperty(Property(property),
                                reinterpret_cast<const ::DIPROPHEADER*>(header));
}

HRESULT WinDevice::Poll() {
    return device_->Poll();
}

HRESULT WinDevice::GetDeviceState(DWORD size, void* data) {
    return device_->GetDeviceState(size, data);
}

HRESULT WinDevice::SetEventNotification(padwright::HANDLE event) {
    if (event == nullptr) {
        const HRESULT hr = device_->SetEventNotification(nullptr);
        if (SUCCEEDED(hr))
            CloseEvent();
        return hr;
    }
    ::HANDLE made = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (made == nullptr)
        return DIERR_OUTOFMEMORY;
    const HRESULT hr = device_->SetEventNotification(made);
    if (hr != DI_OK) { // DI_POLLEDDEVICE too: the device will not set it
        CloseHandle(made);
        return hr;
    }
    CloseEvent();
    event_ = ToWaitHandle(made);
    *event = event_;
    return DI_OK;
}

void WinDevice::CloseEvent() {
    if (event_ != NoWaitHandle)
        CloseHandle(FromWaitHandle(event_));
    event_ = NoWaitHandle;
}

} // namespace padwright
