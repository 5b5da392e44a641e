#include "store/ProfileFiles.h"

#include "store/ProfileOperations.h"
#include "store/ProfileStore.h"
#include "store/StoreFormat.h"

#include <algorithm>

namespace padwright {

namespace {

inline constexpr const char* ExportOntoStoreText =
    "This file is the profile store in use; exporting one profile onto it would replace every "
    "profile. Choose another file.";

// Records of a store Import offers to take: two or more of either layout. One current record is
// an exported profile; one legacy record stays refused, as it always was.
std::int64_t StoreRecords(std::int64_t size, StoreFormat format) {
    if (format == StoreFormat::Incompatible)
        return 0;
    const std::int64_t count =
        size / (format == StoreFormat::Legacy ? LegacyRecordSize : ProfileRecordSize);
    return count >= 2 ? count : 0;
}

std::string StoreQuestion(std::int64_t stored, std::int64_t taken) {
    const std::string head =
        "This file is a profile store of " + std::to_string(stored) + " profiles. ";
    if (taken == stored)
        return head + "Import all of them?";
    return head + "Only " + std::to_string(taken) + " more fit (" + ProfileLimitText() +
           ") Import the first " + std::to_string(taken) + "?";
}

} // namespace

void ExportProfile(const TProfile& profile, const std::string& path, const std::string& storePath,
                   IMessageBoxes& boxes, const AtomicFileFactory& openFile) {
    if (SameFile(path, storePath)) {
        boxes.Warning(ExportOntoStoreText, "Error");
        return;
    }
    auto file = openFile(path);
    file->Write(&profile, sizeof profile);
    file->Commit();
}

std::int64_t ImportProfiles(const std::string& path, StableList<TProfile>& profiles,
                            IMessageBoxes& boxes, const ImportQuestion& confirm) {
    ReadOnlyFile file(path);
    const std::int64_t size = file.Size();
    const StoreFormat format = StoreFormatOfSize(size);
    std::int64_t count = size == ProfileRecordSize ? 1 : StoreRecords(size, format);
    if (count == 0) {
        boxes.Warning(NotAValidProfileText, "Error");
        return 0;
    }
    const std::int64_t room = ProfileRoom(profiles);
    if (room <= 0) {
        boxes.Warning(ProfileLimitText(), "Attention");
        return 0;
    }
    if (count > 1) {
        const std::int64_t stored = count;
        count = std::min(count, room);
        if (!confirm(StoreQuestion(stored, count)))
            return 0;
    }
    StableList<TProfile> read;
    ReadStoreRecords(file, format, count, read);
    for (TProfile& profile : read)
        profiles.push_back(std::move(profile));
    return count;
}

} // namespace padwright
