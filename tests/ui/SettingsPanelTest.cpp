#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

TEST(SettingsPanel, TwentySixRowsOnTheirGrid) {
    Harness h;
    h.AddProfile("Racing");
    h.AddActive(MakeController(2, 1, {7}, 12)).Profile = 1;
    h.PickDevice(0);
    const auto& rows = h.window->SettingsRows;
    ASSERT_EQ(rows.size(), 26u);
    EXPECT_EQ(h.RowTexts(0)[0], "X Axis -");
    EXPECT_EQ(h.RowTexts(5)[0], "Slider +");
    EXPECT_EQ(h.RowTexts(13)[0], "Hat Switch U-L");
    EXPECT_EQ(h.RowTexts(25)[0], "Button: Button 11");
    const int width = rows[0].NameBox->width();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const TSettingsRow& r = rows[i];
        const int top = 3 + 22 * static_cast<int>(i);
        EXPECT_EQ(r.NameBox->geometry(), QRect(2, top, width, 18));
        EXPECT_EQ(r.NameBox->Tag, static_cast<int>(i));
        EXPECT_EQ(r.NameBox->toolTip(), "Click to edit this control.");
        EXPECT_EQ(r.FunctionBox->geometry(), QRect(2 + width + 5, top, 175, 18));
        EXPECT_EQ(r.ModifierBox->geometry(), QRect(2 + width + 185, top, 110, 18));
        EXPECT_EQ(r.RepeatBox->geometry(), QRect(2 + width + 300, top, 40, 18));
        EXPECT_TRUE(r.RepeatBox->alignment() & Qt::AlignHCenter);
    }
    // Every row shows the mapping of its own slot in the selected profile.
    EXPECT_EQ(rows[6].Mapping, &h.lists.Profiles[0].Mappings[HatSlot(0, 0)]);
    EXPECT_EQ(rows[14].Mapping, &h.lists.Profiles[0].Mappings[ButtonSlot(0)]);
}

TEST(SettingsPanel, AWideLabelWidensTheColumnOfEarlierRows) {
    Harness h;
    h.window->show();
    TControlMapping m[3]{};
    h.window->AddSettingsRow(m[0], "X");
    const int first = h.window->SettingsRows[0].NameBox->width();
    h.window->AddSettingsRow(m[1], "A label far wider than the first one");
    const int wide = h.window->SettingsRows[1].NameBox->width();
    EXPECT_GT(wide, first);
    h.window->AddSettingsRow(m[2], "Y");
    for (const TSettingsRow& row : h.window->SettingsRows) {
        EXPECT_EQ(row.NameBox->width(), wide);
        EXPECT_EQ(row.FunctionBox->x(), 2 + wide + 5);
        EXPECT_EQ(row.RepeatBox->x(), 2 + wide + 300);
    }
    EXPECT_TRUE(h.window->SettingsRows[2].NameBox->isVisible());
}

TEST(SettingsPanel, RowTextsOfMappingsAndOfANewProfile) {
    Harness h;
    TProfile& p = h.AddProfile("Keys");
    TControlMapping& x = p.Mappings[AxisSlot(0, false)];
    AssignFunction(x, "VK_A");
    x.Ctrl = x.Win = 1;
    x.RepeatRate = 16;
    TControlMapping& y = p.Mappings[AxisSlot(0, true)];
    AssignFunction(y, "MOUSE_LEFT_CLICK");
    y.Shift = 1;
    y.RepeatRate = 255;
    h.AddActive(MakeController(1, 0, {}, 1)).Profile = 1;
    h.PickDevice(0);
    EXPECT_EQ(h.RowTexts(0), (std::vector<QString>{"X Axis -", "VK_A", "Ctrl; Win;", "16 tps"}));
    EXPECT_EQ(h.RowTexts(1), (std::vector<QString>{"X Axis +", "MOUSE_LEFT_CLICK", "", "MAX"}));
    EXPECT_EQ(h.RowTexts(2), (std::vector<QString>{"Button: Button 0", "", "", "OFF"}));
}

