#pragma once
// One run of Padwright on Windows: the hidden application window, the core wired with the
// Windows parts, the main window and its tray icon, plugging, the program in front and the
// commands from other processes; the start-up sequence and the shut-down in their fixed order.
#include "core/Core.h"
#include "core/InstanceCommands.h"
#include "core/PlugFollower.h"
#include "core/ProgramRules.h"
#include "platform/eventloop/win/WinEventLoop.h"
#include "platform/focus/ForegroundProgram.h"
#include "platform/inject/win/WinInjector.h"
#include "platform/session/Session.h"
#include "ui/win/MainWindow.h"
#include "ui/win/WinDialogs.h"
#include "ui/win/WinTrayIcon.h"

// After the seams, whose names the Windows headers define as macros.
#include "app/win/LateDialogs.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace padwright::win {

class WinProgram {
public:
    struct Parts {
        // A controller description (evemu-describe format) that stands in for the machine's
        // controllers; empty: DirectInput's own.
        std::string FixturePad;
    };

    // Creates the windows and runs the start-up sequence.
    explicit WinProgram(Parts parts);
    // Shut-down: the controllers released and the tray icon removed, then the log closed, then
    // the lists and DirectInput.
    ~WinProgram();
    WinProgram(const WinProgram&) = delete;
    WinProgram& operator=(const WinProgram&) = delete;

    // Shows the main window unless the program starts minimised.
    void ShowMainWindow();
    // Runs until the main window is closed; the exit code.
    int Run() { return loop_.Run(); }

    MainWindow& Main() { return *frmMain_; }
    WinTrayIcon& Tray() { return *tray_; }
    Core& ProgramCore() { return *core_; }

private:
    static LRESULT CALLBACK ApplicationProc(HWND, UINT, WPARAM, LPARAM);
    void CreateApplicationWindow();
    DirectInputEntry DirectInput();
    void FormCreate();
    void FollowPrograms();
    void FollowPlugging();
    InstanceAnswer Answer(const InstanceRequest& request);

    Parts parts_;
    WinEventLoop loop_;
    WinInjector injector_;
    std::unique_ptr<ISessionControl> session_;
    std::unique_ptr<Registry> settings_;
    HWND application_ = nullptr; // the hidden application window
    UINT taskbarCreated_ = 0;    // the shell's word that it (re)started
    // The core and the main window are made before the dialogs, which need the window.
    LateDialogs late_;
    std::unique_ptr<IWinDialogs> dialogs_;
    std::unique_ptr<Core> core_;
    std::unique_ptr<MainWindow> frmMain_;
    std::unique_ptr<WinTrayIcon> tray_;
    std::unique_ptr<PlugFollower> plugs_;
    std::unique_ptr<IForegroundSource> foreground_;
    std::unique_ptr<ProgramFollower> follower_;
    bool startMinimized_ = false;
};

} // namespace padwright::win
