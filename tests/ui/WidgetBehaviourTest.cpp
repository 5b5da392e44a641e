// What a user meets with mouse and keyboard beyond the designed geometry: colours that must show,
// keys that must reach a field or a focused button, lists that must stay on the screen.
#include "UiHarness.h"
#include "ui/GroupBox.h"
#include "ui/StaticText.h"
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

// Pixels of `colour` in `area`; `near` admits the lighter and darker edges of smoothed text.
int CountPixels(const QImage& image, QColor colour, QRect area = {}, int near = 0) {
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            count += std::abs(p.red() - colour.red()) <= near &&
                     std::abs(p.green() - colour.green()) <= near &&
                     std::abs(p.blue() - colour.blue()) <= near;
        }
    return count;
}

constexpr int TextNear = 60;

QImage Pixels(QWidget* w) {
    return w->grab().toImage();
}

TEST(Highlight, TheEditedRowIsFilledInHighlightColoursUntilTheEditorCloses) {
    Harness h;
    h.AddProfile("One");
    h.AddActive(MakeController(1, 0, {}, 1)).Profile = 1;
    h.PickDevice(0);
    h.window->show();
    TStaticText* name = h.window->SettingsRows[1].NameBox;
    const QPalette colours = name->palette();
    const int area = name->width() * name->height();
    int fill = 0, text = 0;
    WhenModal([&](QWidget* dialog) {
        const QImage shown = Pixels(name);
        fill = CountPixels(shown, colours.color(QPalette::Highlight));
        text = CountPixels(shown, colours.color(QPalette::HighlightedText), {}, TextNear);
        qobject_cast<TfrmControlEntry*>(dialog)->cmdCancel->click();
    });
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_GT(fill, area / 2);
    EXPECT_GT(text, 0);
    EXPECT_EQ(CountPixels(Pixels(name), colours.color(QPalette::Highlight)), 0);
}

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
        const QImage image = Pixels(group);
        const QColor ground = group->palette().color(group->backgroundRole());
        const QColor ink = group->palette().color(QPalette::WindowText);
        const int band = group->fontMetrics().height();
        // No letter starts in the corner, where the window's edge would cut it.
        EXPECT_EQ(CountPixels(image, ink, {0, 0, TGroupBox::CaptionIndent, band}, TextNear), 0);
        EXPECT_GT(CountPixels(image, ink, {0, 0, image.width(), band}, TextNear), 10);
        // The frame's top line runs through the caption's middle, left of it.
        EXPECT_NE(image.pixelColor(2, band / 2).rgb(), ground.rgb());
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
