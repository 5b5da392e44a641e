// The main window's controls: places, sizes, captions, hints, tab order and initial states.
#include "ui/Controls.h"
#include "ui/DesignFont.h"
#include "ui/GroupBox.h"
#include "ui/frmControlEntry.h"
#include "ui/frmEntry.h"
#include "ui/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace padwright {

TfrmMain::TfrmMain(Core& core, IUserDialogs& dialogs, InjectionStatus injection, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      core(core), Lists(core.Lists), Dialogs(dialogs), injector_(core.Injector()),
      injection_(std::move(injection)) {
    setWindowTitle(QStringLiteral("Padwright"));
    setFont(DesignFont());
    setFixedSize(466, 499);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    move(424, 119);

    BuildTopControls();
    BuildJoystickGroup();
    BuildApplicationGroup();
    BuildBottomAndTimers();
    BuildProfileMenu();
    SetTabOrder();

    frmEntry = new TfrmEntry(this);
    frmControlEntry = new TfrmControlEntry(this);
    frmControlEntry->Injector = &injector_;

    ConnectHandlers();
    core.Subscribe(*this);
    RememberSavedState(); // nothing loaded yet; start-up notes its own state once it is done
}

TfrmMain::~TfrmMain() {
    core.Unsubscribe(*this);
    // The rows refer to profiles that may go before this window does.
    SettingsRows.clear();
}

void TfrmMain::BuildTopControls() {
    Label5 = Caption(this, "Controllers Found:", {1, 10, 88, 17});
    cmbFoundDevices = List(this, {88, 8, 297, 21}, "List of DirectInput controllers found.");
    cmdRefresh =
        Button(this, "Refresh", {392, 8, 73, 21}, "Rescan computer for DirectInput controllers.");
    cmdAddDevice = Button(this, "Add", {88, 32, 73, 21},
                          "Add the selected found controller to the list of active controllers.");
    cmdAddDevice->setEnabled(false);

    Label6 = Caption(this, "Active Controllers:", {1, 58, 88, 17});
    cmbDevices = List(this, {88, 56, 297, 21}, "List of active controllers.");
    cmdRemoveDevice = Button(this, "Remove", {392, 56, 73, 21},
                             "Remove the selected controller from the list of active controllers.");
    cmdRemoveDevice->setEnabled(false);

    Label7 = Caption(this, "Profiles:", {1, 90, 40, 17});
    cmbProfiles = List(this, {40, 88, 393, 21}, "List of profiles available.");
    cmbProfiles->setEnabled(false);
    cmbProfiles->setContextMenuPolicy(Qt::CustomContextMenu);
    cmdPPopUp = Button(this, ">", {440, 88, 25, 21});

    scbSettings = new QScrollArea(this);
    scbSettings->setGeometry(0, 112, 465, 225);
    scbSettings->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scbSettings->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scbSettings->verticalScrollBar()->setTracking(true);
    scbSettings->verticalScrollBar()->setSingleStep(22);
    scbSettings->setWidgetResizable(false);
    scbContent = new QWidget;
    scbContent->resize(0, 0);
    scbSettings->setWidget(scbContent);
    scbSettings->installEventFilter(this); // the rows from the keyboard

    // A child of the panel's frame, above its viewport, so it takes no place from the rows.
    txtPanelHint = new QLabel(scbSettings);
    txtPanelHint->setGeometry(12, 12, 441, 201);
    txtPanelHint->setTextFormat(Qt::PlainText);
    txtPanelHint->setWordWrap(true);
    txtPanelHint->setAlignment(Qt::AlignCenter);
    txtPanelHint->setEnabled(false); // the theme's disabled-text colour
}

QLineEdit* TfrmMain::NumericEdit(QWidget* parent, QRect place, int maxLength, const char* hint) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(place);
    edit->setMaxLength(maxLength);
    edit->setToolTip(QString::fromLatin1(hint));
    edit->installEventFilter(this); // txtNumericKeypress
    return edit;
}

