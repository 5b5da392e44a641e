#pragma once
// The control editor's key capture, whatever window system delivers the keys: once armed, the
// next key pressed becomes the function, with the modifiers held with it; a modifier pressed and
// let go with no other key in between is itself the key.
#include "engine/Catalogue.h"

#include <cstdint>
#include <optional>

namespace padwright {

struct TCaughtKey {
    std::uint32_t Vk = 0; // 0: a key the catalogue has no virtual key for
    bool Shift = false, Ctrl = false, Alt = false, Win = false;
};

// Shift, Ctrl, Alt and the Windows keys, either side.
bool IsModifierKey(std::uint32_t vk);

// The row of VirtualKeys with code `vk`, null when there is none.
const TFunctionEntry* VirtualKeyFunction(std::uint32_t vk);

class KeyCatch {
public:
    void Arm(bool armed) {
        armed_ = armed;
        pending_ = 0;
    }
    bool Armed() const { return armed_; }

    // A key went down (repetitions aside) while `held` were; the key caught, if this ends the
    // capture. Disarms when it does.
    std::optional<TCaughtKey> Down(std::uint32_t vk, const TCaughtKey& held);
    // A key was let go.
    std::optional<TCaughtKey> Up(std::uint32_t vk);

private:
    bool armed_ = false;
    std::uint32_t pending_ = 0; // a modifier pressed alone, taken when it is let go
};

} // namespace padwright
