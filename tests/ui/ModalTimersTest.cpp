// The engine keeps reading while the user is in a dialog, a message box or a menu.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct ModalTimers : ::testing::Test {
    Harness h;
    std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
    int& dataTicks = h.loop.ticks[5];
    int& repeatTicks = h.loop.ticks[AutoRepeatInterval];

    void SetUp() override {
        TProfile& p = h.AddProfile("Keys");
        AssignFunction(p.Mappings[ButtonSlot(0)], "VK_A");
        p.Mappings[ButtonSlot(0)].RepeatRate = 30;
        p.Mappings[ButtonSlot(0)].AutoRepeat = 1;
        TJoystick& j = h.AddActive(MakeController(1, 0, {}, 2));
        j.Profile = 1;
        j.Acquired = true;
        j.RepeatKeys = false;
        j.Device = device;
        h.PickDevice(0); // rebuilds the panel and switches reading on
        device->SetButton(0, true);
        h.window->show();
    }

    // Once the modal widget (or pop-up menu) is open, lets 200 ms pass inside its event loop
    // and closes it with `close`; the result holds the ticks and keys seen meanwhile.
    struct During {
        int data = -1, repeat = -1;
        std::size_t keys = 0;
    };
    std::shared_ptr<During> Arm(std::function<void(QWidget*)> close, bool popup = false) {
        auto result = std::make_shared<During>();
        auto inside = [=, this](QWidget* widget) {
            const During atOpen{dataTicks, repeatTicks, h.injector.calls.size()};
            QTimer::singleShot(200, widget, [=, this] {
                *result = {dataTicks - atOpen.data, repeatTicks - atOpen.repeat,
                           h.injector.calls.size() - atOpen.keys};
                close(widget);
            });
        };
        popup ? WhenPopup(inside) : WhenModal(inside);
        return result;
    }

    void Expect(const During& d) {
        EXPECT_GE(d.data, 5);   // every 5 ms, loosely
        EXPECT_GE(d.repeat, 2); // every 30 ms
        EXPECT_GT(d.keys, 0u);  // the held button repeats its key
    }
};

void Reject(QWidget* w) {
    qobject_cast<QDialog*>(w)->reject();
}

TEST_F(ModalTimers, ControlEditor) {
    auto result = Arm(Reject);
    QTest::mouseClick(h.window->SettingsRows[0].NameBox, Qt::LeftButton);
    Expect(*result);
}

TEST_F(ModalTimers, NameDialog) {
    auto result = Arm([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    h.window->mnuPAdd->trigger();
    Expect(*result);
}

TEST_F(ModalTimers, MessageBox) {
    QtUserDialogs real(h.window.get());
    auto result = Arm(Reject);
    real.Warning("Range for time interval is 1-2000.", "Attention");
    Expect(*result);
}

TEST_F(ModalTimers, FileDialog) {
    QtUserDialogs real(h.window.get());
    auto result = Arm(Reject);
    EXPECT_FALSE(real.OpenProfileFile().has_value());
    Expect(*result);
}

TEST_F(ModalTimers, ProfileMenu) {
    auto result = Arm([](QWidget* w) { w->close(); }, true);
    h.window->cmdPPopUp->click();
    Expect(*result);
}

} // namespace
} // namespace padwright::test
