// The X11 source against Xvfb, with the test as the window manager.
#include "QtLoop.h"
#include "platform/focus/x11/X11ForegroundSource.h"

#include <gtest/gtest.h>

// Xlib after the rest: its macros (None, Bool) would clash with their names.
#include "WindowManager.h"

#include <unistd.h>

namespace padwright {
namespace {

using namespace testing;

struct X11Source : ::testing::Test, WindowManager {
    X11Source() {
        RunUntil([&] { return ExecutableName(sleeper.Pid()) == "sleep"; }); // once it has exec'd
        source.Watch([this](const ForegroundProgram& p) { seen.push_back(p); });
    }
    bool Next(std::size_t n) {
        return RunUntil([&] { return seen.size() >= n; });
    }

    X11ForegroundSource source{Loop(), x.Name().c_str()};
    Child sleeper{{"/usr/bin/sleep", "60"}, {}};
    std::vector<ForegroundProgram> seen;
};

TEST_F(X11Source, ReportsEachProgramBroughtToFront) {
    char self[4096] = {};
    readlink("/proc/self/exe", self, sizeof self - 1);
    const long other = sleeper.Pid();
    struct Case {
        std::string wmClass, instance;
        long pid;
        std::string machine;
        ForegroundProgram expected;
    } cases[] = {
        {"Firefox", "Navigator", other, "", {"Firefox", "Navigator", "", "sleep"}},
        // A process id from another machine says nothing about processes here.
        {"Remote", "remote", other, "elsewhere", {"Remote", "remote", "", ""}},
        {"Tool", "tool", getpid(), "", {"Tool", "tool", "", strrchr(self, '/') + 1, true}},
        {"Padwright", "padwright", 0, "", {"Padwright", "padwright", "", "", true}},
    };
    for (const Case& c : cases) {
        Activate(Open(c.wmClass, c.instance, c.pid, c.machine));
        ASSERT_TRUE(Next(seen.size() + 1)) << c.wmClass;
        EXPECT_EQ(source.Current(), c.expected);
    }
    Activate(None);
    ASSERT_TRUE(Next(seen.size() + 1));
    EXPECT_EQ(seen.back(), ForegroundProgram{});
}

TEST_F(X11Source, ReportsChangesOfProgramOnlyAndWhereTheFocusEnded) {
    const Window editor = Open("Gedit", "gedit", 0), editor2 = Open("Gedit", "gedit", 0);
    const Window game = Open("Game", "game.exe", sleeper.Pid());
    Open("Padwright", "padwright", getpid());
    Activate(editor);
    ASSERT_TRUE(Next(1));
    Activate(editor2); // the same program
    RunUntil([] { return false; }, 100);
    EXPECT_EQ(seen.size(), 1u);
    Activate(game);
    ASSERT_TRUE(Next(2));

    // Not our own window, each program once; a change that arrives while listing is taken in.
    Activate(editor);
    EXPECT_EQ(source.OpenWindows(),
              (std::vector<ForegroundProgram>{{"Gedit", "gedit", "", ""},
                                              {"Game", "game.exe", "", "sleep"}}));
    ASSERT_TRUE(Next(3));
    EXPECT_EQ(seen.back().wmClass, "Gedit");
}

TEST(X11SourceUnavailable, SaysWhyWithoutAWindowManagerOrWhenTheServerGoes) {
    auto wm = std::make_unique<WindowManager>(false);
    X11ForegroundSource source(Loop(), wm->x.Name().c_str());
    EXPECT_EQ(source.Unavailable(), "The window manager does not say which window is active (it "
                                    "does not support _NET_ACTIVE_WINDOW).");
    wm->SayActiveIsNamed(); // one starts
    EXPECT_TRUE(RunUntil([&] { return source.Available(); }));
    wm.reset();
    EXPECT_TRUE(RunUntil([&] { return !source.Available(); }));
    EXPECT_EQ(source.Unavailable(), "The connection to the X server was lost.");
}

} // namespace
} // namespace padwright
