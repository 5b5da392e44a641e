#include "ui/win/WinControlEntry.h"

#include "engine/Catalogue.h"
#include "platform/win/Utf16.h"
#include "ui/common/EditorLayout.h"
#include "ui/common/FunctionWords.h"
#include "ui/common/RowTexts.h"
#include "ui/win/WinControls.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace padwright::win {

namespace {

namespace L = layout::editor;
using L::MaxTrackPosition;
// The closed function list is as high as designed: its selection field and the list's borders.
constexpr int FunctionListHeight = L::cmbFunction.Height, FunctionListBorders = 6,
              DroppedListHeight = 320;
// Eighths of the highlight colour in the engaged fill, the rest the dialog's own colour.
constexpr int EngagedShare = 3;

struct Modifier {
    int id;
    std::uint8_t TControlMapping::*flag;
};
constexpr std::array<Modifier, 4> Modifiers = {
    {{TWinControlEntry::idShift, &TControlMapping::Shift},
     {TWinControlEntry::idCtrl, &TControlMapping::Ctrl},
     {TWinControlEntry::idAlt, &TControlMapping::Alt},
     {TWinControlEntry::idWin, &TControlMapping::Win}}};

// The list's entries: "NONE", then the mouse group before the application commands, unlike the
// catalogue's own order, then the keys and the power actions.
const std::vector<std::string_view>& FunctionNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all{"NONE"};
        for (auto table : {MouseFunctions(), AppCommands(), VirtualKeys(), PowerActions()})
            for (const TFunctionEntry& row : table)
                all.push_back(row.Name);
        return all;
    }();
    return names;
}

int FunctionIndex(std::string_view name) {
    const auto& names = FunctionNames();
    const auto found = std::find(names.begin(), names.end(), name);
    return name.empty() || found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

COLORREF Mix(COLORREF mark, COLORREF ground) {
    auto mix = [](int a, int b) { return (a * EngagedShare + b * (8 - EngagedShare)) / 8; };
    return RGB(mix(GetRValue(mark), GetRValue(ground)), mix(GetGValue(mark), GetGValue(ground)),
               mix(GetBValue(mark), GetBValue(ground)));
}

} // namespace

bool TWinControlEntry::EditControl(HWND owner, const std::string& name, TControlMapping& mapping) {
    name_ = name;
    TargetMapping = &mapping;
    WorkMapping = mapping;
    engaged_ = false;
    const INT_PTR result =
        RunModal(owner, Wide(L::Title).c_str(), WS_CAPTION, L::ClientWidth, L::ClientHeight);
    if (engagedBrush_)
        DeleteObject(engagedBrush_);
    engagedBrush_ = nullptr;
    return result == IDOK;
}

void TWinControlEntry::SetEngaged(bool engaged) {
    if (engaged_ == engaged)
        return;
    engaged_ = engaged;
    if (dialog_)
        InvalidateRect(Item(idControlName), nullptr, TRUE);
}

bool TWinControlEntry::OnInit() {
    SetWindowPos(dialog_, nullptr, L::WindowLeft, L::WindowTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    BuildControls();
    FormCreate();
    Open();
    SetFocus(Item(idOK));
    return false;
}

INT_PTR TWinControlEntry::OnMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        return Command(LOWORD(w), HIWORD(w));
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(l) == Item(idRepeatRate))
            trkRepeatRateChange();
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            StaticColours(reinterpret_cast<HWND>(l), reinterpret_cast<HDC>(w)));
    case WM_CLOSE:
        return TRUE; // no close box: only OK and Cancel close the editor
    default:
        return FALSE;
    }
}

