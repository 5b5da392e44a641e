// The main window's wiring, the reading switch, the timers and the controller selection.
#include "ui/frmMain.h"

#include "ui/ScreenPlacement.h"
#include "ui/StaticText.h"
#include "ui/common/RowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include <optional>

namespace padwright {

void TfrmMain::ConnectHandlers() {
    auto on = [this](auto* sender, auto signal, void (TfrmMain::*handler)()) {
        connect(sender, signal, this, [this, handler] { RunHandler([&] { (this->*handler)(); }); });
    };
    connect(cmbDevices, &QComboBox::activated, this, [this](int index) {
        core.Controllers.View.cmbDevices.ItemIndex = index;
        RunHandler([&] { cmbDevicesClick(); });
    });
    connect(cmbFoundDevices, &QComboBox::activated, this, [this](int index) {
        core.Controllers.View.cmbFoundDevices.ItemIndex = index;
        RunHandler([&] { cmbFoundDevicesClick(); });
    });
    on(cmdRefresh, &QPushButton::clicked, &TfrmMain::cmdRefreshClick);
    on(cmdAddDevice, &QPushButton::clicked, &TfrmMain::cmdAddDeviceClick);
    on(cmdRemoveDevice, &QPushButton::clicked, &TfrmMain::cmdRemoveDeviceClick);
    on(cmdJSApply, &QPushButton::clicked, &TfrmMain::cmdJSApplyClick);
    on(cmdJSReset, &QPushButton::clicked, &TfrmMain::cmdJSResetClick);
    on(cmdASApply, &QPushButton::clicked, &TfrmMain::cmdASApplyClick);
    on(cmdASReset, &QPushButton::clicked, &TfrmMain::cmdASResetClick);
    on(cmdSave, &QPushButton::clicked, &TfrmMain::cmdSaveClick);
    on(mnuPImport, &QAction::triggered, &TfrmMain::mnuPImportClick);
    on(mnuPExport, &QAction::triggered, &TfrmMain::mnuPExportClick);
    on(cmbProfiles, &QComboBox::activated, &TfrmMain::cmbProfilesClick);
    on(cmdExit, &QPushButton::clicked, &TfrmMain::cmdExitClick);
    on(cmdPPopUp, &QPushButton::clicked, &TfrmMain::cmdPPopUpClick);
    on(popProfile, &QMenu::aboutToShow, &TfrmMain::popProfilePopup);
    on(mnuPAdd, &QAction::triggered, &TfrmMain::mnuPAddClick);
    on(mnuPCopy, &QAction::triggered, &TfrmMain::mnuPCopyClick);
    on(mnuPRename, &QAction::triggered, &TfrmMain::mnuPRenameClick);
    on(mnuPDelete, &QAction::triggered, &TfrmMain::mnuPDeleteClick);
    on(mnuPPrograms, &QAction::triggered, &TfrmMain::mnuPProgramsClick);
    on(tmrLiveMarks, &QTimer::timeout, &TfrmMain::tmrLiveMarksTimer);
    connect(cmbProfiles, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        RunHandler([&] { popProfile->exec(cmbProfiles->mapToGlobal(at)); });
    });
}

// ---- The reading switch and the timers (the core's) ----

void TfrmMain::ReadingChanged(bool on) {
    if (!on)
        ClearLiveMarks();
}

void TfrmMain::LogSwitchedOff() {
    chkLogFile->setChecked(core.Log.LogEnabled());
}

void TfrmMain::tmrDataCollectTimer() {
    core.tmrDataCollectTimer();
}

void TfrmMain::tmrAutoRepeatTimer() {
    core.tmrAutoRepeatTimer();
}

void TfrmMain::tmrSTrayTimer() {
    core.tmrSTrayTimer();
}

// ---- Selecting an active controller ----

TJoystick* TfrmMain::SelectedJoystick() {
    return core.SelectedController();
}

TProfile* TfrmMain::SelectedProfile() {
    const int i = cmbProfiles->currentIndex();
    if (i < 0 || i >= Lists.Profiles.count())
        return nullptr;
    return &Lists.Profiles[static_cast<std::size_t>(i)];
}

void TfrmMain::cmbDevicesClick() {
    const QList<QWidget*> settings = {cmdJSApply,   cmdJSReset,    txtDeadZone, txtMaxVal,
                                      txtThreshold, chkRepeatKeys, cmbProfiles};
    TJoystick* joystick = SelectedJoystick();
    if (!joystick) {
        core.Controllers.View.cmdRemoveDevice.Enabled = false;
        SyncControllerWidgets();
        for (QWidget* w : settings)
            w->setEnabled(false);
        cmbProfiles->setCurrentIndex(-1);
        cmbProfilesClick();
        return;
    }
    for (QWidget* w : settings)
        w->setEnabled(true);
    if (cmbProfiles->count() >= joystick->ProfileInEffect())
        cmbProfiles->setCurrentIndex(joystick->ProfileInEffect() - 1);
    cmbProfilesClick();
    cmdJSResetClick();
    core.Controllers.View.cmdRemoveDevice.Enabled = true;
    SyncControllerWidgets();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        KeepOnScreen(*this);
    if (injectionWarned_ || injection_.level == InjectionLevel::Full)
        return;
    injectionWarned_ = true;
    // After the window is on screen, so the box does not stand alone.
    QTimer::singleShot(
        0, this, [this] { RunHandler([&] { Dialogs.Warning(injection_.message, "Warning"); }); });
}

// ---- Keyboard ----

bool TfrmMain::txtNumericKeypress(QChar key) {
    return (key >= QChar('0') && key <= QChar('9')) || key == QChar(8);
}

namespace {

// The character a key types into an edit, as the digit filter sees it, or nothing for a key that
// only edits or moves (Delete, arrows, Home/End, with or without Shift). Ctrl with a letter types
// that letter's control character (Ctrl+C is 3), whatever text the platform attaches to it.
std::optional<QChar> TypedCharacter(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Delete)
        return std::nullopt; // Qt gives it the text "\x7f"; it deletes, it types nothing
    const Qt::KeyboardModifiers chord = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (chord == Qt::ControlModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return QChar(key.key() - Qt::Key_A + 1);
    const QString text = key.text();
    if (text.isEmpty())
        return std::nullopt;
    return text.front();
}

} // namespace

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scbSettings) {
        if (event->type() == QEvent::KeyPress)
            return PanelKey(*static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            MarkFocusedRow();
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return false; // focus moves and the default button are not typed characters
        default:
            break;
        }
        const std::optional<QChar> typed = TypedCharacter(*key);
        if (typed && !txtNumericKeypress(*typed))
            return true; // discarded
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    // Enter that no focused button took applies the group whose field has the focus; elsewhere
    // it presses the default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const bool inJoystickGroup = grpJoystickSettings->isAncestorOf(focusWidget());
        QPushButton* apply = inJoystickGroup ? cmdJSApply : cmdASApply;
        if (apply->isEnabled()) {
            apply->click();
            return;
        }
        if (inJoystickGroup)
            return; // never the other group's Apply
    }
    QWidget::keyPressEvent(event);
}

} // namespace padwright
