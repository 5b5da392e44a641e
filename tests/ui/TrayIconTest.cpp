#include "ui/TrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace padwright {
namespace {

class ClosableWindow : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        QWidget::closeEvent(event);
    }
};

class TrayIconTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tray-icon-test";
        static char* argv[] = {name, nullptr};
        if (!qApp)
            new QApplication(argc, argv);
    }

    // Which image the notification area shows: -1 for the application icon, 0..3 for a frame.
    int Shown() const {
        const qint64 key = tray.CurrentIcon().cacheKey();
        if (key == tray.ApplicationIcon().cacheKey())
            return -1;
        for (int i = 0; i < TrayIcon::FrameCount; ++i)
            if (key == tray.Frame(i).cacheKey())
                return i;
        return -2;
    }

    ClosableWindow window;
    TrayIcon tray{window};
};

TEST_F(TrayIconTest, MenuHasTheFourItemsInOrderWithoutSeparators) {
    QStringList captions;
    for (QAction* action : tray.popSTray().actions())
        captions << (action->isSeparator() ? QStringLiteral("|") : action->text());
    EXPECT_EQ(captions, (QStringList{"Start Reading Data", "Stop Reading Data", "Show", "Exit"}));
    EXPECT_EQ(tray.popSTray().actions().at(0), &tray.popItemStart());
    EXPECT_EQ(tray.popSTray().actions().at(3), &tray.popItemExit());
}

TEST_F(TrayIconTest, ReadingStateSetsTheItems) {
    EXPECT_TRUE(tray.popItemStart().isEnabled()); // both enabled as created
    EXPECT_TRUE(tray.popItemStop().isEnabled());
    for (bool reading : {true, false, true, false}) {
        SCOPED_TRACE(reading);
        tray.ShowReadingState(reading);
        EXPECT_EQ(tray.popItemStart().isEnabled(), !reading);
        EXPECT_EQ(tray.popItemStop().isEnabled(), reading);
        EXPECT_TRUE(tray.popItemShow().isEnabled());
        EXPECT_TRUE(tray.popItemExit().isEnabled());
    }
}

TEST_F(TrayIconTest, ShowsFramesAndTheStillIcon) {
    tray.Add();
    EXPECT_EQ(Shown(), -1);
    for (int frame : {1, 2, 3, 0}) {
        tray.ShowFrame(frame);
        EXPECT_EQ(Shown(), frame);
    }
    tray.ShowStillIcon();
    EXPECT_EQ(Shown(), -1);
    EXPECT_EQ(tray.CurrentIcon().pixmap(32, 32).toImage(),
              tray.ApplicationIcon().pixmap(32, 32).toImage());
}

TEST_F(TrayIconTest, FramesAreDistinctImagesOfTheListSize) {
    for (int i = 0; i < TrayIcon::FrameCount; ++i) {
        const QImage image = tray.Frame(i).pixmap(32, 32).toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(image, tray.Frame(j).pixmap(32, 32).toImage()) << i << " vs " << j;
    }
    EXPECT_FALSE(tray.ApplicationIcon().isNull());
}

TEST_F(TrayIconTest, DoubleClickHidesAndShowsTheWindow) {
    tray.Add();
    window.show();
    tray.TrayIconDoubleClick();
    EXPECT_FALSE(window.isVisible());
    window.setWindowState(Qt::WindowMinimized);
    tray.TrayIconDoubleClick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

// A StatusNotifierItem host reports every activation as Trigger; an XEmbed tray reports the
// first click of a double click as Trigger too.
TEST_F(TrayIconTest, WhichActivationTogglesFollowsTheHost) {
    struct Case {
        TrayHost host;
        QSystemTrayIcon::ActivationReason toggles, ignored;
    };
    for (const Case& c :
         {Case{TrayHost::StatusNotifier, QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick},
          Case{TrayHost::XEmbed, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Trigger}}) {
        ClosableWindow shown;
        TrayIcon icon(shown);
        icon.SetHostProbe([&] { return c.host; });
        icon.Add();
        shown.show();
        icon.Activated(c.ignored);
        EXPECT_TRUE(shown.isVisible());
        icon.Activated(c.toggles);
        EXPECT_FALSE(shown.isVisible());
        icon.Activated(QSystemTrayIcon::MiddleClick);
        EXPECT_FALSE(shown.isVisible());
        icon.Activated(c.toggles);
        EXPECT_TRUE(shown.isVisible());
    }
}

TEST_F(TrayIconTest, HiddenWindowComesBackWhenTheNotificationAreaGoes) {
    TrayHost host = TrayHost::XEmbed;
    tray.SetHostProbe([&] { return host; });
    tray.Add();
    tray.HostChanged();
    EXPECT_FALSE(window.isVisible());
    host = TrayHost::None;
    tray.HostChanged();
    EXPECT_TRUE(window.isVisible());
}

// Asking costs a D-Bus call and X round trips: the animation, hiding and the reader's question
// whether anybody sees the icon use the last answer; only word of a change asks again.
TEST_F(TrayIconTest, NothingIsAskedAtRest) {
    int probes = 0;
    tray.SetHostProbe([&] {
        ++probes;
        return TrayHost::XEmbed;
    });
    tray.Add();
    for (int frame = 0; frame < 8; ++frame) {
        tray.ShowFrame(frame % TrayIcon::FrameCount);
        EXPECT_TRUE(tray.IconShown());
    }
    window.show();
    window.hide();
    QTest::qWait(50);
    EXPECT_EQ(probes, 1);
    tray.HostChanged();
    EXPECT_TRUE(tray.IconShown());
    EXPECT_EQ(probes, 2);
}

TEST_F(TrayIconTest, ShowRestoresAMinimisedWindowAndExitClosesIt) {
    tray.Add();
    window.showMinimized();
    tray.popItemShow().trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());

    window.hide(); // exit works from the tray while the window is hidden
    tray.popItemExit().trigger();
    EXPECT_EQ(window.closes, 1);
}

// With no notification area the icon is no way back: minimising must not hide the window.
TEST_F(TrayIconTest, WithoutANotificationAreaMinimisingKeepsTheWindow) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()); // the offscreen platform has none
    tray.Add();
    EXPECT_FALSE(tray.CanHideWindow());
    window.show();
    window.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(TrayIconTest, RemoveTakesTheIconAway) {
    tray.Add();
    EXPECT_TRUE(tray.IsAdded());
    tray.Remove();
    EXPECT_FALSE(tray.IsAdded());
    EXPECT_FALSE(tray.CanHideWindow());
}

} // namespace
} // namespace padwright
