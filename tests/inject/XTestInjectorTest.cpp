// XTest injection proven against a real X server: a private Xvfb, read back by a client window
// that has the focus and the pointer.
#include <gtest/gtest.h>

#include "XvfbServer.h"
#include "platform/inject/InjectorChoice.h"
#include "platform/inject/XTestInjector.h"

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include "NextXEvent.h" // after the toolkit and ours: Xlib defines None, Bool, ...

#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <unistd.h>

namespace padwright {
namespace {

struct Seen {
    int type;
    unsigned detail; // keysym for keys, button number for buttons
    unsigned state;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << "{type " << s.type << ", detail 0x" << std::hex << s.detail << ", state 0x"
              << s.state << std::dec << "}";
}

class XTestInjectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        reader_ = XOpenDisplay(server_.display().c_str());
        ASSERT_NE(reader_, nullptr);
        const int screen = DefaultScreen(reader_);
        window_ =
            XCreateSimpleWindow(reader_, RootWindow(reader_, screen), 0, 0, 300, 300, 0, 0, 0);
        XSelectInput(reader_, window_,
                     KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                         PointerMotionMask | StructureNotifyMask);
        XMapWindow(reader_, window_);
        XEvent e;
        do
            XNextEvent(reader_, &e);
        while (e.type != MapNotify);
        XSetInputFocus(reader_, window_, RevertToParent, CurrentTime);
        XWarpPointer(reader_, None, window_, 0, 0, 0, 0, 100, 100);
        // Without acceleration a relative move lands exactly where it says.
        XChangePointerControl(reader_, True, True, 1, 1, 0);
        XSync(reader_, True);

        std::string error;
        injector_ = XTestInjector::Open(server_.display().c_str(), error);
        ASSERT_NE(injector_, nullptr) << error;
    }

    void TearDown() override {
        injector_.reset();
        if (reader_)
            XCloseDisplay(reader_);
    }

    // The next event of the reader's window, nullopt when none comes within five seconds.
    std::optional<XEvent> NextEvent() { return testing::NextXEvent(reader_); }

    // The next key or button event, skipping motion.
    std::optional<Seen> Next() {
        while (const auto e = NextEvent()) {
            if (e->type == KeyPress || e->type == KeyRelease) {
                XKeyEvent key = e->xkey;
                return Seen{e->type, static_cast<unsigned>(XLookupKeysym(&key, 0)), key.state};
            }
            if (e->type == ButtonPress || e->type == ButtonRelease)
                return Seen{e->type, e->xbutton.button, 0};
        }
        return std::nullopt;
    }

    // Where the next pointer motion ends, in window coordinates.
    std::optional<std::pair<int, int>> NextMotion() {
        while (const auto e = NextEvent())
            if (e->type == MotionNotify)
                return std::make_pair(e->xmotion.x, e->xmotion.y);
        return std::nullopt;
    }

    std::pair<int, int> Pointer() {
        Window root, child;
        int rx, ry, wx, wy;
        unsigned mask;
        XQueryPointer(reader_, window_, &root, &child, &rx, &ry, &wx, &wy, &mask);
        return {wx, wy};
    }

    testing::XvfbServer server_;
    Display* reader_ = nullptr;
    Window window_ = 0;
    std::unique_ptr<XTestInjector> injector_;
};

TEST_F(XTestInjectorTest, CtrlAArrivesAsControlAndA) {
    injector_->keybd_event(0x11, 0x1D, 0, 0);
    injector_->keybd_event(0x41, 0x1E, 0, 0);
    injector_->keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    injector_->keybd_event(0x11, 0x1D, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_Control_L, 0}));
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_a, ControlMask}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_a, ControlMask}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_Control_L, ControlMask}));
}

TEST_F(XTestInjectorTest, PointerMovesRelatively) {
    const auto [x, y] = Pointer();
    injector_->mouse_event(MOUSEEVENTF_MOVE, 7, -5, 0, 0);
    EXPECT_EQ(NextMotion(), std::make_pair(x + 7, y - 5));
    EXPECT_EQ(Pointer(), std::make_pair(x + 7, y - 5));
}

