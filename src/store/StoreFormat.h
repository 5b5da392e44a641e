#pragma once
// The layouts of the profile store: a headerless run of records whose size alone tells the format.
#include "engine/Records.h"

#include <cstddef>
#include <cstdint>

namespace padwright {

constexpr std::int64_t ProfileRecordSize = sizeof(TProfile); // 15040
constexpr std::int64_t LegacyMappingSize = 68;
constexpr std::int64_t LegacyMappingCount = 144;
constexpr std::int64_t LegacyRecordSize = 256 + LegacyMappingSize * LegacyMappingCount; // 10048

// A store that would hold more profiles is refused as too large: a damaged or foreign file of
// gigabytes must not take all memory (61 MB of profiles is already far beyond any real use).
constexpr std::int64_t MaxStoredProfiles = 4096;

enum class StoreFormat { Current, Legacy, Incompatible };

// A size that is a whole multiple of both record sizes (0 among them) is the current format.
constexpr StoreFormat StoreFormatOfSize(std::int64_t size) {
    if (size < 0)
        return StoreFormat::Incompatible;
    if (size % ProfileRecordSize == 0)
        return StoreFormat::Current;
    if (size % LegacyRecordSize == 0)
        return StoreFormat::Legacy;
    return StoreFormat::Incompatible;
}

// Converts one legacy record into `buffer`. The buffer is the one conversion buffer of a load,
// cleared once before the first record: only the fields a legacy record has are written, so hat
// positions, repeat and run-time fields stay zero, and bytes past a name's length keep what an
// earlier record left there (no reader looks at them).
void ConvertLegacyRecord(const std::uint8_t* legacy, TProfile& buffer);

} // namespace padwright
