#include "UiHarness.h"
#include "core/ProgramRules.h"
#include "engine/Catalogue.h"
#include "store/MessageBoxes.h"
#include "ui/common/ProgramsTexts.h"
#include "ui/frmEntry.h"
#include "ui/frmPrograms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>

namespace padwright::test {
namespace {

// Answers the name dialog: types `text` over what it shows, then presses OK (or Cancel).
void AnswerName(const QString& text, bool ok = true, QString* shown = nullptr) {
    WhenModal([=](QWidget* dialog) {
        auto* entry = qobject_cast<TfrmEntry*>(dialog);
        ASSERT_NE(entry, nullptr);
        if (shown)
            *shown = entry->txtProfEntry->text();
        entry->txtProfEntry->setText(text);
        (ok ? entry->cmdOK : entry->cmdCancel)->click();
    });
}

std::vector<bool> MenuStates(TfrmMain& w) {
    std::vector<bool> states;
    for (QAction* a : w.popProfile->actions())
        states.push_back(a->isEnabled());
    return states;
}

TEST(ProfileMenu, EnablingRulesByBothRoutes) {
    Harness h;
    h.window->show();
    std::vector<bool> seen;
    auto check = [&] {
        WhenPopup([&](QWidget* menu) {
            seen = MenuStates(*h.window);
            menu->close();
        });
    };
    check();
    h.window->cmdPPopUp->click();
    // The separator before "Programs..." counts as enabled.
    EXPECT_EQ(seen, (std::vector<bool>{false, false, false, false, false, false, true, false}));

    h.AddProfile("One");
    h.AddActive(MakeController(1, 0, {}, 0));
    h.PickDevice(0);
    check();
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5),
                            h.window->cmbProfiles->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(h.window->cmbProfiles, &right);
    EXPECT_EQ(seen, (std::vector<bool>{true, false, false, false, true, false, true, false}));

    h.PickProfile(0);
    check();
    h.window->cmdPPopUp->click();
    EXPECT_EQ(seen, std::vector<bool>(8, true));
}

TEST(ProfileMenu, AddTrimsTheNameAndAssignsTheNewProfile) {
    Harness h;
    TJoystick& j = h.AddActive(MakeController(1, 0, {}, 1));
    h.PickDevice(0);
    AnswerName("  \tRacing  ");
    h.window->mnuPAdd->trigger();
    ASSERT_EQ(h.lists.Profiles.count(), 1);
    EXPECT_EQ(h.lists.Profiles[0].Name.str(), "Racing");
    EXPECT_EQ(h.window->cmbProfiles->itemText(0), "Racing");
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 0);
    EXPECT_EQ(j.Profile, 1);
    EXPECT_EQ(h.window->SettingsRows.size(), 3u);
    EXPECT_EQ(h.RowTexts(2)[3], "OFF");

    AnswerName("   ");
    h.window->mnuPAdd->trigger();
    AnswerName("Typed", false);
    h.window->mnuPAdd->trigger();
    EXPECT_EQ(h.lists.Profiles.count(), 1);
    EXPECT_TRUE(h.window->frmEntry->Result.isEmpty());
}

TEST(ProfileMenu, CopyIsIndependentAndRenameKeepsNumbers) {
    Harness h;
    TProfile& source = h.AddProfile("Base");
    AssignFunction(source.Mappings[ButtonSlot(3)], "VK_Q");
    source.Mappings[ButtonSlot(3)].PressState = psPressed;
    TJoystick& j = h.AddActive(MakeController(1, 0, {}, 4));
    j.Profile = 1;
    h.PickDevice(0);

    QString initial;
    AnswerName("Base", true, &initial);
    h.window->mnuPCopy->trigger();
    EXPECT_EQ(initial, "Base");
    ASSERT_EQ(h.lists.Profiles.count(), 2);
    EXPECT_EQ(std::memcmp(&h.lists.Profiles[0], &h.lists.Profiles[1], sizeof(TProfile)), 0);
    EXPECT_EQ(j.Profile, 2);
    AssignFunction(h.lists.Profiles[1].Mappings[ButtonSlot(3)], "VK_W");
    EXPECT_EQ(h.lists.Profiles[0].Mappings[ButtonSlot(3)].FunctionName.str(), "VK_Q");

    h.PickProfile(0);
    AnswerName(" Renamed ", true, &initial);
    h.window->mnuPRename->trigger();
    EXPECT_EQ(initial, "Base");
    EXPECT_EQ(h.lists.Profiles[0].Name.str(), "Renamed");
    EXPECT_EQ(h.window->cmbProfiles->itemText(0), "Renamed");
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 0);
    EXPECT_EQ(j.Profile, 1);
    EXPECT_EQ(h.lists.Profiles[0].Mappings[ButtonSlot(3)].FunctionName.str(), "VK_Q");
}

