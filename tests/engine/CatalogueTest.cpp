#include "engine/Catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
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

TEST(Catalogue, LookupGivesNameCodeAndTheGroupsKind) {
    const struct {
        const char* name;
        std::int32_t code;
        std::int32_t kind;
    } cases[] = {
        {"VOLUME_MUTE", 8, fkAppCommand},
        {"VK_VOLUME_MUTE", 0xAD, fkKey},
        {"EWX_LOGOFF", 0, fkPower},
        {"EWX_POWEROFF", 8, fkPower},
        {"MOUSE_WHEEL_FORWARD", 8, fkMouse},
        {"MOUSE_MOVE_X_NEG", 1, fkMouse},
        {"VK_LBUTTON", 0x01, fkKey},
        {"VK_OEM_102", 0xE2, fkKey},
        {"VK_F24", 0x87, fkKey},
        {"VK_9", 0x39, fkKey},
        {"VK_Z", 0x5A, fkKey},
        {"VK_NUMPAD9", 0x69, fkKey},
        {"BROWSER_BACKWARD", 1, fkAppCommand},
        {"MEDIA_CHANNEL_DOWN", 52, fkAppCommand},
    };
    for (const auto& c : cases) {
        const CatalogueMatch match = LookupFunction(c.name);
        EXPECT_EQ(match.Name, c.name);
        EXPECT_EQ(match.Code, c.code) << c.name;
        EXPECT_EQ(match.Kind, c.kind) << c.name;
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
