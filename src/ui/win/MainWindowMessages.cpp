// The main window's messages: commands of its controls and menus, colours, the keyboard,
// minimising and closing.
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowIds.h"

#include <windowsx.h>

namespace padwright::win {

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->window_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Message(message, wParam, lParam);
}

LRESULT MainWindow::Message(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush =
                StaticColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == cmbProfiles) {
            RunHandler([&] {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ShowMenu(popProfile, at);
            });
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == ids::tmrLiveMarks) {
            KillTimer(window_, ids::tmrLiveMarks);
            liveMarksPending_ = false;
            tmrLiveMarksTimer();
            return 0;
        }
        break;
    case WM_TRAYICON:
        if (TrayMessage)
            TrayMessage(lParam);
        return 0;
    case WM_SYSCOMMAND:
        // Minimising hides the window when the tray icon can bring it back.
        if ((wParam & 0xFFF0) == SC_MINIMIZE && HideWhenMinimized && HideWhenMinimized()) {
            ShowWindow(window_, SW_HIDE);
            ClearLiveMarks();
            return 0;
        }
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            ClearLiveMarks();
        break;
    case WM_CLOSE:
        // The close box is the user's Exit and asks the same; a close the program makes itself
        // does not.
        if (!closingUnasked_ && !ConfirmExit())
            return 0;
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::Command(int id, int code) {
    if (id >= ids::FirstRow) {
        if (code == STN_CLICKED)
            RunHandler([&] { SettingsRowClick(id - ids::FirstRow); });
        return;
    }
    if (code == CBN_SELCHANGE || code == CBN_SELENDOK) {
        HWND list = GetDlgItem(window_, id);
        const bool dropped = SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        // A pick: the item the open list closes on, or a change made while it is closed (the
        // arrow keys). While it is open, the selection follows the mouse and means nothing yet.
        if (code == CBN_SELCHANGE && dropped)
            return;
        const int picked = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        if (code == CBN_SELCHANGE && picked == lastPick_[list])
            return; // the change the closing list already reported
        lastPick_[list] = picked;
        if (id == ids::cmbDevices) {
            core.Controllers.View.cmbDevices.ItemIndex = picked;
            RunHandler([&] { cmbDevicesClick(); });
        } else if (id == ids::cmbFoundDevices) {
            core.Controllers.View.cmbFoundDevices.ItemIndex = picked;
            RunHandler([&] { cmbFoundDevicesClick(); });
        } else if (id == ids::cmbProfiles) {
            RunHandler([&] { cmbProfilesClick(); });
        }
        return;
    }
    if (code != BN_CLICKED)
        return;
    using Handler = void (MainWindow::*)();
    static const std::pair<int, Handler> handlers[] = {
        {ids::cmdRefresh, &MainWindow::cmdRefreshClick},
        {ids::cmdAddDevice, &MainWindow::cmdAddDeviceClick},
        {ids::cmdRemoveDevice, &MainWindow::cmdRemoveDeviceClick},
        {ids::cmdJSApply, &MainWindow::cmdJSApplyClick},
        {ids::cmdJSReset, &MainWindow::cmdJSResetClick},
        {ids::cmdASApply, &MainWindow::cmdASApplyClick},
        {ids::cmdASReset, &MainWindow::cmdASResetClick},
        {ids::cmdSave, &MainWindow::cmdSaveClick},
        {ids::cmdExit, &MainWindow::cmdExitClick},
        {ids::cmdPPopUp, &MainWindow::cmdPPopUpClick},
        {ids::mnuPAdd, &MainWindow::mnuPAddClick},
        {ids::mnuPCopy, &MainWindow::mnuPCopyClick},
        {ids::mnuPRename, &MainWindow::mnuPRenameClick},
        {ids::mnuPDelete, &MainWindow::mnuPDeleteClick},
        {ids::mnuPImport, &MainWindow::mnuPImportClick},
        {ids::mnuPExport, &MainWindow::mnuPExportClick},
        {ids::mnuPPrograms, &MainWindow::mnuPProgramsClick},
    };
    for (const auto& [handlerId, handler] : handlers)
        if (handlerId == id)
            RunHandler([&] { (this->*handler)(); });
}

// The panel's words in the disabled-text colour; the rows' name boxes marked while their control
// is engaged or their editor is open.
HBRUSH MainWindow::StaticColours(HDC dc, HWND control) {
    if (control == txtPanelHint) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    const int id = GetDlgCtrlID(control) - ids::FirstRow;
    if (id < 0 || id >= static_cast<int>(SettingsRows.size()))
        return nullptr;
    if (id == editingRow_) {
        SetBkColor(dc, GetSysColor(COLOR_GRADIENTACTIVECAPTION));
        return editingBrush_;
    }
    const int slot = SettingsRows[static_cast<std::size_t>(id)].Slot;
    if (slot >= 0 && marksShown_[static_cast<std::size_t>(slot)]) {
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        return markBrush_;
    }
    return nullptr;
}

bool MainWindow::PreTranslate(MSG& message) {
    if (!IsWindow(window_) || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    // The panel's rows from the keyboard: the arrows, Home and End move, Enter and Space open.
    if (message.message == WM_KEYDOWN && GetFocus() == scbSettings && PanelKey(message.wParam))
        return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        // Enter applies the group whose field has the focus; elsewhere it presses the focused
        // button, or the default one.
        HWND focus = GetFocus();
        wchar_t className[16] = {};
        GetClassNameW(focus, className, 16);
        if (lstrcmpiW(className, L"Button") == 0 && focus != chkRepeatKeys &&
            focus != chkStartMinimized && focus != chkLogFile)
            return false; // IsDialogMessage clicks it
        const bool joystick = focus == txtDeadZone || focus == txtMaxVal || focus == txtThreshold ||
                              focus == chkRepeatKeys;
        HWND apply = joystick ? cmdJSApply : cmdASApply;
        if (IsWindowEnabled(apply))
            SendMessageW(window_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(apply), BN_CLICKED),
                         reinterpret_cast<LPARAM>(apply));
        return true;
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

void MainWindow::CloseUnasked() {
    closingUnasked_ = true;
    if (IsWindow(window_))
        SendMessageW(window_, WM_CLOSE, 0, 0);
}

void MainWindow::ShowMenu(HMENU menu, POINT at) {
    if (menu == popProfile)
        popProfilePopup();
    const UINT id = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window_, nullptr));
    if (id != 0)
        Command(static_cast<int>(id), BN_CLICKED);
}

void MainWindow::cmdPPopUpClick() {
    RECT place{};
    GetWindowRect(cmdPPopUp, &place);
    ShowMenu(popProfile, {(place.left + place.right) / 2, (place.top + place.bottom) / 2});
}

} // namespace padwright::win
