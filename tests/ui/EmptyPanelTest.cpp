// The blank settings panel says why it is blank and what to do next, at every step from an empty
// machine to a controller with a profile.
#include "UiHarness.h"

#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

TEST(EmptyPanel, EachBlankStateSaysWhatToDoNext) {
    Harness h;
    TfrmMain& w = *h.window;
    const int denied = h.Plug("xbox360-pad-xpad-ayaneo-air.evemu");
    h.kernel->SetDenied(denied, true);
    w.StartDirectInput();
    w.show();
    const QRect panel = w.scbSettings->geometry();

    struct Step {
        const char* doing;
        std::function<void()> act;
        std::vector<const char*> said; // all of these, in the panel
    };
    const Step steps[] = {
        {"nothing readable",
         [] {},
         {"No game controller was found",
          "\"Microsoft X-Box 360 pad\" is a game controller this user may not read", "uaccess",
          "\"input\" group"}},
        {"a pad plugged in",
         [&] {
             h.Plug("usb-gamepad-0079-0011.evemu");
             w.cmdRefreshClick();
         },
         {"Pick one under \"Controllers Found\" and press Add"}},
        {"it is added",
         [&] {
             w.Controllers.View.cmbFoundDevices.ItemIndex = 0;
             w.cmdAddDeviceClick();
         },
         {"Pick an active controller under \"Active Controllers\""}},
        {"it is picked", [&] { h.PickDevice(0); }, {"has no profile", "\">\" -> Add"}},
        {"an absent one is added and picked",
         [&] {
             h.AddActive(MakeController(0, 0, {}, 0)).Name = "Gone Pad";
             h.PickDevice(1);
         },
         {"\"Gone Pad\" is not connected", "has no profile"}},
        {"it gets a profile",
         [&] {
             h.AddProfile("P");
             h.PickProfile(0);
         },
         {"\"Gone Pad\" is not connected. Plug it in"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.doing);
        step.act();
        ASSERT_TRUE(w.txtPanelHint->isVisible());
        for (const char* text : step.said)
            EXPECT_TRUE(w.txtPanelHint->text().contains(QString::fromUtf8(text)))
                << w.txtPanelHint->text().toStdString();
        // In the panel's own area, drawn in the disabled-text colour; the window keeps its size.
        EXPECT_TRUE(
            panel.contains(QRect(w.txtPanelHint->mapTo(&w, QPoint(0, 0)), w.txtPanelHint->size())));
        const QColor disabled = w.palette().color(QPalette::Disabled, QPalette::WindowText);
        const int withText = CountPixels(&w, disabled, panel, 8);
        w.txtPanelHint->hide();
        EXPECT_GT(withText, CountPixels(&w, disabled, panel, 8) + 50);
        w.txtPanelHint->show();
        EXPECT_EQ(w.size(), QSize(466, 499));
    }
    // With rows there is nothing to say.
    h.PickDevice(0);
    h.PickProfile(0);
    ASSERT_FALSE(w.SettingsRows.empty());
    EXPECT_FALSE(w.txtPanelHint->isVisible());
}

} // namespace
} // namespace padwright::test
