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
    owner_ = owner;
    RunModal(owner, L"Entry", WS_CAPTION, DialogProc, reinterpret_cast<LPARAM>(this));
    return Result;
}

INT_PTR CALLBACK TWinEntry::DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* self = DialogObject<TWinEntry>(dialog, message, l);
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        SetClientSize(dialog, ClientWidth, ClientHeight);
        CentreOn(dialog, self->owner_);
        self->BuildControls(dialog);
        SetFocus(GetDlgItem(dialog, idName)); // FormShow
        SendMessageW(GetDlgItem(dialog, idName), EM_SETSEL, 0, -1);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(w)) {
        case IDOK:
            self->cmdOKClick(dialog);
            return TRUE;
        case idCancel:
            self->cmdCancelClick(dialog);
            return TRUE;
        case IDCANCEL: // Escape: Cancel is not bound to it
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        // A close from the system counts as Cancel, so no stale result is taken for a name.
        self->cmdCancelClick(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

void TWinEntry::BuildControls(HWND dialog) {
    const HWND name = MakeControl(dialog, WC_EDITW, initial_, WS_TABSTOP | ES_AUTOHSCROLL,
                                  {0, 16, 337, 21}, idName, WS_EX_CLIENTEDGE);
    SendMessageW(name, EM_LIMITTEXT, NameCapacity, 0);
    MakeControl(dialog, WC_BUTTONW, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {288, 40, 49, 25}, IDOK);
    MakeControl(dialog, WC_BUTTONW, "Cancel", WS_TABSTOP, {232, 40, 49, 25}, idCancel);
    MakeControl(dialog, WC_STATICW, "Name:", 0, {0, 0, 40, 13}, idLabel1);
}

void TWinEntry::cmdOKClick(HWND dialog) {
    const HWND name = GetDlgItem(dialog, idName);
    Result = TrimName(WindowTextUtf8(name));
    SetWindowTextUtf8(name, "");
    EndDialog(dialog, IDOK);
}

void TWinEntry::cmdCancelClick(HWND dialog) {
    SetWindowTextUtf8(GetDlgItem(dialog, idName), "");
    Result.clear();
    EndDialog(dialog, IDCANCEL);
}

} // namespace padwright::win
