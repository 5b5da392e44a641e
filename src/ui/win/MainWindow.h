#pragma once
// The main window on Win32: the controller and profile lists, the settings panel with one row per
// control slot, the controller and application settings. A view of the core, as the Qt window is:
// its handlers read the controls, call the core, and show what changed.
#include "core/Core.h"
#include "engine/Records.h"
#include "ui/common/MainLayout.h"
#include "ui/common/RowLayout.h"
#include "ui/win/WinDialogs.h"
#include "ui/win/WinWidgets.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace padwright::win {

// One row of the settings panel; the mapping belongs to a profile in Profiles.
struct TSettingsRow {
    HWND NameBox = nullptr;
    HWND FunctionBox = nullptr;
    HWND ModifierBox = nullptr;
    HWND RepeatBox = nullptr;
    TControlMapping* Mapping = nullptr;
    int Slot = -1;
};

class MainWindow final : public ICoreView {
public:
    static constexpr const wchar_t* ClassName = L"TfrmMain";
    // The shell's word of the tray icon: WM_USER + 100.
    static constexpr UINT WM_TRAYICON = WM_USER + 100;
    static constexpr int MarkRepaintsPerSecond = 30;

    MainWindow(Core& core, IWinDialogs& dialogs);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }

    // --- Start-up steps, in the order the program runs them ---
    void LoadProfileStore();
    // True when the program is to start without showing this window.
    bool LoadApplicationSettings();
    void StartDirectInput();
    void RememberSavedState();

    template <typename Handler> bool RunHandler(Handler&& handler) {
        return core.Run(std::forward<Handler>(handler));
    }

    // --- What the core tells the window ---
    void ReadingChanged(bool on) override;
    void ControllersChanged() override { SyncControllerWidgets(); }
    void ControllerSelectionCleared() override { cmbDevicesClick(); }
    void LogSwitchedOff() override;
    void CycleRan() override { MarkEngagedRows(); }
    void ProfileFollowed(std::size_t controller) override;

    // --- Handlers ---
    void cmbDevicesClick();
    void cmbProfilesClick();
    void AddSettingsRow(TControlMapping& mapping, const std::string& caption, int slot);
    void SettingsRowClick(int index);
    void cmdExitClick();
    bool ConfirmExit();
    bool UnsavedChanges();
    void cmdRefreshClick();
    void cmbFoundDevicesClick();
    void cmdAddDeviceClick();
    void cmdRemoveDeviceClick();
    void cmdJSApplyClick();
    void cmdJSResetClick();
    void cmdASApplyClick();
    void cmdASResetClick();
    void cmdSaveClick();
    void cmdPPopUpClick();
    void popProfilePopup();
    void mnuPAddClick();
    void mnuPCopyClick();
    void mnuPRenameClick();
    void mnuPDeleteClick();
    void mnuPImportClick();
    void mnuPExportClick();
    void mnuPProgramsClick();
    void SyncControllerWidgets();
    void MarkEngagedRows();
    void tmrLiveMarksTimer();
    std::string PanelHintText();
    static bool txtNumericKeypress(wchar_t key);

    // Closes the window without asking: the run ends, nothing is saved.
    void CloseUnasked();
    // Keyboard navigation between the controls and Enter for Apply; true when `message` was
    // taken.
    bool PreTranslate(MSG& message);

    // The tray's part: the icon's messages, and minimising, which hides the window once an
    // icon can bring it back. Empty: nothing.
    std::function<void(LPARAM mouseMessage)> TrayMessage;
    std::function<bool()> HideWhenMinimized;
    // The Programs dialog for profile (0-based).
    std::function<void(int profile)> ShowPrograms;

    // --- Controls, named as the design names them ---
    HWND Label5{}, cmbFoundDevices{}, cmdRefresh{}, cmdAddDevice{}, Label6{}, cmbDevices{},
        cmdRemoveDevice{}, Label7{}, cmbProfiles{}, cmdPPopUp{}, scbSettings{}, txtPanelHint{};
    HWND grpJoystickSettings{}, Label1{}, txtDeadZone{}, Label2{}, txtMaxVal{}, Label8{},
        txtThreshold{}, chkRepeatKeys{}, cmdJSReset{}, cmdJSApply{};
    HWND GroupBox1{}, Label3{}, txtTimeInterval{}, Label4{}, txtMaxJoysticks{}, chkStartMinimized{},
        chkLogFile{}, cmdASReset{}, cmdASApply{};
    HWND cmdSave{}, cmdExit{};
    HMENU popProfile{};

    std::vector<TSettingsRow> SettingsRows;
    Core& core;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PanelMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildControls();
    void Command(int id, int code);
    HBRUSH StaticColours(HDC dc, HWND control);

    void ClearSettingsRows();
    void ShowProfileRows();
    void RefreshRow(const TSettingsRow& row);
    void PlaceRow(const TSettingsRow& row, const RowPlace& place);
    void FitScrollRange();
    void Scroll(int bar, int request);
    void ScrollTo(int x, int y);
    void UpdatePanelHint();
    bool PanelKey(WPARAM key);
    void MarkFocusedRow();
    void ClearLiveMarks();
    void ForgetLiveMarks();
    TJoystick* SelectedJoystick();
    TProfile* SelectedProfile();
    int ProfileIndex() const;
    void SetProfileIndex(int index);
    void ShowProfileNames();
    void AppendProfile(const TProfile& profile);
    bool ProfileRoomLeft();
    ApplicationSettingsFields ApplicationFields() const;
    void ShowApplicationFields(const ApplicationSettingsFields& fields);
    JoystickSettingsFields JoystickFields() const;
    void ShowJoystickFields(const JoystickSettingsFields& fields);
    void ShowMenu(HMENU menu, POINT at);

    TLists& Lists;
    IWinDialogs& Dialogs;
    HWND window_ = nullptr;
    SettingsRowLayout rowLayout_;
    POINT scrolled_{0, 0}; // how far the panel's rows are scrolled
    int focusedRow_ = 0;
    int editingRow_ = -1; // the row whose editor is open
    SlotSet marksWanted_;
    SlotSet marksShown_;
    bool liveMarksPending_ = false;
    bool closingUnasked_ = false;
    std::map<HWND, int> lastPick_; // per list, the item last picked
    HBRUSH editingBrush_ = nullptr;
    HBRUSH markBrush_ = nullptr;
};

} // namespace padwright::win