TEST(SettingsPanel, ControllerWithoutProfileLeavesReadingPaused) {
    Harness h;
    h.AddProfile("One");
    TJoystick& j = h.AddActive(MakeController(2, 0, {}, 4));
    j.Threshold = 1;
    j.MaxVal = 8;
    h.window->core.ResumeReading();
    h.PickDevice(0);
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), -1);
    EXPECT_TRUE(h.window->SettingsRows.empty());
    EXPECT_FALSE(h.window->core.ReadingOn());
    EXPECT_TRUE(h.window->cmbProfiles->isEnabled());
    EXPECT_TRUE(h.window->cmdRemoveDevice->isEnabled());
    EXPECT_EQ(h.window->txtThreshold->text(), "12");
    EXPECT_EQ(h.window->txtMaxVal->text(), "8");

    // Picking a profile assigns it at once and resumes reading.
    h.PickProfile(0);
    EXPECT_EQ(j.Profile, 1);
    EXPECT_EQ(h.window->SettingsRows.size(), 8u);
    EXPECT_TRUE(h.window->core.ReadingOn());

    // No controller selected: the group is disabled, the panel empty, the texts kept.
    h.PickDevice(-1);
    EXPECT_TRUE(h.window->SettingsRows.empty());
    EXPECT_FALSE(h.window->core.ReadingOn());
    for (QWidget* w : {static_cast<QWidget*>(h.window->cmbProfiles),
                       static_cast<QWidget*>(h.window->txtDeadZone),
                       static_cast<QWidget*>(h.window->chkRepeatKeys),
                       static_cast<QWidget*>(h.window->cmdRemoveDevice),
                       static_cast<QWidget*>(h.window->cmdJSApply)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(h.window->txtThreshold->text(), "12");
}

TEST(SettingsPanel, ThresholdShownInPercentHalfToEven) {
    struct Case {
        int threshold, maxVal;
        const char* shown;
    };
    const Case cases[] = {{1, 8, "12"}, {3, 8, "38"}, {5, 10, "50"}, {7, 0, "0"}};
    Harness h;
    for (const Case& c : cases) {
        TJoystick j = MakeController(1, 0, {}, 0);
        j.Threshold = c.threshold;
        j.MaxVal = c.maxVal;
        h.AddActive(j);
    }
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        h.PickDevice(i);
        EXPECT_EQ(h.window->txtThreshold->text(), cases[i].shown) << i;
        EXPECT_EQ(h.window->txtMaxVal->text(), QString::number(cases[i].maxVal));
    }
}

TEST(SettingsPanel, ProfileNumberBeyondTheListKeepsTheSelection) {
    Harness h;
    h.AddProfile("One");
    h.AddProfile("Two");
    h.AddActive(MakeController(1, 0, {}, 0)).Profile = 2;
    TJoystick& far = h.AddActive(MakeController(1, 0, {}, 0));
    far.Profile = 7;
    h.PickDevice(0);
    h.PickDevice(1);
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 1);
    EXPECT_EQ(far.Profile, 2); // the rebuild assigned the profile still selected
}

TEST(SettingsPanel, RowClickEditsAndRefreshesEvenAfterProfilesGrew) {
    Harness h;
    h.AddProfile("First");
    h.AddProfile("Shown");
    h.AddActive(MakeController(1, 0, {}, 2)).Profile = 2;
    h.PickDevice(0);
    // An import appends profiles without a rebuild; the rows must still edit "Shown".
    for (int i = 0; i < 100; ++i)
        h.lists.Profiles.push_back(NewProfile("Imported"));
    h.window->show();
    TStaticText* name = h.window->SettingsRows[2].NameBox;
    const QPalette colours = name->palette();
    int fill = 0, text = 0;
    WhenModal([&](QWidget* dialog) {
        auto* editor = qobject_cast<TfrmControlEntry*>(dialog);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->txtControlName->text(), "Button: Button 0");
        // The box is filled in the highlight colours while the editor is open.
        fill = CountPixels(name, colours.color(QPalette::Highlight));
        text = CountPixels(name, colours.color(QPalette::HighlightedText), {}, 60);
        editor->cmbFunction->setCurrentIndex(editor->cmbFunction->findText("VK_SPACE"));
        editor->chkAlt->setChecked(true);
        editor->trkRepeatRate->setValue(31);
        editor->cmdOK->click();
    });
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_GT(fill, name->width() * name->height() / 2);
    EXPECT_GT(text, 0);
    EXPECT_EQ(CountPixels(name, colours.color(QPalette::Highlight)), 0);
    const TControlMapping& m = h.lists.Profiles[1].Mappings[ButtonSlot(0)];
    EXPECT_EQ(m.FunctionName.str(), "VK_SPACE");
    EXPECT_EQ(m.RepeatRate, 255);
    EXPECT_EQ(h.lists.Profiles[0].Mappings[ButtonSlot(0)].FunctionName.size(), 0u);
    EXPECT_EQ(h.RowTexts(2),
              (std::vector<QString>{"Button: Button 0", "VK_SPACE", "Alt; ", "MAX"}));
}

