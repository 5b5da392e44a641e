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

// The keys that type a character: digits, letters and the OEM keys.
bool TypesCharacter(std::int32_t vk) {
    return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= 0xBA && vk <= 0xC0) ||
           (vk >= 0xDB && vk <= 0xDF) || vk == 0xE2;
}

// `code` as UTF-8.
std::string Utf8(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

} // namespace

std::string FunctionWords(std::string_view functionName, IInputInjector* injector) {
    std::string words(FunctionDescription(functionName));
    const CatalogueMatch match = LookupFunction(functionName);
    if (!injector || match.Kind != fkKey || !TypesCharacter(match.Code))
        return words;
    const auto typed = static_cast<char32_t>(
        injector->MapVirtualKeyA(static_cast<std::uint32_t>(match.Code), MAPVK_VK_TO_CHAR));
    if (typed <= U' ' || typed > 0x10FFFF || typed == PromisedCharacter(match.Code))
        return words;
    return words + ", types \u201c" + Utf8(typed) + "\u201d on this layout";
}

} // namespace padwright
