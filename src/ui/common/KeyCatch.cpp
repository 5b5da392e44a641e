#include "ui/common/KeyCatch.h"

#include <algorithm>

namespace padwright {

bool IsModifierKey(std::uint32_t vk) {
    switch (vk) {
    case 0x10: // VK_SHIFT
    case 0x11: // VK_CONTROL
    case 0x12: // VK_MENU
    case 0x5B: // VK_LWIN
    case 0x5C: // VK_RWIN
        return true;
    default:
        return vk >= 0xA0 && vk <= 0xA5; // the left and right Shift, Ctrl and Alt
    }
}

const TFunctionEntry* VirtualKeyFunction(std::uint32_t vk) {
    const std::span<const TFunctionEntry> keys = VirtualKeys();
    const auto row = std::find_if(keys.begin(), keys.end(), [vk](const TFunctionEntry& r) {
        return r.Code == static_cast<std::int32_t>(vk);
    });
    return vk == 0 || row == keys.end() ? nullptr : &*row;
}

std::optional<TCaughtKey> KeyCatch::Down(std::uint32_t vk, const TCaughtKey& held) {
    if (!armed_)
        return std::nullopt;
    if (vk != 0 && IsModifierKey(vk)) {
        pending_ = vk;
        return std::nullopt;
    }
    Arm(false);
    TCaughtKey caught = held;
    caught.Vk = vk;
    return caught;
}

std::optional<TCaughtKey> KeyCatch::Up(std::uint32_t vk) {
    if (!armed_ || pending_ == 0 || vk != pending_)
        return std::nullopt;
    Arm(false);
    return TCaughtKey{vk};
}

} // namespace padwright
