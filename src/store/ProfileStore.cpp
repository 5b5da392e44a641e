#include "store/ProfileStore.h"

#include "engine/Errors.h"
#include "platform/files/Utf8Path.h"
#include "store/DataFolder.h"
#include "store/StoreFormat.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
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

// A name that is taken by anything, a dangling symbolic link included, is not free. A name that
// cannot be looked at counts as free: making the backup there then fails with the reason.
std::string FreeBackupName(const std::string& file) {
    const std::string first = file + StoreBackupSuffix;
    std::string name = first;
    for (int n = 1; NameTaken(name); ++n)
        name = first + '.' + std::to_string(n);
    return name;
}

void ReadStoreRecords(ReadOnlyFile& file, StoreFormat format, std::int64_t count,
                      StableList<TProfile>& profiles) {
    if (format == StoreFormat::Legacy)
        ReadLegacyRecords(file, count, profiles);
    else
        ReadCurrentRecords(file, count, profiles);
}

ProfileStore::ProfileStore(IMessageBoxes& boxes, std::string path)
    : boxes_(boxes), path_(std::move(path)) {}

void ProfileStore::Load(StableList<TProfile>& profiles) {
    if (!FileExists(path_))
        return;
    // Until the store has been read whole, the next save must not simply replace it.
    backupPending_ = true;
    StableList<TProfile> loaded;
    ReadOnlyFile file(path_);
    const std::int64_t size = file.Size();
    const StoreFormat format = StoreFormatOfSize(size);
    const std::int64_t recordSize =
        format == StoreFormat::Legacy ? LegacyRecordSize : ProfileRecordSize;
    if (format != StoreFormat::Incompatible && size / recordSize > MaxStoredProfiles)
        throw Error("File too large: " + path_);
    if (format == StoreFormat::Incompatible) {
        boxes_.Warning(StoreNotCompatibleText, "Warning");
        return;
    }
    ReadStoreRecords(file, format, size / recordSize, loaded);
    profiles = std::move(loaded);
    backupPending_ = false;
}

namespace {

namespace fs = std::filesystem;

// The real path of what exists, empty for what does not.
std::string Canonical(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::canonical(PathOf(path), error);
    return error ? std::string() : TextOf(real);
}

std::string Absolute(const std::string& path) {
    return TextOf(fs::absolute(PathOf(path)).lexically_normal());
}

} // namespace

// Returns the backup's name.
std::string ProfileStore::KeepBackup(bool copy) {
    const std::string beside = FreeBackupName(path_);
    try {
        MakeBackup(beside, copy);
        return beside;
    } catch (const Error& besideError) {
        // A read-only folder whose store may be written in place must not make saving
        // impossible for ever: the backup goes where the user's own files go.
        const std::string folder = DataFolder();
        if (Canonical(folder) == Canonical(TextOf(PathOf(Absolute(beside)).parent_path())))
            throw;
        try {
            std::error_code created;
            fs::create_directories(PathOf(folder), created);
            if (created)
                throw InOutError(created.default_error_condition().value(), folder);
            const std::string elsewhere =
                FreeBackupName(TextOf(PathOf(folder) / PathOf(path_).filename()));
            MakeBackup(elsewhere, copy);
            return elsewhere;
        } catch (const Error& elsewhereError) {
            if (std::strcmp(besideError.what(), elsewhereError.what()) == 0)
                throw;
            throw Error(std::string(besideError.what()) + "\n" + elsewhereError.what());
        }
    }
}

void ProfileStore::MakeBackup(const std::string& backup, bool copy) {
    // A second name for the same file copies nothing, so even a store of gigabytes is kept at
    // once; the save then replaces the store's name only. Where that cannot be (no hard links, the
    // link would cross file systems), a copy.
    if (!copy && LinkFile(path_, backup))
        return;
    CopyFile(path_, backup);
}

void ProfileStore::CopyFile(const std::string& from, const std::string& to) {
    ReadOnlyFile source(from);
    auto copy = openFile_(to);
    std::vector<char> chunk(1 << 20);
    for (std::int64_t left = source.Size(); left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, chunk.size()));
        source.Read(chunk.data(), n);
        copy->Write(chunk.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    copy->Commit();
}

void ProfileStore::Save(const StableList<TProfile>& profiles) {
    // A store the next start would refuse whole is not written at all.
    if (profiles.size() > static_cast<std::size_t>(MaxStoredProfiles))
        throw Error(ProfileLimitText());
    // Opened first, since whether the store is written in place decides how it is kept.
    auto file = openFile_(path_);
    if (backupPending_ && FileExists(path_)) {
        const std::string backup = KeepBackup(file->InPlace());
        backupPending_ = false; // one backup, however many saves fail after it
        boxes_.Warning(StoreKeptText(Absolute(backup)), "Padwright");
    }
    for (const TProfile& profile : profiles)
        file->Write(&profile, sizeof profile);
    file->Commit();
    backupPending_ = false;
}

} // namespace padwright
