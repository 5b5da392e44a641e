#include "UiHarness.h"
#include "ui/ScreenPlacement.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"
#include "ui/frmEntry.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct Expect {
    const char* name;
    QWidget* widget;
    QRect place;
    QString caption; // the text for labels, buttons, check boxes and group boxes
    QString hint;
    bool enabled;
};

QString CaptionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return {};
}

void CheckAll(const std::vector<Expect>& table) {
    for (const Expect& e : table) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(e.widget->geometry(), e.place);
        EXPECT_EQ(CaptionOf(e.widget), e.caption);
        EXPECT_EQ(e.widget->toolTip(), e.hint);
        EXPECT_EQ(e.widget->isEnabled(), e.enabled);
    }
}

TEST(MainWindowLayout, WindowControlsAndInitialStates) {
    Harness h;
    TfrmMain& w = *h.window;
    EXPECT_EQ(w.windowTitle(), "Padwright");
    EXPECT_EQ(w.size(), QSize(466, 499));
    EXPECT_EQ(w.minimumSize(), w.maximumSize()); // not resizable
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w.font().pointSize(), 8);
    EXPECT_EQ(w.pos(), QPoint(424, 119));

    const QString none;
    CheckAll({
        {"Label5", w.Label5, {1, 10, 88, 17}, "Controllers Found:", none, true},
        {"cmbFoundDevices",
         w.cmbFoundDevices,
         {88, 8, 297, 21},
         none,
         "List of DirectInput controllers found.",
         true},
        {"cmdRefresh",
         w.cmdRefresh,
         {392, 8, 73, 21},
         "Refresh",
         "Rescan computer for DirectInput controllers.",
         true},
        {"cmdAddDevice",
         w.cmdAddDevice,
         {88, 32, 73, 21},
         "Add",
         "Add the selected found controller to the list of active controllers.",
         false},
        {"Label6", w.Label6, {1, 58, 88, 17}, "Active Controllers:", none, true},
        {"cmbDevices", w.cmbDevices, {88, 56, 297, 21}, none, "List of active controllers.", true},
        {"cmdRemoveDevice",
         w.cmdRemoveDevice,
         {392, 56, 73, 21},
         "Remove",
         "Remove the selected controller from the list of active controllers.",
         false},
        {"Label7", w.Label7, {1, 90, 40, 17}, "Profiles:", none, true},
        {"cmbProfiles",
         w.cmbProfiles,
         {40, 88, 393, 21},
         none,
         "List of profiles available.",
         false},
        {"cmdPPopUp", w.cmdPPopUp, {440, 88, 25, 21}, ">", none, true},
        {"scbSettings", w.scbSettings, {0, 112, 465, 225}, none, none, true},
        {"grpJoystickSettings",
         w.grpJoystickSettings,
         {0, 344, 225, 121},
         "Joystick Settings",
         none,
         true},
        {"Label1", w.Label1, {8, 26, 57, 17}, "DeadZone:", none, true},
        {"txtDeadZone",
         w.txtDeadZone,
         {64, 24, 49, 21},
         none,
         "DeadZone for the axes on the controller.  Range: 0-100.  Value is a percentage.",
         false},
        {"Label2", w.Label2, {8, 50, 57, 17}, "Max Value:", none, true},
        {"txtMaxVal",
         w.txtMaxVal,
         {64, 48, 49, 21},
         none,
         "Maximum value for the axes on the controller.  Range: 0-99999.",
         false},
        {"Label8", w.Label8, {8, 74, 57, 17}, "Threshold:", none, true},
        {"txtThreshold",
         w.txtThreshold,
         {64, 72, 49, 21},
         none,
         "Sets a threshold for the axes when using keyboard, media, mouse clicks/wheel, or "
         "shutdown related commands.  Range: 0-100.  Value is a percentage.",
         false},
        {"chkRepeatKeys",
         w.chkRepeatKeys,
         {8, 96, 121, 17},
         "Auto-repeat all keys",
         "All keyboard commands will auto-repeat at maximum speed.",
         true},
        {"cmdJSReset",
         w.cmdJSReset,
         {144, 24, 57, 25},
         "Reset",
         "Displays the active settings for the controller.",
         false},
        {"cmdJSApply",
         w.cmdJSApply,
         {144, 80, 57, 25},
         "Apply",
         "Applies the new joystick settings.",
         false},
        {"GroupBox1", w.GroupBox1, {232, 344, 233, 121}, "Application Settings", none, true},
        {"Label3", w.Label3, {8, 26, 73, 17}, "Timer Interval:", none, true},
        {"txtTimeInterval",
         w.txtTimeInterval,
         {80, 24, 41, 21},
         none,
         "Controls how fast data is read from the controllers.  Range: 1-2000.  Value is in "
         "milliseconds.",
         true},
        {"Label4", w.Label4, {8, 50, 73, 17}, "Max Joysticks:", none, true},
        {"txtMaxJoysticks",
         w.txtMaxJoysticks,
         {80, 48, 41, 21},
         none,
         "Maximum number of controllers that can be used at one time.  Range: 1-100.  8 or "
         "less recommended.",
         true},
        {"chkStartMinimized",
         w.chkStartMinimized,
         {8, 74, 97, 17},
         "Start Minimized",
         "Only System Tray icon is shown at startup.",
         true},
        {"chkLogFile",
         w.chkLogFile,
         {8, 96, 89, 17},
         "Create log file",
         "Enables writing DirectInput errors to a log file.",
         true},
        {"cmdASReset",
         w.cmdASReset,
         {152, 24, 57, 25},
         "Reset",
         "Displays the active application settings.",
         true},
        {"cmdASApply",
         w.cmdASApply,
         {152, 80, 57, 25},
         "Apply",
         "Applies the new application settings.",
         true},
        {"cmdSave", w.cmdSave, {288, 472, 81, 25}, "&Save", "Save settings and profiles.", true},
        {"cmdExit", w.cmdExit, {384, 472, 81, 25}, "E&xit", none, true},
    });
    EXPECT_EQ(w.txtDeadZone->parentWidget(), w.grpJoystickSettings);
    EXPECT_EQ(w.txtTimeInterval->parentWidget(), w.GroupBox1);
    EXPECT_FALSE(w.chkRepeatKeys->isChecked());
    EXPECT_TRUE(w.cmdASApply->isDefault());

    const std::pair<QLineEdit*, int> lengths[] = {{w.txtDeadZone, 3},
                                                  {w.txtMaxVal, 5},
                                                  {w.txtThreshold, 3},
                                                  {w.txtTimeInterval, 4},
                                                  {w.txtMaxJoysticks, 3}};
    for (const auto& [edit, length] : lengths)
        EXPECT_EQ(edit->maxLength(), length);

    EXPECT_FALSE(w.core.tmrDataCollect->IsActive());
    EXPECT_EQ(w.core.tmrDataCollect->Interval(), 5);
    EXPECT_TRUE(w.core.tmrAutoRepeat->IsActive());
    EXPECT_EQ(w.core.tmrAutoRepeat->Interval(), 30);
    EXPECT_TRUE(w.core.tmrSTray->IsActive());
    EXPECT_EQ(w.core.tmrSTray->Interval(), 1000);

    QStringList menu;
    for (QAction* a : w.popProfile->actions())
        menu << a->text();
    EXPECT_EQ(menu, QStringList({"&Add", "&Copy", "&Rename", "&Delete", "&Import", "&Export", "",
                                 "&Programs..."}));
}

