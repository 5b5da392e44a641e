// The X11 source against Xvfb, with the test playing the window manager: it opens client
// windows with their WM_CLASS, _NET_WM_PID and WM_CLIENT_MACHINE, lists them in
// _NET_CLIENT_LIST and names the active one in _NET_ACTIVE_WINDOW, as an EWMH window manager
// does.
#include "../inject/XvfbServer.h"
#include "QtLoop.h"
#include "platform/focus/x11/X11ForegroundSource.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright {
namespace {

using testing::RunFor;
using testing::RunUntil;

class WindowManager {
public:
    explicit WindowManager(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~WindowManager() { xcb_disconnect(c_); }

    xcb_window_t Open(const std::string& wmClass, const std::string& instance, pid_t pid,
                      const std::string& machine = {}) {
        const xcb_window_t w = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, root_, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string classBytes = instance + '\0' + wmClass + '\0';
        Set(w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, classBytes.size(), classBytes.data());
        if (pid > 0)
            Set(w, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
        if (!machine.empty())
            Set(w, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8, machine.size(), machine.data());
        Set(root_, Atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, 1, &w, XCB_PROP_MODE_APPEND);
        return w;
    }
    void Activate(xcb_window_t w) {
        Set(root_, Atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32, 1, &w);
        free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); // done by then
    }

private:
    xcb_atom_t Atom(const char* name) {
        auto* r = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, strlen(name), name), nullptr);
        const xcb_atom_t atom = r->atom;
        free(r);
        return atom;
    }
    void Set(xcb_window_t w, xcb_atom_t p, xcb_atom_t type, int format, std::size_t n,
             const void* data, xcb_prop_mode_t mode = XCB_PROP_MODE_REPLACE) {
        xcb_change_property(c_, mode, w, p, type, format, n, data);
    }
    xcb_connection_t* c_;
    xcb_window_t root_;
};

struct X11Source : ::testing::Test {
    X11Source() {
        if (pid_t child = fork(); child == 0) {
            execlp("sleep", "sleep", "60", static_cast<char*>(nullptr));
            _exit(127);
        } else {
            sleeper = child;
        }
        RunUntil([&] { return ExecutableName(sleeper) == "sleep"; }); // once it has exec'd
        source.Watch([this](const ForegroundProgram& p) { seen.push_back(p); });
    }
    ~X11Source() override {
        kill(sleeper, SIGKILL);
        waitpid(sleeper, nullptr, 0);
    }
    bool Next(std::size_t count) {
        return RunUntil([&] { return seen.size() >= count; });
    }

    testing::XvfbServer server;
    WindowManager wm{server.display()};
    IEventLoop& loop = testing::Loop();
    X11ForegroundSource source{loop, server.display().c_str()};
    std::vector<ForegroundProgram> seen;
    pid_t sleeper = 0;
};

std::string Self() {
    char path[4096] = {};
    readlink("/proc/self/exe", path, sizeof path - 1);
    return strrchr(path, '/') + 1;
}

TEST_F(X11Source, ReportsEachProgramBroughtToFront) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    struct Case {
        std::string wmClass, instance;
        pid_t pid;
        std::string machine;
        ForegroundProgram expected;
    } cases[] = {
        {"Firefox", "Navigator", sleeper, "", {"Firefox", "Navigator", "", "sleep"}},
        {"mpv", "gpu", sleeper, host, {"mpv", "gpu", "", "sleep"}},
        // A process id from another machine says nothing about processes here.
        {"Remote", "remote", sleeper, "elsewhere", {"Remote", "remote", "", ""}},
        {"Tool", "tool", getpid(), "", {"Tool", "tool", "", Self(), true}},
        {"Padwright", "padwright", 0, "", {"Padwright", "padwright", "", "", true}},
    };
    for (const Case& c : cases) {
        wm.Activate(wm.Open(c.wmClass, c.instance, c.pid, c.machine));
        ASSERT_TRUE(Next(seen.size() + 1)) << c.wmClass;
        EXPECT_EQ(seen.back(), c.expected) << c.wmClass;
        EXPECT_EQ(source.Current(), c.expected) << c.wmClass;
    }
    wm.Activate(XCB_WINDOW_NONE);
    ASSERT_TRUE(Next(seen.size() + 1));
    EXPECT_EQ(seen.back(), ForegroundProgram{});
    EXPECT_TRUE(source.Available());
    EXPECT_EQ(source.Kind(), "X11");
}

TEST_F(X11Source, ReportsChangesOfProgramOnlyAndWhereTheFocusEnded) {
    const xcb_window_t editor = wm.Open("Gedit", "gedit", 0);
    const xcb_window_t editor2 = wm.Open("Gedit", "gedit", 0);
    const xcb_window_t game = wm.Open("Game", "game.exe", sleeper);
    wm.Open("Padwright", "padwright", getpid());
    wm.Activate(editor);
    ASSERT_TRUE(Next(1));
    wm.Activate(editor2); // the same program
    RunFor(200);
    EXPECT_EQ(seen.size(), 1u);
    // Changes that arrive together end in one report of the last.
    wm.Activate(game);
    wm.Activate(editor);
    wm.Activate(game);
    ASSERT_TRUE(Next(2));
    RunFor(200);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back().wmInstance, "game.exe");

    // Our own window is not listed; each program once. The change made just before reaches the
    // source's connection while it lists them, and is still taken in.
    wm.Activate(editor);
    const std::vector<ForegroundProgram> open = source.OpenWindows();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].wmClass, "Gedit");
    EXPECT_EQ(open[1], (ForegroundProgram{"Game", "game.exe", "", "sleep"}));
    ASSERT_TRUE(Next(3));
    EXPECT_EQ(seen.back().wmClass, "Gedit");
}

TEST(X11SourceUnavailable, SaysWhyWithoutADisplayOrWhenItGoes) {
    IEventLoop& loop = testing::Loop();
    X11ForegroundSource none(loop, ":7999");
    EXPECT_FALSE(none.Available());
    EXPECT_EQ(none.Unavailable(), "The X display :7999 cannot be opened.");

    auto server = std::make_unique<testing::XvfbServer>();
    X11ForegroundSource source(loop, server->display().c_str());
    EXPECT_TRUE(source.Available());
    server.reset();
    EXPECT_TRUE(RunUntil([&] { return !source.Available(); }));
    EXPECT_EQ(source.Unavailable(), "The connection to the X server was lost.");
}

} // namespace
} // namespace padwright
