// The settings panel: one row per control slot of the selected controller, showing the mapping
// the selected profile gives that slot; its scrolling, its keyboard and its live marks.
#include "ui/common/FunctionWords.h"
#include "ui/common/PanelHint.h"
#include "ui/common/PanelKeys.h"
#include "ui/common/RowTexts.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowIds.h"

#include <commctrl.h>

#include <algorithm>

namespace padwright::win {

namespace {

using Rows = SettingsRowLayout;

// A box of a row: a static text with a soft edge.
HWND RowBox(HWND panel, ::DWORD style, int id = 0) {
    HWND box = CreateWindowExW(WS_EX_STATICEDGE, WC_STATICW, L"",
                               WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_NOPREFIX | style, 0, 0,
                               0, 0, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(DesignFont()), FALSE);
    return box;
}

} // namespace

LRESULT CALLBACK MainWindow::PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
    if (!self || self->scbSettings != panel)
        return DefWindowProcW(panel, message, wParam, lParam);
    return self->PanelMessage(message, wParam, lParam);
}

LRESULT MainWindow::PanelMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
        // The rows' clicks and colours are the window's.
        return SendMessageW(window_, message, wParam, lParam);
    case WM_VSCROLL:
        Scroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        Scroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        for (int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA; notches != 0;
             notches += notches > 0 ? -1 : 1)
            Scroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(scbSettings);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        MarkFocusedRow();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(scbSettings, &paint);
        if (GetFocus() == scbSettings && focusedRow_ < static_cast<int>(SettingsRows.size())) {
            RECT mark{};
            GetWindowRect(SettingsRows[static_cast<std::size_t>(focusedRow_)].NameBox, &mark);
            MapWindowPoints(nullptr, scbSettings, reinterpret_cast<POINT*>(&mark), 2);
            InflateRect(&mark, 2, 2);
            DrawFocusRect(dc, &mark);
        }
        EndPaint(scbSettings, &paint);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(scbSettings, message, wParam, lParam);
}

void MainWindow::cmbProfilesClick() {
    ShowProfileRows();
    core.ChooseProfile(SelectedJoystick() ? core.Controllers.View.cmbDevices.ItemIndex : -1,
                       SelectedProfile() ? ProfileIndex() : -1);
}

void MainWindow::ProfileFollowed(std::size_t controller) {
    const TJoystick* joystick = SelectedJoystick();
    if (!joystick || static_cast<int>(controller) != core.Controllers.View.cmbDevices.ItemIndex)
        return;
    SetProfileIndex(joystick->ProfileInEffect() - 1);
    ShowProfileRows();
}

