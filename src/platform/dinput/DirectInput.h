#pragma once
// A DirectInput-shaped controller API: the same calls, arguments, result codes and values as
// DirectInput 8, so that the controller code and its log lines read as they would there.
// Implementations: evdev (the kernel's input devices) and fixtures (device descriptions).
#include "platform/dinput/WaitHandle.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace padwright {

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BYTE = std::uint8_t;

constexpr HRESULT MakeResult(std::uint32_t code) {
    return static_cast<HRESULT>(code);
}

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DI_NOEFFECT = 1;
constexpr HRESULT DI_PROPNOEFFECT = 1;
constexpr HRESULT DI_POLLEDDEVICE = 2;
constexpr HRESULT DIERR_UNSUPPORTED = MakeResult(0x80004001);
constexpr HRESULT E_POINTER = MakeResult(0x80004003);
constexpr HRESULT DIERR_GENERIC = MakeResult(0x80004005);
constexpr HRESULT DIERR_DEVICENOTREG = MakeResult(0x80040154);
constexpr HRESULT DIERR_UNPLUGGED = MakeResult(0x80040209);
constexpr HRESULT DIERR_NOTFOUND = MakeResult(0x80070002);
constexpr HRESULT DIERR_OBJECTNOTFOUND = MakeResult(0x80070002);
constexpr HRESULT E_ACCESSDENIED = MakeResult(0x80070005);
constexpr HRESULT DIERR_NOTACQUIRED = MakeResult(0x8007000C);
constexpr HRESULT DIERR_OUTOFMEMORY = MakeResult(0x8007000E);
constexpr HRESULT DIERR_NOTINITIALIZED = MakeResult(0x80070015);
constexpr HRESULT DIERR_INPUTLOST = MakeResult(0x8007001E);
constexpr HRESULT DIERR_INVALIDPARAM = MakeResult(0x80070057);
constexpr HRESULT DIERR_ACQUIRED = MakeResult(0x800700AA);

constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}
constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16);

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as Windows writes GUIDs.
std::string GuidToString(const GUID& guid);
// Parses the braced form (either case); false when the text is not a GUID.
bool StringToGuid(const std::string& text, GUID& out);
// The GUID whose text form shows these 16 bytes in order.
GUID GuidFromBytes(const std::uint8_t (&bytes)[16]);

