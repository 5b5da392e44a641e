// The Win32 dialogs shown for real under Wine on an X server, driven by messages from a timer of
// their own modal loop, as a user's clicks would drive them.
#include "ui/win/Win32.h" // first: the seams before the Windows headers that gtest brings

#include "StoreTestSupport.h"
#include "core/Core.h"
#include "core/ProgramRules.h"
#include "engine/Catalogue.h"
#include "platform/eventloop/ManualEventLoop.h"
#include "platform/inject/win/WinInjector.h"
#include "platform/session/RecordingSession.h"
#include "platform/settings/MemorySettings.h"
#include "platform/win/Utf16.h"
#include "ui/common/MainLayout.h"
#include "ui/win/WinControls.h"
#include "ui/win/WinUserDialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>

#include <commctrl.h>

namespace padwright::win {
namespace {

using Entry = TWinControlEntry;

struct Rig {
    ManualEventLoop loop;
    WinInjector injector;
    RecordingSession session;
    test::RecordingBoxes boxes;
    Registry settings{std::make_unique<MemorySettings>()};
    Core core{CoreParts{loop, injector, session, boxes, settings, {}, nullptr, "Z:/nonexistent"}};
    ProgramFollower follower{core};
    WinUserDialogs dialogs{nullptr, injector, core, follower, nullptr};
};

// Runs `act` on the dialog captioned `caption` once it shows; ends the dialog if `act` did not.
void WhenShown(const wchar_t* caption, std::function<void(HWND)> act) {
    static const wchar_t* wanted;
    static std::function<void(HWND)> pending;
    wanted = caption;
    pending = std::move(act);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, ::DWORD) {
        const HWND dialog = FindWindowW(L"#32770", wanted);
        if (!dialog || !IsWindowVisible(dialog))
            return;
        KillTimer(nullptr, timer);
        std::exchange(pending, nullptr)(dialog);
        if (IsWindowVisible(dialog)) // EndDialog hides it at once
            EndDialog(dialog, -2);
    });
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
void Choose(HWND dialog, const char* function) {
    const HWND list = GetDlgItem(dialog, Entry::idFunction);
    SendMessageA(list, CB_SETCURSEL, SendMessageA(list, CB_FINDSTRINGEXACT, -1, LPARAM(function)),
                 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(Entry::idFunction, CBN_SELCHANGE), LPARAM(list));
}
void Slide(HWND dialog, int position) {
    const HWND track = GetDlgItem(dialog, Entry::idRepeatRate);
    SendMessageW(track, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, TB_ENDTRACK, LPARAM(track));
}
std::string Text(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}
bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// The window as the screen shows it, as a BMP file in PADWRIGHT_SCREENSHOTS, when that is set.
void Screenshot(HWND window, const char* name) {
    const char* folder = std::getenv("PADWRIGHT_SCREENSHOTS");
    if (!folder)
        return;
    for (int turn = 0; turn < 10; ++turn) { // painted, and on the screen
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(50);
    }
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    BITMAPINFOHEADER info{sizeof info, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP image =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), 0, &bits, nullptr, 0);
    SelectObject(copy, image);
    BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD size = DWORD(width) * DWORD(height) * 4;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof info + size), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof info)};
    std::ofstream out(std::string(folder) + "/" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(static_cast<const char*>(bits), size);
    DeleteDC(copy);
    DeleteObject(image);
    ReleaseDC(nullptr, screen);
}

// The design font fits every label of the main window into its box, whatever face the system
// gives for it (Wine gives a wider one than Windows).
TEST(WinDesignFont, EveryLabelCaptionFitsItsBox) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, DesignFont());
    namespace L = layout;
    for (const L::Control& label :
         {L::Label5, L::Label6, L::Label7, L::Label1, L::Label2, L::Label8, L::Label3, L::Label4}) {
        const std::wstring caption = Wide(label.Caption);
        SIZE size{};
        GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
        EXPECT_LE(size.cx, label.Width) << label.Caption;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
}