TEST(ProfileMenu, DeleteRenumbersTheControllersProfiles) {
    Harness h;
    for (const char* name : {"P1", "P2", "P3", "P4"})
        h.AddProfile(name);
    TJoystick& a = h.AddActive(MakeController(1, 0, {}, 0));
    TJoystick& b = h.AddActive(MakeController(1, 0, {}, 0));
    a.Profile = 2;
    b.Profile = 4;
    h.PickDevice(0);
    h.window->mnuPDelete->trigger();
    EXPECT_EQ(a.Profile, 0);
    EXPECT_EQ(b.Profile, 3);
    EXPECT_EQ(h.lists.ProfileOf(b)->Name.str(), "P4");
    EXPECT_EQ(h.window->cmbProfiles->count(), 3);
    EXPECT_EQ(h.window->cmbProfiles->itemText(1), "P3");
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), -1);
    EXPECT_TRUE(h.window->SettingsRows.empty());
    EXPECT_TRUE(h.window->core.ReadingOn()); // profiles remain

    h.PickDevice(1);
    h.PickProfile(0);
    for (int i = 0; i < 3; ++i) {
        h.PickProfile(0);
        h.window->mnuPDelete->trigger();
    }
    EXPECT_TRUE(h.lists.Profiles.empty());
    EXPECT_EQ(b.Profile, 0);
    EXPECT_FALSE(h.window->core.ReadingOn());
    h.window->mnuPDelete->trigger(); // nothing selected: nothing happens
}

QByteArray Records(std::initializer_list<const char*> names, int size) {
    QByteArray bytes;
    for (const char* name : names)
        bytes += (char(std::strlen(name)) + QByteArray(name)).leftJustified(size, '\0');
    return bytes;
}

