#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>

namespace padwright::test {
namespace {

struct Editor : ::testing::Test {
    TfrmControlEntry editor;
    TControlMapping target{};

    // Opens the editor on `target` and runs `inside` while it is open.
    void Edit(std::function<void(TfrmControlEntry&)> inside) {
        WhenModal([this, inside](QWidget*) { inside(editor); });
        editor.EditControl("Button 1", target);
        EXPECT_FALSE(editor.isVisible());
    }
    void Choose(const char* name) {
        editor.cmbFunction->setCurrentIndex(editor.cmbFunction->findText(name));
    }
};

TEST_F(Editor, FunctionListHoldsMouseGroupBeforeAppCommands) {
    QComboBox& list = *editor.cmbFunction;
    ASSERT_EQ(list.count(), 183);
    EXPECT_EQ(list.itemText(0), "NONE");
    EXPECT_EQ(list.itemText(1), "MOUSE_MOVE_X_NEG");
    EXPECT_EQ(list.itemText(9), "MOUSE_WHEEL_BACK");
    EXPECT_EQ(list.itemText(10), "MEDIA_PLAY");
    EXPECT_EQ(list.itemText(29), "BROWSER_BACKWARD");
    EXPECT_EQ(list.itemText(30), "VK_LBUTTON");
    EXPECT_EQ(list.itemText(178), "VK_OEM_102");
    EXPECT_EQ(list.itemText(179), "EWX_LOGOFF");
    EXPECT_EQ(list.itemText(182), "EWX_REBOOT");
}

TEST_F(Editor, EnablingRulesFollowTheChosenFunction) {
    Edit([this](TfrmControlEntry& e) {
        // An empty name selects nothing: no kind, modifiers off, repeat on.
        EXPECT_EQ(e.cmbFunction->currentIndex(), -1);
        EXPECT_EQ(e.WorkMapping.Kind, fkNone);
        EXPECT_FALSE(e.chkShift->isEnabled());
        EXPECT_TRUE(e.trkRepeatRate->isEnabled());

        struct Case {
            const char* function;
            std::int32_t kind;
            bool modifiers, repeat;
        };
        const Case cases[] = {
            {"MOUSE_MOVE_Y_POS", fkMouse, false, false},
            {"MOUSE_LEFT_CLICK", fkMouse, false, true},
            {"MOUSE_WHEEL_FORWARD", fkMouse, false, true},
            {"VK_A", fkKey, true, true},
            {"MEDIA_PLAY", fkAppCommand, false, true},
            {"EWX_REBOOT", fkPower, false, true},
            {"MOUSE_MOVE_X_NEG", fkMouse, false, false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.function);
            Choose(c.function);
            EXPECT_EQ(e.WorkMapping.FunctionName.str(), c.function);
            EXPECT_EQ(e.WorkMapping.Kind, c.kind);
            for (QCheckBox* box : {e.chkShift, e.chkCtrl, e.chkAlt, e.chkWin})
                EXPECT_EQ(box->isEnabled(), c.modifiers);
            EXPECT_EQ(e.trkRepeatRate->isEnabled(), c.repeat);
            EXPECT_EQ(e.txtAutoRepeat->isEnabled(), c.repeat);
        }
        Choose("NONE");
        EXPECT_TRUE(e.WorkMapping.FunctionName.empty());
        EXPECT_EQ(e.WorkMapping.Code, 0);
        EXPECT_EQ(e.WorkMapping.Kind, fkNone);
        e.cmdCancel->click();
    });
}

TEST_F(Editor, ModifierMarksSurviveANonKeyFunction) {
    AssignFunction(target, "VK_A");
    target.Ctrl = 1;
    Edit([this](TfrmControlEntry& e) {
        EXPECT_TRUE(e.chkCtrl->isChecked());
        e.chkShift->click();
        Choose("MEDIA_PLAY");
        EXPECT_FALSE(e.chkShift->isEnabled());
        EXPECT_TRUE(e.chkShift->isChecked());
        Choose("VK_B");
        EXPECT_TRUE(e.chkShift->isEnabled());
        EXPECT_TRUE(e.chkShift->isChecked());
        e.cmdOK->click();
    });
    EXPECT_EQ(target.FunctionName.str(), "VK_B");
    EXPECT_EQ(target.Shift, 1);
    EXPECT_EQ(target.Ctrl, 1);
}

TEST_F(Editor, TrackBarPositionsAndStoredRates) {
    target.RepeatRate = 255;
    target.AutoRepeat = 1;
    Edit([this](TfrmControlEntry& e) {
        EXPECT_EQ(e.trkRepeatRate->value(), 31);
        EXPECT_EQ(e.txtAutoRepeat->text(), "MAXIMUM");
        const std::tuple<int, int, int, const char*> steps[] = {{0, 0, 0, "OFF"},
                                                                {1, 1, 1, "1 times/sec"},
                                                                {30, 30, 1, "30 times/sec"},
                                                                {31, 255, 1, "MAXIMUM"}};
        for (const auto& [position, rate, autoRepeat, words] : steps) {
            e.trkRepeatRate->setValue(position);
            EXPECT_EQ(e.WorkMapping.RepeatRate, rate) << position;
            EXPECT_EQ(e.WorkMapping.AutoRepeat, autoRepeat) << position;
            EXPECT_EQ(e.txtAutoRepeat->text(), words);
        }
        e.trkRepeatRate->setValue(12);
        e.cmdOK->click();
    });
    EXPECT_EQ(target.RepeatRate, 12);
    EXPECT_EQ(target.AutoRepeat, 1);
}

TEST_F(Editor, CancelAndEscapeLeaveTheRecord) {
    AssignFunction(target, "VK_A");
    target.RepeatRate = 5;
    const TControlMapping before = target;
    Edit([this](TfrmControlEntry& e) {
        Choose("MEDIA_STOP");
        e.chkWin->click();
        e.trkRepeatRate->setValue(31);
        QTest::keyClick(&e, Qt::Key_Escape);
        EXPECT_TRUE(e.isVisible()); // Escape is not Cancel
        e.cmdCancel->click();
    });
    EXPECT_EQ(std::memcmp(&target, &before, sizeof target), 0);
}

TEST_F(Editor, OkWritesRunTimeFieldsAsTheyWereWhenItOpened) {
    AssignFunction(target, "VK_A");
    target.PressState = psPressed;
    target.RepeatCountdown = 33;
    target.Reserved = 0x1234;
    Edit([this](TfrmControlEntry& e) {
        // The cycle goes on while the editor is open and changes the record meanwhile.
        target.PressState = psIdle;
        target.RepeatCountdown = 0;
        e.chkAlt->click();
        QTest::keyClick(&e, Qt::Key_Return); // Enter presses OK
    });
    EXPECT_EQ(target.PressState, psPressed);
    EXPECT_EQ(target.RepeatCountdown, 33);
    EXPECT_EQ(target.Reserved, 0x1234);
    EXPECT_EQ(target.Alt, 1);
}

TEST_F(Editor, NothingOfAnEarlierEditCarriesOver) {
    Edit([this](TfrmControlEntry& e) {
        Choose("MOUSE_MOVE_X_POS");
        e.cmdOK->click();
    });
    TControlMapping other{};
    AssignFunction(other, "VK_F1");
    WhenModal([this](QWidget*) {
        EXPECT_EQ(editor.cmbFunction->currentText(), "VK_F1");
        EXPECT_TRUE(editor.trkRepeatRate->isEnabled());
        EXPECT_TRUE(editor.chkShift->isEnabled());
        editor.cmdOK->click();
    });
    editor.EditControl("Other", other);
    EXPECT_EQ(other.FunctionName.str(), "VK_F1");
    EXPECT_EQ(target.FunctionName.str(), "MOUSE_MOVE_X_POS");
}

} // namespace
} // namespace padwright::test
