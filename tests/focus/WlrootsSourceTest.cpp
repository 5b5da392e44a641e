// The wlroots source against sway (headless), with weston's demo clients as the programs; focus
// moves with sway's own commands. weston stands for a compositor without the protocol.
#include "QtLoop.h"
#include "SwaySession.h"
#include "platform/focus/wlroots/WlrootsForegroundSource.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace padwright {
namespace {

using namespace testing;

const std::string Flower = "org.freedesktop.weston.flower";
const std::string Terminal = "org.freedesktop.weston.wayland-terminal";

TEST(WlrootsSource, FollowsTheActivatedWindowAndSaysWhenTheCompositorGoes) {
    SwaySession sway;
    IEventLoop& loop = testing::Loop();
    WlrootsForegroundSource source(loop, sway.Socket().c_str());
    ASSERT_TRUE(source.Available()) << source.Unavailable();
    EXPECT_EQ(source.Kind(), "wlroots");
    EXPECT_EQ(source.Current(), ForegroundProgram{});
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
        RunFor(100);
        EXPECT_EQ(seen.size(), before + 1) << next;
    }
    const std::vector<ForegroundProgram> open = source.OpenWindows();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].appId, Flower);
    EXPECT_EQ(open[1].appId, Terminal);

    flower.reset(); // its window closes; sway gives the terminal the focus
    ASSERT_TRUE(front(Terminal));
    EXPECT_EQ(source.OpenWindows().size(), 1u);

    sway.Stop();
    ASSERT_TRUE(RunUntil([&] { return !source.Available(); }));
    EXPECT_EQ(source.Unavailable(), "The connection to the Wayland compositor was lost.");
    EXPECT_EQ(source.Current(), ForegroundProgram{});
}

TEST(WlrootsSource, SaysWhyWithoutACompositorOrWithoutTheProtocol) {
    IEventLoop& loop = testing::Loop();
    WlrootsForegroundSource none(loop, "/nonexistent/wayland-0");
    EXPECT_EQ(none.Unavailable(), "No Wayland compositor answers at /nonexistent/wayland-0.");

    Sandbox box;
    const std::string socket = box.Runtime() + "/wayland-weston";
    Child weston({"/usr/bin/weston", "--backend=headless-backend.so", "--socket=" + socket},
                 {{"XDG_RUNTIME_DIR", box.Runtime()}, {"WAYLAND_DISPLAY", ""}}, box.Root());
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(socket); }, Millis(10000)));
    WlrootsForegroundSource source(loop, socket.c_str());
    EXPECT_FALSE(source.Available());
    EXPECT_EQ(source.Unavailable(), "The Wayland compositor does not tell other programs which "
                                    "window is active (it offers no wlr foreign toplevel "
                                    "management).");
}

} // namespace
} // namespace padwright
