// What a user meets with mouse and keyboard beyond the designed geometry: captions that show
// whole, keys that must reach a field or a focused button, lists that must stay on the screen.
#include "UiHarness.h"
#include "ui/GroupBox.h"
#include "ui/frmControlEntry.h"
#include "ui/frmEntry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

constexpr int TextNear = 60; // how far smoothed text may stray from its colour

TEST(EnterKey, AFocusedCancelCancelsInBothDialogs) {
    Harness h;
    TControlMapping target{};
    TfrmControlEntry& editor = *h.window->frmControlEntry;
    WhenModal([&](QWidget*) {
        editor.cmbFunction->setCurrentIndex(editor.cmbFunction->findText("VK_A"));
        editor.cmdCancel->setFocus();
        QTest::keyClick(editor.cmdCancel, Qt::Key_Return);
    });
    editor.EditControl("Button 0", target);
    EXPECT_TRUE(target.FunctionName.empty());

    TfrmEntry& entry = *h.window->frmEntry;
    WhenModal([&](QWidget*) {
        entry.txtProfEntry->setText("Typed");
        entry.cmdCancel->setFocus();
        QTest::keyClick(entry.cmdCancel, Qt::Key_Enter);
    });
    EXPECT_TRUE(entry.AskName("Start").isEmpty());
    // Enter in the name field still presses OK.
    WhenModal([&](QWidget*) { QTest::keyClick(entry.txtProfEntry, Qt::Key_Return); });
    EXPECT_EQ(entry.AskName("Kept"), "Kept");
}

TEST(NumericEdits, KeysThatTypeNothingReachTheFieldAndTypedCharactersAreFiltered) {
    Harness h;
    // With the texts X11 attaches to these keys.
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        const char* after;
        const char* selected;
    };
    const Case cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)), "34", ""},
        {Qt::Key_End, Qt::ShiftModifier, {}, "234", "234"},
        {Qt::Key_Right, Qt::NoModifier, {}, "234", ""},
        {Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)), "234", ""},
        {Qt::Key_V, Qt::ControlModifier, {}, "234", ""},
        {Qt::Key_7, Qt::NoModifier, "7", "7234", ""},
        {Qt::Key_Minus, Qt::NoModifier, "-", "234", ""},
    };
    QApplication::clipboard()->setText("9");
    for (QLineEdit* edit : {h.window->txtDeadZone, h.window->txtTimeInterval}) {
        edit->setEnabled(true);
        edit->setMaxLength(5);
        for (const Case& c : cases) {
            SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
            edit->setText("234");
            edit->setCursorPosition(0);
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
            QApplication::sendEvent(edit, &press);
            EXPECT_EQ(edit->text(), c.after);
            EXPECT_EQ(edit->selectedText(), c.selected);
        }
    }
}

TEST(GroupCaptions, DrawnOnTheFrameLineAndIndented) {
    Harness h;
    for (TGroupBox* group : {static_cast<TGroupBox*>(h.window->grpJoystickSettings),
                             static_cast<TGroupBox*>(h.window->GroupBox1)}) {
        SCOPED_TRACE(group->title().toStdString());
        const QColor ground = group->palette().color(group->backgroundRole());
        const QColor ink = group->palette().color(QPalette::WindowText);
        const int band = group->fontMetrics().height();
        // No letter starts in the corner, where the window's edge would cut it.
        EXPECT_EQ(CountPixels(group, ink, {0, 0, TGroupBox::CaptionIndent, band}, TextNear), 0);
        EXPECT_GT(CountPixels(group, ink, {0, 0, group->width(), band}, TextNear), 10);
        // The frame's top line runs through the caption's middle, left of it.
        EXPECT_EQ(CountPixels(group, ground, {2, band / 2, 1, 1}), 0);
    }
}

TEST(DropDowns, TheFunctionListScrollsAndALongProfileNameStaysInTheWindow) {
    Harness h;
    h.window->show();
    QComboBox& functions = *h.window->frmControlEntry->cmbFunction;
    functions.showPopup();
    QAbstractItemView* list = functions.view();
    const int rows = list->viewport()->height() / list->sizeHintForRow(0);
    EXPECT_GE(rows, 7);
    EXPECT_LE(rows, 8);
    EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
    functions.hidePopup();

    h.AddProfile(std::string(250, 'W'));
    h.window->cmbProfiles->setEnabled(true);
    h.window->cmbProfiles->showPopup();
    EXPECT_LE(h.window->cmbProfiles->view()->window()->width(), h.window->width());
    h.window->cmbProfiles->hidePopup();
}

void Wheel(QWidget* w, int notches) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent wheel(at, w->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &wheel);
}

TEST(DropDowns, AWheelOverAnUnfocusedListChangesNothing) {
    Harness h;
    h.AddProfile("One");
    h.AddProfile("Two");
    TJoystick& pad = h.AddActive(MakeController(1, 0, {}, 1));
    pad.Profile = 1;
    h.AddActive(MakeController(2, 0, {}, 1));
    h.PickDevice(0);
    h.window->show();
    h.window->cmdSave->setFocus();
    Wheel(h.window->cmbProfiles, -1);
    Wheel(h.window->cmbDevices, -1);
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 0);
    EXPECT_EQ(h.window->cmbDevices->currentIndex(), 0);
    EXPECT_EQ(pad.Profile, 1);
    EXPECT_EQ(h.window->SettingsRows.size(), 3u);
    EXPECT_FALSE(h.window->cmbProfiles->hasFocus()); // the wheel did not take the focus either
}

} // namespace
} // namespace padwright::test
