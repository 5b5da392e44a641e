// The core without any window or toolkit: commands from outside a window, the reading switch on
// its timers, what the views are told, and profiles that follow the program in front, on an event
// loop the test turns by hand.
#include "core/Core.h"

#include "FixtureHelpers.h"
#include "StoreTestSupport.h"
#include "core/InstanceCommands.h"
#include "core/ProgramRules.h"
#include "engine/Catalogue.h"
#include "platform/eventloop/ManualEventLoop.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "platform/settings/MemorySettings.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <sstream>

namespace padwright {
namespace {

struct Told final : ICoreView {
    void ReadingChanged(bool on) override { seen.push_back(on ? "reading" : "paused"); }
    void ControllersChanged() override { seen.push_back("controllers"); }
    std::vector<std::string> seen;
};

struct Rig {
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    ManualEventLoop loop;
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

    // An active, open gamepad and profiles "VK_A" and "VK_B" whose button 0 types that key.
    int AddPadAndKeyProfiles() {
        const int pad = testing::AddFixture(*kernel, "usb-gamepad-0079-0011.evemu");
        core.StartDirectInput();
        core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
        core.AddController();
        for (const char* key : {"VK_A", "VK_B"}) {
            TProfile& profile = core.Lists.Profiles.push_back(NewProfile(key));
            AssignFunction(profile.Mappings[ButtonSlot(0)], key);
        }
        return pad;
    }

    std::vector<std::pair<std::uint8_t, bool>> Keys() const { // vk, released
        std::vector<std::pair<std::uint8_t, bool>> keys;
        for (const InjectedCall& call : injector.calls)
            if (call.type == InjectedCall::Key)
                keys.emplace_back(call.vk, (call.flags & KEYEVENTF_KEYUP) != 0);
        return keys;
    }
};
using Keys = std::vector<std::pair<std::uint8_t, bool>>;

TEST(CoreTest, ACommandChangesAControllersProfileWithoutAWindow) {
    Rig rig;
    Told told;
    rig.core.Subscribe(told);
    const int pad = rig.AddPadAndKeyProfiles();
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

    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}, {0x41, true}, {0x42, false}, {0x42, true}}));
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
        rig.AddPadAndKeyProfiles();
        rig.core.StartReading();
        ASSERT_TRUE(rig.core.ReadingOn());
        rig.core.ChooseProfile(controller, profile);
        EXPECT_FALSE(rig.core.ReadingOn());
        EXPECT_EQ(rig.core.Lists.ActiveJoysticks[0].Profile, 0);
    }
}

// ---- Profiles that follow the program in front, reported by a fake desktop ----

const std::string GuidB = "{0B000000-0000-0000-0000-000000000002}";

struct FakeSource final : IForegroundSource {
    std::function<void(const ForegroundProgram&)> changed;
    std::string Kind() const override { return "fake"; }
    bool Available() const override { return true; }
    std::string Unavailable() const override { return {}; }
    void Watch(std::function<void(const ForegroundProgram&)> c) override { changed = c; }
    ForegroundProgram Current() const override { return {}; }
    std::vector<ForegroundProgram> OpenWindows() const override { return {}; }
};

// Controllers A (ID 0) and B (ID 1, GUID GuidB), both on P1 of profiles P1 to P4.
struct Following : Rig {
    FakeSource source;
    ProgramFollower follower{core};

    explicit Following(std::vector<TProgramRule> rules) {
        for (const char* name : {"P1", "P2", "P3", "P4"})
            core.Lists.Profiles.push_back(NewProfile(name));
        for (std::uint32_t id : {0u, 1u}) {
            TJoystick& pad = core.Lists.ActiveJoysticks.push_back(TJoystick{});
            pad.Name = "Pad";
            pad.JoystickID = id;
            pad.Profile = 1;
            StringToGuid(id ? GuidB : "{0A000000-0000-0000-0000-000000000001}", pad.Guid);
        }
        core.Lists.Programs = std::move(rules);
        source.Watch(
            [this](const ForegroundProgram& program) { follower.ProgramInFront(program); });
    }

    // "class=x" (also instance=, app=, exe=), "own", "choose A 3", "command B P4", "delete 2",
    // "rules x 3" (one rule for all, in place of the others).
    void Do(const std::string& step) {
        std::istringstream words(step);
        std::string verb, what, value;
        words >> verb >> what >> value;
        const std::size_t pad = what == "B" ? 1 : 0;
        if (verb == "choose")
            core.ChooseProfile(static_cast<int>(pad), std::stoi(value) - 1);
        else if (verb == "command")
            EXPECT_EQ(SwitchToProfileNamed(core, value, static_cast<std::uint32_t>(pad)), "");
        else if (verb == "delete")
            core.DeleteProfile(static_cast<std::size_t>(std::stoi(what) - 1));
        else if (verb == "rules") {
            core.Lists.Programs = {{what, std::stoi(value), ""}};
            follower.RulesChanged();
        } else {
            ForegroundProgram program;
            const std::string name = verb.substr(verb.find('=') + 1);
            program.own = verb == "own";
            (verb.starts_with("class")      ? program.wmClass
             : verb.starts_with("instance") ? program.wmInstance
             : verb.starts_with("app")      ? program.appId
                                            : program.executable) = name;
            source.changed(program);
        }
    }

