// The core without any window or toolkit: commands from outside a window, the reading switch on
// its timers, and what the views are told, on an event loop the test turns by hand.
#include "core/Core.h"

#include "FixtureHelpers.h"
#include "StoreTestSupport.h"
#include "engine/Catalogue.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "platform/settings/MemorySettings.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace padwright {
namespace {

class ManualLoop final : public IEventLoop {
public:
    struct Timer final : ITimer {
        void Start() override { active = true; }
        void Stop() override { active = false; }
        bool IsActive() const override { return active; }
        void SetInterval(int ms) override { interval = ms; }
        int Interval() const override { return interval; }
        bool active = false;
        int interval = 0;
    };
    std::unique_ptr<ITimer> CreateTimer(int ms, TimerMode, std::function<void()>) override {
        auto timer = std::make_unique<Timer>();
        timer->interval = ms;
        return timer;
    }
    std::unique_ptr<IDescriptorWatch> Watch(int, std::function<void()>) override {
        return std::make_unique<IDescriptorWatch>();
    }
};

struct Told final : ICoreView {
    void ReadingChanged(bool on) override { seen.push_back(on ? "reading" : "paused"); }
    void ControllersChanged() override { seen.push_back("controllers"); }
    std::vector<std::string> seen;
};

struct Rig {
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    ManualLoop loop;
    RecordingInjector injector;
    RecordingSession session;
    test::RecordingBoxes boxes;
    Registry settings{std::make_unique<MemorySettings>()};
    Core core{CoreParts{loop, injector, session, boxes, settings,
                        [this](std::shared_ptr<IDirectInput8>& out) {
                            out = CreateFixtureDirectInput(kernel, nullptr);
                            return DI_OK;
                        },
                        nullptr, "/nonexistent/Padwright.pro"}};

    std::vector<std::pair<std::uint8_t, bool>> Keys() const { // vk, released
        std::vector<std::pair<std::uint8_t, bool>> keys;
        for (const InjectedCall& call : injector.calls)
            if (call.type == InjectedCall::Key)
                keys.emplace_back(call.vk, (call.flags & KEYEVENTF_KEYUP) != 0);
        return keys;
    }
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
    ASSERT_TRUE(rig.core.ReadingOn());
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
    EXPECT_FALSE(rig.core.ReadingOn());
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
        ASSERT_TRUE(rig.core.ReadingOn());
        rig.core.ChooseProfile(controller, profile);
        EXPECT_FALSE(rig.core.ReadingOn());
        EXPECT_EQ(rig.core.Lists.ActiveJoysticks[0].Profile, 0);
    }
}

} // namespace
} // namespace padwright
