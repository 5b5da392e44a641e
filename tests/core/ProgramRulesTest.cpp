// Profiles that follow the program in front, driven through a fake desktop source: which profile
// each of two controllers uses after each step, what is released at a switch, and what Save and
// the Exit question make of it.
#include "core/ProgramRules.h"
#include "CoreRig.h"
#include "core/InstanceCommands.h"
#include "engine/Catalogue.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <sstream>

namespace padwright {
namespace {

const std::string GuidA = "{0A000000-0000-0000-0000-000000000001}";
const std::string GuidB = "{0B000000-0000-0000-0000-000000000002}";

struct FakeSource final : IForegroundSource {
    std::function<void(const ForegroundProgram&)> changed;
    std::string Kind() const override { return "fake"; }
    bool Available() const override { return true; }
    std::string Unavailable() const override { return {}; }
    void Watch(std::function<void(const ForegroundProgram&)> callback) override {
        changed = std::move(callback);
    }
    ForegroundProgram Current() const override { return {}; }
    std::vector<ForegroundProgram> OpenWindows() const override { return {}; }
};

struct Following {
    test::Rig rig;
    FakeSource source;
    ProgramFollower follower{rig.core};
    Core& core = rig.core;

    explicit Following(std::vector<TProgramRule> rules, std::string store = {})
        : rig(store.empty() ? test::Rig() : test::Rig(store)) {
        for (const char* name : {"P1", "P2", "P3", "P4"})
            core.Lists.Profiles.push_back(NewProfile(name));
        std::uint32_t id = 0;
        for (const std::string& guid : {GuidA, GuidB}) {
            TJoystick& pad = core.Lists.ActiveJoysticks.push_back(TJoystick{});
            pad.Name = "Pad";
            pad.JoystickID = id++;
            StringToGuid(guid, pad.Guid);
            pad.Profile = 1;
        }
        core.Lists.Programs = std::move(rules);
        source.Watch(
            [this](const ForegroundProgram& program) { follower.ProgramInFront(program); });
    }

