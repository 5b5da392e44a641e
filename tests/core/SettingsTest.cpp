#include "core/Settings.h"

#include "core/SaveHandler.h"

#include "SettingsHost.h"
#include "StorePosixSupport.h"
#include "StoreTestSupport.h"
#include "engine/Errors.h"
#include "engine/Lists.h"
#include "platform/dinput/ScriptedDevice.h"

#include <QFile>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <optional>

namespace padwright {
namespace {

using namespace test;

// QSettings takes the config folder once per process, so it is set before any test runs.
const fs::path ConfigHome = [] {
    const fs::path home =
        fs::temp_directory_path() / ("padwright-settings-" + std::to_string(::getpid()));
    fs::create_directories(home);
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    return home;
}();
const fs::path ConfigFile = ConfigHome / "Vemoskar" / "Padwright.conf";

const char* const PadGuid = "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}";

// Two objects: an absolute axis and a button. Records every property set.
struct AxisRecordingDevice : ScriptedDevice {
    std::vector<std::string>& calls;
    explicit AxisRecordingDevice(std::vector<std::string>& log) : calls(log) {}
    HRESULT EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD) override {
        DIDEVICEOBJECTINSTANCEA axis{};
        axis.guidType = GUID_XAxis;
        axis.dwType = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0);
        DIDEVICEOBJECTINSTANCEA button{};
        button.guidType = GUID_Button;
        button.dwType = DIDFT_PSHBUTTON;
        callback(axis, context);
        callback(button, context);
        return DI_OK;
    }
    HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override {
        if (property == DIPROP_RANGE) {
            const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
            calls.push_back("range " + std::to_string(range->lMin) + ".." +
                            std::to_string(range->lMax));
        } else if (property == DIPROP_DEADZONE) {
            calls.push_back("deadzone " +
                            std::to_string(reinterpret_cast<const DIPROPDWORD*>(header)->dwData));
        }
        return DI_OK;
    }
};

class SettingsTest : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        fs::remove_all(ConfigFile.parent_path());
        lists.Profiles.push_back(NewProfile("One"));
        lists.Profiles.push_back(NewProfile("Two"));
    }
    // A hand-written settings file. Each gets its own time stamp, so QSettings never mistakes
    // it for the one it read before.
    void WriteConfig(const std::string& text) {
        fs::create_directories(ConfigFile.parent_path());
        WriteBytes(ConfigFile, text);
        static long stamp = 1000000;
        const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
        ::utimensat(AT_FDCWD, ConfigFile.c_str(), times, 0);
    }
    bool Load(const std::string& text) {
        WriteConfig(text);
        Registry registry;
        SettingsContext context{registry, lists, log, host, boxes, controllers};
        return LoadSettings(context, fields);
    }
    void Save(bool startMinimized = false) {
        Registry registry;
        SettingsContext context{registry, lists, log, host, boxes, controllers};
        SaveSettings(context, startMinimized);
    }
    std::string Controller(const std::string& values, int n = 0) {
        return "[Joystick" + std::to_string(n) + "]\nName=Pad\nGUID=" + PadGuid + "\n" + values;
    }

    TLists lists;
    DiLog log;
    test::FakeSettingsHost host;
    RecordingBoxes boxes;
    ControllerAccess controllers{lists, host, {}};
    ApplicationSettingsFields fields;
};

TEST_F(SettingsTest, ApplicationValues) {
    struct Case {
        std::string general;
        int maxJoysticks;
        unsigned interval;
        bool boxChecked, hidden, logOn;
    };
    const Case cases[] = {
        {"", 4, 5, false, false, false},
        {"MaxJoysticks=100\nTimeInterval=2000", 100, 2000, false, false, false},
        {"MaxJoysticks=101\nTimeInterval=2001", 4, 5, false, false, false},
        {"MaxJoysticks=0\nTimeInterval=0", 4, 5, false, false, false},
        {"MaxJoysticks=4294967295\nTimeInterval=-1", 4, 5, false, false, false},
        {"MaxJoysticks=abc\nTimeInterval=12x\nStartMinimized=yes", 4, 5, false, false, false},
        {"MaxJoysticks=1\nTimeInterval=1\nStartMinimized=257\nLogFile=256", 1, 1, true, true,
         false},
        {"StartMinimized=2\nLogFile=3", 4, 5, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.general);
        if (log.LogEnabled())
            log.Close();
        lists.MaxJoysticks = 0;
        EXPECT_EQ(Load("[General]\n" + c.general + "\n"), c.hidden);
        EXPECT_EQ(lists.MaxJoysticks, c.maxJoysticks);
        EXPECT_EQ(host.interval, c.interval);
        EXPECT_EQ(fields.TimeInterval, std::to_string(c.interval));
        EXPECT_EQ(fields.MaxJoysticks, std::to_string(c.maxJoysticks));
        EXPECT_EQ(fields.StartMinimized, c.boxChecked);
        EXPECT_EQ(fields.LogFile, c.logOn);
        EXPECT_EQ(log.LogEnabled(), c.logOn);
    }
    EXPECT_TRUE(fs::exists("Padwright.log"));
}

