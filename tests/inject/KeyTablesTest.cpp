#include "platform/inject/KeyTables.h"
#include "engine/Catalogue.h"
#include "platform/inject/ScanCodes.h"
#include "platform/inject/UinputDevice.h"

#include <libevdev/libevdev.h>
#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace padwright {
namespace {

const std::set<std::string> MouseButtonKeys = {"VK_LBUTTON", "VK_RBUTTON", "VK_MBUTTON",
                                               "VK_XBUTTON1", "VK_XBUTTON2"};

TEST(KeyTables, EveryCatalogueKeyHasALinuxKeyOrAMouseButton) {
    for (const auto& row : VirtualKeys()) {
        SCOPED_TRACE(std::string(row.Name));
        const bool mouse = MouseButtonKeys.count(std::string(row.Name)) > 0;
        EXPECT_EQ(VirtualKeyMouseButton(row.Code).has_value(), mouse);
        if (mouse) {
            EXPECT_EQ(VirtualKeyTarget(row.Code).linuxCode, 0);
            EXPECT_EQ(VirtualKeyToScanCode(row.Code), 0u);
        } else if (row.Name != "VK_OEM_8") { // on no US key
            EXPECT_NE(VirtualKeyTarget(row.Code).linuxCode, 0);
        }
    }
    // ... and the table holds nothing beyond the catalogue.
    for (const auto& row : VirtualKeyTable()) {
        bool found = false;
        for (const auto& entry : VirtualKeys())
            found |= entry.Code == row.vk;
        EXPECT_TRUE(found) << int(row.vk);
    }
    EXPECT_EQ(VirtualKeyTable().size(), VirtualKeys().size() - MouseButtonKeys.size() - 1);
}

// Linux numbers the main block of a PC keyboard by its set-1 scan codes, so for the keys that
// send a plain (not E0-prefixed) scan code the two tables must agree.
TEST(KeyTables, MainBlockKeysAgreeWithTheirScanCodes) {
    const std::set<std::string> notPlain = {// E0-prefixed keys
                                            "VK_PRIOR", "VK_NEXT", "VK_END", "VK_HOME", "VK_LEFT",
                                            "VK_UP", "VK_RIGHT", "VK_DOWN", "VK_INSERT",
                                            "VK_DELETE", "VK_LWIN", "VK_RWIN", "VK_APPS",
                                            "VK_SLEEP", "VK_DIVIDE", "VK_RCONTROL",
                                            // keys with no plain scan code of their own on Linux
                                            "VK_CANCEL", "VK_PAUSE", "VK_SNAPSHOT"};
    int checked = 0;
    for (const auto& row : VirtualKeys()) {
        const std::uint32_t scan = VirtualKeyToScanCode(row.Code);
        const std::string name(row.Name);
        if (scan == 0 || scan > 0x58 || notPlain.count(name) || name.starts_with("VK_BROWSER") ||
            name.starts_with("VK_VOLUME") || name.starts_with("VK_MEDIA") ||
            name.starts_with("VK_LAUNCH"))
            continue;
        EXPECT_EQ(VirtualKeyTarget(row.Code).linuxCode, scan) << name;
        ++checked;
    }
    EXPECT_GE(checked, 85);
}

TEST(KeyTables, DistinctKeysGiveDistinctLinuxCodes) {
    // Windows' generic and left-hand virtual keys share one key, as do VK_CLEAR and keypad 5.
    const std::set<std::pair<int, int>> aliases = {{0x10, 0xA0}, {0x11, 0xA2}, {0x0C, 0x65}};
    std::map<std::uint16_t, int> seen;
    for (const auto& row : VirtualKeyTable()) {
        auto [it, fresh] = seen.emplace(row.target.linuxCode, row.vk);
        if (!fresh) {
            EXPECT_TRUE(aliases.count({it->second, row.vk})) << it->second << " " << int(row.vk);
        }
    }
}

TEST(KeyTables, ApplicationCommandsBecomeMediaKeys) {
    const std::map<std::string, std::uint16_t> expected = {
        {"MEDIA_PLAY", KEY_PLAYCD},
        {"MEDIA_PAUSE", KEY_PAUSECD},
        {"MEDIA_PLAY_PAUSE", KEY_PLAYPAUSE},
        {"MEDIA_STOP", KEY_STOPCD},
        {"MEDIA_RECORD", KEY_RECORD},
        {"MEDIA_FAST_FORWARD", KEY_FASTFORWARD},
        {"MEDIA_REWIND", KEY_REWIND},
        {"MEDIA_NEXTTRACK", KEY_NEXTSONG},
        {"MEDIA_PREVIOUSTRACK", KEY_PREVIOUSSONG},
        {"MEDIA_CHANNEL_UP", KEY_CHANNELUP},
        {"MEDIA_CHANNEL_DOWN", KEY_CHANNELDOWN},
        {"VOLUME_MUTE", KEY_MUTE},
        {"VOLUME_DOWN", KEY_VOLUMEDOWN},
        {"VOLUME_UP", KEY_VOLUMEUP},
        {"BASS_BOOST", KEY_BASSBOOST},
        {"BROWSER_BACKWARD", KEY_BACK},
        {"BASS_DOWN", 0},
        {"BASS_UP", 0},
        {"TREBLE_DOWN", 0},
        {"TREBLE_UP", 0}};
    ASSERT_EQ(AppCommands().size(), expected.size());
    for (const auto& row : AppCommands()) {
        const std::string name(row.Name);
        ASSERT_TRUE(expected.count(name)) << name;
        const std::uint32_t lParam = static_cast<std::uint32_t>(row.Code) << 16;
        EXPECT_EQ(AppCommandTarget(AppCommandOfLParam(lParam)).linuxCode, expected.at(name))
            << name;
        // The device bits in the top of the high word do not change the command.
        EXPECT_EQ(AppCommandOfLParam(lParam | 0x80000000u), row.Code) << name;
    }
}

TEST(KeyTables, VirtualDeviceAnnouncesEverythingItSends) {
    const LibevdevPtr dev = DescribeVirtualDevice();
    EXPECT_STREQ(libevdev_get_name(dev.get()), "Padwright virtual input");
    for (const auto& row : VirtualKeyTable())
        EXPECT_TRUE(libevdev_has_event_code(dev.get(), EV_KEY, row.target.linuxCode))
            << int(row.vk);
    for (const auto& row : AppCommandTable())
        EXPECT_TRUE(libevdev_has_event_code(dev.get(), EV_KEY, row.target.linuxCode));
    for (const unsigned code : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_SIDE, BTN_EXTRA})
        EXPECT_TRUE(libevdev_has_event_code(dev.get(), EV_KEY, code)) << code;
    for (const unsigned code : {REL_X, REL_Y, REL_WHEEL, REL_WHEEL_HI_RES})
        EXPECT_TRUE(libevdev_has_event_code(dev.get(), EV_REL, code)) << code;
    EXPECT_FALSE(libevdev_has_event_type(dev.get(), EV_REP)); // repeats are the desktop's
}

} // namespace
} // namespace padwright