void MainWindow::ShowProfileRows() {
    // Rebuilt out of sight: one repaint at the end instead of one per box.
    SendMessageW(scbSettings, WM_SETREDRAW, FALSE, 0);
    ClearSettingsRows();
    TJoystick* joystick = SelectedJoystick();
    TProfile* profile = SelectedProfile();
    if (joystick && profile)
        for (const TRowPlan& row : PlanSettingsRows(*joystick))
            AddSettingsRow(profile->Mappings[row.Slot], row.Caption, row.Slot);
    FitScrollRange();
    focusedRow_ = 0;
    UpdatePanelHint();
    SendMessageW(scbSettings, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(scbSettings, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainWindow::ClearSettingsRows() {
    ScrollTo(0, 0);
    for (const TSettingsRow& row : SettingsRows) {
        for (HWND box : {row.NameBox, row.FunctionBox, row.ModifierBox, row.RepeatBox}) {
            AddTooltip(window_, box, "");
            DestroyWindow(box);
        }
    }
    SettingsRows.clear();
    rowLayout_.Clear();
    ForgetLiveMarks();
}

void MainWindow::AddSettingsRow(TControlMapping& mapping, const std::string& caption, int slot) {
    const int n = static_cast<int>(SettingsRows.size());
    TSettingsRow row;
    row.NameBox = RowBox(scbSettings, SS_LEFT | SS_NOTIFY, ids::FirstRow + n);
    SetWindowTextUtf8(row.NameBox, caption);
    AddTooltip(window_, row.NameBox, layout::RowHint);
    row.FunctionBox = RowBox(scbSettings, SS_LEFT | SS_ENDELLIPSIS);
    row.ModifierBox = RowBox(scbSettings, SS_LEFT);
    row.RepeatBox = RowBox(scbSettings, SS_CENTER);
    row.Mapping = &mapping;
    row.Slot = slot;
    // The edge takes a pixel on either side of the text.
    if (rowLayout_.Add(TextWidth(row.NameBox, caption) + 2)) {
        for (std::size_t i = 0; i < SettingsRows.size(); ++i)
            PlaceRow(SettingsRows[i], rowLayout_.Rows()[i]);
    }
    PlaceRow(row, rowLayout_.Rows().back());
    RefreshRow(row);
    SettingsRows.push_back(row);
}

void MainWindow::PlaceRow(const TSettingsRow& row, const RowPlace& place) {
    const std::pair<HWND, BoxPlace> boxes[] = {{row.NameBox, place.Name},
                                               {row.FunctionBox, place.Function},
                                               {row.ModifierBox, place.Modifier},
                                               {row.RepeatBox, place.Repeat}};
    for (const auto& [box, at] : boxes)
        MoveWindow(box, at.Left - scrolled_.x, at.Top - scrolled_.y, at.Width, at.Height, FALSE);
}

void MainWindow::RefreshRow(const TSettingsRow& row) {
    const std::string function(row.Mapping->FunctionName.view());
    SetWindowTextUtf8(row.FunctionBox, function);
    SetWindowTextUtf8(row.ModifierBox, ModifierText(*row.Mapping));
    SetWindowTextUtf8(row.RepeatBox, RepeatText(row.Mapping->RepeatRate));
    AddTooltip(window_, row.FunctionBox, FunctionWords(function, &core.Injector()));
}

void MainWindow::FitScrollRange() {
    // Twice: a bar that appears takes room from the other direction. A bar whose page holds
    // everything goes away.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{};
        GetClientRect(scbSettings, &client);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMax = rowLayout_.Rows().empty() ? 0 : rowLayout_.Height() + Rows::RowTop - 1;
        info.nPage = static_cast<UINT>(client.bottom);
        SetScrollInfo(scbSettings, SB_VERT, &info, TRUE);
        info.nMax = rowLayout_.Rows().empty() ? 0 : rowLayout_.Width() + Rows::NameLeft - 1;
        info.nPage = static_cast<UINT>(client.right);
        SetScrollInfo(scbSettings, SB_HORZ, &info, TRUE);
    }
}

void MainWindow::Scroll(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(scbSettings, bar, &info);
    int position = info.nPos;
    const int page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP:
        position -= Rows::RowPitch;
        break;
    case SB_LINEDOWN:
        position += Rows::RowPitch;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK: // live tracking
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    position = std::clamp(position, 0, std::max(info.nMax - page + 1, 0));
    if (bar == SB_VERT)
        ScrollTo(scrolled_.x, position);
    else
        ScrollTo(position, scrolled_.y);
}

void MainWindow::ScrollTo(int x, int y) {
    const int dx = scrolled_.x - x;
    const int dy = scrolled_.y - y;
    if (dx == 0 && dy == 0)
        return;
    scrolled_ = {x, y};
    SetScrollPos(scbSettings, SB_HORZ, x, TRUE);
    SetScrollPos(scbSettings, SB_VERT, y, TRUE);
    // The hint stays where it is; it only shows while there are no rows.
    ScrollWindowEx(scbSettings, dx, dy, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    MoveWindow(txtPanelHint, layout::txtPanelHint.Left, layout::txtPanelHint.Top,
               layout::txtPanelHint.Width, layout::txtPanelHint.Height, TRUE);
}

std::string MainWindow::PanelHintText() {
    return padwright::PanelHintText(core, SelectedJoystick(), SelectedProfile() != nullptr,
                                    !SettingsRows.empty());
}

void MainWindow::UpdatePanelHint() {
    const std::string text = PanelHintText();
    SetWindowTextUtf8(txtPanelHint, text);
    ShowWindow(txtPanelHint, text.empty() ? SW_HIDE : SW_SHOWNA);
}

bool MainWindow::PanelKey(WPARAM key) {
    if (SettingsRows.empty() || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    RowKey panelKey;
    switch (key) {
    case VK_UP:
        panelKey = RowKey::Up;
        break;
    case VK_DOWN:
        panelKey = RowKey::Down;
        break;
    case VK_HOME:
        panelKey = RowKey::Home;
        break;
    case VK_END:
        panelKey = RowKey::End;
        break;
    case VK_RETURN:
    case VK_SPACE:
        panelKey = RowKey::Open;
        break;
    default:
        return false;
    }
    const PanelStep step = StepPanel(panelKey, focusedRow_, static_cast<int>(SettingsRows.size()));
    if (step.Open) {
        RunHandler([&] { SettingsRowClick(step.Row); });
        return true;
    }
    focusedRow_ = step.Row;
    MarkFocusedRow();
    return true;
}

void MainWindow::MarkFocusedRow() {
    if (GetFocus() == scbSettings && focusedRow_ < static_cast<int>(SettingsRows.size())) {
        const RowPlace& place = rowLayout_.Rows()[static_cast<std::size_t>(focusedRow_)];
        RECT client{};
        GetClientRect(scbSettings, &client);
        if (place.Name.Top < scrolled_.y)
            ScrollTo(scrolled_.x, place.Name.Top - Rows::RowTop);
        else if (place.Name.Bottom() > scrolled_.y + client.bottom)
            ScrollTo(scrolled_.x, place.Name.Bottom() + Rows::RowTop - client.bottom);
    }
    InvalidateRect(scbSettings, nullptr, TRUE);
}

void MainWindow::SettingsRowClick(int index) {
    if (index < 0 || index >= static_cast<int>(SettingsRows.size()))
        return;
    const auto i = static_cast<std::size_t>(index);
    HWND nameBox = SettingsRows[i].NameBox;
    TControlMapping& mapping = *SettingsRows[i].Mapping;
    const int slot = SettingsRows[i].Slot;
    editingRow_ = index;
    InvalidateRect(nameBox, nullptr, TRUE);
    Dialogs.SetEditedEngaged(slot >= 0 && marksShown_[static_cast<std::size_t>(slot)]);
    Dialogs.EditControl(WindowTextUtf8(nameBox), mapping);
    editingRow_ = -1;
    Dialogs.SetEditedEngaged(false);
    core.MappingsChanged();
    // The rows may have been rebuilt while the editor was open; only a row that is still the
    // same is refreshed.
    if (i >= SettingsRows.size() || SettingsRows[i].NameBox != nameBox)
        return;
    RefreshRow(SettingsRows[i]);
    InvalidateRect(nameBox, nullptr, TRUE);
}

// ---- Live marks ----

void MainWindow::MarkEngagedRows() {
    // Only what the user can see is worth a look.
    if (!IsWindowVisible(window_) || IsIconic(window_) || !core.ReadingOn())
        return;
    const TJoystick* joystick = SelectedJoystick();
    const SlotSet engaged = joystick && !SettingsRows.empty() ? joystick->Engaged : SlotSet{};
    if (engaged == marksWanted_)
        return;
    marksWanted_ = engaged;
    if (!liveMarksPending_) {
        liveMarksPending_ = true;
        SetTimer(window_, ids::tmrLiveMarks, 1000 / MarkRepaintsPerSecond, nullptr);
    }
}

void MainWindow::tmrLiveMarksTimer() {
    const SlotSet changed = marksWanted_ ^ marksShown_;
    if (changed.none())
        return;
    marksShown_ = marksWanted_;
    for (const TSettingsRow& row : SettingsRows)
        if (row.Slot >= 0 && changed[static_cast<std::size_t>(row.Slot)])
            InvalidateRect(row.NameBox, nullptr, TRUE);
    if (editingRow_ >= 0) {
        const int slot = SettingsRows[static_cast<std::size_t>(editingRow_)].Slot;
        Dialogs.SetEditedEngaged(slot >= 0 && marksShown_[static_cast<std::size_t>(slot)]);
    }
}

void MainWindow::ClearLiveMarks() {
    KillTimer(window_, ids::tmrLiveMarks);
    liveMarksPending_ = false;
    marksWanted_.reset();
    tmrLiveMarksTimer();
}

void MainWindow::ForgetLiveMarks() {
    KillTimer(window_, ids::tmrLiveMarks);
    liveMarksPending_ = false;
    marksWanted_.reset();
    marksShown_.reset();
}

void MainWindow::ReadingChanged(bool on) {
    if (!on)
        ClearLiveMarks();
}

} // namespace padwright::win