TEST_F(SettingsTest, ControllerValueRules) {
    struct Case {
        std::string values;
        std::int32_t deadZone, maxVal, threshold, profile;
        bool repeatKeys;
        std::uint32_t id;
    };
    const Case cases[] = {
        {"ID=3\nDeadZone=20\nMaxVal=1000\nThreshold=300\nRepeatKeys=0\nProfile=2", 20, 1000, 300, 2,
         false, 3},
        {"", 10, 0, 0, 0, true, 0},
        {"DeadZone=0\nMaxVal=10\nThreshold=0", 10, 10, 5, 0, true, 0},
        {"DeadZone=101\nMaxVal=5", 10, 5, 2, 0, true, 0}, // 2.5 to the even 2
        {"DeadZone=-1\nMaxVal=7", 10, 7, 4, 0, true, 0},  // 3.5 to the even 4
        {"DeadZone=100\nMaxVal=1000\nThreshold=150", 100, 1000, 150, 0, true, 0},
        {"MaxVal=1000\nThreshold=1001", 10, 1000, 500, 0, true, 0},
        {"MaxVal=1000\nThreshold=-3", 10, 1000, 500, 0, true, 0},
        {"MaxVal=-5", 10, 10, 5, 0, true, 0},
        {"MaxVal=many\nThreshold=3\nDeadZone=x", 10, 0, 0, 0, true, 0},
        {"RepeatKeys=256\nProfile=3", 10, 0, 0, 0, false, 0},
        {"RepeatKeys=abc\nProfile=-1", 10, 0, 0, 0, true, 0},
        {"RepeatKeys=257\nProfile=1\nID=4294967295", 10, 0, 0, 1, true, 4294967295u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values);
        lists.ActiveJoysticks.clear();
        Load(Controller(c.values + "\n"));
        ASSERT_EQ(lists.ActiveJoysticks.count(), 1);
        const TJoystick& j = lists.ActiveJoysticks[0];
        EXPECT_EQ(j.DeadZone, c.deadZone);
        EXPECT_EQ(j.MaxVal, c.maxVal);
        EXPECT_EQ(j.Threshold, c.threshold);
        EXPECT_EQ(j.Profile, c.profile);
        EXPECT_EQ(j.RepeatKeys, c.repeatKeys);
        EXPECT_EQ(j.JoystickID, c.id);
        EXPECT_EQ(GuidToString(j.Guid), PadGuid);
        EXPECT_FALSE(j.Acquired);
    }
}

TEST_F(SettingsTest, NamesAreTrimmedAndReadWhole) {
    const std::string e = "\xC3\xA9"; // two bytes
    std::string accented;
    for (int i = 0; i < 200; ++i)
        accented += e;
    const std::pair<std::string, std::string> cases[] = {
        {"\"  Pad One \\t\"", "Pad One"},
        {std::string(255, 'N'), std::string(255, 'N')},
        {std::string(300, 'L'), std::string(255, 'L')},
        {accented, accented.substr(0, 254)},
        {"Pad, Two", "Pad, Two"},
    };
    for (const auto& [stored, expected] : cases) {
        SCOPED_TRACE(stored);
        lists.ActiveJoysticks.clear();
        Load("[Joystick0]\nName=" + stored + "\nGUID= " + PadGuid + "\n");
        ASSERT_EQ(lists.ActiveJoysticks.count(), 1);
        EXPECT_EQ(lists.ActiveJoysticks[0].Name, expected);
    }
}

