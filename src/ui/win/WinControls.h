#pragma once
// The Win32 dialogs' building blocks, made the one way every dialog makes them: a modal dialog
// laid out in pixels, controls placed in pixels in the design font, tooltips, texts in UTF-8.
#include "ui/win/Win32.h"

#include <string>
#include <string_view>

namespace padwright::win {

struct Place {
    int left, top, width, height;
};

// "MS Sans Serif" at 8 points (height -11), the font the dialogs were laid out for; made once.
HFONT DesignFont();

// A child control of `dialog` in the design font. Controls are made in tab order: the dialog
// manager's Tab follows the order they were made in.
HWND MakeControl(HWND dialog, const wchar_t* type, std::string_view text, DWORD style, Place place,
                 int id, DWORD exStyle = 0);

// A tooltip on `control` (the dialog's one tooltip window is made on first use); a second call
// replaces the text, an empty text removes the tooltip.
void AddTooltip(HWND dialog, HWND control, std::string_view text);

std::string WindowTextUtf8(HWND window);
void SetWindowTextUtf8(HWND window, std::string_view text);

// The control's place in its dialog's client area.
Place PlaceOf(HWND control);

// Resizes `dialog` so that its client area is `width` x `height`, keeping its top left corner.
void SetClientSize(HWND dialog, int width, int height);
// Moves `dialog` to the centre of `owner` (or of the screen without one), inside the work area.
void CentreOn(HWND dialog, HWND owner);

// A modal dialog laid out in pixels: RunModal shows it over its owner with a client area of the
// given size; OnInit makes its controls, OnMessage handles what comes then.
class TWinDialog {
public:
    virtual ~TWinDialog() = default;

protected:
    // `style`: WS_CAPTION and the like (DS_MODALFRAME is added). Returns what EndDialog was
    // given, -1 when the dialog could not be shown.
    INT_PTR RunModal(HWND owner, std::wstring_view caption, DWORD style, int width, int height);
    // The client area has its size; false when OnInit set the focus itself.
    virtual bool OnInit() = 0;
    // As a dialog procedure answers: TRUE for a message handled (or the value asked for).
    virtual INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) = 0;
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    HWND owner_ = nullptr;
    HWND dialog_ = nullptr; // while shown

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l);
    int width_ = 0, height_ = 0;
};

} // namespace padwright::win
