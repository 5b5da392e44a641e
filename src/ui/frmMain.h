#pragma once
// The main window: the controller and profile lists, the settings panel with one row per control
// slot, the controller and application settings. A view of the core: its handlers read the
// widgets, call the core, and show what changed.
#include "core/Core.h"
#include "engine/Engagement.h"
#include "platform/inject/InjectorChoice.h"
#include "ui/UserDialogs.h"
#include "ui/common/MainLayout.h"
#include "ui/common/RowLayout.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTimer;

namespace padwright {

class TStaticText;
class TfrmControlEntry;
class TfrmEntry;

// One row of the settings panel. The boxes belong to the panel; the mapping belongs to a profile
// in Profiles, whose elements never move.
struct TSettingsRow {
    TStaticText* NameBox = nullptr;
    TStaticText* FunctionBox = nullptr;
    TStaticText* ModifierBox = nullptr;
    TStaticText* RepeatBox = nullptr;
    TControlMapping* Mapping = nullptr;
    // The control slot the row names, for its live mark; -1 for a row of no controller's slot.
    int Slot = -1;
};

class TfrmMain : public QWidget, public ICoreView {
    Q_OBJECT
public:
    // `injection` says how far injected input reaches; anything short of Full is told to the
    // user once, when the window is first shown, since nothing else would show that keys go
    // nowhere.
    TfrmMain(Core& core, IUserDialogs& dialogs,
             InjectionStatus injection = {InjectionLevel::Full, {}, {}}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // --- Start-up steps, in the order the program runs them ---
    // The profile store into Profiles and cmbProfiles.
    void LoadProfileStore();
    // Application settings, the log and the remembered controllers; true when the program is
    // to start without showing this window (StartMinimized stored as exactly 1).
    bool LoadApplicationSettings();
    // Starts DirectInput and lists the controllers found.
    void StartDirectInput();
    // The tray menu's "Start Reading Data" and "Stop Reading Data" (also the last start-up step).
    void popItemStartClick();
    void popItemStopClick();

    // Runs `handler` as every handler of the window runs: an error shows the standard error box.
    // Returns whether it ran to its end.
    template <typename Handler> bool RunHandler(Handler&& handler) {
        return core.Run(std::forward<Handler>(handler));
    }

    // --- What the core tells the window ---
    void ReadingChanged(bool on) override;
    void ControllersChanged() override { SyncControllerWidgets(); }
    void ControllerSelectionCleared() override { cmbDevicesClick(); }
    void LogSwitchedOff() override;
    void CycleRan() override { MarkEngagedRows(); }
    // Shows the profile a rule or a command put the selected controller on.
    void ProfileFollowed(std::size_t controller) override;

    // --- Handlers of this window ---
    void cmbDevicesClick();
    void cmbProfilesClick();
    void AddSettingsRow(TControlMapping& mapping, const QString& caption);
    void SettingsRowClick(TStaticText* sender);
    void tmrDataCollectTimer();
    void tmrAutoRepeatTimer();
    void tmrSTrayTimer();
    // Exit, and the tray's Exit: asks about unsaved work first (ConfirmExit), then closes.
    void cmdExitClick();
    // The blank panel's words: why it is blank and what to do next; empty while it has rows.
    QString PanelHintText();
    void UpdatePanelHint();
    // --- Unsaved work ---
    // Notes what Save would write now as what was last loaded or saved: the end of start-up
    // and every Save that succeeded.
    void RememberSavedState();
    // Whether Save would write anything else than what was last loaded or saved.
    bool UnsavedChanges();
    // True when the program may end: nothing is unsaved, or the user answered "Save changes
    // before exiting?" with Save (and it succeeded) or Discard.
    bool ConfirmExit();
    // Live controls: after every run of the data-collection cycle, notes which rows' controls
    // the selected controller has engaged; a change starts tmrLiveMarks, whose single shot
    // repaints the rows that changed.
    void MarkEngagedRows();
    void tmrLiveMarksTimer();
    // The single shot's delay after a change allows at most this many repaints a second.
    static constexpr int MarkRepaintsPerSecond = 30;
    // Profile menu
    void popProfilePopup();
    void cmdPPopUpClick();
    void mnuPAddClick();
    void mnuPCopyClick();
    void mnuPRenameClick();
    void mnuPDeleteClick();
    void mnuPImportClick();
    void mnuPExportClick();
    // Opens the program rules for the selected profile through ShowPrograms.
    void mnuPProgramsClick();
    // Controller lists (the logic lives in Controllers, on its model of these widgets)
    void cmdRefreshClick();
    void cmbFoundDevicesClick();
    void cmdAddDeviceClick();
    void cmdRemoveDeviceClick();
    // Settings
    void cmdJSApplyClick();
    void cmdJSResetClick();
    void cmdASApplyClick();
    void cmdASResetClick();
    void cmdSaveClick();
    // Copies the controller model (lists, selections, button states) onto the widgets.
    void SyncControllerWidgets();

    // The digit filter of the numeric edits: true when the typed character is kept.
    static bool txtNumericKeypress(QChar key);

    // --- Controls, named as the design names them ---
    QLabel* Label5;
    QComboBox* cmbFoundDevices;
    QPushButton* cmdRefresh;
    QPushButton* cmdAddDevice;
    QLabel* Label6;
    QComboBox* cmbDevices;
    QPushButton* cmdRemoveDevice;
    QLabel* Label7;
    QComboBox* cmbProfiles;
    QPushButton* cmdPPopUp;
    QScrollArea* scbSettings;
    QWidget* scbContent;  // the scrolled area that holds the rows
    QLabel* txtPanelHint; // over the blank panel, in the disabled-text colour

    QGroupBox* grpJoystickSettings;
    QLabel* Label1;
    QLineEdit* txtDeadZone;
    QLabel* Label2;
    QLineEdit* txtMaxVal;
    QLabel* Label8;
    QLineEdit* txtThreshold;
    QCheckBox* chkRepeatKeys;
    QPushButton* cmdJSReset;
    QPushButton* cmdJSApply;

    QGroupBox* GroupBox1;
    QLabel* Label3;
    QLineEdit* txtTimeInterval;
    QLabel* Label4;
    QLineEdit* txtMaxJoysticks;
    QCheckBox* chkStartMinimized;
    QCheckBox* chkLogFile;
    QPushButton* cmdASReset;
    QPushButton* cmdASApply;

    QPushButton* cmdSave;
    QPushButton* cmdExit;

    QTimer* tmrLiveMarks;

    QMenu* popProfile;
    QAction* mnuPAdd;
    QAction* mnuPCopy;
    QAction* mnuPRename;
    QAction* mnuPDelete;
    QAction* mnuPImport;
    QAction* mnuPExport;
    QAction* mnuPPrograms;
    // The Programs dialog for a profile (0-based); empty: the item does nothing.
    std::function<void(int profile)> ShowPrograms;

    TfrmEntry* frmEntry;
    TfrmControlEntry* frmControlEntry;

    std::vector<TSettingsRow> SettingsRows;

    // What the window shows and calls: the program's state and its commands.
    Core& core;

    // Closes the window as the program does, asking nothing: a box still open (say "Save changes
    // before exiting?") is closed unanswered first, as Cancel.
    void CloseUnasked();

signals:
    // The window was closed and is gone from the screen (Exit, the tray's "Exit", the close box,
    // CloseUnasked), also when it was hidden in the tray: the run ends.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopControls();
    void BuildJoystickGroup();
    void BuildApplicationGroup();
    void BuildBottomAndTimers();
    void BuildProfileMenu();
    void SetTabOrder();
    void ConnectHandlers();
    QLineEdit* NumericEdit(QWidget* parent, const layout::Control& control);
    void ClearSettingsRows();
    // The rows of the selected controller under the selected profile, without choosing it.
    void ShowProfileRows();
    void ClearLiveMarks();
    void ForgetLiveMarks();
    void RefreshRow(const TSettingsRow& row);
    // The panel from the keyboard: the row that Enter or Space opens, marked while the panel
    // has the focus.
    bool PanelKey(const QKeyEvent& key);
    void MarkFocusedRow();
    int focusedRow_ = 0;
    void FitScrollRange();
    TJoystick* SelectedJoystick();
    TProfile* SelectedProfile();
    void AppendProfile(const TProfile& profile);
    // False, with the "Attention" box, when the store holds as many profiles as it may.
    bool ProfileRoomLeft();
    ApplicationSettingsFields ApplicationFields() const;
    void ShowApplicationFields(const ApplicationSettingsFields& fields);
    JoystickSettingsFields JoystickFields() const;
    void ShowJoystickFields(const JoystickSettingsFields& fields);

    TLists& Lists;
    IUserDialogs& Dialogs;
    SettingsRowLayout rowLayout_; // where the rows' boxes go
    SlotSet marksWanted_;         // engaged in the latest cycle
    SlotSet marksShown_;          // marked on the rows
    int editingSlot_ = -1;        // the slot whose editor is open
    IInputInjector& injector_;    // also asked what keys type, for the words of the functions
    InjectionStatus injection_;
    bool injectionWarned_ = false;
};

} // namespace padwright