TEST_F(SettingsTest, SubkeysWithoutAControllerAreSkipped) {
    Load("[General]\nMaxJoysticks=6\n"
         "[Joystick0]\nName=First\nGUID=" +
         std::string(PadGuid) +
         "\n"
         "[Joystick1]\nName=\" \"\nGUID=" +
         PadGuid +
         "\n"
         "[Joystick2]\nName=Bad guid\nGUID={not-a-guid}\n"
         "[Joystick3]\nName=No guid\n"
         "[Joystick5]\nName=Last\nGUID=" +
         PadGuid +
         "\n"
         "[Joystick6]\nName=Beyond the maximum\nGUID=" +
         PadGuid + "\n");
    ASSERT_EQ(lists.ActiveJoysticks.count(), 2);
    EXPECT_EQ(lists.ActiveJoysticks[0].Name, "First");
    EXPECT_EQ(lists.ActiveJoysticks[1].Name, "Last");
    EXPECT_EQ(controllers.View.cmbDevices.Items,
              (std::vector<std::string>{"Name: First -- ID: 0", "Name: Last -- ID: 0"}));
}

TEST_F(SettingsTest, SaveWritesEveryControllerAndLoadReadsThemBack) {
    log.Open(); // as after LogFile=1
    Load(
        "[General]\nMaxJoysticks=3\n" + Controller("ID=7\nThreshold=3\nMaxVal=10\n", 0) +
        Controller("Profile=2\n", 2) + "[Joystick4]\nName=Old\nGUID=" + PadGuid + "\n" +
        "[Programs]\nsize=4\n1\\Program=Game\n1\\Profile=2\n2\\Profile=1\n3\\Program=\" tool \"\n" +
        "3\\Profile=1\n3\\Controller=" + PadGuid + "\n4\\Program=gone\n4\\Profile=3\n");
    log.Close();
    ASSERT_EQ(lists.ActiveJoysticks.count(), 2);
    ASSERT_EQ(lists.Programs.size(), 3u); // the second names no program; the fourth is kept
    EXPECT_EQ(ReadBytes("Padwright.log"), "Program rule 4 (\"gone\") names profile 3, which does "
                                          "not exist: it is kept and ignored.\r\n");
    lists.ActiveJoysticks[1].FollowedProfile = 1;       // a rule's: not saved
    lists.ActiveJoysticks[0].Name = "Pad\xE9 \xFF\xC3"; // no UTF-8: kept byte for byte
    lists.ActiveJoysticks[1].Name = "Second";
    lists.ActiveJoysticks[1].RepeatKeys = false;
    host.interval = 40;
    Save(true);

    QSettings written(QString::fromStdString(ConfigFile.string()), QSettings::IniFormat);
    EXPECT_EQ(written.value("MaxJoysticks").toInt(), 3);
    EXPECT_EQ(written.value("TimeInterval").toInt(), 40);
    EXPECT_EQ(written.value("StartMinimized").toInt(), 1);
    EXPECT_EQ(written.value("LogFile").toInt(), 0);
    EXPECT_EQ(written.value("Joystick1/Name").toString(), "Second");
    EXPECT_EQ(written.value("Joystick1/GUID").toString(), PadGuid);
    EXPECT_FALSE(written.contains("Joystick2/Name"));             // renumbered without the gap
    EXPECT_EQ(written.value("Joystick4/Name").toString(), "Old"); // beyond MaxJoysticks: kept
    ASSERT_EQ(written.beginReadArray("Programs"), 3);             // an array as QSettings reads one
    written.setArrayIndex(1);
    EXPECT_EQ(written.value("Program").toString(), "tool");
    EXPECT_EQ(written.value("Profile").toInt(), 1);
    EXPECT_EQ(written.value("Controller").toString(), PadGuid);
    written.endArray();

    TLists reloaded;
    reloaded.Profiles.push_back(NewProfile("One"));
    reloaded.Profiles.push_back(NewProfile("Two"));
    Registry registry;
    ControllerAccess reloadedControllers{reloaded, host, {}};
    SettingsContext context{registry, reloaded, log, host, boxes, reloadedControllers};
    EXPECT_TRUE(LoadSettings(context, fields));
    ASSERT_EQ(reloaded.ActiveJoysticks.count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TJoystick& a = lists.ActiveJoysticks[i];
        const TJoystick& b = reloaded.ActiveJoysticks[i];
        EXPECT_EQ(a.Name, b.Name);
        EXPECT_EQ(a.Guid, b.Guid);
        EXPECT_EQ(a.JoystickID, b.JoystickID);
        EXPECT_EQ(a.DeadZone, b.DeadZone);
        EXPECT_EQ(a.MaxVal, b.MaxVal);
        EXPECT_EQ(a.Threshold, b.Threshold);
        EXPECT_EQ(a.RepeatKeys, b.RepeatKeys);
        EXPECT_EQ(a.Profile, b.Profile);
    }
    ASSERT_EQ(reloaded.Programs.size(), 3u); // the rule ignored is kept by Save too
    EXPECT_EQ(reloaded.Programs[2].Program + std::to_string(reloaded.Programs[2].Profile), "gone3");
}

