// The tray icon with a real notification area: an XEmbed tray host (trayer) on a private X
// server. Minimising then hides the window, and the icon brings it back.
#include "support/XSession.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace padwright {
namespace {

using namespace testing;

class TrayUnderX : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        x = new XServer;
        tray = new Child({"/usr/bin/trayer", "--edge", "top", "--align", "right"},
                         {{"DISPLAY", x->Name()}});
        ASSERT_TRUE(WaitUntil([] { return x->HasTrayHost(); }, Millis(5000))) << tray->Stderr();
        qputenv("DISPLAY", QByteArray::fromStdString(x->Name()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
        // No StatusNotifierItem host either: the XEmbed tray is the one to use.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/padwright-test-bus");
        static int argc = 1;
        static char name[] = "tray-under-x-test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete app;
        delete tray;
        delete x;
    }

    static bool Eventually(const std::function<bool()>& condition) {
        return WaitUntil(
            [&] {
                QApplication::processEvents();
                return condition();
            },
            Millis(5000));
    }

    static inline XServer* x = nullptr;
    static inline Child* tray = nullptr;
    static inline QApplication* app = nullptr;
};

TEST_F(TrayUnderX, MinimisingHidesTheWindowAndShowBringsItBack) {
    ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    QWidget window;
    window.setWindowTitle("Padwright");
    TrayIcon icon(window);
    window.show();
    EXPECT_FALSE(icon.CanHideWindow()); // not before the icon is added
    icon.Add();
    EXPECT_TRUE(icon.CanHideWindow());

    window.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(Eventually([&] { return !window.isVisible(); }));

    icon.popItemShow().trigger();
    EXPECT_TRUE(Eventually([&] { return window.isVisible(); }));
    EXPECT_FALSE(window.isMinimized());

    // After the icon is removed (shut-down) minimising no longer hides.
    icon.Remove();
    window.setWindowState(Qt::WindowMinimized);
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace padwright
