#include "platform/inject/KeyTables.h"

#include "platform/inject/ScanCodes.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

namespace padwright {

namespace {

// Linux numbers the keys of a PC keyboard's main block by their set-1 scan codes, so a virtual key
// presses the key its US scan code numbers (VirtualKeyToScanCode), except the keys below:
// E0-prefixed keys, keys beyond the main block, and keys with no US scan code of their own.
constexpr VirtualKeyRow OwnCodes[] = {
    {0x03, {KEY_CANCEL}},
    {0x13, {KEY_PAUSE}},
    {0x21, {KEY_PAGEUP}},
    {0x22, {KEY_PAGEDOWN}},
    {0x23, {KEY_END}},
    {0x24, {KEY_HOME}},
    {0x25, {KEY_LEFT}},
    {0x26, {KEY_UP}},
    {0x27, {KEY_RIGHT}},
    {0x28, {KEY_DOWN}},
    // The kernel gives a USB keyboard's Select and Execute keys these codes.
    {0x29, {KEY_FRONT}},
    {0x2A, {KEY_PRINT}},
    {0x2B, {KEY_OPEN}},
    {0x2C, {KEY_SYSRQ}},
    {0x2D, {KEY_INSERT}},
    {0x2E, {KEY_DELETE}},
    {0x2F, {KEY_HELP}},
    {0x5B, {KEY_LEFTMETA}},
    {0x5C, {KEY_RIGHTMETA}},
    {0x5D, {KEY_COMPOSE}},
    {0x5F, {KEY_SLEEP}},
    {0x6C, {KEY_KPCOMMA}},
    {0x6F, {KEY_KPSLASH}},
    {0x7C, {KEY_F13}},
    {0x7D, {KEY_F14}},
    {0x7E, {KEY_F15}},
    {0x7F, {KEY_F16}},
    {0x80, {KEY_F17}},
    {0x81, {KEY_F18}},
    {0x82, {KEY_F19}},
    {0x83, {KEY_F20}},
    {0x84, {KEY_F21}},
    {0x85, {KEY_F22}},
    {0x86, {KEY_F23}},
    {0x87, {KEY_F24}},
    {0xA3, {KEY_RIGHTCTRL}},
    {0xA6, {KEY_BACK}},
    {0xA7, {KEY_FORWARD}},
    {0xA8, {KEY_REFRESH}},
    {0xA9, {KEY_STOP}},
    {0xAA, {KEY_SEARCH}},
    {0xAB, {KEY_BOOKMARKS}},
    {0xAC, {KEY_HOMEPAGE}},
    {0xAD, {KEY_MUTE}},
    {0xAE, {KEY_VOLUMEDOWN}},
    {0xAF, {KEY_VOLUMEUP}},
    {0xB0, {KEY_NEXTSONG}},
    {0xB1, {KEY_PREVIOUSSONG}},
    {0xB2, {KEY_STOPCD}},
    {0xB3, {KEY_PLAYPAUSE}},
    {0xB4, {KEY_MAIL}},
    {0xB5, {KEY_MEDIA}},
    // The keys that send the two launch codes on PC keyboards: My Computer and Calculator.
    {0xB6, {KEY_COMPUTER}},
    {0xB7, {KEY_CALC}},
};

constexpr std::array<AppCommandRow, 16> AppCommandRows = {{
    {46, {KEY_PLAYCD}},
    {47, {KEY_PAUSECD}},
    {14, {KEY_PLAYPAUSE}},
    {13, {KEY_STOPCD}},
    {48, {KEY_RECORD}},
    {49, {KEY_FASTFORWARD}},
    {50, {KEY_REWIND}},
    {11, {KEY_NEXTSONG}},
    {12, {KEY_PREVIOUSSONG}},
    // Kernel codes above 247 lie beyond X's keycodes: these two reach uinput only.
    {51, {KEY_CHANNELUP}},
    {52, {KEY_CHANNELDOWN}},
    {8, {KEY_MUTE}},
    {9, {KEY_VOLUMEDOWN}},
    {10, {KEY_VOLUMEUP}},
    // Bass down/up and treble down/up have no key on Linux.
    {20, {KEY_BASSBOOST}},
    {1, {KEY_BACK}},
}};

// A short initialiser list would leave zero rows behind without a word from the compiler.
constexpr bool RowsComplete() {
    for (const auto& row : AppCommandRows)
        if (row.command == 0 || row.target.linuxCode == 0)
            return false;
    return true;
}
static_assert(RowsComplete());

// Every virtual key with a Linux key, in ascending order, and how many there are.
struct VirtualKeyRows {
    std::array<VirtualKeyRow, 256> rows{};
    std::size_t count = 0;
    std::array<KeyTarget, 256> index{};
};

VirtualKeyRows BuildVirtualKeyRows() {
    VirtualKeyRows table;
    for (const auto& row : OwnCodes)
        table.index[row.vk] = row.target;
    for (std::uint32_t vk = 0; vk < table.index.size(); ++vk) {
        KeyTarget& target = table.index[vk];
        if (target.linuxCode == 0)
            target.linuxCode = static_cast<std::uint16_t>(VirtualKeyToScanCode(vk));
        if (target.linuxCode != 0)
            table.rows[table.count++] = {static_cast<std::uint8_t>(vk), target};
    }
    return table;
}

const VirtualKeyRows& Table() {
    static const VirtualKeyRows table = BuildVirtualKeyRows();
    return table;
}

} // namespace

std::span<const VirtualKeyRow> VirtualKeyTable() {
    const VirtualKeyRows& table = Table();
    return {table.rows.data(), table.count};
}
std::span<const AppCommandRow> AppCommandTable() {
    return AppCommandRows;
}

KeyTarget VirtualKeyTarget(std::uint32_t vk) {
    const auto& index = Table().index;
    return vk < index.size() ? index[vk] : KeyTarget{};
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
