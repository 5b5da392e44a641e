#include "engine/Catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <span>
#include <string>

namespace padwright {
namespace {

TEST(Catalogue, GroupsHaveTheirRowCountsAndNamesAreUniqueAcrossAllGroups) {
    EXPECT_EQ(AppCommands().size(), 20u);
    EXPECT_EQ(VirtualKeys().size(), 149u);
    EXPECT_EQ(MouseFunctions().size(), 9u);
    EXPECT_EQ(PowerActions().size(), 4u);
    std::set<std::string_view> names;
    for (auto group : {AppCommands(), VirtualKeys(), MouseFunctions(), PowerActions()})
        for (const TFunctionEntry& row : group) {
            EXPECT_TRUE(names.insert(row.Name).second) << row.Name;
            EXPECT_LE(row.Name.size(), std::size_t(FunctionNameCapacity));
        }
    EXPECT_EQ(names.size(), 182u);
}

// The catalogue as documented, row by row: every table in its order, with its group's kind.
struct Row {
    std::string_view name;
    std::int32_t code;
};
// clang-format off
const Row AppCommandRows[] = {
    {"MEDIA_PLAY", 46}, {"MEDIA_PAUSE", 47}, {"MEDIA_PLAY_PAUSE", 14}, {"MEDIA_STOP", 13},
    {"MEDIA_RECORD", 48}, {"MEDIA_FAST_FORWARD", 49}, {"MEDIA_REWIND", 50}, {"MEDIA_NEXTTRACK", 11},
    {"MEDIA_PREVIOUSTRACK", 12}, {"MEDIA_CHANNEL_UP", 51}, {"MEDIA_CHANNEL_DOWN", 52},
    {"VOLUME_MUTE", 8}, {"VOLUME_DOWN", 9}, {"VOLUME_UP", 10}, {"BASS_DOWN", 19},
    {"BASS_BOOST", 20}, {"BASS_UP", 21}, {"TREBLE_DOWN", 22}, {"TREBLE_UP", 23},
    {"BROWSER_BACKWARD", 1}
};
const Row VirtualKeyRows[] = {
    {"VK_LBUTTON", 0x01}, {"VK_RBUTTON", 0x02}, {"VK_CANCEL", 0x03}, {"VK_MBUTTON", 0x04},
    {"VK_XBUTTON1", 0x05}, {"VK_XBUTTON2", 0x06}, {"VK_BACK", 0x08}, {"VK_TAB", 0x09},
    {"VK_CLEAR", 0x0C}, {"VK_RETURN", 0x0D}, {"VK_SHIFT", 0x10}, {"VK_CONTROL", 0x11},
    {"VK_MENU", 0x12}, {"VK_PAUSE", 0x13}, {"VK_CAPITAL", 0x14}, {"VK_ESCAPE", 0x1B},
    {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21}, {"VK_NEXT", 0x22}, {"VK_END", 0x23}, {"VK_HOME", 0x24},
    {"VK_LEFT", 0x25}, {"VK_UP", 0x26}, {"VK_RIGHT", 0x27}, {"VK_DOWN", 0x28}, {"VK_SELECT", 0x29},
    {"VK_PRINT", 0x2A}, {"VK_EXECUTE", 0x2B}, {"VK_SNAPSHOT", 0x2C}, {"VK_INSERT", 0x2D},
    {"VK_DELETE", 0x2E}, {"VK_HELP", 0x2F}, {"VK_0", 0x30}, {"VK_1", 0x31}, {"VK_2", 0x32},
    {"VK_3", 0x33}, {"VK_4", 0x34}, {"VK_5", 0x35}, {"VK_6", 0x36}, {"VK_7", 0x37}, {"VK_8", 0x38},
    {"VK_9", 0x39}, {"VK_A", 0x41}, {"VK_B", 0x42}, {"VK_C", 0x43}, {"VK_D", 0x44}, {"VK_E", 0x45},
    {"VK_F", 0x46}, {"VK_G", 0x47}, {"VK_H", 0x48}, {"VK_I", 0x49}, {"VK_J", 0x4A}, {"VK_K", 0x4B},
    {"VK_L", 0x4C}, {"VK_M", 0x4D}, {"VK_N", 0x4E}, {"VK_O", 0x4F}, {"VK_P", 0x50}, {"VK_Q", 0x51},
    {"VK_R", 0x52}, {"VK_S", 0x53}, {"VK_T", 0x54}, {"VK_U", 0x55}, {"VK_V", 0x56}, {"VK_W", 0x57},
    {"VK_X", 0x58}, {"VK_Y", 0x59}, {"VK_Z", 0x5A}, {"VK_LWIN", 0x5B}, {"VK_RWIN", 0x5C},
    {"VK_APPS", 0x5D}, {"VK_SLEEP", 0x5F}, {"VK_NUMPAD0", 0x60}, {"VK_NUMPAD1", 0x61},
    {"VK_NUMPAD2", 0x62}, {"VK_NUMPAD3", 0x63}, {"VK_NUMPAD4", 0x64}, {"VK_NUMPAD5", 0x65},
    {"VK_NUMPAD6", 0x66}, {"VK_NUMPAD7", 0x67}, {"VK_NUMPAD8", 0x68}, {"VK_NUMPAD9", 0x69},
    {"VK_MULTIPLY", 0x6A}, {"VK_ADD", 0x6B}, {"VK_SEPARATOR", 0x6C}, {"VK_SUBTRACT", 0x6D},
    {"VK_DECIMAL", 0x6E}, {"VK_DIVIDE", 0x6F}, {"VK_F1", 0x70}, {"VK_F2", 0x71}, {"VK_F3", 0x72},
    {"VK_F4", 0x73}, {"VK_F5", 0x74}, {"VK_F6", 0x75}, {"VK_F7", 0x76}, {"VK_F8", 0x77},
    {"VK_F9", 0x78}, {"VK_F10", 0x79}, {"VK_F11", 0x7A}, {"VK_F12", 0x7B}, {"VK_F13", 0x7C},
    {"VK_F14", 0x7D}, {"VK_F15", 0x7E}, {"VK_F16", 0x7F}, {"VK_F17", 0x80}, {"VK_F18", 0x81},
    {"VK_F19", 0x82}, {"VK_F20", 0x83}, {"VK_F21", 0x84}, {"VK_F22", 0x85}, {"VK_F23", 0x86},
    {"VK_F24", 0x87}, {"VK_NUMLOCK", 0x90}, {"VK_SCROLL", 0x91}, {"VK_LSHIFT", 0xA0},
    {"VK_RSHIFT", 0xA1}, {"VK_LCONTROL", 0xA2}, {"VK_RCONTROL", 0xA3}, {"VK_BROWSER_BACK", 0xA6},
    {"VK_BROWSER_FORWARD", 0xA7}, {"VK_BROWSER_REFRESH", 0xA8}, {"VK_BROWSER_STOP", 0xA9},
    {"VK_BROWSER_SEARCH", 0xAA}, {"VK_BROWSER_FAVORITES", 0xAB}, {"VK_BROWSER_HOME", 0xAC},
    {"VK_VOLUME_MUTE", 0xAD}, {"VK_VOLUME_DOWN", 0xAE}, {"VK_VOLUME_UP", 0xAF},
    {"VK_MEDIA_NEXT_TRACK", 0xB0}, {"VK_MEDIA_PREV_TRACK", 0xB1}, {"VK_MEDIA_STOP", 0xB2},
    {"VK_MEDIA_PLAY_PAUSE", 0xB3}, {"VK_LAUNCH_MAIL", 0xB4}, {"VK_LAUNCH_MEDIA_SELECT", 0xB5},
    {"VK_LAUNCH_APP1", 0xB6}, {"VK_LAUNCH_APP2", 0xB7}, {"VK_OEM_1", 0xBA}, {"VK_OEM_PLUS", 0xBB},
    {"VK_OEM_COMMA", 0xBC}, {"VK_OEM_MINUS", 0xBD}, {"VK_OEM_PERIOD", 0xBE}, {"VK_OEM_2", 0xBF},
    {"VK_OEM_3", 0xC0}, {"VK_OEM_4", 0xDB}, {"VK_OEM_5", 0xDC}, {"VK_OEM_6", 0xDD},
    {"VK_OEM_7", 0xDE}, {"VK_OEM_8", 0xDF}, {"VK_OEM_102", 0xE2}
};
const Row MouseFunctionRows[] = {
    {"MOUSE_MOVE_X_NEG", 1}, {"MOUSE_MOVE_X_POS", 2}, {"MOUSE_MOVE_Y_NEG", 3},
    {"MOUSE_MOVE_Y_POS", 4}, {"MOUSE_LEFT_CLICK", 5}, {"MOUSE_RIGHT_CLICK", 6},
    {"MOUSE_MIDDLE_CLICK", 7}, {"MOUSE_WHEEL_FORWARD", 8}, {"MOUSE_WHEEL_BACK", 9}
};
const Row PowerActionRows[] = {
    {"EWX_LOGOFF", 0}, {"EWX_POWEROFF", 8}, {"EWX_SHUTDOWN", 1}, {"EWX_REBOOT", 2}
};
// clang-format on

TEST(Catalogue, EveryRowHasItsNameCodeKindAndPlace) {
    const struct {
        std::span<const TFunctionEntry> table;
        std::span<const Row> expected;
        std::int32_t kind;
    } groups[] = {
        {AppCommands(), AppCommandRows, fkAppCommand},
        {VirtualKeys(), VirtualKeyRows, fkKey},
        {MouseFunctions(), MouseFunctionRows, fkMouse},
        {PowerActions(), PowerActionRows, fkPower},
    };
    for (const auto& group : groups) {
        ASSERT_EQ(group.table.size(), group.expected.size());
        for (std::size_t i = 0; i < group.table.size(); ++i) {
            const Row& row = group.expected[i];
            SCOPED_TRACE(row.name);
            EXPECT_EQ(group.table[i].Name, row.name) << "row " << i;
            EXPECT_EQ(group.table[i].Code, row.code);
            const CatalogueMatch match = LookupFunction(row.name);
            EXPECT_EQ(match.Name, row.name);
            EXPECT_EQ(match.Code, row.code);
            EXPECT_EQ(match.Kind, group.kind);
        }
    }
}

TEST(Catalogue, UnknownNamesGiveTheEmptyMapping) {
    for (const char* name : {"NONE", "", "vk_a", "VK_A ", "VK_LMENU", "MOUSE_WHEEL"}) {
        const CatalogueMatch match = LookupFunction(name);
        EXPECT_TRUE(match.Name.empty()) << name;
        EXPECT_EQ(match.Code, 0);
        EXPECT_EQ(match.Kind, fkNone);
    }
}

TEST(Catalogue, VirtualKeysLeaveTheStatedGaps) {
    std::set<std::int32_t> codes;
    for (const TFunctionEntry& row : VirtualKeys())
        codes.insert(row.Code);
    for (int gap : {0x07, 0x0A, 0x0B, 0x0E, 0x0F, 0x15, 0x1A, 0x1C, 0x1F, 0x3A, 0x40, 0x5E, 0x88,
                    0x8F, 0x92, 0x9F, 0xA4, 0xA5, 0xB8, 0xB9, 0xC1, 0xDA, 0xE0, 0xE1, 0xE3, 0xFF})
        EXPECT_EQ(codes.count(gap), 0u) << std::hex << gap;
    EXPECT_EQ(codes.size(), 149u);
}

TEST(Catalogue, AssignSetsOrClearsNameCodeAndKindTogetherAndNothingElse) {
    TControlMapping m;
    std::memset(&m, 0xAB, sizeof m);
    AssignFunction(m, "VK_RETURN");
    EXPECT_EQ(m.FunctionName.view(), "VK_RETURN");
    EXPECT_EQ(m.Code, 0x0D);
    EXPECT_EQ(m.Kind, fkKey);
    EXPECT_EQ(m.RepeatRate, static_cast<std::int32_t>(0xABABABAB));
    AssignFunction(m, "NONE");
    EXPECT_TRUE(m.FunctionName.empty());
    EXPECT_EQ(m.Code, 0);
    EXPECT_EQ(m.Kind, fkNone);
    EXPECT_EQ(m.Ctrl, 0xAB);
}

} // namespace
} // namespace padwright