void TWinControlEntry::BuildControls() {
    // Made in tab order: OK, Cancel, the function list, the modifiers, the capture, the rate.
    const DWORD tab = WS_TABSTOP;
    auto make = [this](const wchar_t* type, DWORD style, const layout::Control& c, int id,
                       DWORD exStyle = 0) {
        const HWND control = MakeControl(dialog_, type, c.Caption, style,
                                         {c.Left, c.Top, c.Width, c.Height}, id, exStyle);
        if (*c.Hint)
            AddTooltip(dialog_, control, c.Hint);
        return control;
    };
    make(WC_BUTTONW, tab | BS_DEFPUSHBUTTON, L::cmdOK, idOK);
    make(WC_BUTTONW, tab | BS_PUSHBUTTON, L::cmdCancel, idCancel);
    layout::Control named = L::txtControlName;
    named.Caption = name_.c_str();
    make(WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, named, idControlName,
         WS_EX_STATICEDGE);
    layout::Control dropped = L::cmbFunction;
    dropped.Height = DroppedListHeight;
    const HWND list = make(WC_COMBOBOXW, tab | WS_VSCROLL | CBS_DROPDOWNLIST, dropped, idFunction);
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 FunctionListHeight - FunctionListBorders);
    SetWindowSubclass(list, FunctionListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    for (const auto& [box, id] : {std::pair{L::chkShift, idShift}, std::pair{L::chkCtrl, idCtrl},
                                  std::pair{L::chkAlt, idAlt}, std::pair{L::chkWin, idWin}})
        make(WC_BUTTONW, tab | BS_AUTOCHECKBOX, box, id);
    make(WC_BUTTONW, tab | BS_AUTOCHECKBOX | BS_PUSHLIKE, L::cmdPressKey, idPressKey);

    const HWND track =
        make(TRACKBAR_CLASSW, tab | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
             L::trkRepeatRate, idRepeatRate);
    SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, MaxTrackPosition));
    SendMessageW(track, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(track, TBM_SETTHUMBLENGTH, 15, 0);
    make(WC_STATICW, SS_CENTER | SS_CENTERIMAGE, L::txtAutoRepeat, idAutoRepeat, WS_EX_STATICEDGE);
    make(WC_STATICW, SS_CENTER, L::Label1, idLabel1);
    make(WC_STATICW, SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, L::txtDescription,
         idDescription);
}