void TfrmMain::BuildJoystickGroup() {
    grpJoystickSettings = new TGroupBox(QStringLiteral("Joystick Settings"), this);
    grpJoystickSettings->setGeometry(0, 344, 225, 121);
    QWidget* g = grpJoystickSettings;

    Label1 = Caption(g, "DeadZone:", {8, 26, 57, 17});
    txtDeadZone = NumericEdit(
        g, {64, 24, 49, 21}, 3,
        "DeadZone for the axes on the controller.  Range: 0-100.  Value is a percentage.");
    Label2 = Caption(g, "Max Value:", {8, 50, 57, 17});
    txtMaxVal = NumericEdit(g, {64, 48, 49, 21}, 5,
                            "Maximum value for the axes on the controller.  Range: 0-99999.");
    Label8 = Caption(g, "Threshold:", {8, 74, 57, 17});
    txtThreshold = NumericEdit(
        g, {64, 72, 49, 21}, 3,
        "Sets a threshold for the axes when using keyboard, media, mouse clicks/wheel, or "
        "shutdown related commands.  Range: 0-100.  Value is a percentage.");
    chkRepeatKeys = Check(g, "Auto-repeat all keys", {8, 96, 121, 17},
                          "All keyboard commands will auto-repeat at maximum speed.");
    cmdJSReset =
        Button(g, "Reset", {144, 24, 57, 25}, "Displays the active settings for the controller.");
    cmdJSApply = Button(g, "Apply", {144, 80, 57, 25}, "Applies the new joystick settings.");

    for (QWidget* w : {static_cast<QWidget*>(txtDeadZone), static_cast<QWidget*>(txtMaxVal),
                       static_cast<QWidget*>(txtThreshold), static_cast<QWidget*>(cmdJSReset),
                       static_cast<QWidget*>(cmdJSApply)})
        w->setEnabled(false);
}

void TfrmMain::BuildApplicationGroup() {
    GroupBox1 = new TGroupBox(QStringLiteral("Application Settings"), this);
    GroupBox1->setGeometry(232, 344, 233, 121);
    QWidget* g = GroupBox1;

    Label3 = Caption(g, "Timer Interval:", {8, 26, 73, 17});
    txtTimeInterval = NumericEdit(g, {80, 24, 41, 21}, 4,
                                  "Controls how fast data is read from the controllers.  Range: "
                                  "1-2000.  Value is in milliseconds.");
    Label4 = Caption(g, "Max Joysticks:", {8, 50, 73, 17});
    txtMaxJoysticks = NumericEdit(g, {80, 48, 41, 21}, 3,
                                  "Maximum number of controllers that can be used at one time.  "
                                  "Range: 1-100.  8 or less recommended.");
    chkStartMinimized =
        Check(g, "Start Minimized", {8, 74, 97, 17}, "Only System Tray icon is shown at startup.");
    chkLogFile = Check(g, "Create log file", {8, 96, 89, 17},
                       "Enables writing DirectInput errors to a log file.");
    cmdASReset = Button(g, "Reset", {152, 24, 57, 25}, "Displays the active application settings.");
    cmdASApply = Button(g, "Apply", {152, 80, 57, 25}, "Applies the new application settings.");
    cmdASApply->setDefault(true);
}

void TfrmMain::BuildBottomAndTimers() {
    cmdSave = Button(this, "&Save", {288, 472, 81, 25}, "Save settings and profiles.");
    cmdExit = Button(this, "E&xit", {384, 472, 81, 25});

    tmrLiveMarks = new QTimer(this);
    tmrLiveMarks->setSingleShot(true);
    tmrLiveMarks->setInterval(1000 / MarkRepaintsPerSecond);
}

void TfrmMain::BuildProfileMenu() {
    popProfile = new QMenu(this);
    mnuPAdd = popProfile->addAction(QStringLiteral("&Add"));
    mnuPCopy = popProfile->addAction(QStringLiteral("&Copy"));
    mnuPRename = popProfile->addAction(QStringLiteral("&Rename"));
    mnuPDelete = popProfile->addAction(QStringLiteral("&Delete"));
    mnuPImport = popProfile->addAction(QStringLiteral("&Import"));
    mnuPExport = popProfile->addAction(QStringLiteral("&Export"));
    popProfile->addSeparator();
    mnuPPrograms = popProfile->addAction(QStringLiteral("&Programs..."));
}

void TfrmMain::SetTabOrder() {
    const QList<QWidget*> chain = {
        cmbDevices,      scbSettings,     txtDeadZone,     txtMaxVal,    cmdJSApply,
        cmdJSReset,      txtThreshold,    chkRepeatKeys,   cmbProfiles,  cmdRefresh,
        cmdSave,         cmdExit,         cmbFoundDevices, cmdAddDevice, cmdRemoveDevice,
        txtTimeInterval, txtMaxJoysticks, cmdASApply,      cmdASReset,   chkStartMinimized,
        chkLogFile,      cmdPPopUp};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace padwright
