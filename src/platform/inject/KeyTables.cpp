#include "platform/inject/KeyTables.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace padwright {

namespace {

constexpr std::array<VirtualKeyRow, 143> VirtualKeyRows = {{
    {0x03, {KEY_CANCEL, XK_Cancel}},
    {0x08, {KEY_BACKSPACE, XK_BackSpace}},
    {0x09, {KEY_TAB, XK_Tab}},
    // Keypad 5 with Num Lock off, the key a PC keyboard sends VK_CLEAR from.
    {0x0C, {KEY_KP5, XK_KP_Begin}},
    {0x0D, {KEY_ENTER, XK_Return}},
    {0x10, {KEY_LEFTSHIFT, XK_Shift_L}},
    {0x11, {KEY_LEFTCTRL, XK_Control_L}},
    {0x12, {KEY_LEFTALT, XK_Alt_L}},
    {0x13, {KEY_PAUSE, XK_Pause}},
    {0x14, {KEY_CAPSLOCK, XK_Caps_Lock}},
    {0x1B, {KEY_ESC, XK_Escape}},
    {0x20, {KEY_SPACE, XK_space}},
    {0x21, {KEY_PAGEUP, XK_Prior}},
    {0x22, {KEY_PAGEDOWN, XK_Next}},
    {0x23, {KEY_END, XK_End}},
    {0x24, {KEY_HOME, XK_Home}},
    {0x25, {KEY_LEFT, XK_Left}},
    {0x26, {KEY_UP, XK_Up}},
    {0x27, {KEY_RIGHT, XK_Right}},
    {0x28, {KEY_DOWN, XK_Down}},
    // The kernel gives a USB keyboard's Select and Execute keys these codes.
    {0x29, {KEY_FRONT, XK_Select}},
    {0x2A, {KEY_PRINT, XK_Print}},
    {0x2B, {KEY_OPEN, XK_Execute}},
    {0x2C, {KEY_SYSRQ, XK_Print}},
    {0x2D, {KEY_INSERT, XK_Insert}},
    {0x2E, {KEY_DELETE, XK_Delete}},
    {0x2F, {KEY_HELP, XK_Help}},
    {0x30, {KEY_0, XK_0}},
    {0x31, {KEY_1, XK_1}},
    {0x32, {KEY_2, XK_2}},
    {0x33, {KEY_3, XK_3}},
    {0x34, {KEY_4, XK_4}},
    {0x35, {KEY_5, XK_5}},
    {0x36, {KEY_6, XK_6}},
    {0x37, {KEY_7, XK_7}},
    {0x38, {KEY_8, XK_8}},
    {0x39, {KEY_9, XK_9}},
    {0x41, {KEY_A, XK_a}},
    {0x42, {KEY_B, XK_b}},
    {0x43, {KEY_C, XK_c}},
    {0x44, {KEY_D, XK_d}},
    {0x45, {KEY_E, XK_e}},
    {0x46, {KEY_F, XK_f}},
    {0x47, {KEY_G, XK_g}},
    {0x48, {KEY_H, XK_h}},
    {0x49, {KEY_I, XK_i}},
    {0x4A, {KEY_J, XK_j}},
    {0x4B, {KEY_K, XK_k}},
    {0x4C, {KEY_L, XK_l}},
    {0x4D, {KEY_M, XK_m}},
    {0x4E, {KEY_N, XK_n}},
    {0x4F, {KEY_O, XK_o}},
    {0x50, {KEY_P, XK_p}},
    {0x51, {KEY_Q, XK_q}},
    {0x52, {KEY_R, XK_r}},
    {0x53, {KEY_S, XK_s}},
    {0x54, {KEY_T, XK_t}},
    {0x55, {KEY_U, XK_u}},
    {0x56, {KEY_V, XK_v}},
    {0x57, {KEY_W, XK_w}},
    {0x58, {KEY_X, XK_x}},
    {0x59, {KEY_Y, XK_y}},
    {0x5A, {KEY_Z, XK_z}},
    {0x5B, {KEY_LEFTMETA, XK_Super_L}},
    {0x5C, {KEY_RIGHTMETA, XK_Super_R}},
    {0x5D, {KEY_COMPOSE, XK_Menu}},
    {0x5F, {KEY_SLEEP, XF86XK_Sleep}},
    {0x60, {KEY_KP0, XK_KP_0}},
    {0x61, {KEY_KP1, XK_KP_1}},
    {0x62, {KEY_KP2, XK_KP_2}},
    {0x63, {KEY_KP3, XK_KP_3}},
    {0x64, {KEY_KP4, XK_KP_4}},
    {0x65, {KEY_KP5, XK_KP_5}},
    {0x66, {KEY_KP6, XK_KP_6}},
    {0x67, {KEY_KP7, XK_KP_7}},
    {0x68, {KEY_KP8, XK_KP_8}},
    {0x69, {KEY_KP9, XK_KP_9}},
    {0x6A, {KEY_KPASTERISK, XK_KP_Multiply}},
    {0x6B, {KEY_KPPLUS, XK_KP_Add}},
    {0x6C, {KEY_KPCOMMA, XK_KP_Separator}},
    {0x6D, {KEY_KPMINUS, XK_KP_Subtract}},
    {0x6E, {KEY_KPDOT, XK_KP_Decimal}},
    {0x6F, {KEY_KPSLASH, XK_KP_Divide}},
    {0x70, {KEY_F1, XK_F1}},
    {0x71, {KEY_F2, XK_F2}},
    {0x72, {KEY_F3, XK_F3}},
    {0x73, {KEY_F4, XK_F4}},
    {0x74, {KEY_F5, XK_F5}},
    {0x75, {KEY_F6, XK_F6}},
    {0x76, {KEY_F7, XK_F7}},
    {0x77, {KEY_F8, XK_F8}},
    {0x78, {KEY_F9, XK_F9}},
    {0x79, {KEY_F10, XK_F10}},
    {0x7A, {KEY_F11, XK_F11}},
    {0x7B, {KEY_F12, XK_F12}},
    {0x7C, {KEY_F13, XK_F13}},
    {0x7D, {KEY_F14, XK_F14}},
    {0x7E, {KEY_F15, XK_F15}},
    {0x7F, {KEY_F16, XK_F16}},
    {0x80, {KEY_F17, XK_F17}},
    {0x81, {KEY_F18, XK_F18}},
    {0x82, {KEY_F19, XK_F19}},
    {0x83, {KEY_F20, XK_F20}},
    {0x84, {KEY_F21, XK_F21}},
    {0x85, {KEY_F22, XK_F22}},
    {0x86, {KEY_F23, XK_F23}},
    {0x87, {KEY_F24, XK_F24}},
    {0x90, {KEY_NUMLOCK, XK_Num_Lock}},
    {0x91, {KEY_SCROLLLOCK, XK_Scroll_Lock}},
    {0xA0, {KEY_LEFTSHIFT, XK_Shift_L}},
    {0xA1, {KEY_RIGHTSHIFT, XK_Shift_R}},
    {0xA2, {KEY_LEFTCTRL, XK_Control_L}},
    {0xA3, {KEY_RIGHTCTRL, XK_Control_R}},
    {0xA6, {KEY_BACK, XF86XK_Back}},
    {0xA7, {KEY_FORWARD, XF86XK_Forward}},
    {0xA8, {KEY_REFRESH, XF86XK_Refresh}},
    {0xA9, {KEY_STOP, XF86XK_Stop}},
    {0xAA, {KEY_SEARCH, XF86XK_Search}},
    {0xAB, {KEY_BOOKMARKS, XF86XK_Favorites}},
    {0xAC, {KEY_HOMEPAGE, XF86XK_HomePage}},
    {0xAD, {KEY_MUTE, XF86XK_AudioMute}},
    {0xAE, {KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume}},
    {0xAF, {KEY_VOLUMEUP, XF86XK_AudioRaiseVolume}},
    {0xB0, {KEY_NEXTSONG, XF86XK_AudioNext}},
    {0xB1, {KEY_PREVIOUSSONG, XF86XK_AudioPrev}},
    {0xB2, {KEY_STOPCD, XF86XK_AudioStop}},
    {0xB3, {KEY_PLAYPAUSE, XF86XK_AudioPlay}},
    {0xB4, {KEY_MAIL, XF86XK_Mail}},
    {0xB5, {KEY_MEDIA, XF86XK_AudioMedia}},
    // The keys that send the two launch codes on PC keyboards: My Computer and Calculator.
    {0xB6, {KEY_COMPUTER, XF86XK_MyComputer}},
    {0xB7, {KEY_CALC, XF86XK_Calculator}},
    // OEM keys: the US layout's physical keys, whatever characters the X layout puts on them.
    {0xBA, {KEY_SEMICOLON, 0}},
    {0xBB, {KEY_EQUAL, 0}},
    {0xBC, {KEY_COMMA, 0}},
    {0xBD, {KEY_MINUS, 0}},
    {0xBE, {KEY_DOT, 0}},
    {0xBF, {KEY_SLASH, 0}},
    {0xC0, {KEY_GRAVE, 0}},
    {0xDB, {KEY_LEFTBRACE, 0}},
    {0xDC, {KEY_BACKSLASH, 0}},
    {0xDD, {KEY_RIGHTBRACE, 0}},
    {0xDE, {KEY_APOSTROPHE, 0}},
    // VK_OEM_8 (0xDF) is on no US key and has no row.
    {0xE2, {KEY_102ND, 0}},
}};

constexpr std::array<AppCommandRow, 16> AppCommandRows = {{
    {46, {KEY_PLAYCD, XF86XK_AudioPlay}},
    {47, {KEY_PAUSECD, XF86XK_AudioPause}},
    {14, {KEY_PLAYPAUSE, XF86XK_AudioPlay}},
    {13, {KEY_STOPCD, XF86XK_AudioStop}},
    {48, {KEY_RECORD, XF86XK_AudioRecord}},
    {49, {KEY_FASTFORWARD, XF86XK_AudioForward}},
    {50, {KEY_REWIND, XF86XK_AudioRewind}},
    {11, {KEY_NEXTSONG, XF86XK_AudioNext}},
    {12, {KEY_PREVIOUSSONG, XF86XK_AudioPrev}},
    // Kernel codes above 247 lie beyond X's keycodes: these two reach uinput only.
    {51, {KEY_CHANNELUP, 0}},
    {52, {KEY_CHANNELDOWN, 0}},
    {8, {KEY_MUTE, XF86XK_AudioMute}},
    {9, {KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume}},
    {10, {KEY_VOLUMEUP, XF86XK_AudioRaiseVolume}},
    // Bass down/up and treble down/up have no key on Linux.
    {20, {KEY_BASSBOOST, 0}},
    {1, {KEY_BACK, XF86XK_Back}},
}};

// A short initialiser list would leave zero rows behind without a word from the compiler.
constexpr bool RowsComplete() {
    for (const auto& row : VirtualKeyRows)
        if (row.vk == 0 || row.target.linuxCode == 0)
            return false;
    for (const auto& row : AppCommandRows)
        if (row.command == 0 || row.target.linuxCode == 0)
            return false;
    return true;
}
static_assert(RowsComplete());

constexpr std::array<KeyTarget, 256> BuildVirtualKeyIndex() {
    std::array<KeyTarget, 256> index{};
    for (const auto& row : VirtualKeyRows)
        index[row.vk] = row.target;
    return index;
}

constexpr std::array<KeyTarget, 256> VirtualKeyIndex = BuildVirtualKeyIndex();

} // namespace

