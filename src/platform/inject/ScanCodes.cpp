#include "platform/inject/ScanCodes.h"

#include <array>

namespace padwright {

namespace {

constexpr std::array<std::uint8_t, 256> BuildTable() {
    std::array<std::uint8_t, 256> t{};
    t[0x03] = 0x46; // VK_CANCEL (Ctrl+Break shares the Scroll Lock position)
    t[0x08] = 0x0E; // VK_BACK
    t[0x09] = 0x0F; // VK_TAB
    t[0x0C] = 0x4C; // VK_CLEAR (keypad 5 without Num Lock)
    t[0x0D] = 0x1C; // VK_RETURN
    t[0x10] = 0x2A; // VK_SHIFT
    t[0x11] = 0x1D; // VK_CONTROL
    t[0x12] = 0x38; // VK_MENU
    t[0x13] = 0x45; // VK_PAUSE
    t[0x14] = 0x3A; // VK_CAPITAL
    t[0x1B] = 0x01; // VK_ESCAPE
    t[0x20] = 0x39; // VK_SPACE
    t[0x21] = 0x49; // VK_PRIOR
    t[0x22] = 0x51; // VK_NEXT
    t[0x23] = 0x4F; // VK_END
    t[0x24] = 0x47; // VK_HOME
    t[0x25] = 0x4B; // VK_LEFT
    t[0x26] = 0x48; // VK_UP
    t[0x27] = 0x4D; // VK_RIGHT
    t[0x28] = 0x50; // VK_DOWN
    t[0x2C] = 0x54; // VK_SNAPSHOT
    t[0x2D] = 0x52; // VK_INSERT
    t[0x2E] = 0x53; // VK_DELETE
    t[0x2F] = 0x63; // VK_HELP (the Help key of terminal-style keyboards)
    // VK_0..VK_9: the digit row 1..9, 0
    t[0x30] = 0x0B;
    for (int i = 1; i <= 9; ++i)
        t[0x30 + i] = static_cast<std::uint8_t>(0x01 + i);
    // VK_A..VK_Z: the US layout's physical keys
    constexpr std::uint8_t letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                          0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                          0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    for (int i = 0; i < 26; ++i)
        t[0x41 + i] = letters[i];
    t[0x5B] = 0x5B; // VK_LWIN
    t[0x5C] = 0x5C; // VK_RWIN
    t[0x5D] = 0x5D; // VK_APPS
    t[0x5F] = 0x5F; // VK_SLEEP
    constexpr std::uint8_t numpad[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B,
                                         0x4C, 0x4D, 0x47, 0x48, 0x49};
    for (int i = 0; i < 10; ++i)
        t[0x60 + i] = numpad[i];
    t[0x6A] = 0x37; // VK_MULTIPLY
    t[0x6B] = 0x4E; // VK_ADD
    t[0x6C] = 0x00; // VK_SEPARATOR: no key on a US keyboard
    t[0x6D] = 0x4A; // VK_SUBTRACT
    t[0x6E] = 0x53; // VK_DECIMAL
    t[0x6F] = 0x35; // VK_DIVIDE
    constexpr std::uint8_t fkeys[24] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42,
                                        0x43, 0x44, 0x57, 0x58, 0x64, 0x65, 0x66, 0x67,
                                        0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};
    for (int i = 0; i < 24; ++i)
        t[0x70 + i] = fkeys[i];
    t[0x90] = 0x45; // VK_NUMLOCK
    t[0x91] = 0x46; // VK_SCROLL
    t[0xA0] = 0x2A; // VK_LSHIFT
    t[0xA1] = 0x36; // VK_RSHIFT
    t[0xA2] = 0x1D; // VK_LCONTROL
    t[0xA3] = 0x1D; // VK_RCONTROL (E0 1D)
    t[0xA6] = 0x6A; // VK_BROWSER_BACK (E0 6A)
    t[0xA7] = 0x69; // VK_BROWSER_FORWARD
    t[0xA8] = 0x67; // VK_BROWSER_REFRESH
    t[0xA9] = 0x68; // VK_BROWSER_STOP
    t[0xAA] = 0x65; // VK_BROWSER_SEARCH
    t[0xAB] = 0x66; // VK_BROWSER_FAVORITES
    t[0xAC] = 0x32; // VK_BROWSER_HOME
    t[0xAD] = 0x20; // VK_VOLUME_MUTE
    t[0xAE] = 0x2E; // VK_VOLUME_DOWN
    t[0xAF] = 0x30; // VK_VOLUME_UP
    t[0xB0] = 0x19; // VK_MEDIA_NEXT_TRACK
    t[0xB1] = 0x10; // VK_MEDIA_PREV_TRACK
    t[0xB2] = 0x24; // VK_MEDIA_STOP
    t[0xB3] = 0x22; // VK_MEDIA_PLAY_PAUSE
    t[0xB4] = 0x6C; // VK_LAUNCH_MAIL
    t[0xB5] = 0x6D; // VK_LAUNCH_MEDIA_SELECT
    t[0xB6] = 0x6B; // VK_LAUNCH_APP1
    t[0xB7] = 0x21; // VK_LAUNCH_APP2
    t[0xBA] = 0x27; // VK_OEM_1 ;:
    t[0xBB] = 0x0D; // VK_OEM_PLUS =+
    t[0xBC] = 0x33; // VK_OEM_COMMA
    t[0xBD] = 0x0C; // VK_OEM_MINUS
    t[0xBE] = 0x34; // VK_OEM_PERIOD
    t[0xBF] = 0x35; // VK_OEM_2 /?
    t[0xC0] = 0x29; // VK_OEM_3 `~
    t[0xDB] = 0x1A; // VK_OEM_4 [{
    t[0xDC] = 0x2B; // VK_OEM_5 \|
    t[0xDD] = 0x1B; // VK_OEM_6 ]}
    t[0xDE] = 0x28; // VK_OEM_7 '"
    t[0xDF] = 0x00; // VK_OEM_8: no key on a US keyboard
    t[0xE2] = 0x56; // VK_OEM_102 (the extra key beside left Shift on 102-key boards)
    return t;
}

constexpr std::array<std::uint8_t, 256> ScanTable = BuildTable();

} // namespace

std::uint32_t VirtualKeyToScanCode(std::uint32_t vk) {
    return vk < ScanTable.size() ? ScanTable[vk] : 0;
}

} // namespace padwright
