// The in-memory kernel filters events as the real one does, so that fixture-driven tests see
// what a real node would deliver: axis moves by their fuzz, and nothing that changes nothing.
#include "platform/dinput/FixtureKernel.h"

#include <gtest/gtest.h>

#include <vector>

namespace padwright {
namespace {

constexpr std::int32_t Dropped = -1;

struct FuzzCase {
    std::int32_t fuzz, next, delivered; // Dropped: neither the move nor its report arrives
};

class FixtureKernelFuzz : public ::testing::TestWithParam<FuzzCase> {};

EvdevDescription Axis(std::int32_t fuzz) {
    EvdevDescription d;
    d.name = "pad";
    d.types.set(EV_ABS);
    d.abs.set(ABS_X);
    d.absinfo[ABS_X] = {500, 0, 1000, fuzz, 0, 0};
    d.types.set(EV_KEY);
    d.keys.set(BTN_SOUTH);
    return d;
}

// Everything pending on `reader`.
std::vector<EvdevEvent> Drain(IEvdevNode& reader) {
    std::vector<EvdevEvent> events;
    for (EvdevEvent e; reader.Next(e) == ReadStatus::Event;)
        events.push_back(e);
    return events;
}

std::vector<EvdevEvent> Frame(std::int32_t x) {
    return {{EV_ABS, ABS_X, x}, {EV_SYN, SYN_REPORT, 0}};
}

TEST_P(FixtureKernelFuzz, PushedMovesPassTheKernelsFilter) {
    FixtureKernel kernel;
    const int node = kernel.Add(Axis(GetParam().fuzz));
    std::unique_ptr<IEvdevNode> reader;
    ASSERT_EQ(kernel.Open(FixtureKernel::NodePath(node), reader), 0);

    kernel.Push(node, Frame(GetParam().next));
    const std::int32_t want = GetParam().delivered;
    EXPECT_EQ(Drain(*reader).size(), want == Dropped ? 0u : 2u);
    EvdevDescription now;
    ASSERT_TRUE(kernel.Peek(FixtureKernel::NodePath(node), now));
    EXPECT_EQ(now.absinfo[ABS_X].value, want == Dropped ? 500 : want);
}

TEST_P(FixtureKernelFuzz, RecordedMovesPassTheKernelsFilter) {
    FixtureKernel kernel;
    const int node = kernel.Add(Axis(GetParam().fuzz), Frame(GetParam().next));
    std::unique_ptr<IEvdevNode> reader;
    ASSERT_EQ(kernel.Open(FixtureKernel::NodePath(node), reader), 0);
    const std::vector<EvdevEvent> got = Drain(*reader);
    if (GetParam().delivered == Dropped)
        EXPECT_TRUE(got.empty());
    else
        EXPECT_EQ(got.at(0).value, GetParam().delivered);
}

// From 500 with fuzz 8: within 4 the move is dropped, within 8 a quarter of it passes, within
// 16 half of it, from 16 on all of it; without fuzz every move passes.
INSTANTIATE_TEST_SUITE_P(Moves, FixtureKernelFuzz,
                         ::testing::Values(FuzzCase{8, 503, Dropped}, FuzzCase{8, 497, Dropped},
                                           FuzzCase{8, 506, 501}, FuzzCase{8, 512, 506},
                                           FuzzCase{8, 485, 492}, FuzzCase{8, 484, 484},
                                           FuzzCase{0, 501, 501}, FuzzCase{0, 500, Dropped}));

// Keys already in the state they report, codes the device lacks and the reports of frames
// left empty never reach a reader; auto-repeat does.
TEST(FixtureKernelTest, WhatChangesNothingIsDropped) {
    FixtureKernel kernel;
    const int node = kernel.Add(Axis(0));
    std::unique_ptr<IEvdevNode> reader;
    ASSERT_EQ(kernel.Open(FixtureKernel::NodePath(node), reader), 0);
    kernel.Push(node, {{EV_KEY, BTN_SOUTH, 0},
                       {EV_ABS, ABS_Y, 7},
                       {EV_KEY, BTN_EAST, 1},
                       {EV_SYN, SYN_REPORT, 0},
                       {EV_KEY, BTN_SOUTH, 1},
                       {EV_KEY, BTN_SOUTH, 1},
                       {EV_SYN, SYN_REPORT, 0},
                       {EV_KEY, BTN_SOUTH, 2},
                       {EV_SYN, SYN_REPORT, 0}});
    const std::vector<EvdevEvent> got = Drain(*reader);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].value, 1);
    EXPECT_EQ(got[1].type, EV_SYN);
    EXPECT_EQ(got[2].value, 2);
}

} // namespace
} // namespace padwright
