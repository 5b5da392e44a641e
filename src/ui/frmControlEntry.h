#pragma once
// The control editor: the function, modifiers and repeat rate of one control slot. It edits a
// working copy and writes the whole record back on OK only.
#include "engine/Records.h"
#include "ui/common/KeyCatch.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace padwright {

class IInputInjector;
class TStaticText;

class TfrmControlEntry : public QDialog {
    Q_OBJECT
public:
    explicit TfrmControlEntry(QWidget* parent = nullptr);

    // Shows the dialog modally for the slot labelled `name`; returns once it has closed, with
    // `mapping` overwritten if the user pressed OK.
    void EditControl(const QString& name, TControlMapping& mapping);

    TStaticText* txtControlName;
    QComboBox* cmbFunction;
    QCheckBox* chkShift;
    QCheckBox* chkCtrl;
    QCheckBox* chkAlt;
    QCheckBox* chkWin;
    QLabel* Label1;
    QSlider* trkRepeatRate;
    TStaticText* txtAutoRepeat;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    // Beside the designed controls, where the dialog has room: what the chosen function does,
    // and the switch that takes the next key pressed in the function list as the function.
    QLabel* txtDescription;
    QPushButton* cmdPressKey;
    // Whose layout says what a key types and which key a pressed one is; null: no layout.
    IInputInjector* Injector = nullptr;

    TControlMapping WorkMapping{};
    TControlMapping* TargetMapping = nullptr;

    void cmbFunctionClick();
    void chkShiftClick();
    void chkCtrlClick();
    void chkAltClick();
    void chkWinClick();
    void trkRepeatRateChange();
    void cmdOKClick();
    void cmdCancelClick();
    void cmdPressKeyClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The capture's share of a key event in the function list; true when it took the event.
    bool CaptureKey(const QKeyEvent& key);
    void ShowCaptured(const TCaughtKey& key);
    KeyCatch catch_;

    void FormCreate();
    void BuildControls();
};

} // namespace padwright
