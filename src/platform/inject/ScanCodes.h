#pragma once
#include <cstdint>

namespace padwright {

// MapVirtualKeyA mode 0 on a US keyboard layout: the set-1 scan code of a Windows virtual key
// (low byte only; extended keys give the code without the E0 prefix), 0 for virtual keys that
// have none, mouse buttons among them.
std::uint32_t VirtualKeyToScanCode(std::uint32_t vk);

} // namespace padwright
