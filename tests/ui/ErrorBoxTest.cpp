#include "UiHarness.h"
#include "engine/Errors.h"

#include <QApplication>
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
        EXPECT_EQ(ErrorBoxText(QString::fromUtf8(message)), QString::fromUtf8(shown));
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

TEST(InjectionWarning, ShownOnceWhenInputCannotReachEveryProgram) {
    for (InjectionLevel level :
         {InjectionLevel::Full, InjectionLevel::Limited, InjectionLevel::None}) {
        TLists lists;
        DiLog log;
        RecordingInjector injector;
        RecordingSession session;
        FakeDialogs dialogs;
        TfrmMain window({lists, log, injector, session, &dialogs,
                         InjectionStatus{level, "", "No access to /dev/uinput."}});
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