TEST_F(XTestInjectorTest, ButtonsAndWheelArriveAsXButtons) {
    struct Case {
        std::uint32_t down, up;
        std::int32_t data;
        unsigned button;
    };
    const Case cases[] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, 1},
                          {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0, 3},
                          {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, 2},
                          {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, 1, 8},
                          {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, 2, 9}};
    for (const auto& c : cases) {
        injector_->mouse_event(c.down, 0, 0, c.data, 0);
        injector_->mouse_event(c.up, 0, 0, c.data, 0);
        EXPECT_EQ(Next(), (Seen{ButtonPress, c.button, 0}));
        EXPECT_EQ(Next(), (Seen{ButtonRelease, c.button, 0}));
    }
    injector_->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, -120, 0); // toward the user: down
    EXPECT_EQ(Next(), (Seen{ButtonPress, 5, 0}));
    EXPECT_EQ(Next(), (Seen{ButtonRelease, 5, 0}));
    injector_->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 240, 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Next(), (Seen{ButtonPress, 4, 0}));
        EXPECT_EQ(Next(), (Seen{ButtonRelease, 4, 0}));
    }
}

TEST_F(XTestInjectorTest, MouseButtonKeyAndAppCommand) {
    injector_->keybd_event(0x02, 0, 0, 0); // VK_RBUTTON
    injector_->keybd_event(0x02, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(Next(), (Seen{ButtonPress, 3, 0}));
    EXPECT_EQ(Next(), (Seen{ButtonRelease, 3, 0}));
    injector_->SendAppCommand(0x000A0000); // VOLUME_UP
    EXPECT_EQ(Next(), (Seen{KeyPress, XF86XK_AudioRaiseVolume, 0}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XF86XK_AudioRaiseVolume, 0}));
}

TEST_F(XTestInjectorTest, OemKeysGoByUsPosition) {
    injector_->keybd_event(0xBA, 0x27, 0, 0); // VK_OEM_1: the ;: key
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_semicolon, 0}));
}

// Every key of the tables lies within the server's keycodes, at the kernel's code plus 8.
TEST_F(XTestInjectorTest, EveryTableKeyHasAServerKeycode) {
    for (const auto& row : VirtualKeyTable())
        EXPECT_EQ(injector_->KeycodeOf(row.target.linuxCode), row.target.linuxCode + 8u)
            << "vk " << int(row.vk);
    for (const auto& row : AppCommandTable()) {
        const bool beyondX = row.target.linuxCode > 247; // channel up and down
        EXPECT_EQ(injector_->KeycodeOf(row.target.linuxCode) == 0, beyondX)
            << "command " << row.command;
    }
}

TEST_F(XTestInjectorTest, DestructionReleasesWhatIsStillHeld) {
    injector_->keybd_event(0xA0, 0x2A, 0, 0); // left Shift
    injector_->mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_Shift_L, 0}));
    EXPECT_EQ(Next(), (Seen{ButtonPress, 1, 0}));
    injector_.reset();
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_Shift_L, ShiftMask | Button1Mask}));
    EXPECT_EQ(Next(), (Seen{ButtonRelease, 1, 0}));
    char keys[32];
    XQueryKeymap(reader_, keys);
    for (const char byte : keys)
        EXPECT_EQ(byte, 0);
}

TEST_F(XTestInjectorTest, ChoiceFallsBackToXTestWithoutUinput) {
    InjectorOpeners openers;
    openers.uinput = [](std::string& error) -> std::unique_ptr<IInputInjector> {
        error = "/dev/uinput: Permission denied";
        return nullptr;
    };
    const std::string display = server_.display();
    openers.xtest = [display](std::string& error) -> std::unique_ptr<IInputInjector> {
        return XTestInjector::Open(display.c_str(), error);
    };
    const InjectorChoice choice = ChooseInjector(openers);
    EXPECT_EQ(choice.status.backend, "XTest");
    EXPECT_EQ(choice.status.level, InjectionLevel::Full);
    choice.injector->keybd_event(0x42, 0x30, 0, 0);
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_b, 0}));
    choice.injector->keybd_event(0x42, 0x30, KEYEVENTF_KEYUP, 0);
}

