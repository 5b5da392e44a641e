// The program following the program in front on an X11 desktop, its pad holding button 0: each
// change of window is seen with `padwright --status` and in the keys the X server holds down.
#include <gtest/gtest.h>

#include "FollowingDesk.h" // Xlib's macros last

#include <X11/keysym.h>

namespace padwright::testing {
namespace {

TEST(Following, FocusSwitchesTheProfileAndReleasesWhatTheOldOneHeld) {
    FollowingDesk desk(PADWRIGHT_SOURCE_DIR "/tools/uidemo/usb-gamepad-held.evemu");
    ASSERT_TRUE(WaitUntil([&] { return desk.Holds(XK_a); }, Millis(10000)))
        << desk.run.program->Stderr();
    const std::optional<XID> own = desk.x.FindWindow("Padwright", false);
    ASSERT_TRUE(own.has_value());

    const struct {
        Window front;
        const char *profile, *inFront;
        KeySym held, released;
    } steps[] = {
        {desk.game, "Game", "Game", XK_b, XK_a},
        {*own, "Game", "Game", XK_b, XK_a},          // Padwright's own window is no change
        {desk.editor, "Desk", "Editor", XK_a, XK_b}, // no rule: the pad's own choice again
    };
    for (const auto& step : steps) {
        desk.Activate(step.front);
        const std::string line = "Name: USB Gamepad -- ID: 0\t" + std::string(step.profile) +
                                 "\ton\t" + step.inFront + "\n";
        EXPECT_TRUE(WaitUntil([&] { return desk.run.StatusLines() == line; }, Millis(10000)))
            << step.inFront << ": " << desk.run.StatusLines();
        EXPECT_TRUE(WaitUntil([&] { return desk.Holds(step.held) && !desk.Holds(step.released); },
                              Millis(5000)))
            << step.inFront;
    }
    // A switch by a rule is no unsaved change: no question holds the close up.
    desk.x.Close(*own);
    EXPECT_EQ(desk.run.program->Wait(Millis(10000)), 0) << desk.run.program->Stderr();
}

} // namespace
} // namespace padwright::testing
