#pragma once
// One Padwright per user: a lock file named "Padwright" in the user's runtime folder. A lock left
// behind by a crashed run is recognised by its dead process and taken over.
#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

namespace padwright {

class SingleInstance {
public:
    enum Outcome {
        Acquired,      // this is the only instance; the lock is held until destruction
        HeldElsewhere, // another instance runs: end silently
        Failed,        // the lock cannot be taken for another reason: see ErrorText()
    };

    // `folder` empty means the user's runtime folder.
    explicit SingleInstance(QString folder = {});
    ~SingleInstance();

    Outcome TryLock();
    // Removes the lock; another instance may start from then on.
    void Release() { lock_.reset(); }
    QString ErrorText() const { return error_; }
    QString LockPath() const { return path_; }

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
