#pragma once
// The profile store "Padwright.pro": every profile, record after record, as raw images.
#include "engine/Records.h"
#include "engine/StableList.h"
#include "store/FileAccess.h"
#include "store/MessageBoxes.h"
#include "store/StoreFormat.h"

#include <string>

namespace padwright {

inline constexpr const char* StoreFileName = "Padwright.pro";
inline constexpr const char* StoreBackupSuffix = ".bak";

// Where a file that could not be read is kept: its name + ".bak", or ".bak.1", ".bak.2"... when
// that is taken, so that an earlier backup is never lost.
std::string FreeBackupName(const std::string& file);

// Reads `count` records of a store `format` (not Incompatible) from `file` onto `profiles`, as the
// store's load does: legacy records converted.
void ReadStoreRecords(ReadOnlyFile& file, StoreFormat format, std::int64_t count,
                      StableList<TProfile>& profiles);

class ProfileStore {
public:
    // `path` is taken as given at every load and save; the bare default name follows the working
    // directory of that moment.
    explicit ProfileStore(IMessageBoxes& boxes, std::string path = StoreFileName);

    // Start-up: fills the empty `profiles` from the store, or leaves it empty. No file: nothing
    // happens. A size no format explains: the "Warning" box. A failed read, anything but a
    // regular file, or more than MaxStoredProfiles records raise Error.
    void Load(StableList<TProfile>& profiles);

    // Writes every profile in list order, whole or not at all; raises Error with the runtime's
    // text and leaves the old store as it was when that fails. A store that could not be loaded
    // may hold profiles the user still needs, so the first save is preceded by a backup of it,
    // once however many saves then fail, and a box says where it is: "Padwright.pro.bak" beside
    // it (or ".bak.1", ".bak.2"... when that name is taken, so that an earlier backup is never
    // lost), or in DataFolder() where its own folder cannot take it. A store written in place is
    // copied, since a second name for it would be overwritten too. Where no backup can be made,
    // the save fails with the reason and the store is not written.
    // More than MaxStoredProfiles, which Load would refuse, raise Error and write nothing.
    void Save(const StableList<TProfile>& profiles);

    // True from a load that found a store it could not read until a save has kept a copy.
    bool BackupPending() const { return backupPending_; }

    const std::string& Path() const { return path_; }

    // Fault seam for tests.
    void SetFileFactory(AtomicFileFactory factory) { openFile_ = std::move(factory); }

private:
    std::string KeepBackup(bool copy);
    void MakeBackup(const std::string& backup, bool copy);
    void CopyFile(const std::string& from, const std::string& to);

    IMessageBoxes& boxes_;
    std::string path_;
    bool backupPending_ = false;
    AtomicFileFactory openFile_ = OpenAtomicFile;
};

} // namespace padwright
