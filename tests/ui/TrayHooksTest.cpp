// What the window tells the tray: the reading switch and the animation step.
#include "UiHarness.h"
#include "ui/TrayView.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct RecordingTray : ITrayView {
    void ShowReadingState(bool reading) override { seen.push_back(reading ? "reading" : "paused"); }
    void ShowFrame(int frame) override { seen.push_back("frame " + std::to_string(frame)); }
    void ShowStillIcon() override { seen.push_back("still"); }
    std::vector<std::string> seen;
};

TEST(TrayHooks, ReadingSwitchAndAnimationOrder) {
    Harness h;
    RecordingTray tray;
    TfrmMain& w = *h.window;
    w.SetTrayView(&tray);
    w.TrayFrame = 1; // as start-up leaves it

    w.ResumeReading();
    EXPECT_TRUE(w.tmrDataCollect->isActive());
    EXPECT_TRUE(w.tmrAutoRepeat->isActive());

    // tmrSTray runs from creation: the first steps show nothing until it has fired.
    w.TrayAnimationStep();
    w.tmrSTrayTimer();
    w.TrayAnimationStep();
    w.TrayAnimationStep(); // tmrSTray runs again: no second frame
    w.tmrSTray->stop();
    w.TrayAnimationStep();

    w.PauseReading();
    EXPECT_FALSE(w.tmrDataCollect->isActive());
    EXPECT_FALSE(w.tmrAutoRepeat->isActive());
    EXPECT_EQ(w.TrayFrame, 0);
    w.tmrSTray->stop();
    w.TrayAnimationStep();

    EXPECT_EQ(tray.seen, (std::vector<std::string>{"reading", "frame 1", "frame 2", "paused",
                                                   "still", "frame 0"}));
    w.SetTrayView(nullptr);
}

TEST(TrayHooks, TrayTimerOnlyStopsItself) {
    Harness h;
    TfrmMain& w = *h.window;
    ASSERT_TRUE(w.tmrSTray->isActive());
    w.tmrSTrayTimer();
    EXPECT_FALSE(w.tmrSTray->isActive());
    EXPECT_TRUE(w.tmrAutoRepeat->isActive());
}

} // namespace
} // namespace padwright::test
