#pragma once
// The Programs dialog on Win32: the rules of program following, one added from the program in
// front or from the open windows' list for the profile selected in the main window, and rules
// removed. It says when following is not available and why.
#include "ui/win/WinControls.h"

#include <string>
#include <vector>

namespace padwright {
class Core;
class IForegroundSource;
class ProgramFollower;
} // namespace padwright

namespace padwright::win {

class TWinPrograms final : public TWinDialog {
public:
    enum Id : int {
        idFollowing = 100,
        idRules,
        idWhen,
        idProgram, // editable: a name may also be typed
        idInFront,
        idControllers, // "All controllers", then the active ones
        idAdd,
        idRemove,
        idClose,
    };

    // `source` may be null: this build has none.
    TWinPrograms(Core& core, ProgramFollower& follower, const IForegroundSource* source)
        : core_(core), follower_(follower), source_(source) {}

    // Shows the dialog modally over `owner`; rules are added for profile `profile` (0-based).
    void ShowFor(HWND owner, int profile);

private:
    bool OnInit() override;
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override;
    void BuildControls();
    void FillRules();
    void FillPrograms();
    void FillControllers();
    void UpdateButtons();
    std::string ProgramText() const;
    int SelectedRule() const;
    void cmdAddClick();
    void cmdRemoveClick();

    Core& core_;
    ProgramFollower& follower_;
    const IForegroundSource* source_;
    int profile_ = -1;
    std::vector<std::string> controllers_; // the GUID text of each entry of the list
};

} // namespace padwright::win
