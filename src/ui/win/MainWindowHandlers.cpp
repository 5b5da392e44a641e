// The main window's handlers: the controller selection, the lists, the settings, Save and Exit,
// the profile menu and the start-up steps. The logic is the core's; the window copies its
// controls into the core's models, runs it, and shows what changed.
#include "engine/Rounding.h"
#include "platform/Utf8Fit.h"
#include "store/ProfileFiles.h"
#include "store/ProfileOperations.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowIds.h"

#include "platform/win/Utf16.h"

namespace padwright::win {

namespace {

// Runs at the end of a scope, also when the handler ends with an error.
template <typename F> struct Finally {
    F f;
    ~Finally() { f(); }
};
template <typename F> Finally(F) -> Finally<F>;

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(Utf8(text));
    }
    return items;
}

void ShowList(HWND list, const std::vector<std::string>& items, int selected) {
    if (ListItems(list) != items) {
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

std::string NameText(const TProfile& profile) {
    return std::string(profile.Name.view());
}

} // namespace

// ---- Selections ----

TJoystick* MainWindow::SelectedJoystick() {
    return core.SelectedController();
}

int MainWindow::ProfileIndex() const {
    return static_cast<int>(SendMessageW(cmbProfiles, CB_GETCURSEL, 0, 0));
}

void MainWindow::SetProfileIndex(int index) {
    SendMessageW(cmbProfiles, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

TProfile* MainWindow::SelectedProfile() {
    const int i = ProfileIndex();
    if (i < 0 || i >= static_cast<int>(Lists.Profiles.count()))
        return nullptr;
    return &Lists.Profiles[static_cast<std::size_t>(i)];
}

void MainWindow::cmbDevicesClick() {
    const HWND settings[] = {cmdJSApply,   cmdJSReset,    txtDeadZone, txtMaxVal,
                             txtThreshold, chkRepeatKeys, cmbProfiles};
    TJoystick* joystick = SelectedJoystick();
    if (!joystick) {
        core.Controllers.View.cmdRemoveDevice.Enabled = false;
        SyncControllerWidgets();
        for (HWND w : settings)
            Enable(w, false);
        SetProfileIndex(-1);
        cmbProfilesClick();
        return;
    }
    for (HWND w : settings)
        Enable(w, true);
    if (static_cast<int>(SendMessageW(cmbProfiles, CB_GETCOUNT, 0, 0)) >=
        joystick->ProfileInEffect())
        SetProfileIndex(joystick->ProfileInEffect() - 1);
    cmbProfilesClick();
    cmdJSResetClick();
    core.Controllers.View.cmdRemoveDevice.Enabled = true;
    SyncControllerWidgets();
}

// ---- Controller lists ----

void MainWindow::SyncControllerWidgets() {
    const ControllerView& view = core.Controllers.View;
    ShowList(cmbFoundDevices, view.cmbFoundDevices.Items,
             view.cmbFoundDevices.HasSelection() ? view.cmbFoundDevices.ItemIndex : -1);
    ShowList(cmbDevices, view.cmbDevices.Items,
             view.cmbDevices.HasSelection() ? view.cmbDevices.ItemIndex : -1);
    Enable(cmdRefresh, view.cmdRefresh.Enabled);
    Enable(cmdAddDevice, view.cmdAddDevice.Enabled);
    Enable(cmdRemoveDevice, view.cmdRemoveDevice.Enabled);
    UpdatePanelHint();
}

void MainWindow::cmdRefreshClick() {
    core.RefreshControllers();
}
void MainWindow::cmbFoundDevicesClick() {
    core.Controllers.cmbFoundDevicesClick();
}
void MainWindow::cmdAddDeviceClick() {
    core.AddController();
}
void MainWindow::cmdRemoveDeviceClick() {
    core.RemoveController();
}

void MainWindow::LogSwitchedOff() {
    SetChecked(chkLogFile, core.Log.LogEnabled());
}

// ---- Settings ----

ApplicationSettingsFields MainWindow::ApplicationFields() const {
    return {WindowTextUtf8(txtTimeInterval), WindowTextUtf8(txtMaxJoysticks),
            Checked(chkStartMinimized), Checked(chkLogFile)};
}

void MainWindow::ShowApplicationFields(const ApplicationSettingsFields& fields) {
    SetWindowTextUtf8(txtTimeInterval, fields.TimeInterval);
    SetWindowTextUtf8(txtMaxJoysticks, fields.MaxJoysticks);
    SetChecked(chkStartMinimized, fields.StartMinimized);
    SetChecked(chkLogFile, fields.LogFile);
}

JoystickSettingsFields MainWindow::JoystickFields() const {
    return {WindowTextUtf8(txtDeadZone), WindowTextUtf8(txtMaxVal), WindowTextUtf8(txtThreshold),
            Checked(chkRepeatKeys)};
}

void MainWindow::ShowJoystickFields(const JoystickSettingsFields& fields) {
    SetWindowTextUtf8(txtDeadZone, fields.DeadZone);
    SetWindowTextUtf8(txtMaxVal, fields.MaxVal);
    SetWindowTextUtf8(txtThreshold, fields.Threshold);
    SetChecked(chkRepeatKeys, fields.RepeatKeys);
}

void MainWindow::cmdJSApplyClick() {
    JoystickSettingsFields fields = JoystickFields();
    // A value cut to 100 shows as cut even when a later field fails to convert.
    Finally show{[&] { ShowJoystickFields(fields); }};
    core.ApplyJoystickSettings(fields);
}

void MainWindow::cmdJSResetClick() {
    JoystickSettingsFields fields = JoystickFields();
    core.ResetJoystickSettings(fields);
    ShowJoystickFields(fields);
}

void MainWindow::cmdASApplyClick() {
    ApplicationSettingsFields fields = ApplicationFields();
    // A log that cannot be created leaves logging off, and the box shows it off.
    Finally agree{[&] { SetChecked(chkLogFile, fields.LogFile); }};
    core.ApplyApplicationSettings(fields);
}

void MainWindow::cmdASResetClick() {
    ApplicationSettingsFields fields = ApplicationFields();
    core.ResetApplicationSettings(fields);
    ShowApplicationFields(fields);
}

void MainWindow::cmdSaveClick() {
    core.Save(Checked(chkStartMinimized));
}

// ---- Leaving ----

void MainWindow::RememberSavedState() {
    core.RememberSaved(Checked(chkStartMinimized));
}

bool MainWindow::UnsavedChanges() {
    return core.ChangedSinceSaved(Checked(chkStartMinimized));
}

bool MainWindow::ConfirmExit() {
    if (!UnsavedChanges())
        return true;
    switch (Dialogs.Question(layout::ExitQuestion, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        // A failed Save has shown its error box; the program stays, with the work in it.
        return RunHandler([this] { cmdSaveClick(); });
    case IDNO:
        return true;
    default:
        return false;
    }
}

void MainWindow::cmdExitClick() {
    if (!ConfirmExit())
        return;
    closingUnasked_ = true;
    DestroyWindow(window_);
}

// ---- The profile menu ----

void MainWindow::popProfilePopup() {
    const bool controller = SendMessageW(cmbDevices, CB_GETCURSEL, 0, 0) >= 0;
    const bool profile = ProfileIndex() >= 0;
    const std::pair<int, bool> items[] = {{ids::mnuPAdd, controller},    {ids::mnuPCopy, profile},
                                          {ids::mnuPRename, profile},    {ids::mnuPDelete, profile},
                                          {ids::mnuPImport, controller}, {ids::mnuPExport, profile},
                                          {ids::mnuPPrograms, profile}};
    for (const auto& [id, enabled] : items)
        EnableMenuItem(popProfile, static_cast<UINT>(id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::mnuPProgramsClick() {
    if (SelectedProfile() && ShowPrograms)
        ShowPrograms(ProfileIndex());
}

void MainWindow::ShowProfileNames() {
    std::vector<std::string> names;
    for (const TProfile& profile : Lists.Profiles)
        names.push_back(NameText(profile));
    ShowList(cmbProfiles, names, -1);
}

void MainWindow::AppendProfile(const TProfile& profile) {
    SendMessageW(cmbProfiles, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(NameText(profile)).c_str()));
    SetProfileIndex(static_cast<int>(SendMessageW(cmbProfiles, CB_GETCOUNT, 0, 0)) - 1);
    cmbProfilesClick();
}

bool MainWindow::ProfileRoomLeft() {
    if (ProfileRoom(Lists.Profiles) > 0)
        return true;
    Dialogs.Warning(ProfileLimitText(), "Attention");
    return false;
}

void MainWindow::mnuPAddClick() {
    if (!ProfileRoomLeft())
        return;
    const std::string name = Dialogs.AskName({});
    if (name.empty())
        return;
    AppendProfile(AddProfile(Lists, name));
}

void MainWindow::mnuPCopyClick() {
    const TProfile* source = SelectedProfile();
    if (!source || !ProfileRoomLeft())
        return;
    const auto index = static_cast<std::size_t>(ProfileIndex());
    const std::string name = Dialogs.AskName(NameText(*source));
    if (name.empty())
        return;
    AppendProfile(CopyProfile(Lists, index, name));
}

void MainWindow::mnuPRenameClick() {
    TProfile* profile = SelectedProfile();
    if (!profile)
        return;
    const int p = ProfileIndex();
    const std::string name = Dialogs.AskName(NameText(*profile));
    if (name.empty())
        return;
    // The list shows what the profile stores: the name cut to its 255 bytes.
    const std::string stored = Utf8Cut(name, NameCapacity);
    SendMessageW(cmbProfiles, CB_DELETESTRING, static_cast<WPARAM>(p), 0);
    SendMessageW(cmbProfiles, CB_INSERTSTRING, static_cast<WPARAM>(p),
                 reinterpret_cast<LPARAM>(Wide(stored).c_str()));
    SetProfileIndex(p);
    cmbProfilesClick();
    profile->Name.assign(stored);
}

void MainWindow::mnuPDeleteClick() {
    if (!SelectedProfile())
        return;
    const auto p = static_cast<std::size_t>(ProfileIndex());
    SendMessageW(cmbProfiles, CB_RESETCONTENT, 0, 0);
    core.DeleteProfile(p);
    ShowProfileNames();
    cmbProfilesClick();
    if (!Lists.Profiles.empty())
        core.ResumeReading();
}

void MainWindow::mnuPImportClick() {
    if (!ProfileRoomLeft())
        return;
    const std::optional<std::string> path = Dialogs.OpenProfileFile();
    if (!path)
        return;
    auto confirm = [this](const std::string& question) {
        return Dialogs.Question(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    // Profiles never move their elements, so the rows shown keep editing their own profile.
    const std::int64_t imported = ImportProfiles(*path, Lists.Profiles, Dialogs, confirm);
    const int selected = ProfileIndex();
    for (auto i = Lists.Profiles.size() - static_cast<std::size_t>(imported);
         i < Lists.Profiles.size(); ++i)
        SendMessageW(cmbProfiles, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(NameText(Lists.Profiles[i])).c_str()));
    SetProfileIndex(selected);
}

void MainWindow::mnuPExportClick() {
    const TProfile* profile = SelectedProfile();
    if (!profile)
        return;
    const std::optional<std::string> path = Dialogs.SaveProfileFile();
    if (!path)
        return;
    ExportProfile(*profile, *path, core.Store.Path(), Dialogs);
}

// ---- Start-up steps ----

void MainWindow::LoadProfileStore() {
    Finally show{[this] { ShowProfileNames(); }};
    core.LoadProfileStore();
}

bool MainWindow::LoadApplicationSettings() {
    ApplicationSettingsFields fields;
    Finally show{[&] {
        fields.LogFile = core.Log.LogEnabled();
        ShowApplicationFields(fields);
        SyncControllerWidgets();
    }};
    return core.LoadApplicationSettings(fields);
}

void MainWindow::StartDirectInput() {
    Finally sync{[this] { SyncControllerWidgets(); }};
    core.StartDirectInput();
}

} // namespace padwright::win
