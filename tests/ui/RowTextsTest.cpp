#include "ui/common/RowTexts.h"
#include "UiHarness.h"
#include "engine/Catalogue.h"

#include <gtest/gtest.h>

namespace padwright::test {
namespace {

TEST(RowTexts, ModifierTextShowsKeyFlagsOnly) {
    struct Case {
        std::int32_t kind;
        bool shift, ctrl, alt, win;
        std::string expected;
    };
    const Case cases[] = {
        {fkKey, false, true, false, true, "Ctrl; Win;"},
        {fkKey, true, false, false, false, "Shift; "},
        {fkKey, true, true, true, true, "Shift; Ctrl; Alt; Win;"},
        {fkKey, false, false, false, false, ""},
        {fkMouse, false, true, false, true, ""},
        {fkAppCommand, true, true, true, true, ""},
    };
    for (const Case& c : cases) {
        TControlMapping m{};
        m.Kind = c.kind;
        m.Shift = c.shift;
        m.Ctrl = c.ctrl;
        m.Alt = c.alt;
        m.Win = c.win;
        EXPECT_EQ(ModifierText(m), c.expected) << "kind " << c.kind;
    }
}

TEST(RowTexts, RepeatAndRateWords) {
    const std::pair<int, std::string> repeat[] = {{255, "MAX"}, {31, "MAX"},    {40, "MAX"},
                                                  {0, "OFF"},   {16, "16 tps"}, {30, "30 tps"}};
    for (const auto& [rate, text] : repeat)
        EXPECT_EQ(RepeatText(rate), text) << rate;
    EXPECT_EQ(RateWords(0), "OFF");
    EXPECT_EQ(RateWords(1), "1 times/sec");
    EXPECT_EQ(RateWords(30), "30 times/sec");
    EXPECT_EQ(RateWords(31), "MAXIMUM");
}

std::vector<std::string> Captions(const std::vector<TRowPlan>& rows) {
    std::vector<std::string> captions;
    for (const TRowPlan& row : rows)
        captions.push_back(row.Caption);
    return captions;
}

TEST(RowPlan, TwentySixRowsInSlotOrder) {
    const auto rows = PlanSettingsRows(MakeController(2, 1, {7}, 12));
    ASSERT_EQ(rows.size(), 26u);
    std::vector<std::string> expected = {"X Axis -", "X Axis +", "Y Axis -",
                                         "Y Axis +", "Slider -", "Slider +"};
    for (const char* d : {"Up", "U-R", "Right", "D-R", "Down", "D-L", "Left", "U-L"})
        expected.push_back(std::string("Hat Switch ") + d);
    for (int b = 0; b < 12; ++b)
        expected.push_back("Button: Button " + std::to_string(b));
    EXPECT_EQ(Captions(rows), expected);
    const int slotNumbers[] = {0, 1, 2, 3, 12, 13, 16, 17, 18, 19, 20, 21, 22, 23, 48, 49};
    for (std::size_t i = 0; i < std::size(slotNumbers); ++i)
        EXPECT_EQ(rows[i].Slot, slotNumbers[i]) << i;
    EXPECT_EQ(rows.back().Slot, 59);
}

TEST(RowPlan, TwoSlidersOfOneNameDifferByDigit) {
    const auto rows = PlanSettingsRows(MakeController(0, 2, {}, 0));
    EXPECT_EQ(Captions(rows),
              (std::vector<std::string>{"Slider1 -", "Slider1 +", "Slider2 -", "Slider2 +"}));
    EXPECT_EQ(rows[2].Slot, 14);
    EXPECT_TRUE(PlanSettingsRows(MakeController(0, 3, {}, 0)).empty());
}

TEST(RowPlan, HatsByKindAndOnlyFourOfThem) {
    auto rows = PlanSettingsRows(MakeController(0, 0, {3, 5, 7}, 0));
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(Captions(rows)[1], "Hat Switch Right");
    EXPECT_EQ(rows[3].Slot, HatSlot(0, 6));
    EXPECT_EQ(rows[4].Slot, HatSlot(2, 0)); // the odd second hat has no rows

    TJoystick five = MakeController(0, 0, {7, 7, 7, 7}, 0);
    five.POVCount = 5; // more than a profile holds
    EXPECT_EQ(PlanSettingsRows(five).size(), 32u);
}

TEST(RowPlan, ButtonsStopAt128) {
    TJoystick j = MakeController(0, 0, {}, 128);
    j.ButtonCount = 140;
    const auto rows = PlanSettingsRows(j);
    ASSERT_EQ(rows.size(), 128u);
    EXPECT_EQ(rows.back().Slot, 175);
    j.ButtonCount = -1;
    EXPECT_TRUE(PlanSettingsRows(j).empty());
}

} // namespace
} // namespace padwright::test
