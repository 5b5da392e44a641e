#pragma once
// The Programs dialog of the profile menu: the rules of program following, one added from the
// program in front or from the open windows' list for the profile selected in the main window,
// and rules removed. It says when following is not available and why.
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace padwright {

class Core;
class IForegroundSource;
class ProgramFollower;

class TfrmPrograms : public QDialog {
    Q_OBJECT
public:
    // `source` may be null: this build or desktop has none.
    TfrmPrograms(Core& core, ProgramFollower& follower, const IForegroundSource* source,
                 QWidget* parent = nullptr);

    // Shows the dialog modally; rules are added for profile `profile` (0-based).
    void ShowFor(int profile);

    QLabel* txtFollowing;
    QTreeWidget* lstRules;
    QComboBox* cmbProgram;     // editable: a name may also be typed
    QComboBox* cmbControllers; // "All controllers", then the active ones
    QPushButton* cmdAdd;
    QPushButton* cmdRemove;
    QPushButton* cmdClose;

    void cmdAddClick();
    void cmdRemoveClick();

private:
    void FillRules();
    void FillPrograms();
    void FillControllers();
    void UpdateButtons();

    Core& core_;
    ProgramFollower& follower_;
    const IForegroundSource* source_;
    int profile_ = -1;
};

} // namespace padwright
