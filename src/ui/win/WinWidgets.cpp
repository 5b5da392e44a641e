#include "ui/win/WinWidgets.h"

#include "platform/win/Utf16.h"

namespace padwright::win {

bool Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND box, bool checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Enable(HWND window, bool enabled) {
    EnableWindow(window, enabled ? TRUE : FALSE);
}

int TextWidth(HWND window, std::string_view text) {
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, DesignFont());
    const std::wstring wide = Wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

} // namespace padwright::win
