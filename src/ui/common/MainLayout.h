#pragma once
// The main window's controls as both front-ends lay them out: place and size in pixels of the
// client area (inside a group, of the group), caption, hint and, for the edits, the most
// characters they take.
namespace padwright::layout {

struct Control {
    int Left, Top, Width, Height;
    const char* Caption = "";
    const char* Hint = "";
    int MaxLength = 0;
};

inline constexpr const char* Title = "Padwright";
inline constexpr int ClientWidth = 466;
inline constexpr int ClientHeight = 499;
inline constexpr int WindowLeft = 424;
inline constexpr int WindowTop = 119;

// The top of the window.
inline constexpr Control Label5{1, 10, 88, 17, "Controllers Found:"};

// The windows are laid out for a narrow 8-point font whose captions fill their boxes exactly: the
// longest, Label5's, with 2 of its pixels kept free beside the list box. A wider font is condensed
// until that caption fits.
inline constexpr const char* FontReferenceCaption = Label5.Caption;
inline constexpr int FontReferenceWidth = Label5.Width - 2;
inline constexpr Control cmbFoundDevices{88, 8,  297,
                                         21, "", "List of DirectInput controllers found."};
inline constexpr Control cmdRefresh{392, 8,         73,
                                    21,  "Refresh", "Rescan computer for DirectInput controllers."};
inline constexpr Control cmdAddDevice{
    88, 32, 73, 21, "Add", "Add the selected found controller to the list of active controllers."};
inline constexpr Control Label6{1, 58, 88, 17, "Active Controllers:"};
inline constexpr Control cmbDevices{88, 56, 297, 21, "", "List of active controllers."};
inline constexpr Control cmdRemoveDevice{
    392, 56,       73,
    21,  "Remove", "Remove the selected controller from the list of active controllers."};
inline constexpr Control Label7{1, 90, 40, 17, "Profiles:"};
inline constexpr Control cmbProfiles{40, 88, 393, 21, "", "List of profiles available."};
inline constexpr Control cmdPPopUp{440, 88, 25, 21, ">"};
inline constexpr Control scbSettings{0, 112, 465, 225};
// The words over the blank panel, inside the panel.
inline constexpr Control txtPanelHint{12, 12, 441, 201};

// "Joystick Settings", the selected active controller's.
inline constexpr Control grpJoystickSettings{0, 344, 225, 121, "Joystick Settings"};
inline constexpr Control Label1{8, 26, 57, 17, "DeadZone:"};
inline constexpr Control txtDeadZone{
    64, 24, 49,
    21, "", "DeadZone for the axes on the controller.  Range: 0-100.  Value is a percentage.",
    3};
inline constexpr Control Label2{8, 50, 57, 17, "Max Value:"};
inline constexpr Control txtMaxVal{
    64, 48, 49, 21, "", "Maximum value for the axes on the controller.  Range: 0-99999.", 5};
inline constexpr Control Label8{8, 74, 57, 17, "Threshold:"};
inline constexpr Control txtThreshold{
    64,
    72,
    49,
    21,
    "",
    "Sets a threshold for the axes when using keyboard, media, mouse clicks/wheel, or shutdown "
    "related commands.  Range: 0-100.  Value is a percentage.",
    3};
inline constexpr Control chkRepeatKeys{8,
                                       96,
                                       121,
                                       17,
                                       "Auto-repeat all keys",
                                       "All keyboard commands will auto-repeat at maximum speed."};
inline constexpr Control cmdJSReset{
    144, 24, 57, 25, "Reset", "Displays the active settings for the controller."};
inline constexpr Control cmdJSApply{144, 80, 57, 25, "Apply", "Applies the new joystick settings."};

// "Application Settings".
inline constexpr Control GroupBox1{232, 344, 233, 121, "Application Settings"};
inline constexpr Control Label3{8, 26, 73, 17, "Timer Interval:"};
inline constexpr Control txtTimeInterval{80,
                                         24,
                                         41,
                                         21,
                                         "",
                                         "Controls how fast data is read from the controllers.  "
                                         "Range: 1-2000.  Value is in milliseconds.",
                                         4};
inline constexpr Control Label4{8, 50, 73, 17, "Max Joysticks:"};
inline constexpr Control txtMaxJoysticks{80,
                                         48,
                                         41,
                                         21,
                                         "",
                                         "Maximum number of controllers that can be used at one "
                                         "time.  Range: 1-100.  8 or less recommended.",
                                         3};
inline constexpr Control chkStartMinimized{
    8, 74, 97, 17, "Start Minimized", "Only System Tray icon is shown at startup."};
inline constexpr Control chkLogFile{
    8, 96, 89, 17, "Create log file", "Enables writing DirectInput errors to a log file."};
inline constexpr Control cmdASReset{152, 24,      57,
                                    25,  "Reset", "Displays the active application settings."};
inline constexpr Control cmdASApply{152, 80,      57,
                                    25,  "Apply", "Applies the new application settings."};

// The bottom of the window.
inline constexpr Control cmdSave{288, 472, 81, 25, "&Save", "Save settings and profiles."};
inline constexpr Control cmdExit{384, 472, 81, 25, "E&xit"};

// The profile menu, in its order; Programs comes after a separator.
inline constexpr const char* ProfileMenu[] = {"&Add",    "&Copy",   "&Rename",
                                              "&Delete", "&Import", "&Export"};
inline constexpr const char* ProgramsItem = "&Programs...";

inline constexpr const char* RowHint = "Click to edit this control.";
inline constexpr const char* ExitQuestion = "Save changes before exiting?";

} // namespace padwright::layout
