// padwright.exe under Wine, from the outside: its window, one instance, Save, a stand-in pad's
// button reaching another program's window as its key, and the commands for the running one.
#include "engine/Catalogue.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/win/Utf16.h"
#include "ui/win/MainWindowIds.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace padwright {
namespace {

namespace fs = std::filesystem;
const std::string Key = "HKCU\\Software\\Vemoskar\\Padwright";

// Runs `command`; its standard output, and its exit code in `code`.
std::string Output(const std::string& command, int* code = nullptr) {
    std::string output;
    if (FILE* pipe = _popen(command.c_str(), "rb")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            output.append(chunk, n);
        const int status = _pclose(pipe);
        if (code)
            *code = status;
    }
    return output;
}

// Waits for `done`, handling this thread's messages meanwhile.
template <typename Done> bool WaitFor(Done done, ::DWORD ms = 20000) {
    for (const ::DWORD start = GetTickCount(); !done(); Sleep(20)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (GetTickCount() - start > ms)
            return false;
    }
    return true;
}

class Program {
public:
    explicit Program(const fs::path& folder, const std::string& arguments = {}) {
        std::wstring line = L"\"" + Wide(PADWRIGHT_EXE) + L"\" " + Wide(arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &process_);
    }
    ~Program() {
        if (Wait(0) == STILL_ACTIVE)
            TerminateProcess(process_.hProcess, 9);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    // The exit code, or STILL_ACTIVE.
    ::DWORD Wait(::DWORD ms) {
        WaitForSingleObject(process_.hProcess, ms);
        ::DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
};

HWND MainWindow() {
    return FindWindowW(L"TfrmMain", L"Padwright");
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

void Click(HWND window, int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The keys a window of this test was sent.
std::vector<WPARAM> keys;

LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN)
        keys.push_back(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
            GTEST_SKIP() << "replaces the user's own settings: runs in a Wine prefix only";
        folder = fs::temp_directory_path() / ("padwright-" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(folder);
        Output("reg delete " + Key + " /f");
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"PADWRIGHT_FIXTURE_PAD", nullptr);
        Output("reg delete " + Key + " /f");
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // A pad whose first button is down from the start, remembered with profile "Keys", which
    // gives that button the key A.
    void RememberPadWithKeys() {
        const fs::path pad = folder / "pad.evemu";
        fs::copy_file(PADWRIGHT_DEVICES_DIR "/usb-gamepad-0079-0011.evemu", pad);
        std::ofstream(pad, std::ios::app) << "E: 0.000001 0001 0120 0001\n"
                                          << "E: 0.000001 0000 0000 0000\n";
        SetEnvironmentVariableW(L"PADWRIGHT_FIXTURE_PAD", pad.c_str());
        auto kernel = std::make_shared<FixtureKernel>();
        kernel->Add(LoadEvemuFile(pad.string()).description);
        CreateFixtureDirectInput(kernel)->EnumDevices(
            DI8DEVCLASS_GAMECTRL,
            [this](const DIDEVICEINSTANCEA& found, void*) {
                padName = found.tszInstanceName;
                padGuid = GuidToString(found.guidInstance);
                return DIENUM_STOP;
            },
            nullptr, DIEDFL_ATTACHEDONLY);

        TProfile profile{};
        profile.Name.assign("Keys");
        TControlMapping& button0 = profile.Mappings[48];
        button0.FunctionName.assign("VK_A");
        button0.Kind = fkKey;
        button0.Code = LookupFunction("VK_A").Code;
        std::ofstream(folder / "Padwright.pro", std::ios::binary)
            .write(reinterpret_cast<const char*>(&profile), sizeof profile);
        const std::string pad0 = Key + "\\Joystick0";
        for (const std::string& value :
             {Key + " /v StartMinimized /t REG_DWORD /d 1",
              pad0 + " /v Name /t REG_SZ /d \"" + padName + "\"",
              pad0 + " /v GUID /t REG_SZ /d " + padGuid, pad0 + " /v ID /t REG_DWORD /d 0",
              pad0 + " /v MaxVal /t REG_DWORD /d 10", pad0 + " /v Profile /t REG_DWORD /d 1"})
            Output("reg add " + value + " /f");
    }

    fs::path folder;
    std::string padName, padGuid;
};

TEST_F(ProgramTest, APadButtonReachesTheWindowInFrontAsItsKeyAndASecondStartEndsAtOnce) {
    RememberPadWithKeys();
    WNDCLASSW keyClass{};
    keyClass.lpfnWndProc = KeyWindowProc;
    keyClass.hInstance = GetModuleHandleW(nullptr);
    keyClass.lpszClassName = L"KeyTarget";
    RegisterClassW(&keyClass);
    HWND target = CreateWindowW(L"KeyTarget", L"Key target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                300, 200, nullptr, nullptr, keyClass.hInstance, nullptr);
    SetForegroundWindow(target);
    SetFocus(target);

    Program first(folder);
    // Started minimised: only the tray icon shows, the window in front keeps the focus.
    ASSERT_TRUE(WaitFor([] { return MainWindow() != nullptr; }));
    ASSERT_TRUE(WaitFor([] { return std::count(keys.begin(), keys.end(), 'A') > 0; }))
        << "A did not arrive; keys: " << ::testing::PrintToString(keys);
    EXPECT_FALSE(IsWindowVisible(MainWindow()));
    EXPECT_EQ(ClientSize(MainWindow()).cx, 466);
    EXPECT_EQ(ClientSize(MainWindow()).cy, 499);

    Program second(folder);
    EXPECT_EQ(second.Wait(10000), 0u);
    EXPECT_EQ(first.Wait(0), static_cast<::DWORD>(STILL_ACTIVE));

    int code = -1;
    const std::string status = Output("\"" PADWRIGHT_EXE "\" --status", &code);
    EXPECT_EQ(code, 0);
    // The settings keep the name without its trailing blanks.
    const std::string name = padName.substr(0, padName.find_last_not_of(' ') + 1);
    EXPECT_EQ(status.rfind("Name: " + name + " -- ID: 0\tKeys\ton\t", 0), 0u) << status;

    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(10000), 0u);
    Output("\"" PADWRIGHT_EXE "\" --status", &code);
    EXPECT_EQ(code, 1) << "a command with none running fails";
    DestroyWindow(target);
}

TEST_F(ProgramTest, SaveWritesTheStoreAndTheRegistry) {
    Program program(folder);
    ASSERT_TRUE(WaitFor([] { return IsWindowVisible(MainWindow()); }));
    HWND main = MainWindow();
    EXPECT_EQ(ClientSize(main).cx, 466);
    EXPECT_EQ(ClientSize(main).cy, 499);
    EXPECT_FALSE(fs::exists(folder / "Padwright.pro"));

    SetWindowTextW(GetDlgItem(main, win::ids::txtTimeInterval), L"40");
    Click(main, win::ids::cmdASApply);
    Click(main, win::ids::cmdSave);
    EXPECT_TRUE(fs::exists(folder / "Padwright.pro"));
    const std::string values = Output("reg query " + Key);
    EXPECT_NE(values.find("TimeInterval    REG_DWORD    0x28"), std::string::npos) << values;
    EXPECT_NE(values.find("MaxJoysticks    REG_DWORD    0x4"), std::string::npos) << values;

    // Saved: Exit asks nothing.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.Wait(10000), 0u);
}

} // namespace
} // namespace padwright
