#include "app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace padwright {

SingleInstance::SingleInstance(QString folder) {
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty())
        path_ = QDir(folder).filePath(QStringLiteral("Padwright.lock"));
}

SingleInstance::~SingleInstance() = default; // QLockFile removes the file it holds

SingleInstance::Outcome SingleInstance::TryLock() {
    if (path_.isEmpty()) {
        error_ = QStringLiteral("Padwright cannot find the user's runtime folder for its "
                                "single-instance lock.");
        return Failed;
    }
    lock_ = std::make_unique<QLockFile>(path_);
    // A running instance holds the lock for as long as it likes; only a lock whose process is
    // gone counts as stale (QLockFile checks the process id, host and program name).
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Acquired;
    switch (lock_->error()) {
    case QLockFile::LockFailedError:
        return HeldElsewhere;
    case QLockFile::PermissionError:
        error_ = QStringLiteral("Padwright cannot create its single-instance lock \"%1\": the "
                                "folder cannot be written.")
                     .arg(QDir::toNativeSeparators(path_));
        break;
    default:
        error_ = QStringLiteral("Padwright cannot create its single-instance lock \"%1\".")
                     .arg(QDir::toNativeSeparators(path_));
        break;
    }
    lock_.reset();
    return Failed;
}

} // namespace padwright
