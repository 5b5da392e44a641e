#pragma once
// The name dialog of the profile operations on Win32. An empty result means cancel to every
// caller; neither Escape nor the dialog's frame closes it, a close from the system counts as
// Cancel.
#include "ui/win/Win32.h"

#include <string>

namespace padwright::win {

class TWinEntry {
public:
    enum Id : int { idName = 100, idCancel, idLabel1 };

    // Puts `initial` into the field, shows the dialog modally over `owner` and returns its
    // result: the trimmed text on OK, empty on Cancel.
    std::string AskName(HWND owner, const std::string& initial);

    // Set only by OK and Cancel.
    std::string Result;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l);
    void BuildControls(HWND dialog);
    void cmdOKClick(HWND dialog);
    void cmdCancelClick(HWND dialog);

    std::string initial_;
    HWND owner_ = nullptr;
};

} // namespace padwright::win
