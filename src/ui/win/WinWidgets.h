#pragma once
// What the main window asks of its controls beyond WinControls.h: check boxes, enabling, and the
// width a text takes in the design font.
#include "ui/win/WinControls.h"

#include <string_view>

namespace padwright::win {

bool Checked(HWND box);
void SetChecked(HWND box, bool checked);
void Enable(HWND window, bool enabled);
// The width `text` takes in the design font.
int TextWidth(HWND window, std::string_view text);

} // namespace padwright::win
