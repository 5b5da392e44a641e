#pragma once
// The control editor: the function, modifiers and repeat rate of one control slot. It edits a
// working copy and writes the whole record back on OK only.
#include "engine/Records.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace padwright {

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void BuildControls();
};

} // namespace padwright
