#include "platform/instance/linux/LockFileLock.h"

#include "platform/files/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace padwright {

namespace {

// The toolkit's lock reads a lock file it cannot create, and a FIFO there would keep it, and with
// it every start, waiting for ever.
bool SomethingElseInPlace(const QString& path) {
    mode_t refused = 0;
    const int fd = OpenRegularFile(QFile::encodeName(path).constData(), O_RDONLY, false, &refused);
    if (fd >= 0)
        ::close(fd);
    return refused != 0;
}

} // namespace

LockFileLock::LockFileLock(const std::string& folder) {
    const QString in = folder.empty()
                           ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                           : QFile::decodeName(folder.c_str());
    if (!in.isEmpty())
        path_ = QDir(in).filePath(QStringLiteral("Padwright.lock"));
}

LockFileLock::~LockFileLock() = default; // QLockFile removes the file it holds

IInstanceLock::Outcome LockFileLock::TryLock() {
    if (path_.isEmpty()) {
        error_ = QStringLiteral("Padwright cannot find the user's runtime folder for its "
                                "single-instance lock.");
        return Failed;
    }
    if (SomethingElseInPlace(path_)) {
        error_ = NotALockText();
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
        if (const std::optional<Outcome> outcome = JudgeUnreadableLock())
            return *outcome;
        break;
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

std::optional<IInstanceLock::Outcome> LockFileLock::JudgeUnreadableLock() {
    qint64 pid = 0;
    QString host, program;
    if (lock_->getLockInfo(&pid, &host, &program))
        return HeldElsewhere; // a live instance: QLockFile already took over dead ones
    const QFileInfo info(path_);
    if (info.isFile()) {
        // An instance that is starting has created the file and not written it yet; an empty
        // or damaged file that stays (a power cut while it was written) must not keep every
        // later start away for good.
        const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
        if (qAbs(age) < UnreadableLockGraceMs)
            return HeldElsewhere;
        lock_->removeStaleLockFile();
        if (lock_->tryLock(0))
            return Acquired;
        if (lock_->error() == QLockFile::LockFailedError)
            return HeldElsewhere;
    }
    error_ = NotALockText();
    return std::nullopt;
}

QString LockFileLock::NotALockText() const {
    return QStringLiteral("Padwright cannot take its single-instance lock \"%1\": something "
                          "that is not a lock is in its place.")
        .arg(QDir::toNativeSeparators(path_));
}

} // namespace padwright
