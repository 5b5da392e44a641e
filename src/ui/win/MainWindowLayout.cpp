// The main window's controls: places, sizes, captions, hints, tab order and initial states.
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowIds.h"

#include "platform/win/Utf16.h"

#include <commctrl.h>

namespace padwright::win {

namespace L = layout;

namespace {

constexpr ::DWORD ButtonStyle = WS_TABSTOP | BS_PUSHBUTTON;
constexpr ::DWORD CheckStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr ::DWORD ListStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr ::DWORD EditStyle = WS_TABSTOP | ES_AUTOHSCROLL;
// A drop-down list opens this far below its field.
constexpr int ListDrop = 200;

// A control placed as the table says, moved by (dx, dy) into its group.
HWND Laid(HWND parent, const wchar_t* type, ::DWORD style, const L::Control& c, int id, int dx = 0,
          int dy = 0, ::DWORD exStyle = 0) {
    return MakeControl(parent, type, c.Caption, style, {c.Left + dx, c.Top + dy, c.Width, c.Height},
                       id, exStyle);
}

L::Control Dropping(L::Control list) {
    list.Height += ListDrop;
    return list;
}

// The digit filter of the numeric edits: other characters never reach the edit.
LRESULT CALLBACK NumericEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_CHAR && !MainWindow::txtNumericKeypress(static_cast<wchar_t>(wParam)))
        return 0;
    return DefSubclassProc(edit, message, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = DefWindowProcW;
    main.hInstance = GetModuleHandleW(nullptr);
    main.hIcon = LoadIconW(main.hInstance, MAKEINTRESOURCEW(1));
    main.hIconSm = main.hIcon;
    main.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = MainWindow::ClassName;
    RegisterClassExW(&main);
    WNDCLASSEXW panel = main;
    panel.hIcon = panel.hIconSm = nullptr;
    panel.lpszClassName = L"TScrollBox";
    RegisterClassExW(&panel);
}

} // namespace

MainWindow::MainWindow(Core& core, IWinDialogs& dialogs)
    : core(core), Lists(core.Lists), Dialogs(dialogs) {
    RegisterClasses();
    // No WS_CLIPCHILDREN: the group boxes do not paint their insides, the window does.
    constexpr ::DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, L::ClientWidth, L::ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(0, ClassName, Wide(L::Title).c_str(), style, L::WindowLeft,
                              L::WindowTop, frame.right - frame.left, frame.bottom - frame.top,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::WindowProc));
    editingBrush_ = CreateSolidBrush(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    markBrush_ = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
    BuildControls();
    core.Subscribe(*this);
    RememberSavedState();
}

MainWindow::~MainWindow() {
    core.Unsubscribe(*this);
    SettingsRows.clear();
    if (IsWindow(window_)) {
        closingUnasked_ = true;
        DestroyWindow(window_);
    }
    DestroyMenu(popProfile);
    DeleteObject(editingBrush_);
    DeleteObject(markBrush_);
}

