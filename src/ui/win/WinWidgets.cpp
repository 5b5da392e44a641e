#include "ui/win/WinWidgets.h"

#include "platform/win/Utf16.h"

#include <commctrl.h>

namespace padwright::win {

HFONT DesignFont() {
    static const HFONT font = CreateFontW(
        -11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    return font;
}

HWND MakeControl(HWND parent, const wchar_t* className, ::DWORD style,
                 const layout::Control& control, int id, int dx, int dy, ::DWORD exStyle) {
    HWND window = CreateWindowExW(
        exStyle, className, Wide(control.Caption).c_str(), WS_CHILD | WS_VISIBLE | style,
        control.Left + dx, control.Top + dy, control.Width, control.Height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(DesignFont()), FALSE);
    return window;
}

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void SetWindowText(HWND window, std::string_view text) {
    // The same text again would only flicker.
    if (WindowText(window) != text)
        SetWindowTextW(window, Wide(text).c_str());
}

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

void Hints::Create(HWND owner) {
    owner_ = owner;
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
}

Hints::~Hints() {
    if (tips_)
        DestroyWindow(tips_);
}

void Hints::Set(HWND control, std::string_view text) {
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    const bool known = known_.count(control) > 0;
    if (text.empty()) {
        if (known)
            SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        known_.erase(control);
    } else if (known) {
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        known_.insert(control);
    }
}

} // namespace padwright::win
