#pragma once
// The real boxes and dialogs of the Windows windows: message boxes, the common file dialogs, the
// name dialog, the control editor and the Programs dialog.
#include "ui/win/WinControlEntry.h"
#include "ui/win/WinDialogs.h"
#include "ui/win/WinEntry.h"
#include "ui/win/WinPrograms.h"

namespace padwright {
class Core;
class IForegroundSource;
class IInputInjector;
class ProgramFollower;
} // namespace padwright

namespace padwright::win {

class WinUserDialogs final : public IWinDialogs {
public:
    // `owner` is the main window (0 until it exists: SetOwner); `source` may be null.
    WinUserDialogs(HWND owner, IInputInjector& injector, Core& core, ProgramFollower& follower,
                   const IForegroundSource* source);
    void SetOwner(HWND owner) { owner_ = owner; }

    void Warning(std::string_view text, std::string_view title) override;
    void Error(std::string_view text) override;
    int Question(const std::string& text, UINT buttons) override;
    std::optional<std::string> OpenProfileFile() override;
    std::optional<std::string> SaveProfileFile() override;
    std::string AskName(const std::string& initial) override;
    bool EditControl(const std::string& name, TControlMapping& mapping) override;
    void SetEditedEngaged(bool engaged) override;
    void ShowPrograms(int profile) override;

private:
    HWND owner_;
    TWinControlEntry editor_;
    TWinEntry entry_;
    TWinPrograms programs_;
};

} // namespace padwright::win
