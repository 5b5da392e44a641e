// padwright.exe: one instance per user, the main window and its tray icon, until the window
// closes; or a command for the instance that runs.
// The seams first: the Windows headers define some of their names as macros.
#include "app/win/WinProgram.h"
#include "core/CommandLine.h"
#include "platform/instance/win/NamedMutexLock.h"
#include "store/DataFolder.h"

#include "app/win/InstanceWindow.h"
#include "platform/win/Utf16.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using padwright::CommandLine;
using padwright::IInstanceLock;
using padwright::Utf8;
using padwright::Wide;
namespace win = padwright::win;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

std::string Usage() {
    return padwright::UsageText(
        "",
        "                 %LOCALAPPDATA%\\Padwright, created when missing; without it they lie in\n"
        "                 the folder padwright starts in\n",
        "Settings are kept in HKEY_CURRENT_USER\\Software\\Vemoskar\\Padwright.\n");
}

// A program for the desktop has no console of its own: what it prints goes to the console it
// was started from, when there is one and nothing was redirected.
void AttachParentConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 1; i < count; ++i)
        out.push_back(Utf8(arguments[i]));
    LocalFree(arguments);
    return out;
}

// Creates the data folder when missing and works in it.
bool EnterDataFolder() {
    const std::string folder = padwright::DataFolder();
    const std::wstring wide = Wide(folder);
    if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "Padwright cannot create its data folder \"%s\".\n", folder.c_str());
        return false;
    }
    if (!SetCurrentDirectoryW(wide.c_str())) {
        std::fprintf(stderr, "Padwright cannot enter its data folder \"%s\".\n", folder.c_str());
        return false;
    }
    return true;
}

// Tests read a stand-in controller from a description file instead of the machine's.
std::string FixturePad() {
    const wchar_t* path = _wgetenv(L"PADWRIGHT_FIXTURE_PAD");
    return path ? Utf8(path) : std::string();
}

int Run() {
    win::WinProgram::Parts parts;
    parts.FixturePad = FixturePad();
    win::WinProgram program(std::move(parts));
    program.ShowMainWindow();
    return program.Run();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    AttachParentConsole();
    CommandLine line = padwright::ParseCommandLine(Arguments());
    // No toolkit takes options of its own here: what is not ours is a mistake.
    if (line.error.empty() && !line.others.empty())
        line.error = "unknown argument \"" + line.others.front() + "\"";
    if (line.help) {
        std::fputs(Usage().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::fputs("padwright " PADWRIGHT_VERSION "\n", stdout);
        return 0;
    }
    if (!line.error.empty()) {
        std::fprintf(stderr, "padwright: %s\n%s", line.error.c_str(), Usage().c_str());
        return ExitUsage;
    }
    if (line.request) {
        if (const std::optional<int> code = win::SendToRunningInstance(*line.request))
            return *code;
        // --show with none running: this one starts.
    }
    if (line.dataFolder && !EnterDataFolder())
        return ExitFailure;

    padwright::NamedMutexLock instance;
    switch (instance.TryLock()) {
    case IInstanceLock::HeldElsewhere:
        return 0; // silently: the running instance is not disturbed
    case IInstanceLock::Failed:
        MessageBoxW(nullptr, Wide(instance.ErrorText()).c_str(), L"Padwright",
                    MB_OK | MB_ICONERROR);
        return ExitFailure;
    case IInstanceLock::Acquired:
        break;
    }
    try {
        const int code = Run();
        instance.Release();
        return code;
    } catch (const std::exception& e) {
        MessageBoxW(nullptr, Wide(e.what()).c_str(), L"Padwright", MB_OK | MB_ICONERROR);
        return ExitFailure;
    }
}
