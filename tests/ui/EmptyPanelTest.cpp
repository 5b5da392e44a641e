// The blank settings panel says why it is blank and what to do next, at every step from a
// machine without a readable controller to a controller with a profile.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"

#include <QLabel>
#include <QScrollArea>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

TEST(EmptyPanel, EachBlankStateSaysWhatToDoNext) {
    Harness h;
    TfrmMain& w = *h.window;
    h.kernel->SetDenied(h.Plug("xbox360-pad-xpad-ayaneo-air.evemu"), true);
    w.StartDirectInput();
    w.show();
    const QRect panel = w.scbSettings->geometry();
    const struct {
        std::function<void()> act;
        std::vector<const char*> said;
    } steps[] = {
        {[] {},
         {"No game controller was found",
          "\"Microsoft X-Box 360 pad\" is a game controller this user may not read", "uaccess",
          "\"input\" group"}},
        {[&] {
             h.Plug("usb-gamepad-0079-0011.evemu");
             w.cmdRefreshClick();
         },
         {"Pick one under \"Controllers Found\" and press Add"}},
        {[&] {
             w.core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
             w.cmdAddDeviceClick();
         },
         {"Pick an active controller under \"Active Controllers\""}},
        {[&] { h.PickDevice(0); }, {"has no profile", "\">\" -> Add"}},
        {[&] {
             h.AddActive(MakeController(0, 0, {}, 0)).Name = "Gone Pad";
             h.PickDevice(1);
         },
         {"\"Gone Pad\" is not connected", "has no profile"}},
        {[&] {
             h.AddProfile("P");
             h.PickProfile(0);
         },
         {"\"Gone Pad\" is not connected. Plug it in"}},
    };
    const QColor disabled = w.palette().color(QPalette::Disabled, QPalette::WindowText);
    for (const auto& step : steps) {
        step.act();
        const QString text = w.txtPanelHint->text();
        ASSERT_TRUE(w.txtPanelHint->isVisible()) << step.said.front();
        for (const char* said : step.said)
            EXPECT_TRUE(text.contains(QString::fromUtf8(said))) << text.toStdString();
        // Drawn in the panel's area in the disabled-text colour; the window keeps its size.
        const int withText = CountPixels(&w, disabled, panel, 8);
        w.txtPanelHint->hide();
        EXPECT_GT(withText, CountPixels(&w, disabled, panel, 8) + 50);
        w.txtPanelHint->show();
        EXPECT_TRUE(panel.contains(w.txtPanelHint->geometry().translated(panel.topLeft())));
        EXPECT_EQ(w.size(), QSize(466, 499));
    }
    // With rows there is nothing to say; each function box has the editor's words as tooltip.
    AssignFunction(w.core.Lists.Profiles[0].Mappings[ButtonSlot(0)], "MOUSE_WHEEL_BACK");
    h.PickDevice(0);
    h.PickProfile(0);
    EXPECT_FALSE(w.txtPanelHint->isVisible());
    EXPECT_EQ(w.SettingsRows.at(4).FunctionBox->toolTip(),
              "Mouse wheel: one step toward you (scroll down)"); // X, Y, then button 0
}

} // namespace
} // namespace padwright::test
