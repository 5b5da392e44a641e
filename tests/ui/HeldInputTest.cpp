// What a controller holds down is let go before its mappings stop being evaluated, and only
// then: a pause that keeps its profile releases nothing.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/frmEntry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace padwright::test {
namespace {

// Button 0 types A with "Auto-repeat all keys" on, button 1 holds the left mouse button; both
// are held for a few runs.
struct HeldRig {
    Harness h;
    std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();

    HeldRig() {
        TProfile& keys = h.AddProfile("Keys");
        AssignFunction(keys.Mappings[ButtonSlot(0)], "VK_A");
        AssignFunction(keys.Mappings[ButtonSlot(1)], "MOUSE_LEFT_CLICK");
        h.AddProfile("Other");
        TJoystick& j = h.AddActive(MakeController(1, 0, {}, 2));
        j.Profile = 1;
        j.Acquired = true;
        j.RepeatKeys = true;
        j.Device = device;
        h.PickDevice(0);
        device->SetButton(0, true);
        device->SetButton(1, true);
        for (int i = 0; i < 3; ++i)
            h.window->tmrDataCollectTimer();
        EXPECT_EQ(Held(), 2);
        h.injector.calls.clear();
    }

    // How many of the two mappings of "Keys" are still down.
    int Held() {
        const TProfile& keys = h.lists.Profiles[0];
        return (keys.Mappings[ButtonSlot(0)].PressState != psIdle) +
               (keys.Mappings[ButtonSlot(1)].PressState != psIdle);
    }
    // How many releases were sent since the hold: the key's up and the button's up.
    long Releases() {
        return std::count_if(h.injector.calls.begin(), h.injector.calls.end(), [](auto& c) {
            return (c.type == InjectedCall::Key && c.vk == 0x41 && c.flags == KEYEVENTF_KEYUP) ||
                   (c.type == InjectedCall::Mouse && c.flags == MOUSEEVENTF_LEFTUP);
        });
    }
};

TEST(HeldInput, ReleasedWhenTheMappingsStopBeingEvaluated) {
    const struct {
        const char* path;
        std::function<void(Harness&)> act;
    } paths[] = {
        {"Stop Reading Data", [](Harness& h) { h.window->popItemStopClick(); }},
        {"another profile chosen", [](Harness& h) { h.PickProfile(1); }},
        {"its profile deleted", [](Harness& h) { h.window->mnuPDeleteClick(); }},
        {"Remove", [](Harness& h) { h.window->cmdRemoveDeviceClick(); }},
    };
    for (const auto& p : paths) {
        HeldRig run;
        p.act(run.h);
        EXPECT_EQ(run.Releases(), 2) << p.path;
        // Deleting drops the profile itself; the others must leave it idle.
        if (run.h.lists.Profiles[0].Name.str() == "Keys") {
            EXPECT_EQ(run.Held(), 0) << p.path;
        }
    }
}

TEST(HeldInput, NothingReleasedByAPauseThatKeepsTheProfile) {
    HeldRig run;
    Harness& h = run.h;
    const QString exported = h.Path("keys.pwp");
    h.dialogs.fileAnswers = {exported, exported};
    const struct {
        const char* path;
        std::function<void()> act;
    } paths[] = {
        {"the controller chosen again", [&] { h.PickDevice(0); }},
        {"the same profile chosen", [&] { h.PickProfile(0); }},
        {"its settings applied", [&] { h.window->cmdJSApplyClick(); }},
        {"Rename",
         [&] {
             WhenModal([](QWidget* dialog) {
                 auto* entry = qobject_cast<TfrmEntry*>(dialog);
                 entry->txtProfEntry->setText("Renamed");
                 entry->cmdOK->click();
             });
             h.window->mnuPRenameClick();
         }},
        {"Import",
         [&] {
             h.window->mnuPExportClick();
             h.window->mnuPImportClick();
         }},
    };
    for (const auto& p : paths) {
        p.act();
        EXPECT_EQ(run.Releases(), 0) << p.path;
        EXPECT_EQ(run.Held(), 2) << p.path;
        EXPECT_TRUE(h.window->core.ReadingOn()) << p.path;
    }
    EXPECT_EQ(h.lists.Profiles[0].Name.str(), "Renamed");
    EXPECT_EQ(h.lists.Profiles.count(), 3);
}

} // namespace
} // namespace padwright::test
