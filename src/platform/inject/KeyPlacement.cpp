#include "platform/inject/KeyPlacement.h"

#include "platform/inject/Injector.h"
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

std::uint32_t KeyPlacement::VirtualKeyAt(std::uint32_t scanCode) {
    if (scanCode == 0 || scanCode > LastMainBlockCode)
        return 0;
    for (const bool followers : {true, false})
        for (const VirtualKeyRow& row : VirtualKeyTable())
            if (FollowsLayout(row.vk) == followers && CodeNow(row.vk) == scanCode)
                return row.vk;
    return 0;
}

char32_t KeyPlacement::TypedBy(std::uint32_t vk) {
    const std::uint16_t code = CodeNow(vk);
    const LayoutKeys& layout = layout_->Current();
    return code < layout.typed.size() ? layout.typed[code] : 0;
}

std::uint32_t KeyPlacement::MapVirtualKey(std::uint32_t code, std::uint32_t mapType) {
    switch (mapType) {
    case MAPVK_VK_TO_VSC:
        return ScanCode(code);
    case MAPVK_VSC_TO_VK:
        return VirtualKeyAt(code);
    case MAPVK_VK_TO_CHAR:
        return TypedBy(code);
    default:
        return 0;
    }
}

} // namespace padwright