void TWinControlEntry::FormCreate() {
    const HWND list = Item(idFunction);
    for (std::string_view name : FunctionNames())
        SendMessageA(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(std::string(name).c_str())); // ASCII names
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void TWinControlEntry::Open() {
    catch_.Arm(false);
    for (const Modifier& m : Modifiers)
        SendMessageW(Item(m.id), BM_SETCHECK, WorkMapping.*m.flag ? BST_CHECKED : BST_UNCHECKED, 0);
    const int position = std::clamp<int>(WorkMapping.RepeatRate, 0, MaxTrackPosition);
    SendMessageW(Item(idRepeatRate), TBM_SETPOS, TRUE, position);
    if (position != 0) // the bar moved from its rest: its handler normalises the rate
        trkRepeatRateChange();
    SetWindowTextUtf8(Item(idAutoRepeat), RateWords(position));
    SendMessageW(Item(idFunction), CB_SETCURSEL,
                 static_cast<WPARAM>(FunctionIndex(WorkMapping.FunctionName.view())), 0);
    cmbFunctionClick();
}

bool TWinControlEntry::Command(int id, int code) {
    switch (id) {
    case idOK:
        cmdOKClick();
        return true;
    case idCancel:
        cmdCancelClick();
        return true;
    case IDCANCEL:
        return true; // Escape is not bound to Cancel
    case idFunction:
        if (code == CBN_SELCHANGE)
            cmbFunctionClick();
        return true;
    case idPressKey:
        if (code == BN_CLICKED)
            cmdPressKeyClick();
        return true;
    default:
        for (const Modifier& m : Modifiers)
            if (m.id == id && code == BN_CLICKED) // chkShiftClick, chkCtrlClick, ...
                WorkMapping.*m.flag = Checked(id) ? 1 : 0;
        return false;
    }
}

bool TWinControlEntry::Checked(int id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TWinControlEntry::SetChecked(int id, bool checked) {
    SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Command(id, BN_CLICKED);
}

HBRUSH TWinControlEntry::StaticColours(HWND control, HDC dc) {
    if (control != Item(idControlName) || !engaged_)
        return nullptr; // the dialog's own colours
    const COLORREF fill = Mix(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_BTNFACE));
    if (!engagedBrush_)
        engagedBrush_ = CreateSolidBrush(fill);
    SetBkColor(dc, fill);
    return engagedBrush_;
}

void TWinControlEntry::cmbFunctionClick() {
    const auto selected = static_cast<int>(SendMessageW(Item(idFunction), CB_GETCURSEL, 0, 0));
    const std::string_view text =
        selected >= 0 && selected < static_cast<int>(FunctionNames().size())
            ? FunctionNames()[static_cast<std::size_t>(selected)]
            : std::string_view();
    AssignFunction(WorkMapping, text);

    const bool movement = WorkMapping.Kind == fkMouse && WorkMapping.Code >= mfMoveXNeg &&
                          WorkMapping.Code <= mfMoveYPos;
    EnableWindow(Item(idRepeatRate), !movement);
    EnableWindow(Item(idAutoRepeat), !movement);
    for (const Modifier& m : Modifiers)
        EnableWindow(Item(m.id), WorkMapping.Kind == fkKey);

    const std::string words = FunctionWords(text, injector_);
    SetWindowTextUtf8(Item(idDescription), words);
    AddTooltip(dialog_, Item(idDescription), words); // the whole line, should the label cut it
}

void TWinControlEntry::trkRepeatRateChange() {
    const auto position = static_cast<int>(SendMessageW(Item(idRepeatRate), TBM_GETPOS, 0, 0));
    WorkMapping.RepeatRate = position > 30 ? 255 : position;
    WorkMapping.AutoRepeat = position == 0 ? 0 : 1;
    SetWindowTextUtf8(Item(idAutoRepeat), RateWords(position));
}

void TWinControlEntry::cmdOKClick() {
    if (TargetMapping)
        *TargetMapping = WorkMapping;
    EndDialog(dialog_, IDOK);
}

void TWinControlEntry::cmdCancelClick() {
    EndDialog(dialog_, IDCANCEL);
}

void TWinControlEntry::cmdPressKeyClick() {
    catch_.Arm(Checked(idPressKey));
    if (catch_.Armed()) {
        SetFocus(Item(idFunction));
        SetWindowTextUtf8(Item(idDescription), "Press a key or a key combination.");
    } else {
        cmbFunctionClick();
    }
}

LRESULT CALLBACK TWinControlEntry::FunctionListProc(HWND list, UINT message, WPARAM w, LPARAM l,
                                                    UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TWinControlEntry*>(data);
    const bool armed = self->catch_.Armed();
    switch (message) {
    case WM_GETDLGCODE:
        if (armed) // Tab, Enter and Escape are keys to take too
            return DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (armed || self->swallowing_) {
            self->CaptureKey(message, w, l);
            return 0;
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        // The characters of a key taken would otherwise search the list.
        if (armed || self->swallowing_)
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, FunctionListProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(list, message, w, l);
}

void TWinControlEntry::CaptureKey(UINT message, WPARAM vk, LPARAM flags) {
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if (up) {
        swallowing_ = false;
        if (const auto caught = catch_.Up(static_cast<std::uint32_t>(vk)))
            ShowCaptured(*caught);
        return;
    }
    if (!catch_.Armed() || (flags & (1 << 30))) // a repetition
        return;
    auto down = [](int key) { return GetKeyState(key) < 0; };
    const TCaughtKey held{0, down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU),
                          down(VK_LWIN) || down(VK_RWIN)};
    if (const auto caught = catch_.Down(static_cast<std::uint32_t>(vk), held)) {
        swallowing_ = true; // until the key is let go
        ShowCaptured(*caught);
    }
}

void TWinControlEntry::ShowCaptured(const TCaughtKey& key) {
    SendMessageW(Item(idPressKey), BM_SETCHECK, BST_UNCHECKED, 0);
    const TFunctionEntry* row = VirtualKeyFunction(key.Vk);
    if (!row) {
        SetWindowTextUtf8(Item(idDescription), "That key is not in the list.");
        return;
    }
    SendMessageW(Item(idFunction), CB_SETCURSEL, static_cast<WPARAM>(FunctionIndex(row->Name)), 0);
    cmbFunctionClick(); // also when the same function was chosen before
    SetChecked(idShift, key.Shift);
    SetChecked(idCtrl, key.Ctrl);
    SetChecked(idAlt, key.Alt);
    SetChecked(idWin, key.Win);
}

} // namespace padwright::win
