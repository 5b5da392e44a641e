#include "ui/frmControlEntry.h"

#include "engine/Catalogue.h"
#include "ui/Controls.h"
#include "ui/DesignFont.h"
#include "ui/DropDown.h"
#include "ui/KeyCapture.h"
#include "ui/ScreenPlacement.h"
#include "ui/StaticText.h"
#include "ui/common/EditorLayout.h"
#include "ui/common/FunctionWords.h"
#include "ui/common/KeyCatch.h"
#include "ui/common/RowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <algorithm>

namespace padwright {

namespace {

namespace L = layout::editor;
using L::MaxTrackPosition;

QRect At(const layout::Control& c) {
    return {c.Left, c.Top, c.Width, c.Height};
}

QPushButton* ButtonAt(QWidget* parent, const layout::Control& c) {
    return Button(parent, c.Caption, At(c), *c.Hint ? c.Hint : nullptr);
}

} // namespace

TfrmControlEntry::TfrmControlEntry(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QString::fromLatin1(L::Title));
    setFont(DesignFont());
    setFixedSize(L::ClientWidth, L::ClientHeight);
    move(L::WindowLeft, L::WindowTop);
    BuildControls();
    FormCreate();
}

void TfrmControlEntry::BuildControls() {
    txtControlName = new TStaticText(this);
    txtControlName->setGeometry(At(L::txtControlName));
    txtControlName->setAlignment(Qt::AlignCenter);

    cmbFunction = new TDropDown(this);
    cmbFunction->setGeometry(At(L::cmbFunction));
    cmbFunction->setToolTip(QString::fromLatin1(L::cmbFunction.Hint));

    auto check = [this](const layout::Control& c) { return Check(this, c.Caption, At(c), c.Hint); };
    chkShift = check(L::chkShift);
    chkCtrl = check(L::chkCtrl);
    chkAlt = check(L::chkAlt);
    chkWin = check(L::chkWin);

    Label1 = new QLabel(QString::fromLatin1(L::Label1.Caption), this);
    Label1->setGeometry(At(L::Label1));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    trkRepeatRate = new QSlider(Qt::Horizontal, this);
    trkRepeatRate->setGeometry(At(L::trkRepeatRate));
    trkRepeatRate->setRange(0, MaxTrackPosition);
    trkRepeatRate->setPageStep(1);
    trkRepeatRate->setTickPosition(QSlider::TicksBelow);
    trkRepeatRate->setTickInterval(1);
    trkRepeatRate->setToolTip(QString::fromLatin1(L::trkRepeatRate.Hint));

    txtAutoRepeat = new TStaticText(this);
    txtAutoRepeat->setGeometry(At(L::txtAutoRepeat));
    txtAutoRepeat->setAlignment(Qt::AlignCenter);

    cmdCancel = ButtonAt(this, L::cmdCancel);
    cmdCancel->setAutoDefault(true); // a focused Cancel takes Enter, as in the main window
    cmdOK = ButtonAt(this, L::cmdOK);
    cmdOK->setDefault(true);

    txtDescription = new QLabel(this);
    txtDescription->setGeometry(At(L::txtDescription));
    txtDescription->setTextFormat(Qt::PlainText);
    cmdPressKey = ButtonAt(this, L::cmdPressKey);
    cmdPressKey->setCheckable(true);
    cmbFunction->installEventFilter(this);

    QWidget::setTabOrder(cmdOK, cmdCancel);
    QWidget::setTabOrder(cmdCancel, cmbFunction);
    QWidget::setTabOrder(cmbFunction, chkShift);
    QWidget::setTabOrder(chkShift, chkCtrl);
    QWidget::setTabOrder(chkCtrl, chkAlt);
    QWidget::setTabOrder(chkAlt, chkWin);
    QWidget::setTabOrder(chkWin, cmdPressKey);
    QWidget::setTabOrder(cmdPressKey, trkRepeatRate);

    connect(cmbFunction, &QComboBox::currentIndexChanged, this, [this] { cmbFunctionClick(); });
    connect(chkShift, &QCheckBox::toggled, this, [this] { chkShiftClick(); });
    connect(chkCtrl, &QCheckBox::toggled, this, [this] { chkCtrlClick(); });
    connect(chkAlt, &QCheckBox::toggled, this, [this] { chkAltClick(); });
    connect(chkWin, &QCheckBox::toggled, this, [this] { chkWinClick(); });
    connect(trkRepeatRate, &QSlider::valueChanged, this, [this] { trkRepeatRateChange(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancelClick(); });
    connect(cmdPressKey, &QPushButton::clicked, this, [this] { cmdPressKeyClick(); });
}

void TfrmControlEntry::FormCreate() {
    // The mouse group comes before the application commands here, unlike the catalogue's order.
    QStringList names{QStringLiteral("NONE")};
    for (auto table : {MouseFunctions(), AppCommands(), VirtualKeys(), PowerActions()})
        for (const TFunctionEntry& row : table)
            names << QString::fromUtf8(row.Name.data(), static_cast<int>(row.Name.size()));
    const QSignalBlocker quiet(cmbFunction);
    cmbFunction->addItems(names);
    cmbFunction->setCurrentIndex(-1);
}

void TfrmControlEntry::EditControl(const QString& name, TControlMapping& mapping) {
    txtControlName->setText(name);
    TargetMapping = &mapping;
    WorkMapping = mapping;

    chkShift->setChecked(WorkMapping.Shift != 0);
    chkCtrl->setChecked(WorkMapping.Ctrl != 0);
    chkAlt->setChecked(WorkMapping.Alt != 0);
    chkWin->setChecked(WorkMapping.Win != 0);

    cmdPressKey->setChecked(false);
    catch_.Arm(false);
    trkRepeatRate->setValue(std::clamp(WorkMapping.RepeatRate, 0, MaxTrackPosition));
    txtAutoRepeat->setText(QString::fromStdString(RateWords(trkRepeatRate->value())));

    {
        const QSignalBlocker quiet(cmbFunction);
        const QString function = QString::fromUtf8(WorkMapping.FunctionName.view().data(),
                                                   int(WorkMapping.FunctionName.size()));
        cmbFunction->setCurrentIndex(function.isEmpty() ? -1 : cmbFunction->findText(function));
    }
    cmbFunctionClick();

    exec();
}

void TfrmControlEntry::cmbFunctionClick() {
    AssignFunction(WorkMapping, cmbFunction->currentText().toStdString());

    const bool movement = WorkMapping.Kind == fkMouse && WorkMapping.Code >= mfMoveXNeg &&
                          WorkMapping.Code <= mfMoveYPos;
    trkRepeatRate->setEnabled(!movement);
    txtAutoRepeat->setEnabled(!movement);

    const bool key = WorkMapping.Kind == fkKey;
    for (QCheckBox* box : {chkShift, chkCtrl, chkAlt, chkWin})
        box->setEnabled(key);

    const QString words =
        QString::fromStdString(FunctionWords(cmbFunction->currentText().toStdString(), Injector));
    txtDescription->setText(words);
    txtDescription->setToolTip(words); // the whole line, should the label cut it
}

void TfrmControlEntry::chkShiftClick() {
    WorkMapping.Shift = chkShift->isChecked() ? 1 : 0;
}
void TfrmControlEntry::chkCtrlClick() {
    WorkMapping.Ctrl = chkCtrl->isChecked() ? 1 : 0;
}
void TfrmControlEntry::chkAltClick() {
    WorkMapping.Alt = chkAlt->isChecked() ? 1 : 0;
}
void TfrmControlEntry::chkWinClick() {
    WorkMapping.Win = chkWin->isChecked() ? 1 : 0;
}

void TfrmControlEntry::trkRepeatRateChange() {
    const int position = trkRepeatRate->value();
    WorkMapping.RepeatRate = position;
    WorkMapping.AutoRepeat = position == 0 ? 0 : 1;
    if (position > 30)
        WorkMapping.RepeatRate = 255;
    txtAutoRepeat->setText(QString::fromStdString(RateWords(position)));
}

void TfrmControlEntry::cmdOKClick() {
    if (TargetMapping)
        *TargetMapping = WorkMapping;
    accept();
}

void TfrmControlEntry::cmdCancelClick() {
    reject();
}

void TfrmControlEntry::cmdPressKeyClick() {
    catch_.Arm(cmdPressKey->isChecked());
    if (cmdPressKey->isChecked()) {
        cmbFunction->setFocus();
        txtDescription->setText(QStringLiteral("Press a key or a key combination."));
    } else {
        cmbFunctionClick();
    }
}

bool TfrmControlEntry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbFunction && cmdPressKey->isChecked() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
         event->type() == QEvent::ShortcutOverride)) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // the key comes here, not to a shortcut
            return true;
        }
        return CaptureKey(key);
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmControlEntry::CaptureKey(const QKeyEvent& key) {
    if (key.isAutoRepeat())
        return true;
    const std::uint32_t vk = CapturedVirtualKey(key, Injector);
    const Qt::KeyboardModifiers held = key.modifiers();
    const std::optional<TCaughtKey> caught =
        key.type() == QEvent::KeyRelease
            ? catch_.Up(vk)
            : catch_.Down(vk,
                          {0, held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                           held.testFlag(Qt::AltModifier), held.testFlag(Qt::MetaModifier)});
    if (caught)
        ShowCaptured(*caught);
    return true;
}

void TfrmControlEntry::ShowCaptured(const TCaughtKey& key) {
    cmdPressKey->setChecked(false);
    const TFunctionEntry* row = VirtualKeyFunction(key.Vk);
    if (!row) {
        txtDescription->setText(QStringLiteral("That key is not in the list."));
        return;
    }
    cmbFunction->setCurrentIndex(
        cmbFunction->findText(QString::fromUtf8(row->Name.data(), qsizetype(row->Name.size()))));
    cmbFunctionClick(); // also when the same function was chosen before
    chkShift->setChecked(key.Shift);
    chkCtrl->setChecked(key.Ctrl);
    chkAlt->setChecked(key.Alt);
    chkWin->setChecked(key.Win);
}

void TfrmControlEntry::keyPressEvent(QKeyEvent* event) {
    // Only OK and Cancel close the editor; Escape is not bound to Cancel.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmControlEntry::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    KeepOnScreen(*this);
    cmdOK->setFocus();
}

} // namespace padwright