TEST(MainWindowLayout, DesignedCaptionsFitTheirBoxes) {
    Harness h;
    TfrmMain& w = *h.window;
    for (QLabel* label :
         {w.Label5, w.Label6, w.Label7, w.Label1, w.Label2, w.Label8, w.Label3, w.Label4}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    }
    for (QCheckBox* box : {w.chkRepeatKeys, w.chkStartMinimized, w.chkLogFile}) {
        SCOPED_TRACE(box->text().toStdString());
        EXPECT_LE(box->sizeHint().width(), box->width());
    }
}

TEST(MainWindowLayout, TabOrderFollowsTheDesign) {
    Harness h;
    TfrmMain& w = *h.window;
    const QList<QWidget*> expected = {
        w.cmbDevices,      w.scbSettings,  w.txtDeadZone,     w.txtMaxVal,
        w.cmdJSApply,      w.cmdJSReset,   w.txtThreshold,    w.chkRepeatKeys,
        w.cmbProfiles,     w.cmdRefresh,   w.cmdSave,         w.cmdExit,
        w.cmbFoundDevices, w.cmdAddDevice, w.cmdRemoveDevice, w.txtTimeInterval,
        w.txtMaxJoysticks, w.cmdASApply,   w.cmdASReset,      w.chkStartMinimized,
        w.chkLogFile,      w.cmdPPopUp};
    QList<QWidget*> chain;
    QWidget* at = w.cmbDevices;
    do {
        if (expected.contains(at))
            chain << at;
        at = at->nextInFocusChain();
    } while (at != w.cmbDevices && chain.size() < expected.size());
    EXPECT_EQ(chain, expected);
}