QString WriteFile(Harness& h, const char* name, const QByteArray& bytes) {
    QFile file(h.Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
}

// Import takes what the file is: one profile, or a store of either layout once asked, within
// the store's limit, where Add and Copy stop too before asking for a name.
TEST(ProfileMenu, ImportTakesAProfileOrAStoreWithinTheLimit) {
    const QByteArray store = Records({"S1", "S2", "S3"}, sizeof(TProfile));
    const auto No = QMessageBox::No, Yes = QMessageBox::Yes, None = QMessageBox::NoButton;
    const struct {
        QByteArray bytes;
        int before;
        QMessageBox::StandardButton answer; // None: no question
        std::vector<std::string> added;
    } cases[] = {
        {store, 1, Yes, {"S1", "S2", "S3"}},
        {store, 1, No, {}},
        {Records({"L1", "L2"}, 10048), 1, Yes, {"L1", "L2"}},
        {Records({"L1"}, 10048), 1, None, {}},
        {store, MaxStoredProfiles - 1, Yes, {"S1"}},
        {store, MaxStoredProfiles, None, {}},
    };
    for (const auto& c : cases) {
        Harness h;
        h.AddProfile("Kept");
        h.PickProfile(0);
        while (h.lists.Profiles.count() < c.before)
            h.lists.Profiles.push_back(NewProfile("More"));
        h.dialogs.fileAnswers = {WriteFile(h, "chosen.pro", c.bytes)};
        h.dialogs.answer = c.answer;
        h.window->mnuPImport->trigger();
        EXPECT_EQ(h.dialogs.questions.size(), c.answer == None ? 0u : 1u);
        EXPECT_EQ(h.dialogs.boxes.size(), c.added.empty() && c.answer != No ? 1u : 0u);
        ASSERT_EQ(h.lists.Profiles.size(), c.before + c.added.size());
        EXPECT_EQ(h.window->cmbProfiles->count(), 1 + static_cast<int>(c.added.size()));
        for (std::size_t i = 0; i < c.added.size(); ++i)
            EXPECT_EQ(h.lists.Profiles[c.before + i].Name.str(), c.added[i]);
        if (c.before < MaxStoredProfiles)
            continue;
        h.window->mnuPAdd->trigger(); // a name dialog would wait for ever
        h.window->mnuPCopy->trigger();
        const ShownBox full{QString::fromStdString(ProfileLimitText()), "Attention",
                            BoxIcon::Warning};
        EXPECT_EQ(h.dialogs.boxes, std::vector<ShownBox>(3, full));
        EXPECT_EQ(h.lists.Profiles.count(), MaxStoredProfiles);
    }
}

// Export never writes one profile over the store in use, by whatever name it is reached.
TEST(ProfileMenu, ExportRefusesTheStoreItself) {
    Harness h;
    h.AddProfile("Mine");
    h.PickProfile(0);
    const QString path = WriteFile(h, "Padwright.pro", Records({"S1", "S2"}, sizeof(TProfile)));
    QFile::link(path, h.Path("link.pro"));
    h.dialogs.fileAnswers = {path, h.Path("link.pro"), h.Path("other.pro")};
    for (int i = 0; i < 3; ++i)
        h.window->mnuPExport->trigger();
    EXPECT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_EQ(QFileInfo(path).size(), 2 * qint64(sizeof(TProfile)));
    EXPECT_EQ(QFileInfo(h.Path("other.pro")).size(), qint64(sizeof(TProfile)));
}

ForegroundProgram Program(const char* wmClass, bool own = false) {
    ForegroundProgram program;
    program.wmClass = wmClass;
    program.own = own;
    return program;
}

struct FakeSource final : IForegroundSource {
    std::string Kind() const override { return "X11"; }
    bool Available() const override { return reason.empty(); }
    std::string Unavailable() const override { return reason; }
    void Watch(std::function<void(const ForegroundProgram&)>) override {}
    ForegroundProgram Current() const override { return {}; }
    std::vector<ForegroundProgram> OpenWindows() const override {
        return {Program("padwright", true), Program("tool"), Program("game")};
    }
    std::string reason;
};

// "Programs..." adds rules for the selected profile from the program in front or an open
// window, and removes them; the window shows the profile a rule then puts its controller on.
TEST(ProgramsDialog, AddsAndRemovesRulesForTheSelectedProfile) {
    Harness h;
    FakeSource source;
    ProgramFollower follower(*h.core);
    TfrmPrograms dialog(*h.core, follower, &source, h.window.get());
    h.window->ShowPrograms = [&](int profile) { dialog.ShowFor(profile); };
    h.AddProfile("A");
    h.AddProfile("B");
    h.AddActive(MakeController(1, 0, {}, 0)).Profile = 1;
    h.PickDevice(0);
    h.PickProfile(1);
    follower.ProgramInFront(Program("game"));
    WhenModal([](QWidget* shown) {
        auto* d = qobject_cast<TfrmPrograms*>(shown);
        EXPECT_EQ(d->txtFollowing->text(), "Profiles follow the program in front (X11).");
        EXPECT_EQ(d->cmbProgram->itemText(1), "tool"); // after the one in front; no own window
        for (int i : {1, 0}) {
            d->cmbProgram->setCurrentIndex(i);
            d->cmdAdd->click();
        }
        EXPECT_EQ(d->lstRules->topLevelItem(1)->text(2), "B");
        d->lstRules->topLevelItem(0)->setSelected(true);
        d->cmdRemove->click();
        d->cmdClose->click();
    });
    h.window->mnuPPrograms->trigger();
    ASSERT_EQ(h.lists.Programs.size(), 1u);
    EXPECT_EQ(h.lists.Programs[0].Program + std::to_string(h.lists.Programs[0].Profile), "game2");

    h.PickProfile(0); // the user's own choice, while the rule holds
    follower.ProgramInFront(Program("editor"));
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 0);
    follower.ProgramInFront(Program("game"));
    EXPECT_EQ(h.window->cmbProfiles->currentIndex(), 1);
    EXPECT_EQ(h.window->SettingsRows.front().Mapping - h.lists.Profiles[1].Mappings, 0);
    source.reason = "it does not say.";
    EXPECT_EQ(FollowingText(&source), "Program following is not available: it does not say.");
    h.window->ShowPrograms = nullptr;
}

TEST(NameDialog, SystemCloseCountsAsCancel) {
    Harness h;
    WhenModal([](QWidget* dialog) {
        auto* entry = qobject_cast<TfrmEntry*>(dialog);
        entry->txtProfEntry->setText("Half typed");
        // The window system activates the dialog after showing it; only then has it a focus.
        EXPECT_TRUE(QTest::qWaitForWindowActive(entry));
        EXPECT_TRUE(entry->txtProfEntry->hasFocus());
        entry->close();
    });
    EXPECT_TRUE(h.window->frmEntry->AskName("Start").isEmpty());
    WhenModal([](QWidget* dialog) {
        auto* entry = qobject_cast<TfrmEntry*>(dialog);
        EXPECT_EQ(entry->txtProfEntry->text(), "Again");
        QTest::keyClick(entry, Qt::Key_Escape);
        EXPECT_TRUE(entry->isVisible());
        QTest::keyClick(entry->txtProfEntry, Qt::Key_Return);
    });
    EXPECT_EQ(h.window->frmEntry->AskName("Again"), "Again");
}

} // namespace
} // namespace padwright::test
