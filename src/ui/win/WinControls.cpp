#include "ui/win/WinControls.h"

#include "platform/win/Utf16.h"
#include "ui/common/MainLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace padwright::win {

namespace {

constexpr const wchar_t* TooltipProperty = L"PadwrightTooltips";

HFONT SansSerif(int averageWidth) {
    return CreateFontW(-11, averageWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

// "MS Sans Serif" at 8 points, condensed where the system's is wider than the windows' design
// (where Wine takes DejaVu Sans for it, say) down to about 70 % of its width, in whole pixels of
// average character width.
HFONT MakeDesignFont() {
    const HDC screen = GetDC(nullptr);
    HFONT font = SansSerif(0);
    const HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    const std::wstring caption = Wide(layout::FontReferenceCaption);
    for (int width = metrics.tmAveCharWidth; width >= metrics.tmAveCharWidth * 7 / 10; --width) {
        if (width < metrics.tmAveCharWidth) {
            SelectObject(screen, previous);
            DeleteObject(font);
            font = SansSerif(width);
            SelectObject(screen, font);
        }
        SIZE size{};
        GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
        if (size.cx <= layout::FontReferenceWidth)
            break;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return font;
}

} // namespace

HFONT DesignFont() {
    static const HFONT font = MakeDesignFont();
    return font;
}

HWND MakeControl(HWND dialog, const wchar_t* type, std::string_view text, DWORD style, Place place,
                 int id, DWORD exStyle) {
    const HWND control = CreateWindowExW(
        exStyle, type, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.width, place.height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(DesignFont()), FALSE);
    return control;
}

void AddTooltip(HWND dialog, HWND control, std::string_view text) {
    auto tips = static_cast<HWND>(GetPropW(dialog, TooltipProperty));
    if (!tips) {
        tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, 400);
        SetPropW(dialog, TooltipProperty, tips);
    }
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    // A second call for the same control replaces its text; an empty one removes it.
    SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!text.empty())
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string WindowTextUtf8(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return Utf8(text);
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
    SetWindowTextW(window, Wide(text).c_str());
}

Place PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void SetClientSize(HWND dialog, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOn(HWND dialog, HWND owner) {
    RECT mine, around;
    GetWindowRect(dialog, &mine);
    if (!owner || !GetWindowRect(owner, &around) || !IsWindowVisible(owner))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    const int width = mine.right - mine.left, height = mine.bottom - mine.top;
    int left = (around.left + around.right - width) / 2;
    int top = (around.top + around.bottom - height) / 2;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    left = std::max<int>(work.left, std::min<int>(left, work.right - width));
    top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR TWinDialog::RunModal(HWND owner, std::wstring_view caption, DWORD style, int width,
                             int height) {
    owner_ = owner;
    width_ = width;
    height_ = height;
    // A template with no items, no menu and the system's dialog class: OnInit makes the
    // controls itself, in pixels.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* head = reinterpret_cast<DLGTEMPLATE*>(words.data());
    head->style = WS_POPUP | DS_MODALFRAME | style;
    words.push_back(0); // no menu
    words.push_back(0); // the dialog class
    words.insert(words.end(), caption.begin(), caption.end());
    words.push_back(0);
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(words.data()), owner, DialogProc,
        reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    return result;
}

INT_PTR CALLBACK TWinDialog::DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, GWLP_USERDATA, l);
        auto* self = reinterpret_cast<TWinDialog*>(l);
        self->dialog_ = dialog;
        SetClientSize(dialog, self->width_, self->height_);
        return self->OnInit();
    }
    auto* self = reinterpret_cast<TWinDialog*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    return self ? self->OnMessage(message, w, l) : FALSE;
}

} // namespace padwright::win
