#include "ui/common/RowLayout.h"

namespace padwright {

namespace {

// The function, modifier and repeat boxes, each Gap pixels right of the box before it.
void PlaceColumns(RowPlace& row, int top) {
    using L = SettingsRowLayout;
    row.Function = {row.Name.Right() + L::Gap, top, L::FunctionWidth, L::RowHeight};
    row.Modifier = {row.Function.Right() + L::Gap, top, L::ModifierWidth, L::RowHeight};
    row.Repeat = {row.Modifier.Right() + L::Gap, top, L::RepeatWidth, L::RowHeight};
}

} // namespace

bool SettingsRowLayout::Add(int textWidth) {
    RowPlace row;
    if (rows_.empty()) {
        row.Name = {NameLeft, RowTop, textWidth + Gap, RowHeight};
        PlaceColumns(row, RowTop);
        rows_.push_back(row);
        return false;
    }
    const RowPlace& previous = rows_.back();
    const int shared = rows_.front().Name.Width;
    row.Name = {NameLeft, previous.Name.Top + RowPitch,
                textWidth < shared ? shared : textWidth + Gap, RowHeight};
    const bool widened = row.Name.Right() + Gap > rows_.front().Function.Left;
    if (widened) {
        for (RowPlace& earlier : rows_) {
            earlier.Name.Width = row.Name.Width;
            PlaceColumns(earlier, earlier.Function.Top);
        }
    }
    PlaceColumns(row, rows_.back().Function.Top + RowPitch);
    rows_.push_back(row);
    return widened;
}

} // namespace padwright
