#pragma once
// Whether Save would change anything, told without writing: a digest of what it would write.
#include "core/Settings.h"

#include <cstddef>

namespace padwright {

// The settings SaveSettings would write and every profile record as the store would hold it,
// without the run-time fields PressState and RepeatCountdown, which change with every press and
// mean nothing to the next start. Taken at the end of start-up and at Save, compared at Exit.
// A 64-bit multiply-and-fold hash: equal within one run, which is all Exit asks, and many times
// cheaper than a cryptographic one on a store at its limit (61 MB).
std::size_t SaveDigest(SettingsContext& context, bool startMinimized);

// The profiles' part of it, continuing from `seed`.
std::size_t ProfilesDigest(const StableList<TProfile>& profiles, std::size_t seed);

} // namespace padwright