TEST_F(SettingsTest, SaveDeletesOnlyTheSubkeysBelowMaxJoysticks) {
    Load("[General]\nMaxJoysticks=8\n" + Controller("", 0) + Controller("", 1) + Controller("", 2) +
         Controller("", 3));
    lists.MaxJoysticks = 2;
    lists.ActiveJoysticks.clear();
    Save();
    QSettings written(QString::fromStdString(ConfigFile.string()), QSettings::IniFormat);
    EXPECT_EQ(written.childGroups(), QStringList({"Joystick2", "Joystick3"}));
}

TEST_F(SettingsTest, ApplicationApplyAndReset) {
    Registry registry;
    SettingsContext context{registry, lists, log, host, boxes, controllers};
    const struct {
        std::string interval, max, box;
    } refused[] = {{"0", "4", TimeIntervalRangeText},
                   {"2001", "4", TimeIntervalRangeText},
                   {"20", "101", MaxJoysticksRangeText},
                   {"20", "0", MaxJoysticksRangeText}};
    for (const auto& r : refused) {
        boxes.shown.clear();
        fields = {r.interval, r.max, false, true};
        cmdASApplyClick(context, fields);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0], std::make_pair(r.box, std::string("Attention")));
        EXPECT_EQ(host.interval, 5u); // nothing applied
        EXPECT_EQ(fields.TimeInterval, r.interval);
        EXPECT_FALSE(log.LogEnabled());
    }

    fields = {"20", "x1", false, true};
    try {
        cmdASApplyClick(context, fields);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'x1' is not a valid integer value");
    }

    fields = {"2000", "100", false, true};
    cmdASApplyClick(context, fields);
    EXPECT_EQ(host.interval, 2000u);
    EXPECT_EQ(lists.MaxJoysticks, 100);
    EXPECT_TRUE(log.LogEnabled());
    fields.LogFile = false;
    cmdASApplyClick(context, fields);
    EXPECT_FALSE(log.LogEnabled());

    fields = {"7", "9", false, false};
    cmdASResetClick(context, fields);
    EXPECT_EQ(fields.TimeInterval, "2000");
    EXPECT_EQ(fields.MaxJoysticks, "100");
}

TEST_F(SettingsTest, JoystickApplyAndReset) {
    Registry registry;
    SettingsContext context{registry, lists, log, host, boxes, controllers};
    lists.ActiveJoysticks.push_back(TJoystick{});
    TJoystick& pad = lists.ActiveJoysticks.push_back(TJoystick{});
    JoystickSettingsFields js{"150", "10", "25", false};
    cmdJSApplyClick(context, js); // nothing selected: nothing happens
    EXPECT_EQ(js.DeadZone, "150");
    EXPECT_EQ(pad.DeadZone, 10);

    controllers.View.cmbDevices.Items = {"a", "b"};
    controllers.View.cmbDevices.ItemIndex = 1;
    const struct {
        std::string threshold;
        std::int32_t stored;
        std::string shown;
    } cases[] = {{"25", 2, "20"}, {"35", 4, "40"}, {"150", 10, "100"}, {"0", 0, "0"}};
    for (const auto& c : cases) {
        js = {"150", "10", c.threshold, false};
        cmdJSApplyClick(context, js);
        EXPECT_EQ(js.DeadZone, "100");
        EXPECT_EQ(pad.DeadZone, 100);
        EXPECT_EQ(pad.Threshold, c.stored);
        EXPECT_FALSE(pad.RepeatKeys);
        cmdJSResetClick(context, js);
        EXPECT_EQ(js.Threshold, c.shown);
    }
    EXPECT_TRUE(host.calls.empty()); // not open, not reading

    pad.Acquired = true;
    pad.Device = std::make_shared<AxisRecordingDevice>(host.calls);
    host.reading = true;
    js = {"5", "abc", "50", true};
    EXPECT_THROW(cmdJSApplyClick(context, js), Error);
    EXPECT_EQ(pad.DeadZone, 5); // assigned before the failing conversion
    EXPECT_EQ(pad.MaxVal, 10);
    EXPECT_TRUE(host.calls.empty());

    js = {"5", "200", "50", true};
    cmdJSApplyClick(context, js);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"PauseReading", "range -200..200",
                                                    "deadzone 500", "ResumeReading"}));
    host.calls.clear();
    host.reading = false;
    cmdJSApplyClick(context, js);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"range -200..200", "deadzone 500"}));

    pad.MaxVal = 0;
    cmdJSResetClick(context, js);
    EXPECT_EQ(js.Threshold, "0");
    EXPECT_EQ(lists.ActiveJoysticks[0].DeadZone, 10); // only the selected controller changed
}