#ifdef REPLAY_BINARY
// Runs padwright-replay --inject on `script` with the given environment; returns its exit
// status and fills stdout and stderr.
int RunReplay(const std::string& env, const std::string& script, std::string& out,
              std::string& err) {
    char dir[] = "/tmp/padwright-replay-XXXXXX";
    if (!mkdtemp(dir))
        return -1;
    const std::string base = dir;
    std::ofstream(base + "/script") << script;
    const std::string command = "env " + env + " " + REPLAY_BINARY + " --inject " + base +
                                "/script >" + base + "/out 2>" + base + "/err";
    const int status = std::system(command.c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    out = slurp(base + "/out");
    err = slurp(base + "/err");
    std::system(("rm -rf " + base).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Ctrl+Shift+A on a button held down to the end of the script; "repeatkeys" is the
// controller's "Auto-repeat all keys", which keeps the keys down while the button is.
std::string CtrlShiftAScript(int repeatKeys) {
    return "profile P\n"
           "map 1 48 VK_A ctrl shift\n"
           "controller profile=1 buttons=4 repeatkeys=" +
           std::to_string(repeatKeys) +
           "\n"
           "set 1 buttons=1\n"
           "cycle\n";
}

TEST_F(XTestInjectorTest, ReplayInjectReachesTheDesktop) {
    if (access("/dev/uinput", W_OK) == 0)
        GTEST_SKIP() << "/dev/uinput is writable here, so the tool would not use XTest";
    std::string out, err;
    const std::string env = "-u WAYLAND_DISPLAY DISPLAY=" + server_.display();
    ASSERT_EQ(RunReplay(env, CtrlShiftAScript(0), out, err), 0) << err;
    EXPECT_NE(out.find("keybd_event vk=0x41"), std::string::npos) << out; // still printed
    const unsigned both = ControlMask | ShiftMask;
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_Control_L, 0}));
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_Shift_L, ControlMask}));
    EXPECT_EQ(Next(), (Seen{KeyPress, XK_a, both}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_a, both}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_Shift_L, both}));
    EXPECT_EQ(Next(), (Seen{KeyRelease, XK_Control_L, ControlMask}));
}

TEST_F(XTestInjectorTest, ReplayInjectLetsGoOfHeldKeysAtExit) {
    if (access("/dev/uinput", W_OK) == 0)
        GTEST_SKIP() << "/dev/uinput is writable here, so the tool would not use XTest";
    std::string out, err;
    const std::string env = "-u WAYLAND_DISPLAY DISPLAY=" + server_.display();
    ASSERT_EQ(RunReplay(env, CtrlShiftAScript(1), out, err), 0) << err;
    EXPECT_EQ(out.find("flags=2"), std::string::npos) << "the script itself releases nothing";
    std::multiset<std::pair<int, unsigned>> events;
    for (int i = 0; i < 6; ++i)
        if (const auto e = Next())
            events.insert({e->type, e->detail});
    const std::multiset<std::pair<int, unsigned>> expected = {
        {KeyPress, XK_Control_L},   {KeyPress, XK_Shift_L},   {KeyPress, XK_a},
        {KeyRelease, XK_Control_L}, {KeyRelease, XK_Shift_L}, {KeyRelease, XK_a}};
    EXPECT_EQ(events, expected);
    char keys[32];
    XQueryKeymap(reader_, keys);
    for (const char byte : keys)
        EXPECT_EQ(byte, 0);
}

TEST(ReplayInject, WithNoOutputPossibleItSaysHowToGrantAccessAndFails) {
    if (access("/dev/uinput", W_OK) == 0)
        GTEST_SKIP() << "/dev/uinput is writable here";
    std::string out, err;
    EXPECT_EQ(RunReplay("-u DISPLAY", CtrlShiftAScript(0), out, err), 1);
    EXPECT_TRUE(out.empty()) << out;
    EXPECT_NE(err.find("cannot send keys or mouse input"), std::string::npos) << err;
    EXPECT_NE(err.find("70-padwright-uinput.rules"), std::string::npos) << err;
}
#endif

TEST(XTestInjectorOpen, MissingDisplayIsAnError) {
    std::string error;
    EXPECT_EQ(XTestInjector::Open(":4711", error), nullptr);
    EXPECT_NE(error.find(":4711"), std::string::npos) << error;
}

} // namespace
} // namespace padwright
