#pragma once
// The keys that follow the desktop's keyboard layout, as on Windows, where a letter's virtual
// key belongs to the key that carries that letter: VK_A..VK_Z and VK_OEM_PLUS, VK_OEM_COMMA,
// VK_OEM_MINUS, VK_OEM_PERIOD go to the key that has their symbol at level 1 of the active
// group. A symbol the layout lacks there, and every other virtual key, stays at its US position.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct xkb_keymap;
struct xkb_state;

namespace padwright {

// Up to KEY_F12 the kernel's key codes are the keys' set-1 scan codes; the keys that type
// characters all lie there.
constexpr std::uint16_t LastMainBlockCode = 0x58;

// The Linux key code each layout-following virtual key goes to; 0 for the other virtual keys.
// And, per key code of the main block, the character that key types at level 1 of the active
// group (0 for none: a dead key, a function key).
struct LayoutKeys {
    std::array<std::uint16_t, 256> codes{};
    std::array<char32_t, LastMainBlockCode + 1> typed{};
    bool operator==(const LayoutKeys&) const = default;

    static LayoutKeys Us();
    // From a compiled keymap, in the group that `state` has active.
    static LayoutKeys Of(xkb_keymap* keymap, xkb_state* state);
};

// True for the virtual keys whose key the layout chooses.
bool FollowsLayout(std::uint32_t vk);

// An XKB layout by its rules names, as systemd-localed and setxkbmap give them. Comma-separated
// lists name several groups; the first is the active one.
struct XkbNames {
    std::string layout, variant, model, options;
};

// Compiles the names with the system's XKB data; nullopt with `error` set when they do not
// compile (an unknown layout, no XKB data installed).
std::optional<LayoutKeys> LayoutKeysFromNames(const XkbNames& names, std::string& error);

// Where the layout comes from. Current() is asked before every key, so a source that follows
// the desktop takes in the changes it was told of there.
class ILayoutSource {
public:
    virtual ~ILayoutSource() = default;
    virtual const LayoutKeys& Current() = 0;
};

// A layout that never changes: US, the one systemd-localed names, or one a test hands in.
class FixedLayout : public ILayoutSource {
public:
    explicit FixedLayout(LayoutKeys keys = LayoutKeys::Us()) : keys_(keys) {}
    const LayoutKeys& Current() override { return keys_; }

private:
    LayoutKeys keys_;
};

} // namespace padwright
