// Word of plugging on Windows: WM_DEVICECHANGE to a message-only window that registered for the
// arrival and removal of HID devices (game controllers are HID devices to DirectInput). Windows
// sends the message to the window's thread, whose message loop (WinEventLoop) dispatches it; the
// window raises a Windows event, the monitor's "descriptor", which the same loop watches.
#include "platform/dinput/PlugMonitor.h"
#include "platform/dinput/WakeSignal.h"

#include <windows.h>

#include <dbt.h> // after windows.h, whose types it uses

namespace padwright {

namespace {

// GUID_DEVINTERFACE_HID, from hidclass.h.
constexpr GUID HidInterface = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
constexpr const wchar_t* WindowClass = L"PadwrightPlugMonitor";

class DeviceChangeMonitor final : public IPlugMonitor {
public:
    DeviceChangeMonitor() {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = WindowProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = WindowClass;
        RegisterClassExW(&type); // fails harmlessly when an earlier monitor registered it
        window_ = CreateWindowExW(0, WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  type.hInstance, nullptr);
        if (window_ == nullptr)
            return;
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = HidInterface;
        notification_ = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    ~DeviceChangeMonitor() override {
        if (notification_ != nullptr)
            UnregisterDeviceNotification(notification_);
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    DeviceChangeMonitor(const DeviceChangeMonitor&) = delete;
    DeviceChangeMonitor& operator=(const DeviceChangeMonitor&) = delete;

    bool Working() const { return notification_ != nullptr && signal_.Handle() != NoWaitHandle; }

    int Fd() const override { return signal_.Handle(); }
    bool Drain() override { return signal_.Lower(); }
    const char* Kind() const override { return "WM_DEVICECHANGE"; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* monitor =
            reinterpret_cast<DeviceChangeMonitor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_DEVICECHANGE && monitor &&
            (w == DBT_DEVICEARRIVAL || w == DBT_DEVICEREMOVECOMPLETE)) {
            const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(l);
            if (header && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE)
                monitor->signal_.Raise();
            return TRUE;
        }
        return DefWindowProcW(window, message, w, l);
    }

    HWND window_ = nullptr;
    HDEVNOTIFY notification_ = nullptr;
    WakeSignal signal_;
};

} // namespace

std::unique_ptr<IPlugMonitor> OpenPlugMonitor() {
    auto monitor = std::make_unique<DeviceChangeMonitor>();
    if (!monitor->Working())
        return nullptr;
    return monitor;
}

} // namespace padwright
