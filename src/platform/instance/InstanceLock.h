#pragma once
// One Padwright per user: the lock a starting program takes before anything else. No Qt. The
// Windows program's is the named mutex "Padwright" (win/NamedMutexLock.h); the Linux program
// keeps its lock file in the user's runtime folder (linux/LockFileLock.h).
#include <string>

namespace padwright {

class IInstanceLock {
public:
    enum Outcome {
        Acquired,      // this is the only instance; the lock is held until Release
        HeldElsewhere, // another instance runs: end silently
        Failed,        // the lock cannot be had for another reason: see ErrorText()
    };

    virtual ~IInstanceLock() = default;
    virtual Outcome TryLock() = 0;
    // Another instance may start from then on.
    virtual void Release() = 0;
    virtual std::string ErrorText() const = 0;
};

} // namespace padwright
