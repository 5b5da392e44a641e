// The in-memory kernel filters axis moves by their fuzz as the real one does, so that
// fixture-driven tests see the values a real node would deliver.
#include "platform/dinput/FixtureKernel.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

struct FuzzCase {
    std::int32_t fuzz, next, delivered;
};

class FixtureKernelFuzz : public ::testing::TestWithParam<FuzzCase> {};

EvdevDescription Axis(std::int32_t fuzz) {
    EvdevDescription d;
    d.name = "pad";
    d.types.set(EV_ABS);
    d.abs.set(ABS_X);
    d.absinfo[ABS_X] = {500, 0, 1000, fuzz, 0, 0};
    return d;
}

TEST_P(FixtureKernelFuzz, PushedMovesPassTheKernelsFilter) {
    FixtureKernel kernel;
    const int node = kernel.Add(Axis(GetParam().fuzz));
    std::unique_ptr<IEvdevNode> reader;
    ASSERT_EQ(kernel.Open(FixtureKernel::NodePath(node), reader), 0);

    kernel.Push(node, {{EV_ABS, ABS_X, GetParam().next}, {EV_SYN, SYN_REPORT, 0}});
    EvdevEvent e;
    ASSERT_EQ(reader->Next(e), ReadStatus::Event);
    EXPECT_EQ(e.value, GetParam().delivered);
    EvdevDescription now;
    ASSERT_TRUE(kernel.Peek(FixtureKernel::NodePath(node), now));
    EXPECT_EQ(now.absinfo[ABS_X].value, GetParam().delivered);
}

TEST_P(FixtureKernelFuzz, RecordedMovesPassTheKernelsFilter) {
    FixtureKernel kernel;
    const int node = kernel.Add(Axis(GetParam().fuzz),
                                {{EV_ABS, ABS_X, GetParam().next}, {EV_SYN, SYN_REPORT, 0}});
    std::unique_ptr<IEvdevNode> reader;
    ASSERT_EQ(kernel.Open(FixtureKernel::NodePath(node), reader), 0);
    EvdevEvent e;
    ASSERT_EQ(reader->Next(e), ReadStatus::Event);
    EXPECT_EQ(e.value, GetParam().delivered);
}

// From 500 with fuzz 8: within 4 the move is dropped, within 8 a quarter of it passes, within
// 16 half of it, from 16 on all of it; without fuzz every move passes.
INSTANTIATE_TEST_SUITE_P(Moves, FixtureKernelFuzz,
                         ::testing::Values(FuzzCase{8, 503, 500}, FuzzCase{8, 497, 500},
                                           FuzzCase{8, 506, 501}, FuzzCase{8, 512, 506},
                                           FuzzCase{8, 485, 492}, FuzzCase{8, 484, 484},
                                           FuzzCase{0, 501, 501}));

} // namespace
} // namespace padwright