TEST(WinControlEditor, IsLaidOutAsDesignedWithTheFunctionListInItsOrder) {
    Rig rig;
    TControlMapping mapping{};
    WhenShown(L"Edit Control", [&rig](HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, 337);
        EXPECT_EQ(client.bottom, 202);
        EXPECT_FALSE(GetWindowLongPtrW(dialog, GWL_STYLE) & WS_SYSMENU); // no close box
        const struct {
            int id;
            Place place;
            const char* text;
        } controls[] = {
            {Entry::idControlName, {16, 8, 305, 17}, "Button 1"},
            {Entry::idFunction, {16, 32, 305, 21}, ""},
            {Entry::idShift, {16, 64, 49, 17}, "Shift"},
            {Entry::idCtrl, {72, 64, 41, 17}, "Ctrl"},
            {Entry::idAlt, {128, 64, 41, 17}, "Alt"},
            {Entry::idWin, {184, 64, 49, 17}, "Win"},
            {Entry::idLabel1, {104, 104, 129, 17}, "Auto-Repeat"},
            {Entry::idRepeatRate, {8, 120, 321, 25}, ""},
            {Entry::idAutoRepeat, {104, 144, 129, 17}, "OFF"},
            {Entry::idCancel, {232, 176, 49, 25}, "Cancel"},
            {Entry::idOK, {288, 176, 49, 25}, "OK"},
            {Entry::idDescription, {16, 84, 305, 17}, ""},
            {Entry::idPressKey, {240, 62, 81, 21}, "Press a key"},
        };
        for (const auto& c : controls) {
            const Place p = PlaceOf(GetDlgItem(dialog, c.id));
            EXPECT_EQ(std::vector<int>({p.left, p.top, p.width, p.height}),
                      std::vector<int>({c.place.left, c.place.top, c.place.width, c.place.height}))
                << c.text << " " << c.id;
            EXPECT_EQ(Text(dialog, c.id), c.text);
        }
        const HWND list = GetDlgItem(dialog, Entry::idFunction);
        ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 183);
        const std::pair<int, const char*> rows[] = {{0, "NONE"},         {1, "MOUSE_MOVE_X_NEG"},
                                                    {10, "MEDIA_PLAY"},  {29, "BROWSER_BACKWARD"},
                                                    {30, "VK_LBUTTON"},  {178, "VK_OEM_102"},
                                                    {179, "EWX_LOGOFF"}, {182, "EWX_REBOOT"}};
        for (const auto& [index, name] : rows) {
            char text[64] = {};
            SendMessageA(list, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
            EXPECT_STREQ(text, name);
        }
        Choose(dialog, "VK_A"); // every control enabled: the tab order takes them all
        EXPECT_EQ(Text(dialog, Entry::idDescription), "Letter A"); // the US layout types "a"
        const int order[] = {Entry::idOK,    Entry::idCancel,   Entry::idFunction,
                             Entry::idShift, Entry::idCtrl,     Entry::idAlt,
                             Entry::idWin,   Entry::idPressKey, Entry::idRepeatRate};
        HWND at = GetDlgItem(dialog, Entry::idOK);
        EXPECT_EQ(GetFocus(), at);
        for (int id : order) {
            EXPECT_EQ(GetDlgCtrlID(at), id);
            at = GetNextDlgTabItem(dialog, at, FALSE);
        }
        EXPECT_EQ(GetDlgCtrlID(at), Entry::idOK);
        rig.dialogs.SetEditedEngaged(true); // the control name's live mark
        Screenshot(dialog, "editor");
        Click(dialog, Entry::idCancel);
    });
    EXPECT_FALSE(rig.dialogs.EditControl("Button 1", mapping));
}

