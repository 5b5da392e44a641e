#include "ui/win/WinTrayIcon.h"

#include <shellapi.h>

namespace padwright::win {

namespace {

HICON LoadIconResource(int id, int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

} // namespace

WinTrayIcon::WinTrayIcon(HWND window, UINT callbackMessage) : window_(window) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    application_ = LoadIconResource(ApplicationIconId, size);
    for (int i = 0; i < FrameCount; ++i)
        frames_[static_cast<std::size_t>(i)] = LoadIconResource(FirstFrameId + i, size);
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = application_;
    lstrcpynW(data_.szTip, L"Padwright", ARRAYSIZE(data_.szTip));
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, popItemStart, L"Start Reading Data");
    AppendMenuW(menu_, MF_STRING, popItemStop, L"Stop Reading Data");
    AppendMenuW(menu_, MF_STRING, popItemShow, L"Show");
    AppendMenuW(menu_, MF_STRING, popItemExit, L"Exit");
}

WinTrayIcon::~WinTrayIcon() {
    Remove();
    DestroyMenu(menu_);
    for (HICON frame : frames_)
        DestroyIcon(frame);
    DestroyIcon(application_);
}

void WinTrayIcon::Add() {
    data_.hIcon = application_;
    Shell_NotifyIconW(NIM_ADD, &data_);
    added_ = true;
}

void WinTrayIcon::Remove() {
    if (!added_)
        return;
    Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
}

void WinTrayIcon::SetIcon(HICON icon) {
    data_.hIcon = icon;
    if (added_)
        Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void WinTrayIcon::ShowReadingState(bool reading) {
    EnableMenuItem(menu_, popItemStart, MF_BYCOMMAND | (reading ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu_, popItemStop, MF_BYCOMMAND | (reading ? MF_ENABLED : MF_GRAYED));
}

void WinTrayIcon::ShowFrame(int frame) {
    SetIcon(frames_[static_cast<std::size_t>(frame % FrameCount)]);
}

void WinTrayIcon::ShowStillIcon() {
    SetIcon(application_);
}

void WinTrayIcon::TrayIconMessage(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
        TrayIconDoubleClick();
        break;
    case WM_RBUTTONUP: {
        // The menu closes when the user clicks elsewhere only while the window is in front.
        SetForegroundWindow(window_);
        POINT at{};
        GetCursorPos(&at);
        const auto item = static_cast<UINT>(
            TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                           at.x, at.y, 0, window_, nullptr));
        PostMessageW(window_, WM_NULL, 0, 0);
        Choose(item);
        break;
    }
    default:
        break;
    }
}

void WinTrayIcon::Choose(UINT item) {
    switch (item) {
    case popItemStart:
        if (StartReading)
            StartReading();
        break;
    case popItemStop:
        if (StopReading)
            StopReading();
        break;
    case popItemShow:
        popItemShowClick();
        break;
    case popItemExit:
        if (Exit)
            Exit();
        break;
    default:
        break;
    }
}

void WinTrayIcon::TrayIconDoubleClick() {
    if (IsWindowVisible(window_) && !IsIconic(window_)) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    popItemShowClick();
}

void WinTrayIcon::popItemShowClick() {
    ShowWindow(window_, SW_SHOW);
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    SetFocus(window_);
}

} // namespace padwright::win
