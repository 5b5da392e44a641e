// The window over the real controller access and store logic: fixture controllers, a settings
// file and a profile store in a folder of the test's own.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"
#include "ui/common/RowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

namespace padwright::test {
namespace {

// The user picks item `index` of a list box.
void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

TEST(Bindings, RefreshAddSelectRemoveThroughTheWidgets) {
    Harness h;
    h.Plug("usb-gamepad-0079-0011.evemu");
    h.Plug("logitech-g29-wheel.evemu");
    TfrmMain& w = *h.window;
    w.cmdRefresh->click();
    ASSERT_EQ(w.cmbFoundDevices->count(), 2);
    EXPECT_EQ(w.cmbFoundDevices->currentIndex(), -1);
    EXPECT_FALSE(w.cmdAddDevice->isEnabled());

    Pick(w.cmbFoundDevices, 1);
    EXPECT_TRUE(w.cmdAddDevice->isEnabled());
    w.cmdAddDevice->click();
    Pick(w.cmbFoundDevices, 0);
    w.cmdAddDevice->click();
    ASSERT_EQ(w.cmbDevices->count(), 2);
    EXPECT_EQ(w.cmbDevices->itemText(0), w.cmbFoundDevices->itemText(1));
    EXPECT_TRUE(h.lists.ActiveJoysticks[0].Acquired);

    h.AddProfile("Wheel");
    Pick(w.cmbDevices, 0);
    EXPECT_TRUE(w.cmdRemoveDevice->isEnabled());
    EXPECT_EQ(w.txtMaxVal->text(), "10");
    Pick(w.cmbProfiles, 0);
    const TJoystick& wheel = h.lists.ActiveJoysticks[0];
    EXPECT_EQ(w.SettingsRows.size(), PlanSettingsRows(wheel).size());
    EXPECT_GT(wheel.ButtonCount, 10);
    EXPECT_EQ(h.RowTexts(0)[0], "X Axis -");
    EXPECT_TRUE(w.core.ReadingOn());

    w.cmdRemoveDevice->click();
    EXPECT_EQ(w.cmbDevices->count(), 1);
    EXPECT_EQ(w.cmbDevices->currentIndex(), -1);
    EXPECT_FALSE(w.cmdRemoveDevice->isEnabled());
    EXPECT_TRUE(w.SettingsRows.empty());
    EXPECT_FALSE(w.cmbProfiles->isEnabled());
}

TEST(Bindings, AttentionBoxesAndConversionErrorsOfTheApplicationSettings) {
    Harness h;
    TfrmMain& w = *h.window;
    struct Case {
        const char* interval;
        const char* maxJoysticks;
        ShownBox box;
    };
    const Case cases[] = {
        {"0", "4", {"Range for time interval is 1-2000.", "Attention", BoxIcon::Warning}},
        {"2001", "4", {"Range for time interval is 1-2000.", "Attention", BoxIcon::Warning}},
        {"10",
         "101",
         {"Range for maximum number of joysticks is 1-100.", "Attention", BoxIcon::Warning}},
        {"", "4", {"'' is not a valid integer value.", "Padwright", BoxIcon::Error}},
    };
    for (const Case& c : cases) {
        h.dialogs.boxes.clear();
        w.txtTimeInterval->setText(c.interval);
        w.txtMaxJoysticks->setText(c.maxJoysticks);
        w.cmdASApply->click();
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << c.interval;
        EXPECT_EQ(h.dialogs.boxes[0], c.box);
        EXPECT_EQ(w.core.tmrDataCollect->Interval(), 5); // nothing applied
        EXPECT_EQ(w.txtTimeInterval->text(), c.interval);
    }
    w.txtTimeInterval->setText("2000");
    w.txtMaxJoysticks->setText("100");
    w.cmdASApply->click();
    EXPECT_EQ(w.core.tmrDataCollect->Interval(), 2000);
    EXPECT_EQ(h.lists.MaxJoysticks, 100);
    w.txtTimeInterval->setText("7");
    w.cmdASReset->click();
    EXPECT_EQ(w.txtTimeInterval->text(), "2000");
}

TEST(Bindings, JoystickApplyCutsToOneHundredAndResetShowsPercent) {
    Harness h;
    TfrmMain& w = *h.window;
    TJoystick& j = h.AddActive(MakeController(1, 0, {}, 0));
    h.PickDevice(0);
    w.txtDeadZone->setText("150");
    w.txtMaxVal->setText("10");
    w.txtThreshold->setText("25");
    w.chkRepeatKeys->setChecked(false);
    w.cmdJSApply->click();
    EXPECT_EQ(w.txtDeadZone->text(), "100");
    EXPECT_EQ(j.DeadZone, 100);
    EXPECT_EQ(j.Threshold, 2);
    EXPECT_FALSE(j.RepeatKeys);
    w.cmdJSReset->click();
    EXPECT_EQ(w.txtThreshold->text(), "20");

    // A field that is not a number ends the Apply there; what came before stays applied.
    w.txtDeadZone->setText("30");
    w.txtMaxVal->clear();
    w.cmdJSApply->click();
    EXPECT_EQ(j.DeadZone, 30);
    EXPECT_EQ(j.MaxVal, 10);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "'' is not a valid integer value.");
}

TEST(Bindings, ImportKeepsRowsOnTheirProfileAndExportRoundTrips) {
    Harness h;
    TfrmMain& w = *h.window;
    TProfile& shown = h.AddProfile("Shown");
    AssignFunction(shown.Mappings[ButtonSlot(1)], "VK_F5");
    shown.Mappings[ButtonSlot(1)].Reserved = 77;
    h.AddActive(MakeController(0, 0, {}, 4)).Profile = 1;
    h.PickDevice(0);

    h.dialogs.fileAnswers = {h.Path("shown.pro")};
    w.mnuPExport->trigger();
    QFile exported(h.Path("shown.pro"));
    ASSERT_EQ(exported.size(), 15040);

    // Import the same file many times: the list grows, the panel is not rebuilt.
    for (int i = 0; i < 40; ++i) {
        h.dialogs.fileAnswers = {h.Path("shown.pro")};
        w.mnuPImport->trigger();
    }
    ASSERT_EQ(h.lists.Profiles.count(), 41);
    EXPECT_EQ(w.cmbProfiles->count(), 41);
    EXPECT_EQ(w.cmbProfiles->currentIndex(), 0);
    EXPECT_EQ(std::memcmp(&h.lists.Profiles[40], &h.lists.Profiles[0], sizeof(TProfile)), 0);

    WhenModal([](QWidget* dialog) {
        auto* ok = dialog->findChild<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
        auto* list = dialog->findChild<QComboBox*>();
        list->setCurrentIndex(list->findText("VK_F6"));
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == "OK")
                ok = b;
        ok->click();
    });
    QTest::mouseClick(w.SettingsRows[1].NameBox, Qt::LeftButton);
    EXPECT_EQ(h.lists.Profiles[0].Mappings[ButtonSlot(1)].FunctionName.str(), "VK_F6");
    EXPECT_EQ(h.lists.Profiles[40].Mappings[ButtonSlot(1)].FunctionName.str(), "VK_F5");
    EXPECT_EQ(h.RowTexts(1)[1], "VK_F6");

