#include "platform/focus/win/WinForegroundSource.h"

#include "platform/win/Utf16.h"

#include <algorithm>

namespace padwright {

namespace {

// The one source of this thread, which the hook's callback reports to.
WinForegroundSource* watching = nullptr;

std::string ExecutableOf(DWORD process) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle)
        return {};
    std::wstring path(MAX_PATH * 4, L'\0');
    auto size = static_cast<DWORD>(path.size());
    const bool named = QueryFullProcessImageNameW(handle, 0, path.data(), &size) != FALSE;
    CloseHandle(handle);
    if (!named)
        return {};
    path.resize(size);
    const auto slash = path.find_last_of(L"\\/");
    return Utf8(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

} // namespace

ForegroundProgram WinForegroundSource::ProgramOf(HWND window) {
    ForegroundProgram program;
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process == 0)
        return program;
    program.executable = ExecutableOf(process);
    program.own = process == GetCurrentProcessId();
    return program;
}

WinForegroundSource::WinForegroundSource() {
    hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                            &WinForegroundSource::Foreground, 0, 0,
                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook_) {
        SetUnavailable("Windows does not report the window in front to Padwright.");
        return;
    }
    watching = this;
    Report(ProgramOf(GetForegroundWindow()));
}

WinForegroundSource::~WinForegroundSource() {
    if (watching == this)
        watching = nullptr;
    if (hook_)
        UnhookWinEvent(hook_);
}

void CALLBACK WinForegroundSource::Foreground(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD,
                                              DWORD) {
    if (watching)
        watching->Report(ProgramOf(window));
}

std::vector<ForegroundProgram> WinForegroundSource::OpenWindows() const {
    std::vector<ForegroundProgram> programs;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            auto& list = *reinterpret_cast<std::vector<ForegroundProgram>*>(found);
            if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER))
                return TRUE;
            const ForegroundProgram program = ProgramOf(window);
            if (!program.executable.empty() && !program.own &&
                std::find(list.begin(), list.end(), program) == list.end())
                list.push_back(program);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&programs));
    return programs;
}

} // namespace padwright
