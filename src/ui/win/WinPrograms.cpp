#include "ui/win/WinPrograms.h"

#include "core/Core.h"
#include "core/ProgramRules.h"
#include "platform/win/Utf16.h"
#include "ui/common/DialogTexts.h"
#include "ui/common/ProgramsTexts.h"
#include "ui/win/WinControls.h"

#include <commctrl.h>

#include <algorithm>

namespace padwright::win {

namespace {

constexpr int ClientWidth = 560, ClientHeight = 320;
constexpr UINT RecheckButtons = WM_APP + 1; // after a list choice has become the field's text
constexpr int NameCapacity = 255;

void AddListItem(HWND list, std::string_view text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

} // namespace

void TWinPrograms::ShowFor(HWND owner, int profile) {
    profile_ = profile;
    RunModal(owner, L"Programs", WS_CAPTION | WS_SYSMENU, ClientWidth, ClientHeight);
}

bool TWinPrograms::OnInit() {
    CentreOn(dialog_, owner_);
    BuildControls();
    SetWindowTextUtf8(Item(idFollowing), FollowingText(source_));
    FillRules();
    FillPrograms();
    FillControllers();
    UpdateButtons();
    return true;
}

INT_PTR TWinPrograms::OnMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(w)) {
        case idAdd:
            core_.Run([this] { cmdAddClick(); });
            return TRUE;
        case idRemove:
            core_.Run([this] { cmdRemoveClick(); });
            return TRUE;
        case idClose:
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog_, IDOK);
            return TRUE;
        case idProgram:
            if (HIWORD(w) == CBN_EDITCHANGE)
                UpdateButtons();
            else if (HIWORD(w) == CBN_SELCHANGE)
                PostMessageW(dialog_, RecheckButtons, 0, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const NMHDR*>(l);
        if (note->idFrom == idRules && note->code == LVN_ITEMCHANGED)
            UpdateButtons();
        return FALSE;
    }
    case RecheckButtons:
        UpdateButtons();
        return TRUE;
    default:
        return FALSE;
    }
}

void TWinPrograms::BuildControls() {
    const DWORD tab = WS_TABSTOP;
    MakeControl(dialog_, WC_STATICW, "", SS_NOPREFIX, {8, 8, 544, 30}, idFollowing);
    const HWND rules =
        MakeControl(dialog_, WC_LISTVIEWW, "", tab | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                    {8, 42, 544, 198}, idRules, WS_EX_CLIENTEDGE);
    SendMessageW(rules, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const wchar_t* headings[] = {L"Program", L"Controllers", L"Profile"};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.cx = 180;
        c.pszText = const_cast<wchar_t*>(headings[column]);
        SendMessageW(rules, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&c));
    }
    MakeControl(dialog_, WC_STATICW, "When", SS_CENTERIMAGE, {8, 250, 34, 21}, idWhen);
    const HWND program =
        MakeControl(dialog_, WC_COMBOBOXW, "", tab | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                    {44, 250, 190, 200}, idProgram);
    SendMessageW(program, CB_LIMITTEXT, NameCapacity, 0);
    AddTooltip(dialog_, program,
               "The program in front, a program with an open window, or a name typed: the "
               "window class, app id or file name, in any case.");
    MakeControl(dialog_, WC_STATICW, "is in front:", SS_CENTERIMAGE, {240, 250, 60, 21}, idInFront);
    MakeControl(dialog_, WC_COMBOBOXW, "", tab | WS_VSCROLL | CBS_DROPDOWNLIST,
                {302, 250, 170, 200}, idControllers);
    MakeControl(dialog_, WC_BUTTONW, "&Add", tab, {480, 249, 72, 23}, idAdd);
    MakeControl(dialog_, WC_BUTTONW, "&Remove", tab, {8, 289, 72, 23}, idRemove);
    MakeControl(dialog_, WC_BUTTONW, "Close", tab | BS_DEFPUSHBUTTON, {480, 289, 72, 23}, idClose);
}

void TWinPrograms::FillRules() {
    const HWND rules = Item(idRules);
    SendMessageW(rules, LVM_DELETEALLITEMS, 0, 0);
    const TLists& lists = core_.Lists;
    int row = 0;
    for (const TProgramRule& rule : lists.Programs) {
        const std::string columns[] = {rule.Program, RuleControllersText(lists, rule),
                                       RuleProfileText(lists, rule)};
        for (int column = 0; column < 3; ++column) {
            std::wstring text = Wide(columns[column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.iSubItem = column;
            item.pszText = text.data();
            SendMessageW(rules, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                         reinterpret_cast<LPARAM>(&item));
        }
        ++row;
    }
}

void TWinPrograms::FillPrograms() {
    std::vector<std::string> names;
    if (const auto& front = follower_.InFront())
        names.push_back(ProgramName(*front));
    if (source_)
        for (const ForegroundProgram& open : source_->OpenWindows())
            if (!open.own)
                names.push_back(ProgramName(open));
    const HWND program = Item(idProgram);
    SendMessageW(program, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> shown;
    for (const std::string& name : names)
        if (!name.empty() && std::find(shown.begin(), shown.end(), name) == shown.end()) {
            shown.push_back(name);
            AddListItem(program, name);
        }
    if (!shown.empty()) // the program in front, or the first open one, as the editable text does
        SendMessageW(program, CB_SETCURSEL, 0, 0);
}

void TWinPrograms::FillControllers() {
    const HWND list = Item(idControllers);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    controllers_ = {""};
    AddListItem(list, "All controllers");
    for (const TJoystick& pad : core_.Lists.ActiveJoysticks) {
        AddListItem(list, ControllerListText(pad));
        controllers_.push_back(GuidToString(pad.Guid));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
}

std::string TWinPrograms::ProgramText() const {
    return TrimName(WindowTextUtf8(Item(idProgram)));
}

int TWinPrograms::SelectedRule() const {
    return static_cast<int>(
        SendMessageW(Item(idRules), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TWinPrograms::UpdateButtons() {
    EnableWindow(Item(idAdd), profile_ >= 0 && profile_ < core_.Lists.Profiles.count() &&
                                  !ProgramText().empty());
    EnableWindow(Item(idRemove), SelectedRule() >= 0);
}

void TWinPrograms::cmdAddClick() {
    const std::string program = ProgramText();
    if (program.empty() || profile_ < 0 || profile_ >= core_.Lists.Profiles.count())
        return;
    const auto chosen =
        static_cast<std::size_t>(SendMessageW(Item(idControllers), CB_GETCURSEL, 0, 0));
    follower_.AddRule({program, profile_ + 1,
                       chosen < controllers_.size() ? controllers_[chosen] : std::string()});
    FillRules();
    UpdateButtons();
}

void TWinPrograms::cmdRemoveClick() {
    const int row = SelectedRule();
    if (row < 0)
        return;
    follower_.RemoveRule(static_cast<std::size_t>(row));
    FillRules();
    UpdateButtons();
}

} // namespace padwright::win