    // "front class=x", "front own", "choose A 3", "command B P4", "delete 2", "rules x 4".
    void Do(const std::string& step) {
        std::istringstream words(step);
        std::string verb, what, value;
        words >> verb >> what >> value;
        const std::size_t pad = what == "B" ? 1 : 0;
        if (verb == "front") {
            ForegroundProgram program;
            const std::string field = what.substr(0, what.find('='));
            const std::string name = what.substr(what.find('=') + 1);
            program.own = field == "own";
            (field == "class"      ? program.wmClass
             : field == "instance" ? program.wmInstance
             : field == "app"      ? program.appId
                                   : program.executable) = program.own ? "padwright" : name;
            source.changed(program);
        } else if (verb == "choose") {
            core.ChooseProfile(static_cast<int>(pad), std::stoi(value) - 1);
        } else if (verb == "command") {
            EXPECT_EQ(SwitchToProfileNamed(core, value, static_cast<std::uint32_t>(pad)), "");
        } else if (verb == "delete") {
            core.DeleteProfile(static_cast<std::size_t>(std::stoi(what) - 1));
        } else if (verb == "rules") {
            core.Lists.Programs = {{what, std::stoi(value), ""}};
            follower.RulesChanged();
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

struct Step {
    std::string action;
    std::string expect;
};
struct Case {
    const char* name;
    std::vector<TProgramRule> rules;
    std::vector<Step> steps;
};

TEST(ProgramRulesTest, ProfilesFollowTheProgramInFront) {
    const Case cases[] = {
        {"a rule for all, and back to the own choice when none matches",
         {{"game", 2, ""}},
         {{"front class=game", "P2 P2"}, {"front class=editor", "P1 P1"}}},
        {"any of the four names, ignoring case, exactly",
         {{"FireFox", 3, ""}},
         {{"front instance=firefox", "P3 P3"},
          {"front app=org.mozilla.firefox", "P1 P1"},
          {"front exe=FIREFOX", "P3 P3"},
          {"front class=firefox-esr", "P1 P1"},
          {"front app=firefox", "P3 P3"}}},
        {"a rule for one controller comes before one for all, whatever the order",
         {{"game", 2, ""}, {"game", 4, GuidB}, {"game", 3, GuidB}},
         {{"front class=game", "P2 P4"}}},
        {"a rule naming a profile that does not exist is passed over",
         {{"game", 9, ""}, {"game", 0, ""}, {"game", 3, ""}},
         {{"front class=game", "P3 P3"}}},
        {"own windows leave the program in front, and a choice made there lasts",
         {{"game", 2, ""}},
         {{"front class=game", "P2 P2"},
          {"front own", "P2 P2"},
          {"choose A 3", "P3 P2"},
          {"front class=game", "P3 P2"},
          {"front class=editor", "P3 P1"},
          {"front class=game", "P2 P2"},
          {"front class=editor", "P3 P1"}}},
        {"a choice while a rule is in force lasts until the program in front changes",
         {{"game", 2, ""}, {"other", 2, ""}},
         {{"front class=game", "P2 P2"}, {"choose A 4", "P4 P2"}, {"front class=other", "P2 P2"}}},
        {"choosing the rule's own profile is no choice: the own one comes back",
         {{"game", 2, ""}},
         {{"front class=game", "P2 P2"}, {"choose A 2", "P2 P2"}, {"front class=x", "P1 P1"}}},
        {"a command's profile stays until a rule takes the controller",
         {{"game", 2, ""}},
         {{"front class=term", "P1 P1"},
          {"command B P4", "P1 P4"},
          {"front class=editor", "P1 P4"},
          {"front class=game", "P2 P2"},
          {"command A P3", "P3 P2"},
          {"front class=editor", "P1 P1"}}},
        {"deleting a profile deletes its rules and renumbers the others",
         {{"game", 2, ""}, {"tool", 4, GuidA}},
         {{"front class=game", "P2 P2"},
          {"delete 2", "P1 P1"},
          {"front class=tool", "P4 P1"},
          {"delete 1", "P4 -"},
          {"front class=game", "- -"}}},
        {"rules changed apply to the program in front at once",
         {},
         {{"front exe=game", "P1 P1"}, {"rules GAME 3", "P3 P3"}, {"rules other 3", "P1 P1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Following following(c.rules);
        for (const Step& step : c.steps) {
            following.Do(step.action);
            EXPECT_EQ(following.InEffect(), step.expect) << step.action;
        }
    }
}

TEST(ProgramRulesTest, DeletingAProfileRenumbersTheRulesAsTheControllers) {
    Following following({{"a", 1, ""}, {"b", 2, GuidA}, {"c", 3, ""}, {"d", 7, ""}});
    following.core.DeleteProfile(1);
    std::vector<std::pair<std::string, int>> left;
    for (const TProgramRule& rule : following.core.Lists.Programs)
        left.emplace_back(rule.Program, rule.Profile);
    EXPECT_EQ(left, (std::vector<std::pair<std::string, int>>{{"a", 1}, {"c", 2}, {"d", 6}}));
}

// A switch releases what the old profile holds at once and presses nothing by itself; the next
// run reads the held button through the new profile, as after a choice in the window.
TEST(ProgramRulesTest, ASwitchReleasesWhatTheOldProfileHolds) {
    test::Rig rig;
    const int pad = testing::AddFixture(*rig.kernel, "usb-gamepad-0079-0011.evemu");
    rig.core.StartDirectInput();
    rig.core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
    rig.core.AddController();
    for (const char* key : {"VK_A", "VK_B"}) {
        TProfile& profile = rig.core.Lists.Profiles.push_back(NewProfile(key));
        AssignFunction(profile.Mappings[ButtonSlot(0)], key);
    }
    rig.core.Lists.Programs = {{"game", 2, ""}};
    ProgramFollower follower(rig.core);
    rig.core.ChooseProfile(0, 0);
    rig.kernel->Push(pad, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    rig.core.tmrDataCollectTimer();
    using Keys = std::vector<std::pair<std::uint8_t, bool>>;
    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}}));

    ForegroundProgram game;
    game.wmClass = "game";
    follower.ProgramInFront(game);
    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}, {0x41, true}}));
    EXPECT_TRUE(rig.core.IsReading());
    rig.core.tmrDataCollectTimer();
    EXPECT_EQ(rig.Keys(), (Keys{{0x41, false}, {0x41, true}, {0x42, false}}));
}

// Save keeps each controller's own choice and the rules; neither a rule's switch nor a command's
// is a change the Exit question asks about, a choice of the user's is. A rule whose profile is
// not there is read, kept and logged once.
TEST(ProgramRulesTest, SaveKeepsTheOwnChoiceAndTheRules) {
    Following following({{"game", 2, ""}, {"tool", 3, GuidB}},
                        ::testing::TempDir() + "program-rules.pro");
    Core& core = following.core;
    core.RememberSaved(false);
    following.Do("front class=game");
    following.Do("command A P4");
    EXPECT_EQ(following.InEffect(), "P4 P2");
    EXPECT_FALSE(core.ChangedSinceSaved(false));
    following.Do("choose B 3");
    EXPECT_TRUE(core.ChangedSinceSaved(false));
    core.Save(false);

    Registry& settings = following.rig.settings;
    RegistryKey byHand = settings.CreateSubkey("Programs/3");
    byHand.WriteString("Program", "gone");
    byHand.WriteDword("Profile", 5);
    settings.CreateSubkey("Programs").WriteDword("size", 3);
    core.Lists.ActiveJoysticks.clear();
    core.Lists.Programs.clear();
    const std::string log = ::testing::TempDir() + "program-rules.log";
    core.Log.Open(log);
    ApplicationSettingsFields fields;
    core.LoadApplicationSettings(fields);
    core.Log.Close();

    std::vector<std::int32_t> own;
    for (const TJoystick& pad : core.Lists.ActiveJoysticks)
        own.push_back(pad.Profile);
    EXPECT_EQ(own, (std::vector<std::int32_t>{1, 3}));
    std::vector<std::string> rules;
    for (const TProgramRule& rule : core.Lists.Programs)
        rules.push_back(rule.Program + " " + std::to_string(rule.Profile) + " " + rule.Controller);
    EXPECT_EQ(rules, (std::vector<std::string>{"game 2 ", "tool 3 " + GuidB, "gone 5 "}));
    EXPECT_EQ(test::ReadBytes(log), "Program rule 3 (\"gone\") names profile 5, which does not "
                                    "exist: it is kept and ignored.\r\n");
}

} // namespace
} // namespace padwright
