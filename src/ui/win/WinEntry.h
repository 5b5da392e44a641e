#pragma once
// The name dialog of the profile operations on Win32. An empty result means cancel to every
// caller; neither Escape nor the dialog's frame closes it, a close from the system counts as
// Cancel.
#include "ui/win/WinControls.h"

#include <string>

namespace padwright::win {

class TWinEntry final : public TWinDialog {
public:
    enum Id : int { idName = 100, idCancel, idLabel1 };

    // Puts `initial` into the field, shows the dialog modally over `owner` and returns its
    // result: the trimmed text on OK, empty on Cancel.
    std::string AskName(HWND owner, const std::string& initial);

    // Set only by OK and Cancel.
    std::string Result;

private:
    bool OnInit() override;
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override;
    void cmdOKClick();
    void cmdCancelClick();

    std::string initial_;
};

} // namespace padwright::win