TEST(WinControlEditor, OKWritesTheWorkingCopyAndNothingElseDoes) {
    Rig rig;
    TControlMapping before{};
    AssignFunction(before, "MOUSE_MOVE_Y_POS");
    before.RepeatRate = 255;
    before.AutoRepeat = 1;
    before.PressState = 2;
    const struct {
        std::function<void(HWND)> edit;
        int close; // the button that ends the edit
        const char* function;
        std::int32_t kind, code, shift, rate;
    } cases[] = {
        {[](HWND d) {
             // A stored 255 opens at the end of the bar; a movement disables the rate.
             EXPECT_EQ(Text(d, Entry::idAutoRepeat), "MAXIMUM");
             EXPECT_FALSE(Enabled(d, Entry::idRepeatRate));
             EXPECT_FALSE(Enabled(d, Entry::idShift));
             Choose(d, "VK_A");
             Click(d, Entry::idShift);
             Slide(d, 7);
             EXPECT_EQ(Text(d, Entry::idAutoRepeat), "7 times/sec");
         },
         Entry::idOK, "VK_A", fkKey, 'A', 1, 7},
        {[](HWND d) {
             Choose(d, "MEDIA_PLAY"); // the modifiers keep their marks, disabled
             EXPECT_FALSE(Enabled(d, Entry::idShift));
             Slide(d, 0);
         },
         Entry::idOK, "MEDIA_PLAY", fkAppCommand, 46, 0, 0},
        {[](HWND d) {
             Choose(d, "NONE");
             EXPECT_TRUE(Enabled(d, Entry::idRepeatRate));
         },
         Entry::idOK, "", fkNone, 0, 0, 255},
        {[](HWND d) { // the capture: the next key pressed in the list
             Click(d, Entry::idPressKey);
             EXPECT_EQ(GetFocus(), GetDlgItem(d, Entry::idFunction));
             const HWND list = GetDlgItem(d, Entry::idFunction);
             SendMessageW(list, WM_KEYDOWN, VK_F5, 0x003F0001);
             SendMessageW(list, WM_CHAR, 't', 0x003F0001); // searches nothing
             SendMessageW(list, WM_KEYUP, VK_F5, 0xC03F0001);
             EXPECT_EQ(SendMessageW(GetDlgItem(d, Entry::idPressKey), BM_GETCHECK, 0, 0), 0);
         },
         Entry::idOK, "VK_F5", fkKey, 0x74, 0, 255},
        {[](HWND d) { // neither Escape nor a close command ends it; Cancel writes nothing
             Choose(d, "VK_B");
             Slide(d, 3);
             SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
             SendMessageW(d, WM_CLOSE, 0, 0);
             EXPECT_TRUE(IsWindowVisible(d));
         },
         Entry::idCancel, "MOUSE_MOVE_Y_POS", fkMouse, 4, 0, 255},
    };
    for (const auto& c : cases) {
        TControlMapping mapping = before;
        WhenShown(L"Edit Control", [&c](HWND dialog) {
            c.edit(dialog);
            Click(dialog, c.close);
        });
        EXPECT_EQ(rig.dialogs.EditControl("X Axis +", mapping), c.close == Entry::idOK);
        EXPECT_EQ(mapping.FunctionName.str(), c.function);
        EXPECT_EQ(std::vector<int>({mapping.Kind, mapping.Code, mapping.Shift, mapping.RepeatRate,
                                    mapping.AutoRepeat, mapping.PressState}),
                  std::vector<int>({c.kind, c.code, c.shift, c.rate, c.rate != 0, 2}))
            << c.function;
    }
}

TEST(WinNameDialog, OKTakesTheTrimmedNameCancelAndClosingTakeNone) {
    Rig rig;
    const struct {
        std::function<void(HWND)> act;
        const char* result;
    } cases[] = {
        {[](HWND d) {
             EXPECT_EQ(Text(d, TWinEntry::idName), "Pads");
             EXPECT_EQ(GetFocus(), GetDlgItem(d, TWinEntry::idName));
             SetDlgItemTextA(d, TWinEntry::idName, " \t Racing pads  ");
             SendMessageW(d, WM_COMMAND, IDCANCEL, 0); // Escape: still open
             Click(d, IDOK);
         },
         "Racing pads"},
        {[](HWND d) {
             SetDlgItemTextA(d, TWinEntry::idName, "   ");
             Click(d, IDOK);
         },
         ""},
        {[](HWND d) { Click(d, TWinEntry::idCancel); }, ""},
        {[](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); }, ""},
    };
    for (const auto& c : cases) {
        WhenShown(L"Entry", c.act);
        EXPECT_EQ(rig.dialogs.AskName("Pads"), c.result);
    }
}

TEST(WinProgramsDialog, AddsATypedProgramsRuleAndRemovesIt) {
    Rig rig;
    rig.core.Lists.Profiles.push_back(NewProfile("Racing"));
    WhenShown(L"Programs", [&rig](HWND d) {
        EXPECT_EQ(Text(d, TWinPrograms::idFollowing),
                  "Program following is not available: nothing in this build learns which "
                  "program is in front.");
        EXPECT_FALSE(Enabled(d, TWinPrograms::idAdd));
        SetDlgItemTextA(d, TWinPrograms::idProgram, "  game.exe ");
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(TWinPrograms::idProgram, CBN_EDITCHANGE), 0);
        Click(d, TWinPrograms::idAdd);
        ASSERT_EQ(rig.core.Lists.Programs.size(), 1u);
        EXPECT_EQ(rig.core.Lists.Programs[0].Program, "game.exe");
        EXPECT_EQ(rig.core.Lists.Programs[0].Profile, 1);
        const HWND rules = GetDlgItem(d, TWinPrograms::idRules);
        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED;
        SendMessageW(rules, LVM_SETITEMSTATE, 0, LPARAM(&select));
        Click(d, TWinPrograms::idRemove);
        EXPECT_TRUE(rig.core.Lists.Programs.empty());
        Click(d, TWinPrograms::idClose);
    });
    rig.dialogs.ShowPrograms(0);
}

} // namespace
} // namespace padwright::win
