// Live controls: the settings panel marks the rows whose control is engaged right now, from the
// readings the data-collection cycle already took.
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"
#include "ui/frmMain.h"

#include <QTimer>

namespace padwright {

void TfrmMain::MarkEngagedRows() {
    // Only what the user can see is worth a look: nothing while hidden, minimised or not reading.
    if (!isVisible() || isMinimized() || !core.ReadingOn())
        return;
    const TJoystick* joystick = SelectedJoystick();
    const SlotSet engaged = joystick && !SettingsRows.empty() ? joystick->Engaged : SlotSet{};
    if (engaged == marksWanted_)
        return;
    marksWanted_ = engaged;
    if (!tmrLiveMarks->isActive())
        tmrLiveMarks->start();
}

void TfrmMain::tmrLiveMarksTimer() {
    const SlotSet changed = marksWanted_ ^ marksShown_;
    if (changed.none())
        return;
    for (const TSettingsRow& row : SettingsRows) // the rows are in slot order, but not all slots

        if (row.Slot >= 0 && changed[static_cast<std::size_t>(row.Slot)])
            row.NameBox->SetEngaged(marksWanted_[static_cast<std::size_t>(row.Slot)]);
    if (editingSlot_ >= 0)
        frmControlEntry->txtControlName->SetEngaged(
            marksWanted_[static_cast<std::size_t>(editingSlot_)]);
    marksShown_ = marksWanted_;
}

// Marks that no cycle will update any more (reading off, window hidden) go at once.
void TfrmMain::ClearLiveMarks() {
    tmrLiveMarks->stop();
    marksWanted_.reset();
    tmrLiveMarksTimer();
}

// New rows start unmarked; the next cycle marks them.
void TfrmMain::ForgetLiveMarks() {
    tmrLiveMarks->stop();
    marksWanted_.reset();
    marksShown_.reset();
    frmControlEntry->txtControlName->SetEngaged(false);
}

void TfrmMain::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    ClearLiveMarks();
}

} // namespace padwright
