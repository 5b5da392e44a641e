#pragma once
// The Win32 controls the windows are built of, made from the layout tables: text in UTF-8, the
// window's font, hints as tooltips.
#include "ui/common/MainLayout.h"

#include <windows.h>

#include <set>
#include <string>
#include <string_view>

namespace padwright::win {

// "MS Sans Serif" at 8 points (height -11), the windows' font.
HFONT DesignFont();

// A child control of class `className` placed at `control` offset by (dx, dy); its caption is
// the control's. The font is set, the id is the control's command id.
HWND MakeControl(HWND parent, const wchar_t* className, ::DWORD style,
                 const layout::Control& control, int id, int dx = 0, int dy = 0,
                 ::DWORD exStyle = 0);

std::string WindowText(HWND window);
void SetWindowText(HWND window, std::string_view text);
bool Checked(HWND box);
void SetChecked(HWND box, bool checked);
void Enable(HWND window, bool enabled);

// The width `text` takes in `window`'s font.
int TextWidth(HWND window, std::string_view text);

// One tooltip window shows the hints of every control of a top-level window.
class Hints {
public:
    void Create(HWND owner);
    ~Hints();
    // `control` shows `text`; an empty text removes its hint.
    void Set(HWND control, std::string_view text);
    // A control that was destroyed, whose tool went with it.
    void Forget(HWND control) { known_.erase(control); }
    HWND Handle() const { return tips_; }

private:
    HWND owner_ = nullptr;
    HWND tips_ = nullptr;
    std::set<HWND> known_;
};

} // namespace padwright::win
