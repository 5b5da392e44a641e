#include "store/SaveDigest.h"

#include <QHash>

#include <cstring>
#include <memory>

namespace padwright {

std::size_t ProfilesDigest(const StableList<TProfile>& profiles, std::size_t seed) {
    const std::size_t count = profiles.size();
    std::size_t digest = qHashBits(&count, sizeof count, seed);
    // One scratch record, so the profiles themselves are never touched.
    auto scratch = std::make_unique<TProfile>();
    for (const TProfile& profile : profiles) {
        std::memcpy(scratch.get(), &profile, sizeof profile);
        for (TControlMapping& mapping : scratch->Mappings) {
            mapping.PressState = 0;
            mapping.RepeatCountdown = 0;
        }
        digest = qHashBits(scratch.get(), sizeof(TProfile), digest);
    }
    return digest;
}

std::size_t SaveDigest(SettingsContext& context, bool startMinimized) {
    std::size_t digest = 0;
    SettingsDigest(context, startMinimized, [&](const void* data, std::size_t size) {
        digest = qHashBits(data, size, digest);
    });
    return ProfilesDigest(context.Lists.Profiles, digest);
}

} // namespace padwright
