// The words for the functions and the editor's key capture, over the injector the program uses,
// on several keyboard layouts.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "platform/inject/UinputInjector.h"
#include "ui/frmControlEntry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct NoDevice : IUinputWriter {
    void Write(std::span<const input_event>) override {}
};

struct WordsEditor : ::testing::Test {
    TfrmControlEntry editor;
    TControlMapping target{};
    std::unique_ptr<IInputInjector> injector;

    void Layout(const char* name) {
        std::string error;
        const auto keys = LayoutKeysFromNames({name, "", "pc105", ""}, error);
        ASSERT_TRUE(keys) << error;
        injector = std::make_unique<UinputInjector>(std::make_unique<NoDevice>(),
                                                    std::make_unique<FixedLayout>(*keys));
        editor.Injector = injector.get();
    }
    // Runs `inside` in the open editor, then OK.
    void Edit(std::function<void(TfrmControlEntry&)> inside) {
        WhenModal([this, inside](QWidget*) {
            inside(editor);
            editor.cmdOK->click();
        });
        editor.EditControl("Button 1", target);
    }
};

TEST_F(WordsEditor, SaysWhatTheChosenFunctionDoesOnTheActiveLayout) {
    EXPECT_EQ(editor.txtDescription->geometry(), QRect(16, 84, 305, 17));
    EXPECT_EQ(editor.cmdPressKey->geometry(), QRect(240, 62, 81, 21));
    const struct {
        const char *layout, *function, *words;
    } cases[] = {
        {"us", "VK_PRIOR", "Page Up"},
        {"us", "MOUSE_LEFT_CLICK", "Left mouse button: click"},
        {"us", "VOLUME_UP", "Volume up"},
        {"us", "EWX_SHUTDOWN", "Shut down the computer"},
        {"us", "VK_LWIN", "Left Super key (the Windows key)"},
        {"us", "NONE", ""},
        {"de", "VK_A", "Letter A"},
        {"ru", "VK_A", "Letter A, types \u201c\u0444\u201d on this layout"},
        {"fr", "VK_1", "Digit 1, types \u201c&\u201d on this layout"},
        {"de", "VK_OEM_1", "The ; : key of US keyboards, types \u201c\u00f6\u201d on this layout"},
        {"us", "VK_OEM_PLUS",
         "The key that types +, else the = + key of US keyboards, types \u201c=\u201d on this "
         "layout"},
        {"de", "VK_OEM_PLUS", "The key that types +, else the = + key of US keyboards"},
    };
    for (const auto& c : cases) {
        Layout(c.layout);
        editor.cmbFunction->setCurrentIndex(-1); // a choice, also of the function shown before
        editor.cmbFunction->setCurrentIndex(editor.cmbFunction->findText(c.function));
        EXPECT_EQ(editor.txtDescription->text().toStdString(), c.words) << c.layout;
    }
}

// A key as the windowing system delivers it, with the kernel's key code + 8 where it knows one.
void Press(QWidget* to, int key, Qt::KeyboardModifiers modifiers, quint32 linuxCode = 0) {
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, linuxCode ? linuxCode + 8 : 0, 0, 0);
        QApplication::sendEvent(to, &event);
    }
}

TEST_F(WordsEditor, AnArmedFunctionListTakesTheKeyPressedWithItsModifiers) {
    Layout("de");
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 linuxCode;
        const char* function;
        std::vector<int> shiftCtrlAltWin;
    } cases[] = {
        {Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier, 104, "VK_PRIOR", {1, 1, 0, 0}},
        {Qt::Key_F5, Qt::AltModifier, 63, "VK_F5", {0, 0, 1, 0}},
        {Qt::Key_A, Qt::MetaModifier, 30, "VK_A", {0, 0, 0, 1}},
        {Qt::Key_Z, {}, 21, "VK_Z", {0, 0, 0, 0}}, // right of T on a German keyboard
        {Qt::Key_Odiaeresis, {}, 39, "VK_OEM_1", {0, 0, 0, 0}},
        {Qt::Key_Exclam, Qt::ShiftModifier, 2, "VK_1", {1, 0, 0, 0}},
        {Qt::Key_5, Qt::KeypadModifier, 76, "VK_NUMPAD5", {0, 0, 0, 0}},
        {Qt::Key_Escape, {}, 1, "VK_ESCAPE", {0, 0, 0, 0}},
        {Qt::Key_Shift, Qt::ShiftModifier, 42, "VK_SHIFT", {0, 0, 0, 0}}, // alone
        {Qt::Key_Odiaeresis, {}, 0, "VK_SHIFT", {0, 1, 0, 0}}, // no position: not in the list
    };
    for (const auto& c : cases) {
        Edit([&](TfrmControlEntry& e) {
            e.chkCtrl->setChecked(true); // replaced by what is held
            e.cmdPressKey->click();
            ASSERT_TRUE(e.cmbFunction->hasFocus());
            Press(e.cmbFunction, c.key, c.modifiers, c.linuxCode);
            EXPECT_FALSE(e.cmdPressKey->isChecked());
            if (!c.linuxCode) {
                EXPECT_EQ(e.txtDescription->text(), "That key is not in the list.");
            }
        });
        EXPECT_EQ(target.FunctionName.str(), c.function);
        EXPECT_EQ(std::vector<int>({target.Shift, target.Ctrl, target.Alt, target.Win}),
                  c.shiftCtrlAltWin)
            << c.function;
    }
    // Unarmed, typing in the list searches it as before.
    Edit([&](TfrmControlEntry& e) {
        e.cmbFunction->setFocus();
        QTest::keyClicks(e.cmbFunction, "VOLUME_U");
    });
    EXPECT_EQ(target.FunctionName.str(), "VOLUME_UP");
}

} // namespace
} // namespace padwright::test