std::span<const VirtualKeyRow> VirtualKeyTable() {
    return VirtualKeyRows;
}
std::span<const AppCommandRow> AppCommandTable() {
    return AppCommandRows;
}

KeyTarget VirtualKeyTarget(std::uint32_t vk) {
    return vk < VirtualKeyIndex.size() ? VirtualKeyIndex[vk] : KeyTarget{};
}

std::optional<MouseButton> VirtualKeyMouseButton(std::uint32_t vk) {
    switch (vk) {
    case 0x01:
        return MouseButton::Left;
    case 0x02:
        return MouseButton::Right;
    case 0x04:
        return MouseButton::Middle;
    case 0x05:
        return MouseButton::Side;
    case 0x06:
        return MouseButton::Extra;
    default:
        return std::nullopt;
    }
}

std::uint16_t AppCommandOfLParam(std::uint32_t lParam) {
    // GET_APPCOMMAND_LPARAM: the top four bits of the high word name the sending device.
    return static_cast<std::uint16_t>((lParam >> 16) & 0x0FFF);
}

KeyTarget AppCommandTarget(std::uint16_t command) {
    const auto* row =
        std::find_if(AppCommandRows.begin(), AppCommandRows.end(),
                     [command](const AppCommandRow& r) { return r.command == command; });
    return row == AppCommandRows.end() ? KeyTarget{} : row->target;
}

} // namespace padwright