TEST_F(SettingsTest, ALogThatCannotBeCreatedCostsNoSetting) {
    fs::create_directory("Padwright.log"); // the log's name is taken by a folder
    EXPECT_THROW(Load("[General]\nLogFile=1\nMaxJoysticks=7\n" + Controller("")), Error);
    EXPECT_FALSE(log.LogEnabled());
    EXPECT_EQ(lists.MaxJoysticks, 7);
    EXPECT_EQ(lists.ActiveJoysticks.count(), 1);
    EXPECT_TRUE(fields.LogFile);
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheStoreIsStillSaved) {
    WriteConfig("[General]\nTimeInterval=9\n"); // left behind by another user, or read-only
    fs::permissions(ConfigFile.parent_path(), fs::perms::all);
    fs::permissions(ConfigFile, fs::perms(0444));
    fs::permissions(dir, fs::perms::all);
    host.interval = 77;
    const std::string expected = "File access denied: " + ConfigFile.string();
    const int status = InUnprivilegedChild([&] {
        Registry registry;
        SettingsContext context{registry, lists, log, host, boxes, controllers};
        ProfileStore store(boxes);
        try {
            cmdSaveClick(context, store, false);
        } catch (const Error& error) {
            return error.what() == expected ? 0 : 2;
        }
        return 1; // reported as saved
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(fs::file_size(StoreFileName), 2u * 15040);
    QSettings written(QString::fromStdString(ConfigFile.string()), QSettings::IniFormat);
    EXPECT_EQ(written.value("TimeInterval").toInt(), 9);
}

// The toolkit's reader decodes every one of these as serialised data, which it may recurse into
// until the stack overflows: the file is set aside before the toolkit sees it.
TEST_F(SettingsTest, AFileOfSerialisedValuesIsSetAsideAndTheDefaultsStart) {
    std::string deep = "MaxJoysticks=7\na=@Variant(";
    for (int i = 0; i < 30000; ++i)
        deep += "\\0\\0\\0\\t\\0\\0\\0\\x1"; // a list holding the next level
    const std::pair<std::string, bool> cases[] = {
        {deep + ")", true},
        {"a = \"@DateTime(x)\"\nb=x, @Variant(x)", true},
        {"a=\\x10040Variant(x)", true},
        {"a=@Vari\\x61nt(x)", true},
        {"a=\\\n\"\"@Variant(x)", true},
        {"a=@ByteArray(\\xff)\nb=@@Variant(x)\nc=P @Variant(x)\nd=\"x, @Variant(x)\"", false},
    };
    const fs::path kept = ConfigFile.string() + ".bak.1";
    fs::create_directories(ConfigFile.parent_path());
    for (const auto& [values, setAside] : cases) {
        SCOPED_TRACE(values.substr(0, 40));
        WriteBytes(ConfigFile.string() + ".bak", "an earlier backup");
        fs::remove(kept);
        boxes.shown.clear();
        Load("[General]\n" + values + "\n");
        EXPECT_EQ(fs::exists(kept), setAside);
        EXPECT_EQ(fs::exists(ConfigFile), !setAside);
        EXPECT_EQ(lists.MaxJoysticks, 4);
        ASSERT_EQ(boxes.shown.size(), setAside ? 1u : 0u);
        if (setAside) {
            EXPECT_NE(boxes.shown[0].first.find(kept.string()), std::string::npos);
        }
    }
    EXPECT_EQ(ReadBytes(ConfigFile.string() + ".bak"), "an earlier backup");
}

// What the toolkit would wait on for ever, or replace by a regular file, is refused at start-up
// with the defaults in effect and by every save, and stays as it was.
TEST_F(SettingsTest, WhatIsNoRegularFileIsNeitherReadNorReplaced) {
    const std::string file = ConfigFile.string(), node = (dir / "node").string();
    const std::string link = "ln -s " + node + " " + file;
    const struct {
        std::string make;
        bool afterStart;
        mode_t type;
        std::string error;
    } cases[] = {
        {"mkfifo " + file, false, S_IFIFO, "File access denied"},
        {"mkdir " + file, false, S_IFDIR, "Invalid filename"},
        {"mknod " + node + " c 1 3 && " + link, false, S_IFCHR, "File access denied"}, // as root
        {"test -c " + node + " && " + link, true, S_IFCHR, "File access denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.make);
        fs::remove_all(ConfigFile.parent_path());
        fs::create_directories(ConfigFile.parent_path());
        std::optional<Registry> registry;
        if (c.afterStart)
            registry.emplace();
        if (std::system(c.make.c_str()) != 0)
            continue;
        ::alarm(30); // a wait for ever ends the test
        SettingsContext context{
            registry ? *registry : registry.emplace(), lists, log, host, boxes, controllers};
        lists.MaxJoysticks = 0;
        std::string loaded, saved;
        try {
            if (!c.afterStart)
                LoadSettings(context, fields);
        } catch (const Error& e) {
            loaded = e.what();
        }
        try {
            SaveSettings(context, false);
        } catch (const Error& e) {
            saved = e.what();
        }
        ::alarm(0);
        EXPECT_EQ(saved, c.error + ": " + file);
        EXPECT_EQ(loaded.rfind(c.afterStart ? "" : saved, 0), 0u) << loaded;
        EXPECT_EQ(lists.MaxJoysticks, c.afterStart ? 0 : 4);
        struct stat info {};
        EXPECT_EQ(::stat(file.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0, c.type);
    }
}

// The toolkit says only that it could not write; the user needs the cause to mend it.
TEST_F(SettingsTest, ASaveThatCannotWriteSaysWhy) {
    fs::create_directory("small");
    if (::mount("tmpfs", "small", "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    std::system("cat /dev/zero > small/filler 2>/dev/null");
    Registry registry(std::string("small/Padwright.conf"));
    SettingsContext context{registry, lists, log, host, boxes, controllers};
    for (const auto& [flags, expected] :
         {std::pair{0ul, "Disk full"}, {MS_REMOUNT | MS_RDONLY, "File access denied"}}) {
        ASSERT_EQ(flags ? ::mount("tmpfs", "small", "tmpfs", flags, "size=64k") : 0, 0);
        try {
            SaveSettings(context, false);
            ADD_FAILURE() << "saved";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), std::string(expected) + ": small/Padwright.conf");
        }
    }
    ::umount("small");
}

// Fails on the first byte, as a full disk does.
class FullDisk : public AtomicFile {
public:
    using AtomicFile::AtomicFile;

protected:
    bool WriteBytes(const char*, std::int64_t) override {
        errno = ENOSPC;
        return false;
    }
};

TEST_F(SettingsTest, SaveWritesTheSettingsFirstThenTheStore) {
    Registry registry;
    SettingsContext context{registry, lists, log, host, boxes, controllers};
    WriteBytes(StoreFileName, "old store");
    ProfileStore store(boxes);
    store.SetFileFactory([](const std::string& path) { return std::make_unique<FullDisk>(path); });
    host.interval = 77;
    EXPECT_THROW(cmdSaveClick(context, store, false), Error);
    EXPECT_TRUE(SameBytes(ReadBytes(StoreFileName), "old store"));
    QSettings written(QString::fromStdString(ConfigFile.string()), QSettings::IniFormat);
    EXPECT_EQ(written.value("TimeInterval").toInt(), 77);

    store.SetFileFactory(OpenAtomicFile);
    cmdSaveClick(context, store, false);
    EXPECT_EQ(fs::file_size(StoreFileName), 2u * 15040);
}

} // namespace
} // namespace padwright
