// The settings in the registry of the Wine prefix the tests run in: what Save writes as another
// program (reg.exe) sees it, and what the next start reads back.
#include "core/Settings.h"

#include "SettingsHost.h"
#include "StoreTestSupport.h"
#include "engine/Lists.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

// After the seams, whose constant names the Windows headers define as macros.
#include <windows.h>

namespace padwright {
namespace {

std::string Output(const std::string& command) {
    std::string output;
    if (FILE* pipe = _popen(command.c_str(), "rb")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            output.append(chunk, n);
        _pclose(pipe);
    }
    return output;
}

const char* const Key = "HKCU\\Software\\Vemoskar\\Padwright";

TEST(RegistrySettings, SaveWritesTheNamesAndTypesAndTheNextStartReadsThemBack) {
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "replaces the user's own settings: runs in a Wine prefix only";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vemoskar\\Padwright");
    // An earlier Save's subkeys: below MaxJoysticks they go, beyond it they stay.
    for (const char* subkey : {"Joystick2", "Joystick5"})
        Output(std::string("reg add ") + Key + "\\" + subkey + " /v Extra /t REG_SZ /d Old /f");

    TLists lists;
    lists.MaxJoysticks = 3;
    const char* const names[] = {"Pad One", "Manette \xC3\xA9t\xC3\xA9", "Pad\xE9 \xFF"};
    for (int i = 0; i < 3; ++i) {
        TJoystick& pad = lists.ActiveJoysticks.push_back({});
        pad.Name = names[i];
        StringToGuid("{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F" + std::to_string(i) + "}", pad.Guid);
        pad.JoystickID = 2 + i;
        pad.DeadZone = 20;
        pad.MaxVal = 1000;
        pad.Threshold = 300;
        pad.RepeatKeys = false;
    }
    DiLog log;
    test::FakeSettingsHost host;
    host.interval = 40;
    test::RecordingBoxes boxes;
    ControllerAccess controllers{lists, host, {}};
    {
        Registry registry;
        SettingsContext context{registry, lists, log, host, boxes, controllers};
        SaveSettings(context, true);
    }

    // reg.exe lists each key after its name, "HKEY_CURRENT_USER\\...\\Joystick0", one value a line.
    const std::string listed = Output(std::string("reg query ") + Key + " /s");
    const auto section = [&](const std::string& subkey) {
        const std::size_t start = listed.find("Padwright" + subkey + "\r\n");
        return start == std::string::npos
                   ? std::string()
                   : listed.substr(start, listed.find("\r\n\r\n", start) - start);
    };
    const std::pair<const char*, const char*> expected[] = {
        {"", "MaxJoysticks    REG_DWORD    0x3"},
        {"", "TimeInterval    REG_DWORD    0x28"},
        {"", "StartMinimized    REG_DWORD    0x1"},
        {"", "LogFile    REG_DWORD    0x0"},
        {"\\Joystick0", "Name    REG_SZ    Pad One"},
        {"\\Joystick0", "GUID    REG_SZ    {0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F0}"},
        {"\\Joystick0", "ID    REG_DWORD    0x2"},
        {"\\Joystick0", "DeadZone    REG_DWORD    0x14"},
        {"\\Joystick0", "MaxVal    REG_DWORD    0x3e8"},
        {"\\Joystick0", "Threshold    REG_DWORD    0x12c"},
        {"\\Joystick0", "RepeatKeys    REG_DWORD    0x0"},
        {"\\Joystick0", "Profile    REG_DWORD    0x0"},
        {"\\Joystick1", "Name    REG_SZ    Manette "},
        // Bytes that are no UTF-8 cannot be a text without changing.
        {"\\Joystick2", "Name    REG_BINARY    506164E920FF"},
        {"\\Joystick5", "Extra    REG_SZ    Old"},
    };
    EXPECT_EQ(section("\\Joystick2").find("Extra"), std::string::npos);
    for (const auto& [subkey, line] : expected)
        EXPECT_NE(section(subkey).find(line), std::string::npos) << subkey << " " << line << "\n"
                                                                 << listed;

    TLists loaded;
    ControllerAccess reloaded{loaded, host, {}};
    Registry registry;
    SettingsContext context{registry, loaded, log, host, boxes, reloaded};
    ApplicationSettingsFields fields;
    host.interval = 5;
    EXPECT_TRUE(LoadSettings(context, fields)); // started minimised
    EXPECT_EQ(loaded.MaxJoysticks, 3);
    EXPECT_EQ(host.interval, 40u);
    ASSERT_EQ(loaded.ActiveJoysticks.count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TJoystick& pad = loaded.ActiveJoysticks[i];
        EXPECT_EQ(pad.Name, names[i]);
        EXPECT_EQ(pad.Guid, lists.ActiveJoysticks[i].Guid);
        EXPECT_EQ(pad.JoystickID, 2u + i);
    }
}

} // namespace
} // namespace padwright
