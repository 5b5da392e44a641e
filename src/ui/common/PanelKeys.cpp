#include "ui/common/PanelKeys.h"

#include <algorithm>

namespace padwright {

PanelStep StepPanel(RowKey key, int focusedRow, int rowCount) {
    const int last = std::max(rowCount - 1, 0);
    const int row = std::clamp(focusedRow, 0, last);
    switch (key) {
    case RowKey::Up:
        return {std::max(row - 1, 0)};
    case RowKey::Down:
        return {std::min(row + 1, last)};
    case RowKey::Home:
        return {0};
    case RowKey::End:
        return {last};
    case RowKey::Open:
        return {row, true};
    }
    return {row};
}

} // namespace padwright
