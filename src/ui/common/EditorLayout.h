#pragma once
// The control editor ("Edit Control") as both front-ends lay it out: place and size in pixels of
// the client area, caption and hint of each control, and the repeat slider's range.
#include "ui/common/MainLayout.h"

namespace padwright::layout::editor {

inline constexpr const char* Title = "Edit Control";
inline constexpr int ClientWidth = 337;
inline constexpr int ClientHeight = 202;
inline constexpr int WindowLeft = 391;
inline constexpr int WindowTop = 149;
// The repeat slider runs 0..31; its last position is kept as the rate 255, shown "MAXIMUM".
inline constexpr int MaxTrackPosition = 31;

inline constexpr Control txtControlName{16, 8, 305, 17};
inline constexpr Control cmbFunction{16, 32, 305, 21, "", "Sets the function for the control."};
inline constexpr Control chkShift{
    16, 64, 49, 17, "Shift", "Shift key should be pressed if a keyboard function is used."};
inline constexpr Control chkCtrl{
    72, 64, 41, 17, "Ctrl", "Ctrl key should be pressed if a keyboard function is used."};
inline constexpr Control chkAlt{
    128, 64, 41, 17, "Alt", "Alt key should be pressed if a keyboard function is used."};
inline constexpr Control chkWin{
    184, 64, 49, 17, "Win", "Windows key should be pressed if a keyboard function is used."};
inline constexpr Control cmdPressKey{
    240,
    62,
    81,
    21,
    "Press a key",
    "Then press a key or key combination: it becomes the function."};
inline constexpr Control txtDescription{16, 84, 305, 17};
inline constexpr Control Label1{104, 104, 129, 17, "Auto-Repeat"};
inline constexpr Control trkRepeatRate{8,  120, 321,
                                       25, "",  "Rate of repetition for the selected function."};
inline constexpr Control txtAutoRepeat{104, 144, 129, 17};
inline constexpr Control cmdCancel{232, 176, 49, 25, "Cancel"};
inline constexpr Control cmdOK{288, 176, 49, 25, "OK"};

} // namespace padwright::layout::editor
