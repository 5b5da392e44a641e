#include "ui/KeyCapture.h"

#include "platform/inject/Injector.h"

#include <QKeyEvent>

#include <utility>

namespace padwright {

namespace {

using Pair = std::pair<int, std::uint32_t>;

constexpr Pair NamedKeys[] = {
    {Qt::Key_Backspace, 0x08},     {Qt::Key_Tab, 0x09},        {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},         {Qt::Key_Return, 0x0D},     {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},       {Qt::Key_Alt, 0x12},        {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},      {Qt::Key_Escape, 0x1B},     {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},        {Qt::Key_PageDown, 0x22},   {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},          {Qt::Key_Left, 0x25},       {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},         {Qt::Key_Down, 0x28},       {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},       {Qt::Key_Execute, 0x2B},    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},        {Qt::Key_Delete, 0x2E},     {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},          {Qt::Key_Super_L, 0x5B},    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},          {Qt::Key_Sleep, 0x5F},      {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},    {Qt::Key_Back, 0xA6},       {Qt::Key_Forward, 0xA7},
    {Qt::Key_Refresh, 0xA8},       {Qt::Key_Stop, 0xA9},       {Qt::Key_Search, 0xAA},
    {Qt::Key_Favorites, 0xAB},     {Qt::Key_HomePage, 0xAC},   {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE},    {Qt::Key_VolumeUp, 0xAF},   {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1}, {Qt::Key_MediaStop, 0xB2},  {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_MediaPlay, 0xB3},     {Qt::Key_LaunchMail, 0xB4}, {Qt::Key_LaunchMedia, 0xB5},
    {Qt::Key_Explorer, 0xB6},      {Qt::Key_Calculator, 0xB7}, {Qt::Key_Launch0, 0xB6},
    {Qt::Key_Launch1, 0xB7},       {Qt::Key_Enter, 0x0D},      {Qt::Key_AltGr, 0x12},
    {Qt::Key_Hyper_L, 0x5B},       {Qt::Key_Hyper_R, 0x5C},
};

// Keys of the keypad, which the toolkit names as the main block's and marks as the keypad's.
constexpr Pair KeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},   {Qt::Key_Comma, 0x6C}, {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F},  {Qt::Key_Enter, 0x0D}, {Qt::Key_Return, 0x0D},
    {Qt::Key_Delete, 0x2E},   {Qt::Key_Insert, 0x2D},
};

constexpr Pair LayoutSymbols[] = {
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},
};

template <std::size_t N> std::uint32_t Find(const Pair (&table)[N], int key) {
    for (const Pair& p : table)
        if (p.first == key)
            return p.second;
    return 0;
}

// X servers and the Wayland plugin number the kernel's keys 8 higher.
constexpr quint32 NativeKeycodeOffset = 8;

} // namespace

std::uint32_t CapturedVirtualKey(const QKeyEvent& key, IInputInjector* injector) {
    const int k = key.key();
    if (key.modifiers() & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return 0x60 + static_cast<std::uint32_t>(k - Qt::Key_0);
        if (const std::uint32_t vk = Find(KeypadKeys, k))
            return vk;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 0x70 + static_cast<std::uint32_t>(k - Qt::Key_F1);
    if (const std::uint32_t vk = Find(NamedKeys, k))
        return vk;
    if (injector && key.nativeScanCode() > NativeKeycodeOffset)
        if (const std::uint32_t vk = injector->MapVirtualKeyA(
                key.nativeScanCode() - NativeKeycodeOffset, MAPVK_VSC_TO_VK))
            return vk;
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z))
        return static_cast<std::uint32_t>(k);
    return Find(LayoutSymbols, k);
}

} // namespace padwright