TEST(EditorLayout, ControlsAndFlags) {
    Harness h;
    TfrmControlEntry& e = *h.window->frmControlEntry;
    EXPECT_EQ(e.windowTitle(), "Edit Control");
    EXPECT_EQ(e.size(), QSize(337, 202));
    EXPECT_FALSE(e.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(e.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(e.txtControlName->geometry(), QRect(16, 8, 305, 17));
    EXPECT_EQ(e.cmbFunction->geometry(), QRect(16, 32, 305, 21));
    EXPECT_EQ(e.cmbFunction->toolTip(), "Sets the function for the control.");
    const std::tuple<QCheckBox*, QRect, const char*> boxes[] = {
        {e.chkShift, {16, 64, 49, 17}, "Shift"},
        {e.chkCtrl, {72, 64, 41, 17}, "Ctrl"},
        {e.chkAlt, {128, 64, 41, 17}, "Alt"},
        {e.chkWin, {184, 64, 49, 17}, "Win"}};
    for (const auto& [box, place, caption] : boxes) {
        EXPECT_EQ(box->geometry(), place) << caption;
        EXPECT_EQ(box->text(), caption);
    }
    EXPECT_EQ(e.chkWin->toolTip(), "Windows key should be pressed if a keyboard function is used.");
    EXPECT_EQ(e.Label1->geometry(), QRect(104, 104, 129, 17));
    EXPECT_EQ(e.Label1->text(), "Auto-Repeat");
    EXPECT_EQ(e.trkRepeatRate->geometry(), QRect(8, 120, 321, 25));
    EXPECT_EQ(e.trkRepeatRate->minimum(), 0);
    EXPECT_EQ(e.trkRepeatRate->maximum(), 31);
    EXPECT_EQ(e.trkRepeatRate->toolTip(), "Rate of repetition for the selected function.");
    EXPECT_EQ(e.txtAutoRepeat->geometry(), QRect(104, 144, 129, 17));
    EXPECT_EQ(e.cmdCancel->geometry(), QRect(232, 176, 49, 25));
    EXPECT_EQ(e.cmdOK->geometry(), QRect(288, 176, 49, 25));
    EXPECT_TRUE(e.cmdOK->isDefault());
}

TEST(NameDialogLayout, ControlsAndFlags) {
    Harness h;
    TfrmEntry& d = *h.window->frmEntry;
    EXPECT_EQ(d.windowTitle(), "Entry");
    EXPECT_EQ(d.size(), QSize(337, 65));
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(d.Label1->text(), "Name:");
    EXPECT_EQ(d.Label1->pos(), QPoint(0, 0));
    EXPECT_EQ(d.txtProfEntry->geometry(), QRect(0, 16, 337, 21));
    EXPECT_EQ(d.txtProfEntry->maxLength(), 255);
    EXPECT_EQ(d.cmdOK->geometry(), QRect(288, 40, 49, 25));
    EXPECT_EQ(d.cmdCancel->geometry(), QRect(232, 40, 49, 25));
    EXPECT_TRUE(d.cmdOK->isDefault());
}

TEST(WindowPlacement, AWindowThatWouldCrossTheScreensEdgeOpensInsideIt) {
    Harness h;
    const QRect area = h.window->screen()->availableGeometry();
    // Where the design puts it unless that crosses the area's edge; the top edge wins.
    auto expected = [&](QPoint at, QSize size) {
        return QPoint(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())),
                      std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
    };
    h.window->show();
    EXPECT_TRUE(area.contains(h.window->frameGeometry()));
    const QSize small(337, 202), tall(337, area.height() + 100);
    for (const auto& [at, size] : {std::pair{QPoint(10, 10), small},
                                   {QPoint(-50, -40), small},
                                   {area.bottomRight(), small},
                                   {QPoint(0, 100), tall}}) {
        QDialog dialog(h.window.get());
        dialog.resize(size);
        dialog.move(at);
        KeepOnScreen(dialog);
        EXPECT_EQ(dialog.pos(), expected(at, size)) << at.x() << "," << at.y();
    }
}

} // namespace
} // namespace padwright::test