    // A file of any other size is refused with its box; a cancelled dialog does nothing.
    QFile bad(h.Path("bad.pro"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(15039, char(0)));
    bad.close();
    h.dialogs.fileAnswers = {h.Path("bad.pro"), std::nullopt};
    w.mnuPImport->trigger();
    w.mnuPImport->trigger();
    EXPECT_EQ(h.lists.Profiles.count(), 41);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0],
              (ShownBox{"This file does not contain a valid profile.", "Error", BoxIcon::Warning}));
}

TEST(Bindings, ImportIntoAnEmptyListSelectsNothing) {
    Harness h;
    TfrmMain& w = *h.window;
    QFile file(h.Path("one.pro"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const TProfile profile = NewProfile("From file");
    file.write(reinterpret_cast<const char*>(&profile), sizeof profile);
    file.close();
    h.AddActive(MakeController(1, 0, {}, 0));
    h.PickDevice(0);
    h.dialogs.fileAnswers = {h.Path("one.pro")};
    w.mnuPImport->trigger();
    ASSERT_EQ(w.cmbProfiles->count(), 1);
    EXPECT_EQ(w.cmbProfiles->itemText(0), "From file");
    EXPECT_EQ(w.cmbProfiles->currentIndex(), -1);
    EXPECT_EQ(h.lists.ActiveJoysticks[0].Profile, 0);
    w.popProfilePopup();
    EXPECT_FALSE(w.mnuPExport->isEnabled());
}

TEST(Bindings, SaveWritesSettingsAndStoreThatTheNextStartReads) {
    Harness h;
    TfrmMain& w = *h.window;
    h.AddProfile("One");
    h.AddProfile("Two");
    h.AddActive(MakeController(1, 0, {}, 0)).Profile = 2;
    w.chkStartMinimized->setChecked(true);
    w.txtTimeInterval->setText("25");
    w.txtMaxJoysticks->setText("4");
    w.cmdASApply->click();
    w.cmdSave->click();
    EXPECT_TRUE(h.dialogs.boxes.empty());
    EXPECT_EQ(QFile(h.Path("Padwright.pro")).size(), 2 * 15040);

    // A second window over the same folder starts where the first one left off.
    Harness second({h.Path("Padwright.pro").toStdString(), h.settings.get()});
    TfrmMain& next = *second.window;
    TLists& lists = second.lists;
    next.LoadProfileStore();
    EXPECT_TRUE(next.LoadApplicationSettings());
    EXPECT_EQ(next.cmbProfiles->count(), 2);
    EXPECT_EQ(next.cmbProfiles->itemText(1), "Two");
    EXPECT_EQ(next.txtTimeInterval->text(), "25");
    EXPECT_EQ(next.core.tmrDataCollect->Interval(), 25);
    EXPECT_TRUE(next.chkStartMinimized->isChecked());
    ASSERT_EQ(next.cmbDevices->count(), 1);
    EXPECT_EQ(lists.ActiveJoysticks[0].Profile, 2);
    EXPECT_EQ(next.cmbDevices->currentIndex(), -1);
}

TEST(Bindings, StartAndStopReadingFromTheTray) {
    Harness h;
    h.Plug("usb-gamepad-0079-0011.evemu");
    TfrmMain& w = *h.window;
    w.StartDirectInput();
    ASSERT_EQ(w.cmbFoundDevices->count(), 1);
    Pick(w.cmbFoundDevices, 0);
    w.cmdAddDevice->click();
    w.popItemStopClick();
    EXPECT_FALSE(w.core.ReadingOn());
    EXPECT_FALSE(h.lists.ActiveJoysticks[0].Acquired);
    w.popItemStartClick();
    EXPECT_TRUE(w.core.ReadingOn());
    EXPECT_TRUE(h.lists.ActiveJoysticks[0].Acquired);
}

} // namespace
} // namespace padwright::test

namespace padwright::test {
namespace {

TEST(Bindings, AStoreThatCannotBeWrittenEndsSaveWithTheErrorBox) {
    QTemporaryDir folder;
    Harness h({folder.filePath("missing-folder/Padwright.pro").toStdString()});
    TLists& lists = h.lists;
    FakeDialogs& dialogs = h.dialogs;
    TfrmMain& window = *h.window;
    lists.Profiles.push_back(NewProfile("Kept"));
    window.cmbProfiles->addItem("Kept");
    window.cmdSave->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Padwright");
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
    EXPECT_TRUE(dialogs.boxes[0].text.contains("Padwright.pro"))
        << dialogs.boxes[0].text.toStdString();
    EXPECT_TRUE(dialogs.boxes[0].text.endsWith('.'));
    EXPECT_EQ(lists.Profiles.count(), 1);
    // The window goes on: the next handler runs as usual.
    window.txtTimeInterval->setText("9");
    window.txtMaxJoysticks->setText("4");
    window.cmdASApply->click();
    EXPECT_EQ(window.core.tmrDataCollect->Interval(), 9);
}

} // namespace
} // namespace padwright::test
