#include "core/SaveDigest.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace padwright {

namespace {

// Eight bytes at a time, each word multiplied in and folded down; the tail in one last word.
// Not for an adversary: it tells whether bytes this process wrote changed.
std::size_t HashBytes(const void* data, std::size_t size, std::size_t seed) {
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint64_t hash = (seed ^ size) * Multiplier;
    for (; size >= 8; bytes += 8, size -= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * Multiplier;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes, size);
    hash = (hash ^ tail) * Multiplier;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

} // namespace

std::size_t ProfilesDigest(const StableList<TProfile>& profiles, std::size_t seed) {
    const std::size_t count = profiles.size();
    std::size_t digest = HashBytes(&count, sizeof count, seed);
    // One scratch record, so the profiles themselves are never touched.
    auto scratch = std::make_unique<TProfile>();
    for (const TProfile& profile : profiles) {
        std::memcpy(scratch.get(), &profile, sizeof profile);
        for (TControlMapping& mapping : scratch->Mappings) {
            mapping.PressState = 0;
            mapping.RepeatCountdown = 0;
        }
        digest = HashBytes(scratch.get(), sizeof(TProfile), digest);
    }
    return digest;
}

std::size_t SaveDigest(SettingsContext& context, bool startMinimized) {
    std::size_t digest = 0;
    SettingsDigest(context, startMinimized, [&](const void* data, std::size_t size) {
        digest = HashBytes(data, size, digest);
    });
    return ProfilesDigest(context.Lists.Profiles, digest);
}

} // namespace padwright