// Object type GUIDs, with DirectInput's values.
inline constexpr GUID GUID_XAxis = {
    0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_YAxis = {
    0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_ZAxis = {
    0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RxAxis = {
    0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RyAxis = {
    0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RzAxis = {
    0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Slider = {
    0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Button = {
    0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Key = {
    0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_POV = {
    0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Unknown = {
    0xA36D02F3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// Object type bits of dwType.
constexpr DWORD DIDFT_ALL = 0x00000000;
constexpr DWORD DIDFT_RELAXIS = 0x00000001;
constexpr DWORD DIDFT_ABSAXIS = 0x00000002;
constexpr DWORD DIDFT_AXIS = 0x00000003;
constexpr DWORD DIDFT_PSHBUTTON = 0x00000004;
constexpr DWORD DIDFT_TGLBUTTON = 0x00000008;
constexpr DWORD DIDFT_BUTTON = 0x0000000C;
constexpr DWORD DIDFT_POV = 0x00000010;
constexpr DWORD DIDFT_ANYINSTANCE = 0x00FFFF00;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) {
    return (n & 0xFFFF) << 8;
}
constexpr DWORD DIDFT_GETINSTANCE(DWORD type) {
    return (type >> 8) & 0xFFFF;
}

constexpr DWORD DI8DEVCLASS_ALL = 0;
constexpr DWORD DI8DEVCLASS_GAMECTRL = 4;
constexpr DWORD DI8DEVTYPE_JOYSTICK = 0x14;
constexpr DWORD DIEDFL_ATTACHEDONLY = 1;
constexpr DWORD DISCL_EXCLUSIVE = 0x01;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_FOREGROUND = 0x04;
constexpr DWORD DISCL_BACKGROUND = 0x08;
constexpr int DIENUM_STOP = 0;
constexpr int DIENUM_CONTINUE = 1;

// Property ids (DirectInput's MAKEDIPROP values) and addressing modes.
constexpr DWORD DIPROP_RANGE = 4;
constexpr DWORD DIPROP_DEADZONE = 5;
constexpr DWORD DIPROP_INSTANCENAME = 13;
constexpr DWORD DIPROP_JOYSTICKID = 15;
constexpr DWORD DIPROP_LOGICALRANGE = 19;
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPH_BYID = 2;

struct DIPROPHEADER {
    DWORD dwSize;
    DWORD dwHeaderSize;
    DWORD dwObj;
    DWORD dwHow;
};
struct DIPROPDWORD {
    DIPROPHEADER diph;
    DWORD dwData;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    LONG lMin;
    LONG lMax;
};
// DirectInput carries 260 UTF-16 units here; this API carries the name as UTF-8 bytes.
struct DIPROPSTRING {
    DIPROPHEADER diph;
    char wsz[260 * 2];
};
static_assert(sizeof(DIPROPDWORD) == 20);
static_assert(sizeof(DIPROPRANGE) == 24);

constexpr int MAX_PATH = 260;

struct DIDEVICEINSTANCEA {
    DWORD dwSize;
    GUID guidInstance;
    GUID guidProduct;
    DWORD dwDevType;
    char tszInstanceName[MAX_PATH];
    char tszProductName[MAX_PATH];
};

struct DIDEVICEOBJECTINSTANCEA {
    DWORD dwSize;
    GUID guidType;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
    char tszName[MAX_PATH];
};

// The device state of the c_dfDIJoystick2 data format.
struct DIJOYSTATE2 {
    LONG lX, lY, lZ, lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[128];
    LONG lVX, lVY, lVZ, lVRx, lVRy, lVRz;
    LONG rglVSlider[2];
    LONG lAX, lAY, lAZ, lARx, lARy, lARz;
    LONG rglASlider[2];
    LONG lFX, lFY, lFZ, lFRx, lFRy, lFRz;
    LONG rglFSlider[2];
};
static_assert(sizeof(DIJOYSTATE2) == 272);
static_assert(offsetof(DIJOYSTATE2, rglSlider) == 24);
static_assert(offsetof(DIJOYSTATE2, rgdwPOV) == 32);
static_assert(offsetof(DIJOYSTATE2, rgbButtons) == 48);

constexpr DWORD POV_CENTERED = 0xFFFFFFFF;

// A controller at rest: axes and sliders 0, hats centred, buttons up.
inline DIJOYSTATE2 NeutralJoyState() {
    DIJOYSTATE2 state{};
    for (DWORD& pov : state.rgdwPOV)
        pov = POV_CENTERED;
    return state;
}

// Identifies the c_dfDIJoystick2 data format; the only one this API accepts.
struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwDataSize;
};
inline constexpr DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), sizeof(DIJOYSTATE2)};

using WindowHandle = std::uintptr_t;

// The event a device signals when it has input. DirectInput takes an event the caller made;
// here the device owns what becomes ready, so SetEventNotification writes into the caller's
// handle what to wait on: on Linux readable while input is pending and reporting hang-up or an
// error (or staying readable) once the device is gone; on Windows an event that DirectInput
// sets on each change of the state and that a wait resets.
using HANDLE = WaitHandle*;

using EnumDevicesCallback = std::function<int(const DIDEVICEINSTANCEA&, void*)>;
using EnumObjectsCallback = std::function<int(const DIDEVICEOBJECTINSTANCEA&, void*)>;

class IDirectInputDevice8 {
public:
    virtual ~IDirectInputDevice8() = default;
    virtual HRESULT SetCooperativeLevel(WindowHandle window, DWORD flags) = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    virtual HRESULT EnumObjects(const EnumObjectsCallback& callback, void* context,
                                DWORD flags) = 0;
    virtual HRESULT GetProperty(DWORD property, DIPROPHEADER* header) = 0;
    virtual HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) = 0;
    virtual HRESULT Poll() = 0;
    virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
    // DI_OK with the descriptor in `event`; null stops the notification. Refused with
    // DIERR_ACQUIRED while acquired, as DirectInput does. A device that cannot signal answers
    // DI_POLLEDDEVICE and leaves `event` alone: it has to be polled.
    virtual HRESULT SetEventNotification(HANDLE) { return DI_POLLEDDEVICE; }
};

class IDirectInput8 {
public:
    virtual ~IDirectInput8() = default;
    virtual HRESULT EnumDevices(DWORD devType, const EnumDevicesCallback& callback, void* context,
                                DWORD flags) = 0;
    virtual HRESULT CreateDevice(const GUID& instance,
                                 std::shared_ptr<IDirectInputDevice8>& device) = 0;
};

} // namespace padwright
