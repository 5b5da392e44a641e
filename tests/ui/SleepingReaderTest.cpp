// The window's reader at rest: asleep with reading still on, woken at once by input, by a node
// that hangs up and by a change the user makes, with the tray animation going on by itself.
#include "UiHarness.h"
#include "core/TrayView.h"
#include "engine/Catalogue.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct Tray : ITrayView {
    void ShowReadingState(bool reading) override { seen.push_back(reading ? "reading" : "paused"); }
    void ShowFrame(int frame) override { seen.push_back("frame " + std::to_string(frame)); }
    void ShowStillIcon() override { seen.push_back("still"); }
    bool IconShown() const override { return shown; }
    std::vector<std::string> seen;
    bool shown = true;
};

void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A pad whose first button types A, read by the window.
struct Reading {
    Harness h;
    Tray tray;
    TfrmMain& w = *h.window;
    int node = h.Plug("usb-gamepad-0079-0011.evemu");

    Reading() {
        w.core.SetTrayView(&tray);
        w.StartDirectInput();
        Pick(w.cmbFoundDevices, 0);
        w.cmdAddDevice->click();
        AssignFunction(h.AddProfile("Pad").Mappings[ButtonSlot(0)], "VK_A");
        Pick(w.cmbDevices, 0);
        Pick(w.cmbProfiles, 0);
    }
    ~Reading() { w.core.SetTrayView(nullptr); }

    bool Asleep() {
        return QTest::qWaitFor([&] { return w.core.Reader().Asleep(); }, 2000);
    }
    void Button(int value) {
        h.kernel->Push(node, {{EV_KEY, BTN_TRIGGER, value}, {EV_SYN, SYN_REPORT, 0}});
    }
};

TEST(SleepingReader, InputWakesItAtOnceAndItSleepsAgainOnceLetGo) {
    Reading r;
    ASSERT_TRUE(r.Asleep());
    EXPECT_TRUE(r.w.core.ReadingOn()) << "sleeping is not pausing";
    EXPECT_FALSE(r.w.core.tmrDataCollect->IsActive());
    EXPECT_FALSE(r.w.core.tmrAutoRepeat->IsActive());
    EXPECT_NE(r.tray.seen.back(), "still") << "no pause was shown";

    TControlMapping& a = r.w.core.Lists.Profiles[0].Mappings[ButtonSlot(0)];
    a.AutoRepeat = 1;
    a.RepeatRate = 10;
    r.Button(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !r.h.injector.calls.empty(); }, 2000));
    EXPECT_EQ(r.h.injector.calls[0].vk, 0x41);
    EXPECT_TRUE(r.w.core.tmrDataCollect->IsActive())
        << "a held button that repeats keeps the interval";
    QTest::qWait(50);
    EXPECT_FALSE(r.w.core.Reader().Asleep());
    r.Button(0);
    EXPECT_TRUE(r.Asleep());
}

TEST(SleepingReader, TheTrayAnimatesByItselfWhileAsleepOnlyWhereAnIconShows) {
    Reading r;
    ASSERT_TRUE(r.Asleep());
    r.tray.seen.clear();
    r.w.tmrSTrayTimer();
    ASSERT_EQ(r.tray.seen.size(), 1u);
    EXPECT_EQ(r.tray.seen[0].rfind("frame", 0), 0u);
    EXPECT_TRUE(r.w.core.tmrSTray->IsActive());

    r.tray.shown = false;
    r.w.tmrSTrayTimer();
    EXPECT_EQ(r.tray.seen.size(), 1u);
    EXPECT_FALSE(r.w.core.tmrSTray->IsActive()) << "nothing wakes at rest without an icon";
}

TEST(SleepingReader, AnUnplugWakesItAndPausesReading) {
    Reading r;
    ASSERT_TRUE(r.Asleep());
    r.h.kernel->Unplug(r.node);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !r.w.core.ReadingOn(); }, 2000));
    EXPECT_FALSE(r.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_EQ(r.tray.seen.back(), "still");
}

TEST(SleepingReader, AControllerAddedWhileAsleepIsWaitedOnToo) {
    Reading r;
    const int second = r.h.Plug("usb-gamepad-0079-0011.evemu");
    r.w.cmdRefresh->click();
    ASSERT_TRUE(r.Asleep());
    Pick(r.w.cmbFoundDevices, 1);
    r.w.cmdAddDevice->click();
    TJoystick& added = r.h.lists.ActiveJoysticks[1];
    ASSERT_TRUE(added.Acquired);
    added.Profile = 1;
    ASSERT_TRUE(r.Asleep());
    r.h.kernel->Push(second, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !r.h.injector.calls.empty(); }, 2000));
}

} // namespace
} // namespace padwright::test