    // The profiles in effect, "P2 P1"; "-" for none.
    std::string InEffect() {
        std::string out;
        for (const TJoystick& pad : core.Lists.ActiveJoysticks) {
            const TProfile* profile = core.Lists.ProfileOf(pad);
            out += (out.empty() ? "" : " ") + (profile ? profile->Name.str() : std::string("-"));
        }
        return out;
    }
};

// Each case: rules, then steps, each "step > the profiles in effect after it".
TEST(ProgramRules, ProfilesFollowTheProgramInFront) {
    const std::pair<std::vector<TProgramRule>, std::vector<const char*>> cases[] = {
        // A rule for all, and back to the own choice when none matches.
        {{{"game", 2, ""}}, {"class=game > P2 P2", "class=editor > P1 P1"}},
        // Any of the four names, ignoring case, exactly.
        {{{"FireFox", 3, ""}},
         {"instance=firefox > P3 P3", "app=org.mozilla.firefox > P1 P1", "exe=FIREFOX > P3 P3",
          "class=firefox-esr > P1 P1", "app=firefox > P3 P3"}},
        // A rule for one controller before one for all; missing profiles passed over.
        {{{"game", 2, ""}, {"game", 9, GuidB}, {"game", 4, GuidB}, {"game", 3, GuidB}},
         {"class=game > P2 P4"}},
        // Own windows leave the program in front, and a choice made there lasts.
        {{{"game", 2, ""}},
         {"class=game > P2 P2", "own > P2 P2", "choose A 3 > P3 P2", "class=game > P3 P2",
          "class=editor > P3 P1", "class=game > P2 P2"}},
        // A choice while a rule holds lasts until the program in front changes.
        {{{"game", 2, ""}, {"other", 2, ""}},
         {"class=game > P2 P2", "choose A 4 > P4 P2", "class=other > P2 P2"}},
        // Choosing the profile a rule set is no choice.
        {{{"game", 2, ""}}, {"class=game > P2 P2", "choose A 2 > P2 P2", "class=x > P1 P1"}},
        // A command's profile stays until a rule takes the controller.
        {{{"game", 2, ""}},
         {"class=term > P1 P1", "command B P4 > P1 P4", "class=editor > P1 P4",
          "class=game > P2 P2", "command A P3 > P3 P2", "class=editor > P1 P1"}},
        // Deleting a profile deletes its rules and renumbers the others.
        {{{"game", 2, ""}, {"tool", 4, ""}},
         {"class=game > P2 P2", "delete 2 > P1 P1", "class=tool > P4 P4", "delete 1 > P4 P4",
          "class=game > - -"}},
        // Changed rules apply at once.
        {{}, {"exe=game > P1 P1", "rules GAME 3 > P3 P3", "rules other 3 > P1 P1"}},
    };
    for (const auto& [rules, steps] : cases) {
        Following following(rules);
        for (const std::string step : steps) {
            following.Do(step.substr(0, step.find(" > ")));
            EXPECT_EQ(following.InEffect(), step.substr(step.find(" > ") + 3)) << step;
        }
    }
}

// A switch releases what the old profile holds at once and presses nothing by itself; the next
// run reads the held button through the new profile, as after a choice in the window.
TEST(ProgramRules, ASwitchReleasesWhatTheOldProfileHolds) {
    Rig rig;
    const int pad = rig.AddPadAndKeyProfiles();
    rig.core.Lists.Programs = {{"game", 2, ""}};
    ProgramFollower follower(rig.core);
    rig.core.ChooseProfile(0, 0);
    rig.kernel->Push(pad, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    rig.core.tmrDataCollectTimer();
    ForegroundProgram game;
    game.wmClass = "game";
    follower.ProgramInFront(game);
    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}, {0x41, true}}));
    EXPECT_TRUE(rig.core.ReadingOn());
    rig.core.tmrDataCollectTimer();
    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}, {0x41, true}, {0x42, false}}));
}

// Neither a rule's switch nor a command's is a change the Exit question asks about; a choice of
// the user's is.
TEST(ProgramRules, OnlyTheUsersChoiceIsAnUnsavedChange) {
    Following following({{"game", 2, ""}});
    following.core.RememberSaved(false);
    following.Do("class=game");
    following.Do("command A P4");
    EXPECT_FALSE(following.core.ChangedSinceSaved(false));
    following.Do("choose B 3");
    EXPECT_TRUE(following.core.ChangedSinceSaved(false));
}

} // namespace
} // namespace padwright
