// Live controls through the real cycle: a fixture pad is moved, the cycle reads it, and the rows
// of what is held get their mark, the next repaint at most a frame later.
#include "UiHarness.h"
#include "engine/Catalogue.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

namespace padwright::test {
namespace {

void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// Counts the paint events of the widgets it watches.
struct PaintCounter : QObject {
    std::set<QObject*> painted;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted.insert(watched);
        return false;
    }
};

struct LiveMarks : ::testing::Test {
    Harness h;
    TfrmMain& w = *h.window;
    int node = h.Plug("usb-gamepad-0079-0011.evemu");

    void SetUp() override {
        w.cmdRefresh->click();
        Pick(w.cmbFoundDevices, 0);
        w.cmdAddDevice->click();
        h.AddProfile("Pad");
        Pick(w.cmbDevices, 0);
        Pick(w.cmbProfiles, 0);
        w.show();
        ASSERT_TRUE(w.core.ReadingOn());
    }
    // The pad reports `events`; one run of the cycle reads them.
    void Move(const std::vector<EvdevEvent>& events) {
        std::vector<EvdevEvent> report = events;
        report.push_back({EV_SYN, SYN_REPORT, 0});
        h.kernel->Push(node, report);
        w.tmrDataCollectTimer();
    }
    // Lets the repaint single shot fire and the repaint happen.
    void Settle() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.tmrLiveMarks->isActive(); }, 1000));
        QTest::qWait(20);
    }
    std::set<int> MarkedSlots() const {
        std::set<int> marked;
        for (const TSettingsRow& row : w.SettingsRows)
            if (row.NameBox->Engaged())
                marked.insert(row.Slot);
        return marked;
    }
    TStaticText* NameOf(int slot) const {
        for (const TSettingsRow& row : w.SettingsRows)
            if (row.Slot == slot)
                return row.NameBox;
        return nullptr;
    }
};

const int StickRight = AxisSlot(0, true);
const int SecondButton = ButtonSlot(1);

TEST_F(LiveMarks, HeldControlsAreMarkedAndOnlyChangedRowsRepaint) {
    Move({{EV_KEY, BTN_THUMB, 1}, {EV_ABS, ABS_X, 255}});
    EXPECT_TRUE(w.tmrLiveMarks->isActive());
    EXPECT_TRUE(MarkedSlots().empty()); // the single shot paints, not the cycle
    Settle();
    EXPECT_EQ(MarkedSlots(), (std::set<int>{StickRight, SecondButton}));

    // The mark is a fill of its own, not the editing highlight, and only on marked rows.
    TStaticText* marked = NameOf(StickRight);
    const QColor fill = EngagedFill(marked->palette());
    EXPECT_NE(fill.rgb(), marked->palette().color(QPalette::Highlight).rgb());
    EXPECT_GT(CountPixels(marked, fill), marked->width() * marked->height() / 3);
    EXPECT_EQ(CountPixels(NameOf(AxisSlot(0, false)), fill), 0);

    // A cycle that changes no mark starts nothing.
    w.tmrDataCollectTimer();
    EXPECT_FALSE(w.tmrLiveMarks->isActive());

    PaintCounter counter;
    for (const TSettingsRow& row : w.SettingsRows)
        row.NameBox->installEventFilter(&counter);
    Move({{EV_KEY, BTN_THUMB, 0}, {EV_ABS, ABS_X, 127}, {EV_ABS, ABS_Y, 0}});
    Settle();
    EXPECT_EQ(MarkedSlots(), (std::set<int>{AxisSlot(1, false)}));
    EXPECT_EQ(counter.painted, (std::set<QObject*>{NameOf(StickRight), NameOf(SecondButton),
                                                   NameOf(AxisSlot(1, false))}));
}

TEST_F(LiveMarks, NothingIsMarkedWhileHiddenOrNotReading) {
    Move({{EV_KEY, BTN_THUMB, 1}});
    Settle();
    ASSERT_EQ(MarkedSlots(), std::set<int>{SecondButton});
    w.hide();
    EXPECT_TRUE(MarkedSlots().empty());
    Move({{EV_KEY, BTN_TRIGGER, 1}});
    EXPECT_FALSE(w.tmrLiveMarks->isActive());

    w.show();
    w.tmrDataCollectTimer();
    Settle();
    EXPECT_EQ(MarkedSlots(), (std::set<int>{ButtonSlot(0), SecondButton}));
    w.core.PauseReading();
    EXPECT_TRUE(MarkedSlots().empty());
    w.tmrDataCollectTimer();
    EXPECT_FALSE(w.tmrLiveMarks->isActive());
}

TEST_F(LiveMarks, TheEditorsTitleCarriesTheMarkOfItsControl) {
    Move({{EV_KEY, BTN_THUMB, 1}});
    Settle();
    TfrmControlEntry& editor = *w.frmControlEntry;
    bool markedOnOpen = false;
    bool clearedOnRelease = false;
    WhenModal([&](QWidget*) {
        markedOnOpen = editor.txtControlName->Engaged();
        Move({{EV_KEY, BTN_THUMB, 0}});
        clearedOnRelease = QTest::qWaitFor([&] { return !editor.txtControlName->Engaged(); }, 1000);
        editor.cmdCancel->click();
    });
    QTest::mouseClick(NameOf(SecondButton), Qt::LeftButton);
    EXPECT_TRUE(markedOnOpen);
    EXPECT_TRUE(clearedOnRelease);
    EXPECT_FALSE(editor.txtControlName->Engaged());
}

} // namespace
} // namespace padwright::test
