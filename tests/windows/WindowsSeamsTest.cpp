#include "engine/EngineHost.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/win/WinDirectInput.h"
#include "platform/inject/win/WinInjector.h"
#include "platform/instance/win/NamedMutexLock.h"
#include "platform/session/win/WinSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// After the seams, whose constant names the Windows headers define as macros.
#include <windows.h>

namespace padwright {
namespace {

class Host : public IControllerHost {
public:
    void PauseReading() override {}
    void ResumeReading() override {}
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return false; }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        lines.push_back(std::string(prefix) + std::string(DirectInputErrorText(code)));
    }
    std::vector<std::string> lines;
};

// Wine has no game controllers of its own: the real DirectInput answers through the unchanged
// controller layer with an empty list, and its failures carry DirectInput's codes.
TEST(WindowsDirectInput, AnswersTheControllerLayerWithItsOwnCodes) {
    TLists lists;
    Host host;
    ControllerAccess access(lists, host, DirectInput8Create);
    access.StartDirectInput();
    ASSERT_NE(access.DirectInput(), nullptr);
    EXPECT_TRUE(lists.FoundJoysticks.empty());
    EXPECT_TRUE(host.lines.empty());

    std::shared_ptr<IDirectInputDevice8> device;
    const GUID nobody = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(access.DirectInput()->CreateDevice(nobody, device), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
}

// The manifest every program carries makes the ANSI calls, DirectInput's A interface among
// them, speak UTF-8.
TEST(WindowsManifest, TheAnsiCodePageIsUtf8) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
}

// An application command reaches the program's window as WM_APPCOMMAND with the command in
// lParam, from the window itself, as DefWindowProc passes it on to the shell.
TEST(WindowsInjector, AnApplicationCommandReachesTheProgramsWindow) {
    static std::vector<std::pair<WPARAM, LPARAM>> received;
    WNDCLASSA type{};
    type.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == WM_APPCOMMAND)
            received.emplace_back(w, l);
        return DefWindowProcA(window, message, w, l);
    };
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "PadwrightAppCommandTest";
    ASSERT_NE(RegisterClassA(&type), 0);
    const HWND window = CreateWindowA(type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      type.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    WinInjector injector;
    injector.SendAppCommand(0x000A0000); // dropped: no window yet
    injector.SetWindow(reinterpret_cast<std::uintptr_t>(window));
    const LPARAM volumeUp = 10 << 16;
    injector.SendAppCommand(static_cast<std::uint32_t>(volumeUp));
    MSG message;
    while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(received, (std::vector<std::pair<WPARAM, LPARAM>>{
                            {reinterpret_cast<WPARAM>(window), volumeUp}}));
    DestroyWindow(window);
}

// Shutting down needs the privilege enabled in the process's own token.
TEST(WindowsSession, EnablesTheShutdownPrivilege) {
    EXPECT_TRUE(WinSession().EnableShutdownPrivilege());
}

// A second start finds the mutex "Padwright" held, until the first lets go of it.
TEST(WindowsSingleInstance, TheNamedMutexAdmitsOneInstanceAtATime) {
    NamedMutexLock first, second;
    ASSERT_EQ(first.TryLock(), IInstanceLock::Acquired) << first.ErrorText();
    const ::HANDLE seen = OpenMutexA(SYNCHRONIZE, FALSE, "Padwright");
    EXPECT_NE(seen, nullptr) << "not under the program's name";
    CloseHandle(seen);
    EXPECT_EQ(second.TryLock(), IInstanceLock::HeldElsewhere);
    first.Release();
    EXPECT_EQ(second.TryLock(), IInstanceLock::Acquired);
    EXPECT_EQ(first.TryLock(), IInstanceLock::HeldElsewhere);
}

} // namespace
} // namespace padwright
