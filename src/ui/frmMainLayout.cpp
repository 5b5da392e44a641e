// The main window's controls: places, sizes, captions, hints, tab order and initial states.
#include "ui/Controls.h"
#include "ui/DesignFont.h"
#include "ui/GroupBox.h"
#include "ui/common/MainLayout.h"
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

#include <iterator>

namespace padwright {

namespace L = layout;

namespace {

QRect Place(const L::Control& c) {
    return {c.Left, c.Top, c.Width, c.Height};
}
QPushButton* Button(QWidget* parent, const L::Control& c) {
    return padwright::Button(parent, c.Caption, Place(c), c.Hint);
}
QCheckBox* Check(QWidget* parent, const L::Control& c) {
    return padwright::Check(parent, c.Caption, Place(c), c.Hint);
}

} // namespace

TfrmMain::TfrmMain(Core& core, IUserDialogs& dialogs, InjectionStatus injection, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      core(core), Lists(core.Lists), Dialogs(dialogs), injector_(core.Injector()),
      injection_(std::move(injection)) {
    setWindowTitle(QString::fromLatin1(L::Title));
    setFont(DesignFont());
    setFixedSize(L::ClientWidth, L::ClientHeight);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    move(L::WindowLeft, L::WindowTop);

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
    Label5 = Caption(this, L::Label5.Caption, Place(L::Label5));
    cmbFoundDevices = List(this, Place(L::cmbFoundDevices), L::cmbFoundDevices.Hint);
    cmdRefresh = Button(this, L::cmdRefresh);
    cmdAddDevice = Button(this, L::cmdAddDevice);
    cmdAddDevice->setEnabled(false);

    Label6 = Caption(this, L::Label6.Caption, Place(L::Label6));
    cmbDevices = List(this, Place(L::cmbDevices), L::cmbDevices.Hint);
    cmdRemoveDevice = Button(this, L::cmdRemoveDevice);
    cmdRemoveDevice->setEnabled(false);

    Label7 = Caption(this, L::Label7.Caption, Place(L::Label7));
    cmbProfiles = List(this, Place(L::cmbProfiles), L::cmbProfiles.Hint);
    cmbProfiles->setEnabled(false);
    cmbProfiles->setContextMenuPolicy(Qt::CustomContextMenu);
    cmdPPopUp = Button(this, L::cmdPPopUp.Caption, Place(L::cmdPPopUp));

    scbSettings = new QScrollArea(this);
    scbSettings->setGeometry(Place(L::scbSettings));
    scbSettings->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scbSettings->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scbSettings->verticalScrollBar()->setTracking(true);
    scbSettings->verticalScrollBar()->setSingleStep(SettingsRowLayout::RowPitch);
    scbSettings->setWidgetResizable(false);
    scbContent = new QWidget;
    scbContent->resize(0, 0);
    scbSettings->setWidget(scbContent);
    scbSettings->installEventFilter(this); // the rows from the keyboard

    // A child of the panel's frame, above its viewport, so it takes no place from the rows.
    txtPanelHint = new QLabel(scbSettings);
    txtPanelHint->setGeometry(Place(L::txtPanelHint));
    txtPanelHint->setTextFormat(Qt::PlainText);
    txtPanelHint->setWordWrap(true);
    txtPanelHint->setAlignment(Qt::AlignCenter);
    txtPanelHint->setEnabled(false); // the theme's disabled-text colour
}

QLineEdit* TfrmMain::NumericEdit(QWidget* parent, const layout::Control& control) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(Place(control));
    edit->setMaxLength(control.MaxLength);
    edit->setToolTip(QString::fromLatin1(control.Hint));
    edit->installEventFilter(this); // txtNumericKeypress
    return edit;
}

void TfrmMain::BuildJoystickGroup() {
    grpJoystickSettings = new TGroupBox(QString::fromLatin1(L::grpJoystickSettings.Caption), this);
    grpJoystickSettings->setGeometry(Place(L::grpJoystickSettings));
    QWidget* g = grpJoystickSettings;

    Label1 = Caption(g, L::Label1.Caption, Place(L::Label1));
    txtDeadZone = NumericEdit(g, L::txtDeadZone);
    Label2 = Caption(g, L::Label2.Caption, Place(L::Label2));
    txtMaxVal = NumericEdit(g, L::txtMaxVal);
    Label8 = Caption(g, L::Label8.Caption, Place(L::Label8));
    txtThreshold = NumericEdit(g, L::txtThreshold);
    chkRepeatKeys = Check(g, L::chkRepeatKeys);
    cmdJSReset = Button(g, L::cmdJSReset);
    cmdJSApply = Button(g, L::cmdJSApply);

    for (QWidget* w : {static_cast<QWidget*>(txtDeadZone), static_cast<QWidget*>(txtMaxVal),
                       static_cast<QWidget*>(txtThreshold), static_cast<QWidget*>(cmdJSReset),
                       static_cast<QWidget*>(cmdJSApply)})
        w->setEnabled(false);
}

void TfrmMain::BuildApplicationGroup() {
    GroupBox1 = new TGroupBox(QString::fromLatin1(L::GroupBox1.Caption), this);
    GroupBox1->setGeometry(Place(L::GroupBox1));
    QWidget* g = GroupBox1;

    Label3 = Caption(g, L::Label3.Caption, Place(L::Label3));
    txtTimeInterval = NumericEdit(g, L::txtTimeInterval);
    Label4 = Caption(g, L::Label4.Caption, Place(L::Label4));
    txtMaxJoysticks = NumericEdit(g, L::txtMaxJoysticks);
    chkStartMinimized = Check(g, L::chkStartMinimized);
    chkLogFile = Check(g, L::chkLogFile);
    cmdASReset = Button(g, L::cmdASReset);
    cmdASApply = Button(g, L::cmdASApply);
    cmdASApply->setDefault(true);
}

void TfrmMain::BuildBottomAndTimers() {
    cmdSave = Button(this, L::cmdSave);
    cmdExit = Button(this, L::cmdExit.Caption, Place(L::cmdExit));

    tmrLiveMarks = new QTimer(this);
    tmrLiveMarks->setSingleShot(true);
    tmrLiveMarks->setInterval(1000 / MarkRepaintsPerSecond);
}

void TfrmMain::BuildProfileMenu() {
    popProfile = new QMenu(this);
    QAction** items[] = {&mnuPAdd, &mnuPCopy, &mnuPRename, &mnuPDelete, &mnuPImport, &mnuPExport};
    for (std::size_t i = 0; i < std::size(items); ++i)
        *items[i] = popProfile->addAction(QString::fromLatin1(L::ProfileMenu[i]));
    popProfile->addSeparator();
    mnuPPrograms = popProfile->addAction(QString::fromLatin1(L::ProgramsItem));
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
