// padwright-replay seen from outside: scripts in, printed calls and exit codes out.
#include "ReplayToolRig.h"
#include "StoreTestSupport.h"
#include "engine/Catalogue.h"
#include "engine/Lists.h"

#include <cstring>

namespace padwright {
namespace {

using namespace test;

constexpr const char* Stroke = "keybd_event vk=0x11 scan=0x1d flags=0\n"
                               "keybd_event vk=0x41 scan=0x1e flags=0\n"
                               "keybd_event vk=0x41 scan=0x1e flags=2\n"
                               "keybd_event vk=0x11 scan=0x1d flags=2\n";

TEST_F(ReplayTool, AnEmptyScriptPrintsNothing) {
    const Result r = Run("# nothing\n\n   \n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST_F(ReplayTool, KeyStrokeFromAStoredProfileAndItsShowLine) {
    TProfile p = NewProfile("Keys");
    AssignFunction(p.Mappings[ButtonSlot(0)], "VK_A");
    p.Mappings[ButtonSlot(0)].Ctrl = 1;
    const fs::path store = WriteStore({NewProfile("Empty"), p});
    const Result r = Run("controller profile=2 buttons=4 repeatkeys=0\n"
                         "set 1 buttons=1\n"
                         "cycle 5\n"
                         "show 2 48\n"
                         "set 1 buttons=\n"
                         "cycle\n"
                         "show 2 48\n",
                         {"--store", store.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string(Stroke) + "profile 2 slot 48 PressState=1 RepeatCountdown=0\n"
                                           "profile 2 slot 48 PressState=0 RepeatCountdown=0\n");
}

TEST_F(ReplayTool, TheScriptMayComeFromAFile) {
    std::ofstream(dir / "s.txt") << "profile P\nmap 1 48 VK_A ctrl\ncontroller profile=1 "
                                    "buttons=1 repeatkeys=0\nset 1 buttons=1\ncycle\n";
    const Result r = Run("cycle 100\n", {(dir / "s.txt").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Stroke);
}

TEST_F(ReplayTool, NumberFormatsOfEveryOutputLine) {
    const Result r = Run("profile P\n"
                         "map 1 0 MOUSE_MOVE_X_NEG\n"
                         "map 1 3 MOUSE_MOVE_Y_POS\n"
                         "map 1 48 MOUSE_WHEEL_FORWARD\n"
                         "map 1 49 VOLUME_UP\n"
                         "map 1 50 EWX_POWEROFF\n"
                         "map 1 51 MOUSE_MIDDLE_CLICK\n"
                         "controller profile=1 buttons=4\n"
                         "set 1 x=-7 y=2000000000 buttons=1,2,3,4\n"
                         "cycle\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "mouse_event flags=0x0001 dx=-7 dy=0 data=0\n"
                     "mouse_event flags=0x0001 dx=0 dy=2000000000 data=0\n"
                     "mouse_event flags=0x0800 dx=0 dy=0 data=-120\n"
                     "WM_APPCOMMAND lparam=0x000a0000\n"
                     "ExitWindowsEx flags=8 reason=0xffffffff\n"
                     "mouse_event flags=0x0020 dx=0 dy=0 data=0\n");
}

TEST_F(ReplayTool, HatsAxesAndUnnamedValuesKeepTheirLastSetting) {
    const Result r = Run("profile P\n"
                         "map 1 18 VK_RIGHT\n" // hat 1 "Right"
                         "map 1 25 VK_UP\n"    // hat 2 "U-R"
                         "map 1 13 VK_SPACE\n" // slider 1 "+"
                         "controller profile=1 sliders=1 hats=2 povmax=3,7,0,0\n"
                         "set 1 hat1=9000 hat2=4500\n"
                         "cycle\n"
                         "set 1 slider1=5\n"
                         "cycle\n"
                         "set 1 hat1=c hat2=c slider1=0\n"
                         "cycle\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // "Auto-repeat all keys" is on by default: a key goes down on each run while held.
    EXPECT_EQ(r.out, "keybd_event vk=0x27 scan=0x4d flags=0\n"
                     "keybd_event vk=0x26 scan=0x48 flags=0\n"
                     "keybd_event vk=0x20 scan=0x39 flags=0\n"
                     "keybd_event vk=0x27 scan=0x4d flags=0\n"
                     "keybd_event vk=0x26 scan=0x48 flags=0\n"
                     "keybd_event vk=0x20 scan=0x39 flags=2\n"
                     "keybd_event vk=0x27 scan=0x4d flags=2\n"
                     "keybd_event vk=0x26 scan=0x48 flags=2\n");
}

TEST_F(ReplayTool, RepeatTimingFollowsTicks) {
    const Result r = Run("profile P\n"
                         "map 1 48 MOUSE_WHEEL_BACK rate=16\n"
                         "controller profile=1 buttons=1\n"
                         "set 1 buttons=1\n"
                         "cycle 2\n" // a step, then the press turns into repetition
                         "show 1 48\n"
                         "cycle\n"
                         "show 1 48\n"
                         "tick\n"
                         "cycle\n"
                         "show 1 48\n"
                         "tick 2\n"
                         "cycle\n"
                         "show 1 48\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "mouse_event flags=0x0800 dx=0 dy=0 data=120\n"
                     "profile 1 slot 48 PressState=2 RepeatCountdown=0\n"
                     "mouse_event flags=0x0800 dx=0 dy=0 data=120\n"
                     "profile 1 slot 48 PressState=2 RepeatCountdown=62\n"
                     "profile 1 slot 48 PressState=2 RepeatCountdown=32\n"
                     "mouse_event flags=0x0800 dx=0 dy=0 data=120\n"
                     "profile 1 slot 48 PressState=2 RepeatCountdown=62\n");
}

TEST_F(ReplayTool, FailingPollDropsTheControllerLogsAndPauses) {
    const fs::path log = dir / "Padwright.log";
    const Result r = Run("profile P\n"
                         "map 1 48 MOUSE_LEFT_CLICK\n"
                         "controller profile=1 buttons=1\n"
                         "controller profile=1 buttons=1 acquired=0\n"
                         "set 1 buttons=1\n"
                         "cycle\n"
                         "fail 1 state 0x80070005\n"
                         "cycle\n"
                         "fail 1 state 0\n"
                         "fail 1 poll 8007001E\n"
                         "cycle 2\n",
                         {"--log", log.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "mouse_event flags=0x0002 dx=0 dy=0 data=0\n"
                     "mouse_event flags=0x0004 dx=0 dy=0 data=0\n"
                     "PauseReading\n"
                     "PauseReading\n");
    EXPECT_EQ(Read(log),
              "Failed to obtain the device state: \"The device already has an event notification "
              "associated with it.\" or \"The specified property cannot be changed.\" or "
              "\"Another application has a higher priority level, preventing this call from "
              "succeeding. \"\r\n"
              "Failed to poll device: Access to the input device has been lost. It must be "
              "reacquired.\r\n");
}

TEST_F(ReplayTool, ValuesTheEngineBoundsAreAccepted) {
    const Result r = Run("profile P\n"
                         "map 1 48 VK_A\n"
                         "controller profile=7 buttons=300 sliders=9 hats=12 povmax=9,9,9,9\n"
                         "set 1 buttons=1,200\n"
                         "cycle\n"
                         "controller profile=1 buttons=-4\n"
                         "set 2 buttons=1\n"
                         "cycle\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The second run evaluates the second controller's axes, so reading goes on.
    EXPECT_EQ(r.out, "PauseReading\n");
}

TEST_F(ReplayTool, AMalformedLineStopsWithItsNumberAndExitCode2) {
    const struct {
        const char* line;
    } cases[] = {{"cycle x"},
                 {"controller threshold=3"},
                 {"set 1 q=4"},
                 {"set 2 x=1"},
                 {"fail 1 poll zz"},
                 {"fail 1 probe 0"},
                 {"show 1 176"},
                 {"show 3 0"},
                 {"frobnicate"},
                 {"set 1 x=99999999999"},
                 {"set 1 buttons=0"},
                 {"controller profile=1 povmax=3"},
                 {"map 1 48 VK_NOPE"},
                 {"tick -1"},
                 {"controller profile=1 acquired=2"}};
    for (const auto& c : cases) {
        const Result r = Run("profile P\ncontroller profile=1 buttons=1\n# comment\n" +
                             std::string(c.line) + "\ncycle\n");
        EXPECT_EQ(r.exitCode, 2) << c.line;
        EXPECT_EQ(r.out, "") << c.line;
        EXPECT_NE(r.err.find("line 4"), std::string::npos) << c.line << ": " << r.err;
    }
}

TEST_F(ReplayTool, OutputBeforeAMalformedLineIsKept) {
    const Result r = Run("cycle\nbogus\ncycle\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "PauseReading\n");
}

TEST_F(ReplayTool, AStoreOfTheWrongSizeStopsWithTheProgramsWarning) {
    const fs::path store = WriteStore({NewProfile("A")}, 100);
    const Result r = Run("cycle\n", {"--store", store.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Padwright.pro is not compatible with this version."), std::string::npos)
        << r.err;
}

TEST_F(ReplayTool, AHugeSparseStoreIsRefusedAsTooLarge) {
    const fs::path store = dir / "Padwright.pro";
    std::ofstream(store).close();
    ResizeSparse(store, std::int64_t(15040) << 26); // a terabyte of holes
    // With memory capped, an attempt to load it all fails fast instead of filling the machine.
    // AddressSanitizer reserves terabytes of address space for itself, so it runs uncapped.
#if defined(__SANITIZE_ADDRESS__)
    const bool cap = false;
#else
    const bool cap = true;
#endif
    const Result r = Run("cycle\n", {"--store", store.string()}, cap);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.err, "padwright-replay: File too large: " + store.string() + "\n");
}

TEST_F(ReplayTool, ALegacyStoreIsConvertedBySaveStore) {
    // Two legacy records of 10048 bytes: name field, then 144 entries of 68 bytes.
    std::string legacy(2 * 10048, '\0');
    for (int r = 0; r < 2; ++r) {
        char* record = legacy.data() + r * 10048;
        record[0] = 1;
        record[1] = static_cast<char>('A' + r);
        char* button1 = record + 256 + 68 * 16; // legacy position 16: button 1
        button1[0] = 3;
        std::memcpy(button1 + 1, "Esc", 3);
    }
    std::ofstream(dir / "old.pro", std::ios::binary) << legacy;
    const fs::path saved = dir / "new.pro";
    const Result r =
        Run("profile C\n", {"--store", (dir / "old.pro").string(), "--save-store", saved.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string bytes = Read(saved);
    ASSERT_EQ(bytes.size(), 3u * sizeof(TProfile));
    TProfile second;
    std::memcpy(&second, bytes.data() + sizeof(TProfile), sizeof second);
    EXPECT_EQ(second.Name.view(), "B");
    EXPECT_EQ(second.Mappings[48].FunctionName.view(), "Esc");
    EXPECT_EQ(bytes.substr(2 * sizeof(TProfile) + 1, 1), "C");
}

TEST_F(ReplayTool, AFailedSaveStorePrintsTheErrorAndExits1) {
    const fs::path target = dir / "missing" / "new.pro";
    const Result r = Run("profile C\n", {"--save-store", target.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("File not found: " + target.string()), std::string::npos) << r.err;
}

// What --save-store writes, --store reads: a profile past the store's limit is refused.
TEST_F(ReplayTool, SaveStoreStopsAtTheProfilesALoadAccepts) {
    std::string script;
    for (int i = 1; i <= 4097; ++i)
        script += "profile P" + std::to_string(i) + "\n";
    const std::string store = (dir / "g.pro").string();
    const Result r = Run(script, {"--save-store", store});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("line 4097: A profile store holds at most 4096 profiles."),
              std::string::npos)
        << r.err;
    const Result again = Run("show 4096 0\n", {"--store", store});
    EXPECT_EQ(again.exitCode, 0) << again.err;
}

TEST_F(ReplayTool, AMissingStoreOrUnwritableLogStopsWithExitCode1) {
    Result r = Run("cycle\n", {"--store", (dir / "none.pro").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("File not found"), std::string::npos) << r.err;
    r = Run("cycle\n", {"--log", (dir / "no" / "x.log").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
}

TEST_F(ReplayTool, BadArgumentsGiveTheUsage) {
    const Result r = Run("", {"--frob"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("usage: padwright-replay"), std::string::npos);
}

TEST_F(ReplayTool, TheDemoRuns) {
    std::ifstream demo(std::string(PADWRIGHT_SOURCE_DIR) + "/tools/replay/demo.txt");
    std::ostringstream script;
    script << demo.rdbuf();
    const Result r = Run(script.str());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("keybd_event vk=0x11 scan=0x1d flags=0\n")) << r.out;
    EXPECT_TRUE(r.out.ends_with("PauseReading\n")) << r.out;
}

} // namespace
} // namespace padwright
