#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "engine/Errors.h"
#include "ui/common/DialogTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

TEST(ErrorBox, FullStopAddedOnlyAfterCharactersSortingAfterIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Disk full: Padwright.pro", "Disk full: Padwright.pro."},
        {"Ends with a stop.", "Ends with a stop."},
        {"Ends with a blank ", "Ends with a blank "},
        {"Ends with a dash -", "Ends with a dash -"},
        {"I/O error 5", "I/O error 5."},
        {"", ""},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(ErrorBoxText(message), shown);
}

TEST(ErrorBox, EveryHandlerErrorBecomesTheStandardBox) {
    Harness h;
    EXPECT_FALSE(h.window->RunHandler([] { throw Error("File access denied: Padwright.pro"); }));
    EXPECT_FALSE(h.window->RunHandler([] { throw std::runtime_error("something else"); }));
    EXPECT_FALSE(h.window->RunHandler([] { throw 42; }));
    EXPECT_TRUE(h.window->RunHandler([] {}));
    const std::vector<ShownBox> expected = {
        {"File access denied: Padwright.pro.", "Padwright", BoxIcon::Error},
        {"something else.", "Padwright", BoxIcon::Error},
        {"Unknown error.", "Padwright", BoxIcon::Error},
    };
    EXPECT_EQ(h.dialogs.boxes, expected);
}

// The timers keep firing while a run's error box is open; a run must not start inside it.
TEST(ErrorBox, NoDataCollectionRunStartsInsideTheBoxOfAnother) {
    Harness h;
    auto device = std::make_shared<ScriptedDevice>();
    AssignFunction(h.AddProfile("P").Mappings[ButtonSlot(0)], "MOUSE_LEFT_CLICK");
    TJoystick& j = h.AddActive(MakeController(1, 0, {}, 1));
    j.Profile = 1;
    j.Acquired = true;
    j.Device = device;
    device->SetButton(0, true);
    h.injector.onCall = [](const InjectedCall&) { throw Error("Input could not be sent"); };
    int pollsInBox = -1;
    h.dialogs.onBox = [&] {
        h.window->tmrDataCollectTimer();
        pollsInBox = device->pollCalls;
    };
    h.window->RunHandler([&] { h.window->tmrDataCollectTimer(); });
    EXPECT_EQ(pollsInBox, 1);
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
}

// A line that cannot be written switches logging off; the box follows, so a later Apply does
// not reopen and empty the log, and Save stores what the box shows.
TEST(LogFailure, TheLogBoxFollowsLoggingSwitchedOff) {
    Harness h;
    h.log.Open("/dev/full");
    h.window->chkLogFile->setChecked(true);
    for (int i = 0; i < 1000 && h.log.LogEnabled(); ++i)
        h.window->RunHandler(
            [&] { h.core->LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST); });
    ASSERT_FALSE(h.log.LogEnabled());
    EXPECT_FALSE(h.window->chkLogFile->isChecked());
}

TEST(LogFailure, ALogThatCannotBeCreatedOnApplyLeavesTheBoxClear) {
    Harness h;
    QDir().mkpath(h.Path("Padwright.log")); // a folder where the log would go
    const QString previous = QDir::currentPath();
    QDir::setCurrent(h.folder.path());
    h.window->txtTimeInterval->setText("9");
    h.window->txtMaxJoysticks->setText("4");
    h.window->chkLogFile->setChecked(true);
    h.window->cmdASApply->click();
    QDir::setCurrent(previous);
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_FALSE(h.log.LogEnabled());
    EXPECT_FALSE(h.window->chkLogFile->isChecked());
}

TEST(InjectionWarning, ShownOnceWhenInputCannotReachEveryProgram) {
    for (InjectionLevel level :
         {InjectionLevel::Full, InjectionLevel::Limited, InjectionLevel::None}) {
        Harness h({{}, nullptr, InjectionStatus{level, "", "No access to /dev/uinput."}});
        FakeDialogs& dialogs = h.dialogs;
        TfrmMain& window = *h.window;
        window.show();
        QTest::qWait(20);
        window.hide();
        window.show();
        QTest::qWait(20);
        if (level == InjectionLevel::Full) {
            EXPECT_TRUE(dialogs.boxes.empty());
        } else {
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0],
                      (ShownBox{"No access to /dev/uinput.", "Warning", BoxIcon::Warning}));
        }
    }
}

} // namespace
} // namespace padwright::test
