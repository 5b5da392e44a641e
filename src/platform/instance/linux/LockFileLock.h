#pragma once
// The single-instance lock on Linux: a lock file named "Padwright.lock" in the user's runtime
// folder. A lock left behind by a crashed run is recognised by its dead process and taken over.
#include "platform/instance/InstanceLock.h"

#include <QFile>
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

namespace padwright {

class LockFileLock final : public IInstanceLock {
public:
    // `folder` empty means the user's runtime folder.
    explicit LockFileLock(const std::string& folder = {});
    ~LockFileLock() override;
    LockFileLock(const LockFileLock&) = delete;
    LockFileLock& operator=(const LockFileLock&) = delete;

    Outcome TryLock() override;
    // Removes the lock file.
    void Release() override { lock_.reset(); }
    std::string ErrorText() const override { return error_.toStdString(); }
    std::string LockPath() const { return QFile::encodeName(path_).toStdString(); }

    // How long a lock file may stay unreadable before it counts as damaged rather than as one
    // that a starting instance is writing.
    static constexpr qint64 UnreadableLockGraceMs = 5000;

private:
    std::optional<Outcome> JudgeUnreadableLock();
    QString NotALockText() const;

    QString path_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace padwright
