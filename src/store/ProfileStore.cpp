#include "store/ProfileStore.h"

#include "engine/Errors.h"
#include "store/StoreFormat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
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

// A name that is taken by anything, a dangling symbolic link included. A name that cannot be
// looked at counts as free: making the backup there then fails with the reason.
bool NameTaken(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

QString FreeBackupName(const QString& file) {
    const QString first = file + StoreBackupSuffix;
    QString name = first;
    for (int n = 1; NameTaken(name); ++n)
        name = first + u'.' + QString::number(n);
    return name;
}

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
    const StoreFormat format = StoreFormatOfSize(size);
    const std::int64_t recordSize =
        format == StoreFormat::Legacy ? LegacyRecordSize : ProfileRecordSize;
    if (format != StoreFormat::Incompatible && size / recordSize > MaxStoredProfiles)
        throw Error("File too large: " + path_.toStdString());
    switch (format) {
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
    const QString backup = FreeBackupName(path_);
    // A second name for the same file copies nothing, so even a store of gigabytes is kept at
    // once; the save then replaces the store's name only. Where that cannot be (no hard links, the
    // link would cross file systems), a copy.
    if (::linkat(AT_FDCWD, QFile::encodeName(path_).constData(), AT_FDCWD,
                 QFile::encodeName(backup).constData(), AT_SYMLINK_FOLLOW) == 0)
        return;
    CopyFile(path_, backup);
}

void ProfileStore::CopyFile(const QString& from, const QString& to) {
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
    if (backupPending_)
        KeepBackup();
    auto file = openFile_(path_);
    for (const TProfile& profile : profiles)
        file->Write(&profile, sizeof profile);
    file->Commit();
    backupPending_ = false;
}

} // namespace padwright
