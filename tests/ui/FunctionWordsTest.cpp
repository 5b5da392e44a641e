// The words for the functions and the key capture of the control editor, over the injector the
// program uses, on several keyboard layouts.
#include "UiHarness.h"
#include "platform/inject/UinputInjector.h"
#include "ui/StaticText.h"
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

std::unique_ptr<IInputInjector> InjectorOn(const char* layout) {
    std::string error;
    const auto keys = LayoutKeysFromNames({layout, "", "pc105", ""}, error);
    EXPECT_TRUE(keys) << error;
    return std::make_unique<UinputInjector>(
        std::make_unique<NoDevice>(),
        std::make_unique<FixedLayout>(keys.value_or(LayoutKeys::Us())));
}

struct Editor : ::testing::Test {
    TfrmControlEntry editor;
    TControlMapping target{};

    void Edit(std::function<void(TfrmControlEntry&)> inside) {
        WhenModal([this, inside](QWidget*) {
            inside(editor);
            editor.cmdOK->click();
        });
        editor.EditControl("Button 1", target);
    }
    void Choose(const char* name) {
        editor.cmbFunction->setCurrentIndex(editor.cmbFunction->findText(name));
    }
};

TEST_F(Editor, SaysWhatTheChosenFunctionDoesOnTheActiveLayout) {
    const struct {
        const char* layout;
        const char* function;
        const char* words;
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
        {"us", "VK_OEM_1", "The ; : key of US keyboards, types \u201c;\u201d on this layout"},
        {"de", "VK_OEM_1", "The ; : key of US keyboards, types \u201c\u00f6\u201d on this layout"},
        {"us", "VK_OEM_PLUS",
         "The key that types +, else the = + key of US keyboards, types \u201c=\u201d on this "
         "layout"},
        {"de", "VK_OEM_PLUS", "The key that types +, else the = + key of US keyboards"},
    };
    for (const auto& c : cases) {
        const auto injector = InjectorOn(c.layout);
        editor.Injector = injector.get();
        Edit([&](TfrmControlEntry& e) {
            Choose(c.function);
            EXPECT_EQ(e.txtDescription->text().toStdString(), c.words) << c.layout;
        });
    }
    editor.Injector = nullptr;
}

TEST_F(Editor, TheNewControlsOverlapNothing) {
    EXPECT_EQ(editor.txtDescription->geometry(), QRect(16, 84, 305, 17));
    EXPECT_EQ(editor.cmdPressKey->geometry(), QRect(240, 62, 81, 21));
    EXPECT_EQ(editor.size(), QSize(337, 202));
    const QList<QWidget*> controls = editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* added :
         {static_cast<QWidget*>(editor.txtDescription), static_cast<QWidget*>(editor.cmdPressKey)})
        for (QWidget* other : controls)
            if (other != added && other->isWindow() == false)
                EXPECT_FALSE(added->geometry().intersects(other->geometry()))
                    << other->metaObject()->className();
}

// A key as the windowing system delivers it: with the kernel's key code + 8 where it knows one.
void Press(QWidget* to, int key, Qt::KeyboardModifiers modifiers, quint32 linuxCode = 0,
           bool release = true) {
    const quint32 native = linuxCode ? linuxCode + 8 : 0;
    QKeyEvent down(QEvent::KeyPress, key, modifiers, native, 0, 0);
    QApplication::sendEvent(to, &down);
    if (release) {
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, native, 0, 0);
        QApplication::sendEvent(to, &up);
    }
}

