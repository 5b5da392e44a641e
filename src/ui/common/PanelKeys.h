#pragma once
// The settings panel by keyboard: the arrows and Home/End move the focus mark over the rows, and
// Enter or Space opens the marked row's editor, as a click on it does.
namespace padwright {

enum class RowKey { Up, Down, Home, End, Open };

struct PanelStep {
    int Row = 0;       // the row the mark is on after the key
    bool Open = false; // the key opens that row
};

// What `key` does with the mark on `focusedRow` (kept within the rows) of `rowCount` rows; the
// panel takes no key while it has no rows.
PanelStep StepPanel(RowKey key, int focusedRow, int rowCount);

} // namespace padwright
