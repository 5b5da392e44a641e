#pragma once
// The program in front on Windows: the shell's EVENT_SYSTEM_FOREGROUND, through SetWinEventHook
// out of context, gives the window; its process's executable file name identifies the program.
// The hook's callback comes through the thread's message loop, so nothing wakes in between.
#include "platform/focus/ForegroundSourceBase.h"

#include <windows.h>

namespace padwright {

class WinForegroundSource final : public ForegroundSourceBase {
public:
    WinForegroundSource();
    ~WinForegroundSource() override;
    WinForegroundSource(const WinForegroundSource&) = delete;
    WinForegroundSource& operator=(const WinForegroundSource&) = delete;

    std::string Kind() const override { return "Windows"; }
    std::vector<ForegroundProgram> OpenWindows() const override;

    // What the window `window` belongs to; all fields empty for none.
    static ForegroundProgram ProgramOf(HWND window);

private:
    static void CALLBACK Foreground(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD);
    HWINEVENTHOOK hook_ = nullptr;
};

} // namespace padwright
