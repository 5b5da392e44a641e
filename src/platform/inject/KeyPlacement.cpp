#include "platform/inject/KeyPlacement.h"

#include "platform/inject/KeyTables.h"
#include "platform/inject/ScanCodes.h"

namespace padwright {

KeyPlacement::KeyPlacement(std::unique_ptr<ILayoutSource> layout)
    : layout_(layout ? std::move(layout) : std::make_unique<FixedLayout>()) {}

std::uint16_t KeyPlacement::CodeNow(std::uint32_t vk) {
    if (vk > 0xFF)
        return 0;
    if (const std::uint16_t moved = layout_->Current().codes[vk])
        return moved;
    return VirtualKeyTarget(vk).linuxCode;
}

std::uint16_t KeyPlacement::KeyFor(std::uint8_t vk, bool down) {
    std::uint16_t& heldOn = heldOn_[vk];
    const std::uint16_t code = heldOn != 0 ? heldOn : CodeNow(vk);
    heldOn = down ? code : 0;
    return code;
}

std::uint32_t KeyPlacement::ScanCode(std::uint32_t vk) {
    // The keys a layout moves lie in the main block, where Linux codes are set-1 scan codes.
    return FollowsLayout(vk) ? CodeNow(vk) : VirtualKeyToScanCode(vk);
}

} // namespace padwright