// Created in tab order: Windows moves the focus in the order the controls were made. The labels
// take no focus and come first.
void MainWindow::BuildControls() {
    HWND w = window_;
    auto label = [&](const L::Control& c, int dx = 0, int dy = 0) {
        return Laid(w, WC_STATICW, SS_LEFTNOWORDWRAP, c, ids::Label, dx, dy);
    };
    auto hinted = [&](HWND control, const L::Control& c) {
        AddTooltip(window_, control, c.Hint);
        return control;
    };
    auto numeric = [&](const L::Control& c, int id, int dx, int dy) {
        HWND edit = Laid(w, WC_EDITW, EditStyle, c, id, dx, dy, WS_EX_CLIENTEDGE);
        SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(c.MaxLength), 0);
        SetWindowSubclass(edit, NumericEditProc, 0, 0);
        return hinted(edit, c);
    };
    const L::Control& js = L::grpJoystickSettings;
    const L::Control& as = L::GroupBox1;

    Label5 = label(L::Label5);
    Label6 = label(L::Label6);
    Label7 = label(L::Label7);
    grpJoystickSettings =
        Laid(w, WC_BUTTONW, BS_GROUPBOX, L::grpJoystickSettings, ids::grpJoystickSettings);
    Label1 = label(L::Label1, js.Left, js.Top);
    Label2 = label(L::Label2, js.Left, js.Top);
    Label8 = label(L::Label8, js.Left, js.Top);
    GroupBox1 = Laid(w, WC_BUTTONW, BS_GROUPBOX, L::GroupBox1, ids::GroupBox1);
    Label3 = label(L::Label3, as.Left, as.Top);
    Label4 = label(L::Label4, as.Left, as.Top);

    cmbDevices = hinted(Laid(w, WC_COMBOBOXW, ListStyle, Dropping(L::cmbDevices), ids::cmbDevices),
                        L::cmbDevices);
    scbSettings = Laid(w, L"TScrollBox", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN,
                       L::scbSettings, ids::scbSettings, 0, 0, WS_EX_CLIENTEDGE);
    SetWindowLongPtrW(scbSettings, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(scbSettings, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(&MainWindow::PanelProc));
    txtPanelHint = Laid(scbSettings, WC_STATICW, SS_CENTER, L::txtPanelHint, ids::txtPanelHint);

    txtDeadZone = numeric(L::txtDeadZone, ids::txtDeadZone, js.Left, js.Top);
    txtMaxVal = numeric(L::txtMaxVal, ids::txtMaxVal, js.Left, js.Top);
    cmdJSApply =
        hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdJSApply, ids::cmdJSApply, js.Left, js.Top),
               L::cmdJSApply);
    cmdJSReset =
        hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdJSReset, ids::cmdJSReset, js.Left, js.Top),
               L::cmdJSReset);
    txtThreshold = numeric(L::txtThreshold, ids::txtThreshold, js.Left, js.Top);
    chkRepeatKeys = hinted(
        Laid(w, WC_BUTTONW, CheckStyle, L::chkRepeatKeys, ids::chkRepeatKeys, js.Left, js.Top),
        L::chkRepeatKeys);

    cmbProfiles =
        hinted(Laid(w, WC_COMBOBOXW, ListStyle, Dropping(L::cmbProfiles), ids::cmbProfiles),
               L::cmbProfiles);
    cmdRefresh =
        hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdRefresh, ids::cmdRefresh), L::cmdRefresh);
    cmdSave = hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdSave, ids::cmdSave), L::cmdSave);
    cmdExit = Laid(w, WC_BUTTONW, ButtonStyle, L::cmdExit, ids::cmdExit);
    cmbFoundDevices =
        hinted(Laid(w, WC_COMBOBOXW, ListStyle, Dropping(L::cmbFoundDevices), ids::cmbFoundDevices),
               L::cmbFoundDevices);
    cmdAddDevice = hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdAddDevice, ids::cmdAddDevice),
                          L::cmdAddDevice);
    cmdRemoveDevice =
        hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdRemoveDevice, ids::cmdRemoveDevice),
               L::cmdRemoveDevice);

    txtTimeInterval = numeric(L::txtTimeInterval, ids::txtTimeInterval, as.Left, as.Top);
    txtMaxJoysticks = numeric(L::txtMaxJoysticks, ids::txtMaxJoysticks, as.Left, as.Top);
    // The window's default button: Enter presses it.
    cmdASApply = hinted(Laid(w, WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, L::cmdASApply,
                             ids::cmdASApply, as.Left, as.Top),
                        L::cmdASApply);
    cmdASReset =
        hinted(Laid(w, WC_BUTTONW, ButtonStyle, L::cmdASReset, ids::cmdASReset, as.Left, as.Top),
               L::cmdASReset);
    chkStartMinimized = hinted(Laid(w, WC_BUTTONW, CheckStyle, L::chkStartMinimized,
                                    ids::chkStartMinimized, as.Left, as.Top),
                               L::chkStartMinimized);
    chkLogFile =
        hinted(Laid(w, WC_BUTTONW, CheckStyle, L::chkLogFile, ids::chkLogFile, as.Left, as.Top),
               L::chkLogFile);
    cmdPPopUp = Laid(w, WC_BUTTONW, ButtonStyle, L::cmdPPopUp, ids::cmdPPopUp);

    // Disabled until an active controller is picked.
    for (HWND c : {cmdAddDevice, cmdRemoveDevice, cmbProfiles, txtDeadZone, txtMaxVal, txtThreshold,
                   cmdJSReset, cmdJSApply})
        Enable(c, false);

    popProfile = CreatePopupMenu();
    int id = ids::mnuPAdd;
    for (const char* item : L::ProfileMenu)
        AppendMenuW(popProfile, MF_STRING, static_cast<UINT_PTR>(id++), Wide(item).c_str());
    AppendMenuW(popProfile, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popProfile, MF_STRING, ids::mnuPPrograms, Wide(L::ProgramsItem).c_str());
    FitScrollRange();
    UpdatePanelHint();
}

bool MainWindow::txtNumericKeypress(wchar_t key) {
    return (key >= L'0' && key <= L'9') || key == 8;
}

} // namespace padwright::win
