// What the window tells the tray: the reading switch and the animation step.
#include "UiHarness.h"
#include "core/TrayView.h"

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
    w.core.SetTrayView(&tray);
    w.core.TrayFrame = 1; // as start-up leaves it

    w.core.ResumeReading();
    EXPECT_TRUE(w.core.tmrDataCollect->IsActive());
    EXPECT_TRUE(w.core.tmrAutoRepeat->IsActive());

    // tmrSTray runs from creation: the first steps show nothing until it has fired.
    w.core.TrayAnimationStep();
    w.tmrSTrayTimer();
    w.core.TrayAnimationStep();
    w.core.TrayAnimationStep(); // tmrSTray runs again: no second frame
    w.core.tmrSTray->Stop();
    w.core.TrayAnimationStep();

    w.core.PauseReading();
    EXPECT_FALSE(w.core.tmrDataCollect->IsActive());
    EXPECT_FALSE(w.core.tmrAutoRepeat->IsActive());
    EXPECT_EQ(w.core.TrayFrame, 0);
    w.core.tmrSTray->Stop();
    w.core.TrayAnimationStep();

    EXPECT_EQ(tray.seen, (std::vector<std::string>{"reading", "frame 1", "frame 2", "paused",
                                                   "still", "frame 0"}));
    w.core.SetTrayView(nullptr);
}

TEST(TrayHooks, TrayTimerOnlyStopsItself) {
    Harness h;
    TfrmMain& w = *h.window;
    ASSERT_TRUE(w.core.tmrSTray->IsActive());
    w.tmrSTrayTimer();
    EXPECT_FALSE(w.core.tmrSTray->IsActive());
    EXPECT_TRUE(w.core.tmrAutoRepeat->IsActive());
}

} // namespace
} // namespace padwright::test
