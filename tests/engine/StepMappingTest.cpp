#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cstring>

namespace padwright {
namespace {

enum Input { Released, Engaged };
enum Repeat { NoRepeat, RepeatKeysOn, RepeatKeysOffController, OwnRepeat };

struct Row {
    int from;
    Input input;
    Repeat repeat;
    int countdown; // before the step
    TFunctionKind kind;
    int to;
    int countdownAfter;
    TStepOutcome outcome;
};

// Every transition of the press state; the mapping's own rate is 10 (period 100 ms).
constexpr Row Rows[] = {
    // "Auto-repeat all keys": engaged always repeats, release only from 2.
    {0, Engaged, RepeatKeysOn, 40, fkKey, 2, 40, soRepeat},
    {1, Engaged, RepeatKeysOn, 40, fkKey, 2, 40, soRepeat},
    {2, Engaged, RepeatKeysOn, 40, fkKey, 2, 40, soRepeat},
    {2, Released, RepeatKeysOn, 40, fkKey, 0, 40, soRelease},
    {0, Released, RepeatKeysOn, 40, fkKey, 0, 40, soNone},
    {1, Released, RepeatKeysOn, 40, fkKey, 1, 40, soNone},
    // A controller whose RepeatKeys is off counts as no controller.
    {0, Engaged, RepeatKeysOffController, 0, fkKey, 1, 0, soPress},
    {1, Released, RepeatKeysOffController, 0, fkKey, 0, 0, soNone},
    // No repeat at all.
    {0, Engaged, NoRepeat, 0, fkKey, 1, 0, soPress},
    {1, Engaged, NoRepeat, 0, fkKey, 1, 0, soNone},
    {2, Engaged, NoRepeat, 0, fkKey, 2, 0, soNone},
    {1, Released, NoRepeat, 0, fkKey, 0, 0, soNone},
    {1, Released, NoRepeat, 0, fkMouse, 0, 0, soRelease},
    {1, Released, NoRepeat, 0, fkAppCommand, 0, 0, soRelease},
    {2, Released, NoRepeat, 0, fkKey, 0, 0, soRelease},
    {0, Released, NoRepeat, 0, fkKey, 0, 0, soNone},
    // The mapping's own repeat.
    {0, Engaged, OwnRepeat, 40, fkKey, 1, 40, soPress},
    {1, Engaged, OwnRepeat, 40, fkKey, 1, 40, soNone},
    {1, Engaged, OwnRepeat, 0, fkKey, 2, 0, soRelease},
    {1, Engaged, OwnRepeat, -5, fkKey, 2, 0, soRelease},
    {2, Engaged, OwnRepeat, 40, fkKey, 2, 40, soNone},
    {2, Engaged, OwnRepeat, 0, fkKey, 2, 100, soRepeat},
    {7, Engaged, OwnRepeat, 0, fkKey, 7, 100, soRepeat},
    {1, Released, OwnRepeat, 0, fkKey, 0, 100, soNone},
    {1, Released, OwnRepeat, 0, fkMouse, 0, 100, soRelease},
    {2, Released, OwnRepeat, 20, fkKey, 0, 100, soRelease},
    {0, Released, OwnRepeat, 20, fkKey, 0, 100, soNone},
};

class StepMappingTable : public ::testing::TestWithParam<Row> {};

TEST_P(StepMappingTable, Transition) {
    const Row& row = GetParam();
    TControlMapping m;
    std::memset(&m, 0, sizeof m);
    m.Kind = row.kind;
    m.PressState = row.from;
    m.RepeatCountdown = row.countdown;
    if (row.repeat == OwnRepeat) {
        m.AutoRepeat = 1;
        m.RepeatRate = 10;
    }
    TJoystick controller;
    controller.RepeatKeys = row.repeat == RepeatKeysOn;
    const bool withController = row.repeat == RepeatKeysOn || row.repeat == RepeatKeysOffController;

    // Engaged values are magnitudes: any non-zero value engages.
    const std::int32_t value = row.input == Engaged ? 37 : 0;
    EXPECT_EQ(StepMapping(m, value, withController ? &controller : nullptr), row.outcome);
    EXPECT_EQ(m.PressState, row.to);
    EXPECT_EQ(m.RepeatCountdown, row.countdownAfter);
}

INSTANTIATE_TEST_SUITE_P(AllRows, StepMappingTable, ::testing::ValuesIn(Rows));

TEST(StepMapping, TheOwnRepeatOfAMappingIsIgnoredWhileRepeatKeysIsOn) {
    TControlMapping m;
    std::memset(&m, 0, sizeof m);
    m.Kind = fkKey;
    m.AutoRepeat = 1;
    m.RepeatRate = 10;
    m.RepeatCountdown = 70;
    TJoystick controller;
    controller.RepeatKeys = true;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(StepMapping(m, 1, &controller), soRepeat);
    EXPECT_EQ(StepMapping(m, 0, &controller), soRelease);
    EXPECT_EQ(m.RepeatCountdown, 70) << "RepeatKeys does not touch the countdown";
}

TEST(RepeatPeriod, RoundsHalfToEvenAndIsZeroOutsideOneToThirty) {
    const struct {
        int rate, period;
    } cases[] = {{1, 1000}, {2, 500}, {3, 333}, {6, 167}, {7, 143}, {16, 62}, {17, 59},
                 {30, 33},  {0, 0},   {31, 0},  {255, 0}, {-1, 0},  {1000, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RepeatPeriod(c.rate), c.period) << "rate " << c.rate;
}

TEST(TickRepeat, CountsDownOnlyWhilePressedOrRepeating) {
    const struct {
        int state, before, after;
    } cases[] = {{1, 45, 15}, {1, 15, 0},    {2, 30, 0},  {2, 31, 1},   {2, -8, 0},
                 {1, 0, 0},   {0, 200, 200}, {0, -3, -3}, {5, 200, 200}};
    for (const auto& c : cases) {
        TControlMapping m;
        std::memset(&m, 0, sizeof m);
        m.PressState = c.state;
        m.RepeatCountdown = c.before;
        TickRepeat(m, AutoRepeatInterval);
        EXPECT_EQ(m.RepeatCountdown, c.after) << "state " << c.state << " from " << c.before;
    }
}

} // namespace
} // namespace padwright