TEST_F(Editor, AnArmedFunctionListTakesTheKeyPressedWithItsModifiers) {
    const auto injector = InjectorOn("de");
    editor.Injector = injector.get();
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        quint32 linuxCode;
        const char* function;
        bool shift, ctrl, alt, win;
    } cases[] = {
        {Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier, 0, "VK_PRIOR", 1, 1, 0, 0},
        {Qt::Key_F5, Qt::AltModifier, 0, "VK_F5", 0, 0, 1, 0},
        {Qt::Key_A, Qt::MetaModifier, 30, "VK_A", 0, 0, 0, 1},
        {Qt::Key_Z, Qt::NoModifier, 21, "VK_Z", 0, 0, 0, 0}, // right of T on German keyboards
        {Qt::Key_Odiaeresis, Qt::NoModifier, 39, "VK_OEM_1", 0, 0, 0, 0},
        {Qt::Key_Exclam, Qt::ShiftModifier, 2, "VK_1", 1, 0, 0, 0},
        {Qt::Key_5, Qt::KeypadModifier, 76, "VK_NUMPAD5", 0, 0, 0, 0},
        {Qt::Key_VolumeUp, Qt::NoModifier, 115, "VK_VOLUME_UP", 0, 0, 0, 0},
        {Qt::Key_Escape, Qt::NoModifier, 1, "VK_ESCAPE", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Edit([&](TfrmControlEntry& e) {
            e.chkCtrl->setChecked(true); // replaced by what is held
            e.cmdPressKey->click();
            ASSERT_TRUE(e.cmbFunction->hasFocus());
            Press(e.cmbFunction, c.key, c.modifiers, c.linuxCode);
            EXPECT_FALSE(e.cmdPressKey->isChecked());
        });
        EXPECT_EQ(target.FunctionName.str(), c.function);
        EXPECT_EQ(target.Kind, fkKey);
        EXPECT_EQ(std::vector<int>({target.Shift, target.Ctrl, target.Alt, target.Win}),
                  std::vector<int>({c.shift, c.ctrl, c.alt, c.win}))
            << c.function;
    }

    // A modifier pressed and let go alone is the key itself; a key of no function says so.
    Edit([&](TfrmControlEntry& e) {
        e.cmdPressKey->click();
        Press(e.cmbFunction, Qt::Key_Shift, Qt::ShiftModifier, 42);
        EXPECT_EQ(e.cmbFunction->currentText(), "VK_SHIFT");
        e.cmdPressKey->click();
        Press(e.cmbFunction, Qt::Key_Odiaeresis, Qt::NoModifier);
        EXPECT_EQ(e.txtDescription->text(), "That key is not in the list.");
        EXPECT_EQ(e.cmbFunction->currentText(), "VK_SHIFT");
    });

    // Unarmed, typing in the list searches it as before.
    Edit([&](TfrmControlEntry& e) {
        e.cmbFunction->setFocus();
        QTest::keyClicks(e.cmbFunction, "VOLUME_U");
        EXPECT_EQ(e.cmbFunction->currentText(), "VOLUME_UP");
    });
    editor.Injector = nullptr;
}

TEST(FunctionWords, EachRowsFunctionBoxHasTheEditorsWordsAsItsTooltip) {
    Harness h;
    h.AddActive(MakeController(1, 0, {}, 1));
    TProfile& profile = h.AddProfile("P");
    AssignFunction(profile.Mappings[ButtonSlot(0)], "MOUSE_WHEEL_BACK");
    h.PickDevice(0);
    h.PickProfile(0);
    ASSERT_EQ(h.window->SettingsRows.size(), 3u);
    EXPECT_EQ(h.window->SettingsRows[2].FunctionBox->toolTip(),
              "Mouse wheel: one step toward you (scroll down)");
    WhenModal([&](QWidget*) {
        TfrmControlEntry& e = *h.window->frmControlEntry;
        e.cmbFunction->setCurrentIndex(e.cmbFunction->findText("VK_NEXT"));
        e.cmdOK->click();
    });
    h.window->SettingsRowClick(h.window->SettingsRows[2].NameBox);
    EXPECT_EQ(h.window->SettingsRows[2].FunctionBox->toolTip(), "Page Down");
}

} // namespace
} // namespace padwright::test
