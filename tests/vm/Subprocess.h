#pragma once
// A program started by a guest test, with its standard output and error captured. The child is
// killed and reaped on destruction, so a failing test leaves nothing running behind it.
#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace padwright::vm {

class Subprocess {
public:
    // `env` entries (NAME=VALUE) are added to the test's own environment; `cwd` empty keeps
    // the test's directory; a `uid` other than 0 runs the program as that user (and group).
    // Throws std::runtime_error when the program cannot be started.
    explicit Subprocess(const std::vector<std::string>& argv, const std::string& cwd = {},
                        const std::vector<std::string>& env = {}, uid_t uid = 0);
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    pid_t Pid() const { return pid_; }
    // Everything printed so far.
    const std::string& Output();
    // Reads output until `done` holds for it or the time is up; true when it held.
    bool WaitForOutput(const std::function<bool(const std::string&)>& done,
                       std::chrono::milliseconds limit);
    // The exit status (128 + signal when killed), or -1 when still running after `limit`.
    int Wait(std::chrono::milliseconds limit);
    void Signal(int signal);

private:
    bool Pump(int timeoutMs);

    pid_t pid_ = -1;
    int out_ = -1;
    int status_ = -1;
    std::string output_;
};

} // namespace padwright::vm
