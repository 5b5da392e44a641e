// The core without any window or toolkit: commands from outside a window, the reading switch on
// its timers, and what the views are told, on an event loop the test turns by hand.
#include "CoreRig.h"
#include "engine/Catalogue.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace padwright {
namespace {

using test::Rig;

struct Told final : ICoreView {
    void ReadingChanged(bool on) override { seen.push_back(on ? "reading" : "paused"); }
    void ControllersChanged() override { seen.push_back("controllers"); }
    std::vector<std::string> seen;
};

TEST(CoreTest, ACommandChangesAControllersProfileWithoutAWindow) {
    Rig rig;
    Told told;
    rig.core.Subscribe(told);
    const int pad = testing::AddFixture(*rig.kernel, "usb-gamepad-0079-0011.evemu");
    rig.core.StartDirectInput();
    rig.core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
    rig.core.AddController();
    for (const char* key : {"VK_A", "VK_B"}) {
        TProfile& profile = rig.core.Lists.Profiles.push_back(NewProfile(key));
        AssignFunction(profile.Mappings[ButtonSlot(0)], key);
    }
    rig.core.StartReading();
    ASSERT_TRUE(rig.core.IsReading());
    EXPECT_TRUE(rig.core.tmrDataCollect->IsActive());

    rig.core.ChooseProfile(0, 0);
    rig.kernel->Push(pad, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    rig.core.tmrDataCollectTimer();
    // Moved while the button is held: its key on the old profile is let go, the new one's
    // pressed by the next run.
    rig.core.ChooseProfile(0, 1);
    EXPECT_EQ(rig.core.Lists.ActiveJoysticks[0].Profile, 2);
    rig.core.tmrDataCollectTimer();
    rig.core.StopReading();

    const std::vector<std::pair<std::uint8_t, bool>> keys = {
        {0x41, false}, {0x41, true}, {0x42, false}, {0x42, true}};
    EXPECT_EQ(rig.Keys(), keys);
    EXPECT_FALSE(rig.core.IsReading());
    EXPECT_FALSE(rig.core.tmrDataCollect->IsActive());
    EXPECT_EQ(told.seen.front(), "controllers");
    EXPECT_EQ(told.seen.back(), "controllers");
    EXPECT_NE(std::find(told.seen.begin(), told.seen.end(), "paused"), told.seen.end());
    rig.core.Unsubscribe(told);
}

// Choosing nothing (no controller or no profile) pauses reading and leaves it paused, as the
// profile list with nothing selected does.
TEST(CoreTest, ChoosingNothingLeavesReadingPaused) {
    for (const auto& [controller, profile] : {std::pair{-1, 0}, {0, -1}, {0, 5}}) {
        Rig rig;
        testing::AddFixture(*rig.kernel, "usb-gamepad-0079-0011.evemu");
        rig.core.StartDirectInput();
        rig.core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
        rig.core.AddController();
        rig.core.Lists.Profiles.push_back(NewProfile("P"));
        rig.core.StartReading();
        ASSERT_TRUE(rig.core.IsReading());
        rig.core.ChooseProfile(controller, profile);
        EXPECT_FALSE(rig.core.IsReading());
        EXPECT_EQ(rig.core.Lists.ActiveJoysticks[0].Profile, 0);
    }
}

} // namespace
} // namespace padwright
