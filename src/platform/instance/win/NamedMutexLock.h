#pragma once
// The single-instance lock on Windows: a named mutex, created owned by the starting program and
// held until Release (the end of its message loop) or the program's end, when Windows lets go of
// it whatever happened. The name lives in the user's session, so each user has one instance.
#include "platform/instance/InstanceLock.h"

#include <utility>

namespace padwright {

class NamedMutexLock final : public IInstanceLock {
public:
    explicit NamedMutexLock(std::string name = "Padwright") : name_(std::move(name)) {}
    ~NamedMutexLock() override { Release(); }
    NamedMutexLock(const NamedMutexLock&) = delete;
    NamedMutexLock& operator=(const NamedMutexLock&) = delete;

    Outcome TryLock() override;
    void Release() override;
    std::string ErrorText() const override { return error_; }

private:
    std::string name_;
    std::string error_;
    void* mutex_ = nullptr; // the HANDLE while held
};

} // namespace padwright
