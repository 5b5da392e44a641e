// The wlroots source against sway (headless), with weston's demo clients as the programs and the
// focus moved by sway commands; weston itself stands for a compositor without the protocol.
#include "QtLoop.h"
#include "SwaySession.h"
#include "platform/focus/wlroots/WlrootsForegroundSource.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using namespace testing;

const std::string Flower = "org.freedesktop.weston.flower";
const std::string Terminal = "org.freedesktop.weston.wayland-terminal";

TEST(WlrootsSource, FollowsTheActivatedWindowAndTheCompositorGoingAndComingBack) {
    SwaySession sway;
    WlrootsForegroundSource source(Loop(), sway.Socket().c_str());
    ASSERT_TRUE(source.Available()) << source.Unavailable();
    std::vector<std::string> seen;
    source.Watch([&](const ForegroundProgram& p) { seen.push_back(p.appId); });
    auto front = [&](const std::string& appId) {
        return RunUntil([&] { return !seen.empty() && seen.back() == appId; });
    };
    auto flower = sway.Launch("/usr/bin/weston-flower");
    ASSERT_TRUE(front(Flower));
    auto terminal = sway.Launch("/usr/bin/weston-terminal");
    ASSERT_TRUE(front(Terminal));
    // Each move of the focus is one report: no "nothing in front" between the two windows.
    for (const std::string& next : {Flower, Terminal, Flower}) {
        const std::size_t before = seen.size();
        ASSERT_TRUE(sway.Command("[app_id=\"" + next + "\"] focus"));
        ASSERT_TRUE(front(next));
        RunUntil([] { return false; }, 100);
        EXPECT_EQ(seen.size(), before + 1) << next;
    }
    EXPECT_EQ(source.OpenWindows(),
              (std::vector<ForegroundProgram>{{"", "", Flower, ""}, {"", "", Terminal, ""}}));
    flower.reset(); // its window closes; sway gives the terminal the focus
    ASSERT_TRUE(front(Terminal));
    EXPECT_EQ(source.OpenWindows().size(), 1u);

    sway.Stop();
    ASSERT_TRUE(RunUntil([&] { return !source.Available(); }));
    EXPECT_EQ(source.Unavailable(), "The connection to the Wayland compositor was lost.");
    EXPECT_EQ(source.Current(), ForegroundProgram{});
    sway.Start(); // and comes back
    auto again = sway.Launch("/usr/bin/weston-flower");
    EXPECT_TRUE(front(Flower));
    EXPECT_TRUE(source.Available());
}

TEST(WlrootsSource, SaysWhyWithoutTheProtocol) {
    Sandbox box;
    const std::string socket = box.Runtime() + "/wayland-weston";
    Child weston({"/usr/bin/weston", "--backend=headless-backend.so", "--socket=" + socket},
                 {{"XDG_RUNTIME_DIR", box.Runtime()}}, box.Root());
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(socket); }, Millis(10000)));
    WlrootsForegroundSource source(Loop(), socket.c_str());
    EXPECT_EQ(source.Unavailable(), "The Wayland compositor does not tell other programs which "
                                    "window is active (it offers no wlr foreign toplevel "
                                    "management).");
}

} // namespace
} // namespace padwright
