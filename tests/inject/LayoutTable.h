#pragma once
// The keys each tried layout must give, shared by the Xvfb tests of both injectors and by the
// uinput injector's run on the real kernel: X key codes, which are the kernel's codes plus 8.
#include "platform/inject/KeyboardLayout.h"

#include <array>
#include <cstdint>

namespace padwright::layouts {

//                                 VK_A  VK_Q  VK_Y  VK_Z  VK_M  VK_1  DECIMAL OEM_MINUS OEM_1
constexpr std::array<std::uint8_t, 9> LayoutVks = {0x41, 0x51, 0x59, 0x5A, 0x4D,
                                                   0x31, 0x6E, 0xBD, 0xBA};

struct LayoutRow {
    const char* layout; // setxkbmap's name
    std::array<unsigned, LayoutVks.size()> xKeycodes;
};

// ru has no Latin letters at level 1: they stay where US has them. VK_OEM_1 never moves; on fr
// it shares its key with VK_M, as the rule says.
constexpr std::array<LayoutRow, 4> LayoutRows = {{
    {"us", {38, 24, 29, 52, 58, 10, 91, 20, 47}},
    {"de", {38, 24, 52, 29, 58, 10, 91, 61, 47}},
    {"fr", {24, 38, 29, 25, 47, 10, 91, 15, 47}},
    {"ru", {38, 24, 29, 52, 58, 10, 91, 20, 47}},
}};

constexpr unsigned XKeycodeOffset = 8;

// A layout the test switches by hand, for a place with no display to switch.
class SwitchableLayout : public ILayoutSource {
public:
    explicit SwitchableLayout(const LayoutKeys*& keys) : keys_(keys) {}
    const LayoutKeys& Current() override { return *keys_; }

private:
    const LayoutKeys*& keys_;
};

} // namespace padwright::layouts
