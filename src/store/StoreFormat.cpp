#include "store/StoreFormat.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace padwright {

namespace {

// Legacy entry bytes 0..63 are laid out as bytes 0..63 of TControlMapping.
constexpr std::size_t CodeToShiftBegin = offsetof(TControlMapping, Code);
constexpr std::size_t CodeToShiftEnd = offsetof(TControlMapping, Shift) + 1;
static_assert(CodeToShiftEnd == 64);

void ConvertLegacyMapping(const std::uint8_t* legacy, TControlMapping& mapping) {
    // A damaged length byte above 50 keeps only what fits, cut at a character boundary; the byte
    // after the 50 characters is the entry's padding, which decides only whether the cut would
    // split a character.
    const std::size_t length = legacy[0];
    const std::string_view stored(reinterpret_cast<const char*>(legacy + 1),
                                  std::min<std::size_t>(length, FunctionNameCapacity + 1));
    const std::size_t kept = Utf8FitLength(stored, FunctionNameCapacity);
    mapping.FunctionName.Len = static_cast<std::uint8_t>(kept);
    std::memcpy(mapping.FunctionName.Chars, stored.data(), kept);
    std::memcpy(reinterpret_cast<std::uint8_t*>(&mapping) + CodeToShiftBegin,
                legacy + CodeToShiftBegin, CodeToShiftEnd - CodeToShiftBegin);
}

} // namespace

void ConvertLegacyRecord(const std::uint8_t* legacy, TProfile& buffer) {
    const std::size_t nameLength = legacy[0];
    buffer.Name.Len = static_cast<std::uint8_t>(nameLength);
    std::memcpy(buffer.Name.Chars, legacy + 1, nameLength);
    const std::uint8_t* entry = legacy + 256;
    for (int k = 0; k < LegacyMappingCount; ++k, entry += LegacyMappingSize) {
        const int position = k < FirstHatSlot ? k : k + (FirstButtonSlot - FirstHatSlot);
        ConvertLegacyMapping(entry, buffer.Mappings[position]);
    }
}

} // namespace padwright
