#include "ui/win/WinEntry.h"

#include "ui/common/DialogTexts.h"
#include "ui/win/WinControls.h"

#include <commctrl.h>

namespace padwright::win {

namespace {
constexpr int ClientWidth = 337, ClientHeight = 65;
constexpr int NameCapacity = 255;
} // namespace

std::string TWinEntry::AskName(HWND owner, const std::string& initial) {
    initial_ = initial;
    RunModal(owner, L"Entry", WS_CAPTION, ClientWidth, ClientHeight);
    return Result;
}

bool TWinEntry::OnInit() {
    CentreOn(dialog_, owner_);
    const HWND name = MakeControl(dialog_, WC_EDITW, initial_, WS_TABSTOP | ES_AUTOHSCROLL,
                                  {0, 16, 337, 21}, idName, WS_EX_CLIENTEDGE);
    SendMessageW(name, EM_LIMITTEXT, NameCapacity, 0);
    MakeControl(dialog_, WC_BUTTONW, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {288, 40, 49, 25}, IDOK);
    MakeControl(dialog_, WC_BUTTONW, "Cancel", WS_TABSTOP, {232, 40, 49, 25}, idCancel);
    MakeControl(dialog_, WC_STATICW, "Name:", 0, {0, 0, 40, 13}, idLabel1);
    SetFocus(name); // FormShow
    SendMessageW(name, EM_SETSEL, 0, -1);
    return false;
}

INT_PTR TWinEntry::OnMessage(UINT message, WPARAM w, LPARAM) {
    if (message == WM_CLOSE) {
        // A close from the system counts as Cancel, so no stale result is taken for a name.
        cmdCancelClick();
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(w)) {
    case IDOK:
        cmdOKClick();
        return TRUE;
    case idCancel:
        cmdCancelClick();
        return TRUE;
    case IDCANCEL: // Escape: Cancel is not bound to it
        return TRUE;
    default:
        return FALSE;
    }
}

void TWinEntry::cmdOKClick() {
    const HWND name = Item(idName);
    Result = TrimName(WindowTextUtf8(name));
    SetWindowTextUtf8(name, "");
    EndDialog(dialog_, IDOK);
}

void TWinEntry::cmdCancelClick() {
    SetWindowTextUtf8(Item(idName), "");
    Result.clear();
    EndDialog(dialog_, IDCANCEL);
}

} // namespace padwright::win
