// The handlers whose logic lives with the controller access and the store: the window copies its
// widgets into their models, runs them, and shows what they changed.
#include "store/ProfileFiles.h"
#include "ui/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace padwright {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}
std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void ShowList(QComboBox* box, const ListBoxModel& model) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(model.Items.size()));
    for (const std::string& item : model.Items)
        items << Text(item);
    const QSignalBlocker quiet(box);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < box->count(); ++i)
        same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(model.HasSelection() ? model.ItemIndex : -1);
}

// Runs at the end of a scope, also when the handler ends with an error.
template <typename F> struct Finally {
    F f;
    ~Finally() { f(); }
};
template <typename F> Finally(F) -> Finally<F>;

} // namespace

// ---- Controller lists ----

void TfrmMain::SyncControllerWidgets() {
    const ControllerView& view = core.Controllers.View;
    ShowList(cmbFoundDevices, view.cmbFoundDevices);
    ShowList(cmbDevices, view.cmbDevices);
    cmdRefresh->setEnabled(view.cmdRefresh.Enabled);
    cmdAddDevice->setEnabled(view.cmdAddDevice.Enabled);
    cmdRemoveDevice->setEnabled(view.cmdRemoveDevice.Enabled);
    UpdatePanelHint();
}

void TfrmMain::cmdRefreshClick() {
    core.RefreshControllers();
}
void TfrmMain::cmbFoundDevicesClick() {
    core.Controllers.cmbFoundDevicesClick();
}
void TfrmMain::cmdAddDeviceClick() {
    core.AddController();
}
void TfrmMain::cmdRemoveDeviceClick() {
    core.RemoveController();
}

void TfrmMain::popItemStartClick() {
    core.StartReading();
}

void TfrmMain::popItemStopClick() {
    core.StopReading();
}

// ---- Settings ----

ApplicationSettingsFields TfrmMain::ApplicationFields() const {
    return {Text(txtTimeInterval), Text(txtMaxJoysticks), chkStartMinimized->isChecked(),
            chkLogFile->isChecked()};
}

void TfrmMain::ShowApplicationFields(const ApplicationSettingsFields& fields) {
    txtTimeInterval->setText(Text(fields.TimeInterval));
    txtMaxJoysticks->setText(Text(fields.MaxJoysticks));
    chkStartMinimized->setChecked(fields.StartMinimized);
    chkLogFile->setChecked(fields.LogFile);
}

JoystickSettingsFields TfrmMain::JoystickFields() const {
    return {Text(txtDeadZone), Text(txtMaxVal), Text(txtThreshold), chkRepeatKeys->isChecked()};
}

void TfrmMain::ShowJoystickFields(const JoystickSettingsFields& fields) {
    txtDeadZone->setText(Text(fields.DeadZone));
    txtMaxVal->setText(Text(fields.MaxVal));
    txtThreshold->setText(Text(fields.Threshold));
    chkRepeatKeys->setChecked(fields.RepeatKeys);
}

void TfrmMain::cmdJSApplyClick() {
    JoystickSettingsFields fields = JoystickFields();
    // A value cut to 100 shows as cut even when a later field fails to convert.
    Finally show{[&] { ShowJoystickFields(fields); }};
    core.ApplyJoystickSettings(fields);
}

void TfrmMain::cmdJSResetClick() {
    JoystickSettingsFields fields = JoystickFields();
    core.ResetJoystickSettings(fields);
    ShowJoystickFields(fields);
}

void TfrmMain::cmdASApplyClick() {
    ApplicationSettingsFields fields = ApplicationFields();
    // A log that cannot be created leaves logging off, and the box shows it off.
    Finally agree{[&] { chkLogFile->setChecked(fields.LogFile); }};
    core.ApplyApplicationSettings(fields);
}

void TfrmMain::cmdASResetClick() {
    ApplicationSettingsFields fields = ApplicationFields();
    core.ResetApplicationSettings(fields);
    ShowApplicationFields(fields);
}

void TfrmMain::cmdSaveClick() {
    core.Save(chkStartMinimized->isChecked());
}

// ---- Import and Export ----

void TfrmMain::mnuPImportClick() {
    if (!ProfileRoomLeft())
        return;
    const std::optional<QString> path = Dialogs.OpenProfileFile();
    if (!path)
        return;
    auto confirm = [this](const std::string& question) {
        return Dialogs.Question(Text(question), QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes) == QMessageBox::Yes;
    };
    // Profiles never move their elements, so the rows shown keep editing their own profile.
    const std::int64_t imported =
        ImportProfiles(path->toStdString(), Lists.Profiles, Dialogs, confirm);
    // The selection stays as it was, also when the list was empty (a combo box would select
    // its first item by itself, showing a profile the panel and the controller do not use).
    const int selected = cmbProfiles->currentIndex();
    for (auto i = Lists.Profiles.size() - static_cast<std::size_t>(imported);
         i < Lists.Profiles.size(); ++i)
        cmbProfiles->addItem(Text(Lists.Profiles[i].Name.str()));
    cmbProfiles->setCurrentIndex(selected);
}

void TfrmMain::mnuPExportClick() {
    const TProfile* profile = SelectedProfile();
    if (!profile)
        return;
    const std::optional<QString> path = Dialogs.SaveProfileFile();
    if (!path)
        return;
    ExportProfile(*profile, path->toStdString(), core.Store.Path(), Dialogs);
}

// ---- Start-up steps ----

void TfrmMain::LoadProfileStore() {
    Finally show{[this] {
        const QSignalBlocker quiet(cmbProfiles);
        cmbProfiles->clear();
        for (const TProfile& profile : Lists.Profiles)
            cmbProfiles->addItem(Text(profile.Name.str()));
        cmbProfiles->setCurrentIndex(-1);
    }};
    core.LoadProfileStore();
}

bool TfrmMain::LoadApplicationSettings() {
    ApplicationSettingsFields fields;
    // The fields show what was read even when the log then cannot be opened; the log box shows
    // whether logging is on.
    Finally show{[&] {
        fields.LogFile = core.Log.LogEnabled();
        ShowApplicationFields(fields);
        SyncControllerWidgets();
    }};
    return core.LoadApplicationSettings(fields);
}

void TfrmMain::StartDirectInput() {
    Finally sync{[this] { SyncControllerWidgets(); }};
    core.StartDirectInput();
}

} // namespace padwright
