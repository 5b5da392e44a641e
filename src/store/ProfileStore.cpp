#include "store/ProfileStore.h"

#include "engine/Errors.h"
#include "store/StoreFormat.h"

#include <QFileInfo>

#include <cstring>
#include <memory>
#include <vector>

namespace padwright {

namespace {

void ReadCurrentRecords(ReadOnlyFile& file, std::int64_t count, StableList<TProfile>& profiles) {
    for (std::int64_t i = 0; i < count; ++i)
        file.Read(&profiles.emplace_back(), sizeof(TProfile));
}

void ReadLegacyRecords(ReadOnlyFile& file, std::int64_t count, StableList<TProfile>& profiles) {
    auto buffer = std::make_unique<TProfile>();
    std::memset(buffer.get(), 0, sizeof(TProfile));
    std::vector<std::uint8_t> legacy(LegacyRecordSize);
    for (std::int64_t i = 0; i < count; ++i) {
        file.Read(legacy.data(), legacy.size());
        ConvertLegacyRecord(legacy.data(), *buffer);
        profiles.push_back(*buffer);
    }
}

} // namespace

ProfileStore::ProfileStore(IMessageBoxes& boxes, QString path)
    : boxes_(boxes), path_(std::move(path)) {}

void ProfileStore::Load(StableList<TProfile>& profiles) {
    if (!QFileInfo::exists(path_))
        return;
    // Until the store has been read whole, the next save must not simply replace it.
    backupPending_ = true;
    StableList<TProfile> loaded;
    ReadOnlyFile file(path_);
    const std::int64_t size = file.Size();
    switch (StoreFormatOfSize(size)) {
    case StoreFormat::Current:
        ReadCurrentRecords(file, size / ProfileRecordSize, loaded);
        break;
    case StoreFormat::Legacy:
        ReadLegacyRecords(file, size / LegacyRecordSize, loaded);
        break;
    case StoreFormat::Incompatible:
        boxes_.Warning(StoreNotCompatibleText, "Warning");
        return;
    }
    profiles = std::move(loaded);
    backupPending_ = false;
}

void ProfileStore::KeepBackup() {
    if (!QFileInfo::exists(path_))
        return; // gone since the load: nothing left to keep
    std::vector<char> bytes;
    {
        ReadOnlyFile file(path_);
        bytes.resize(static_cast<std::size_t>(file.Size()));
        file.Read(bytes.data(), bytes.size());
    }
    auto backup = openFile_(path_ + StoreBackupSuffix);
    backup->Write(bytes.data(), bytes.size());
    backup->Commit();
}

void ProfileStore::Save(const StableList<TProfile>& profiles) {
    if (backupPending_)
        KeepBackup();
    auto file = openFile_(path_);
    for (const TProfile& profile : profiles)
        file->Write(&profile, sizeof profile);
    file->Commit();
    backupPending_ = false;
}

} // namespace padwright
