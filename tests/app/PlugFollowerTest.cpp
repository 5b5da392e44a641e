// The kernel's word of plugging reaching the checks through the event loop.
#include "core/PlugFollower.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/eventloop/QtEventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace padwright {
namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "plug_follower_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

QtEventLoop& Loop() {
    static QtEventLoop loop;
    return loop;
}

void RunFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

EvdevDescription Node(std::uint16_t product) {
    EvdevDescription d;
    d.name = "node";
    d.product = product;
    return d;
}

TEST(PlugFollowerTest, ABurstOfNodesGivesOneCheckAndNothingRunsAtRest) {
    App();
    FixtureKernel kernel;
    std::vector<bool> checks;
    PlugFollower follower(Loop(), kernel.Monitor(), [&](bool lastTry) {
        checks.push_back(lastTry);
        return false;
    });
    RunFor(PlugFollower::SettleMs * 3);
    EXPECT_TRUE(checks.empty()) << "no word, no check";

    for (std::uint16_t n = 1; n <= 3; ++n) {
        kernel.Add(Node(n));
        RunFor(20);
    }
    RunFor(PlugFollower::SettleMs * 3);
    EXPECT_EQ(checks, std::vector<bool>{false});

    kernel.Unplug(0);
    RunFor(PlugFollower::SettleMs * 3);
    EXPECT_EQ(checks, (std::vector<bool>{false, false}));
}

TEST(PlugFollowerTest, ACheckThatAsksIsRepeatedUntilTheLastTry) {
    App();
    FixtureKernel kernel;
    std::vector<bool> checks;
    PlugFollower follower(Loop(), kernel.Monitor(), [&](bool lastTry) {
        checks.push_back(lastTry);
        return true;
    });
    kernel.Add(Node(1));
    RunFor(PlugFollower::SettleMs + PlugFollower::RetryForMs + PlugFollower::RetryMs * 4);
    ASSERT_GE(checks.size(), 3u);
    EXPECT_TRUE(checks.back()) << "the last try comes";
    EXPECT_EQ(std::count(checks.begin(), checks.end(), true), 1);
    const std::size_t n = checks.size();
    RunFor(PlugFollower::RetryMs * 2);
    EXPECT_EQ(checks.size(), n) << "and then nothing more";
}

} // namespace
} // namespace padwright
