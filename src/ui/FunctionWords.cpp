#include "ui/FunctionWords.h"

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

} // namespace

QString FunctionWords(const QString& functionName, IInputInjector* injector) {
    const std::string name = functionName.toStdString();
    const std::string_view description = FunctionDescription(name);
    QString words =
        QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size()));
    const CatalogueMatch match = LookupFunction(name);
    if (!injector || match.Kind != fkKey || !TypesCharacter(match.Code))
        return words;
    const auto typed = static_cast<char32_t>(
        injector->MapVirtualKeyA(static_cast<std::uint32_t>(match.Code), MAPVK_VK_TO_CHAR));
    if (typed <= U' ' || typed == PromisedCharacter(match.Code))
        return words;
    return words + QStringLiteral(", types \u201c%1\u201d on this layout")
                       .arg(QString::fromUcs4(&typed, 1));
}

} // namespace padwright
