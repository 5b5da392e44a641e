#pragma once
// The notification-area icon on Windows: Shell_NotifyIcon with the main window as its owner,
// the animation frames and the still icon from the program's resources, and the menu "Start
// Reading Data", "Stop Reading Data", "Show", "Exit".
#include "core/TrayView.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>

namespace padwright::win {

class WinTrayIcon final : public ITrayView {
public:
    static constexpr int FrameCount = 4;
    // Resource ids: the application's icon, then the animation frames 0 to 3.
    static constexpr int ApplicationIconId = 1;
    static constexpr int FirstFrameId = 2;
    enum MenuItem : UINT { popItemStart = 1, popItemStop, popItemShow, popItemExit };

    // `window` owns the icon and gets its messages as `callbackMessage`.
    WinTrayIcon(HWND window, UINT callbackMessage);
    ~WinTrayIcon() override;
    WinTrayIcon(const WinTrayIcon&) = delete;
    WinTrayIcon& operator=(const WinTrayIcon&) = delete;

    // What the menu's items do; "Show" is the icon's own.
    std::function<void()> StartReading;
    std::function<void()> StopReading;
    std::function<void()> Exit;

    // End of start-up: the still icon appears.
    void Add();
    // Shut-down, after the controllers are unacquired; also when the shell restarted, Add again.
    void Remove() override;
    bool IsAdded() const { return added_; }

    void ShowReadingState(bool reading) override;
    void ShowFrame(int frame) override;
    void ShowStillIcon() override;

    // The icon's mouse message (lParam of the callback message).
    void TrayIconMessage(LPARAM mouseMessage);
    void TrayIconDoubleClick();
    void popItemShowClick();
    HMENU popSTray() const { return menu_; }
    // The icon shown now: the application's or a frame's.
    HICON CurrentIcon() const { return data_.hIcon; }
    HICON ApplicationIcon() const { return application_; }
    HICON Frame(int index) const { return frames_[static_cast<std::size_t>(index)]; }

private:
    void SetIcon(HICON icon);
    void Choose(UINT item);

    HWND window_;
    NOTIFYICONDATAW data_{};
    HICON application_ = nullptr;
    std::array<HICON, FrameCount> frames_{};
    HMENU menu_ = nullptr;
    bool added_ = false;
};

} // namespace padwright::win
