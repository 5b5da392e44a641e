#include "platform/inject/KeyboardLayout.h"

#include "platform/inject/KeyTables.h"

#include <xkbcommon/xkbcommon.h>

#include <bitset>
#include <string_view>

namespace padwright {

namespace {

struct Follower {
    std::uint8_t vk;
    xkb_keysym_t symbol;
};

constexpr std::array<Follower, 30> BuildFollowers() {
    std::array<Follower, 30> followers{};
    for (std::uint8_t i = 0; i < 26; ++i)
        followers[i] = {static_cast<std::uint8_t>(0x41 + i),
                        static_cast<xkb_keysym_t>(XKB_KEY_a + i)};
    followers[26] = {0xBB, XKB_KEY_plus};   // VK_OEM_PLUS
    followers[27] = {0xBC, XKB_KEY_comma};  // VK_OEM_COMMA
    followers[28] = {0xBD, XKB_KEY_minus};  // VK_OEM_MINUS
    followers[29] = {0xBE, XKB_KEY_period}; // VK_OEM_PERIOD
    return followers;
}
constexpr std::array<Follower, 30> Followers = BuildFollowers();

// XKB numbers the kernel's keys 8 higher, in X servers and in keymaps compiled from names.
constexpr xkb_keycode_t XkbKeycodeOffset = 8;
// MapVirtualKeyA answers scan codes, so a layout that puts a letter beyond the main block
// (LastMainBlockCode) leaves the letter where it was.

// What the keys of a US keyboard type, from KEY_1 (2) on; blanks type nothing.
constexpr std::string_view UsTyped = "1234567890-=  qwertyuiop[]  asdfghjkl;'` \\zxcvbnm,./";
constexpr std::uint16_t UsTypedFrom = 2;
constexpr std::uint16_t Us102ndKey = 86; // KEY_102ND: < on a US map of a 105-key keyboard
constexpr std::uint16_t KeypadStar = 55, KeypadMinus = 74, KeypadPlus = 78;

// Keys of the main block that the virtual device announces, the only ones a letter may move to.
std::bitset<LastMainBlockCode + 1> CandidateKeys() {
    std::bitset<LastMainBlockCode + 1> keys;
    for (const VirtualKeyRow& row : VirtualKeyTable())
        if (row.target.linuxCode <= LastMainBlockCode)
            keys.set(row.target.linuxCode);
    return keys;
}

struct ContextDeleter {
    void operator()(xkb_context* c) const { xkb_context_unref(c); }
};
struct KeymapDeleter {
    void operator()(xkb_keymap* k) const { xkb_keymap_unref(k); }
};
struct StateDeleter {
    void operator()(xkb_state* s) const { xkb_state_unref(s); }
};

const char* OrNull(const std::string& s) {
    return s.empty() ? nullptr : s.c_str();
}

} // namespace

bool FollowsLayout(std::uint32_t vk) {
    for (const Follower& f : Followers)
        if (f.vk == vk)
            return true;
    return false;
}

LayoutKeys LayoutKeys::Us() {
    LayoutKeys keys;
    for (const Follower& f : Followers)
        keys.codes[f.vk] = VirtualKeyTarget(f.vk).linuxCode;
    for (std::size_t i = 0; i < UsTyped.size(); ++i)
        if (UsTyped[i] != ' ')
            keys.typed[UsTypedFrom + i] = static_cast<char32_t>(UsTyped[i]);
    keys.typed[Us102ndKey] = U'<';
    keys.typed[KeypadStar] = U'*';
    keys.typed[KeypadMinus] = U'-';
    keys.typed[KeypadPlus] = U'+';
    return keys;
}

LayoutKeys LayoutKeys::Of(xkb_keymap* keymap, xkb_state* state) {
    static const auto candidates = CandidateKeys();
    LayoutKeys keys = Us();
    keys.typed = {};
    std::bitset<Followers.size()> found;
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t keycode = xkb_keymap_min_keycode(keymap); keycode <= last; ++keycode) {
        if (keycode < XkbKeycodeOffset || keycode - XkbKeycodeOffset > LastMainBlockCode)
            continue;
        const auto code = static_cast<std::uint16_t>(keycode - XkbKeycodeOffset);
        if (!candidates.test(code))
            continue;
        // The key's own group for the active one: a key with fewer groups wraps or clamps.
        const xkb_layout_index_t group = xkb_state_key_get_layout(state, keycode);
        if (group == XKB_LAYOUT_INVALID)
            continue;
        const xkb_keysym_t* symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap, keycode, group, 0, &symbols) < 1)
            continue;
        // Control characters (Tab, Enter, Escape) and blanks are no character to name.
        if (const char32_t typed = xkb_keysym_to_utf32(symbols[0]); typed > U' ')
            keys.typed[code] = typed;
        const xkb_keysym_t symbol = xkb_keysym_to_lower(symbols[0]);
        for (std::size_t i = 0; i < Followers.size(); ++i) {
            if (Followers[i].symbol != symbol)
                continue;
            // Of several keys with the symbol the US one wins, else the first.
            const std::uint8_t vk = Followers[i].vk;
            if (!found.test(i) || code == VirtualKeyTarget(vk).linuxCode)
                keys.codes[vk] = code;
            found.set(i);
        }
    }
    return keys;
}

std::optional<LayoutKeys> LayoutKeysFromNames(const XkbNames& names, std::string& error) {
    const std::unique_ptr<xkb_context, ContextDeleter> context(
        xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context) {
        error = "no XKB context";
        return std::nullopt;
    }
    // Our own message says what failed; the library's would name files the user never chose.
    xkb_context_set_log_level(context.get(), XKB_LOG_LEVEL_CRITICAL);
    const xkb_rule_names rules{"evdev", OrNull(names.model), OrNull(names.layout),
                               OrNull(names.variant), OrNull(names.options)};
    const std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_keymap_new_from_names(context.get(), &rules, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        error = "keyboard layout \"" + names.layout +
                (names.variant.empty() ? "" : "(" + names.variant + ")") + "\" does not compile";
        return std::nullopt;
    }
    const std::unique_ptr<xkb_state, StateDeleter> state(xkb_state_new(keymap.get()));
    return LayoutKeys::Of(keymap.get(), state.get());
}

} // namespace padwright
