#include "ui/common/FunctionWords.h"

#include "engine/Catalogue.h"
#include "platform/inject/Injector.h"

namespace padwright {

namespace {

// The character a key's name promises: a letter or digit its own, VK_OEM_PLUS and its three
// fellows their symbol. 0 for keys that promise none (VK_OEM_1..8, VK_OEM_102).
char32_t PromisedCharacter(std::int32_t vk) {
    if ((vk >= '0' && vk <= '9'))
        return static_cast<char32_t>(vk);
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<char32_t>(vk - 'A' + 'a');
    switch (vk) {
    case 0xBB:
        return U'+';
    case 0xBC:
        return U',';
    case 0xBD:
        return U'-';
    case 0xBE:
        return U'.';
    default:
        return 0;
    }
}

// One character as UTF-8.
std::string Utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The keys that type a character: digits, letters and the OEM keys.
bool TypesCharacter(std::int32_t vk) {
    return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= 0xBA && vk <= 0xC0) ||
           (vk >= 0xDB && vk <= 0xDF) || vk == 0xE2;
}

} // namespace

std::string FunctionWords(std::string_view functionName, IInputInjector* injector) {
    const std::string name(functionName);
    std::string words(FunctionDescription(name));
    const CatalogueMatch match = LookupFunction(name);
    if (!injector || match.Kind != fkKey || !TypesCharacter(match.Code))
        return words;
    const auto typed = static_cast<char32_t>(
        injector->MapVirtualKeyA(static_cast<std::uint32_t>(match.Code), MAPVK_VK_TO_CHAR));
    if (typed <= U' ' || typed == PromisedCharacter(match.Code))
        return words;
    return words + ", types \u201c" + Utf8(typed) + "\u201d on this layout";
}

} // namespace padwright