TEST(SettingsPanel, LargestControllerShows128Buttons) {
    Harness h;
    h.AddProfile("All");
    TJoystick j = MakeController(6, 2, {7, 7, 7, 7}, 128);
    j.ButtonCount = 132;
    h.AddActive(j).Profile = 1;
    h.PickDevice(0);
    ASSERT_EQ(h.window->SettingsRows.size(), 12u + 4u + 32u + 128u);
    EXPECT_EQ(h.window->SettingsRows.back().Mapping, &h.lists.Profiles[0].Mappings[175]);
    const QWidget* last = h.window->SettingsRows.back().RepeatBox;
    EXPECT_EQ(h.window->scbContent->height(), last->geometry().bottom() + 1);
}

TEST(NumericEdits, OnlyDigitsAndBackspaceAreTyped) {
    Harness h;
    TfrmMain& w = *h.window;
    for (QLineEdit* edit :
         {w.txtTimeInterval, w.txtMaxJoysticks, w.txtDeadZone, w.txtMaxVal, w.txtThreshold}) {
        edit->setEnabled(true);
        edit->clear();
        QTest::keyClicks(edit, "1a- 2x");
        EXPECT_EQ(edit->text(), "12");
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text(), "1");
    }
    EXPECT_TRUE(TfrmMain::txtNumericKeypress('7'));
    EXPECT_TRUE(TfrmMain::txtNumericKeypress(QChar(8)));
    for (QChar c : {QChar('a'), QChar('-'), QChar(' '), QChar(9), QChar(13), QChar(0x0663)})
        EXPECT_FALSE(TfrmMain::txtNumericKeypress(c)) << int(c.unicode());
}

TEST(SettingsPanel, EnterAppliesTheFocusedFieldsGroupAndTheRowsAreUsedFromTheKeyboard) {
    Harness h;
    h.AddActive(MakeController(1, 0, {}, 2)); // X -, X +, two buttons
    h.AddProfile("P");
    h.PickDevice(0);
    h.PickProfile(0);
    TfrmMain& w = *h.window;
    int applied[2] = {0, 0}; // Joystick Settings, Application Settings
    QObject::connect(w.cmdJSApply, &QPushButton::clicked, [&] { ++applied[0]; });
    QObject::connect(w.cmdASApply, &QPushButton::clicked, [&] { ++applied[1]; });
    w.show();
    for (QWidget* field : QList<QWidget*>{w.txtDeadZone, w.txtMaxVal, w.txtThreshold,
                                          w.chkRepeatKeys, w.txtTimeInterval, w.txtMaxJoysticks}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
    }
    EXPECT_EQ(applied[0], 4);
    EXPECT_EQ(applied[1], 2);

    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.cmbDevices->setFocus();
    QTest::keyClick(w.cmbDevices, Qt::Key_Tab); // the panel is next in the tab order
    auto marked = [&] {                         // the rows with the focus mark
        std::vector<int> rows;
        for (std::size_t i = 0; i < w.SettingsRows.size(); ++i)
            if (w.SettingsRows[i].NameBox->FocusMark())
                rows.push_back(int(i));
        return rows;
    };
    EXPECT_EQ(marked(), std::vector<int>{0});
    for (auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(w.scbSettings, key);
    EXPECT_EQ(marked(), std::vector<int>{2});
    for (auto key : {Qt::Key_Return, Qt::Key_Space}) {
        QString opened;
        WhenModal([&](QWidget*) {
            opened = w.frmControlEntry->txtControlName->text();
            w.frmControlEntry->cmdCancel->click();
        });
        QTest::keyClick(w.scbSettings, key);
        EXPECT_EQ(opened, w.SettingsRows[2].NameBox->text());
    }
    w.cmdSave->setFocus(); // the mark goes with the focus
    EXPECT_TRUE(marked().empty());
}

} // namespace
} // namespace padwright::test
