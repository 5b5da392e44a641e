#pragma once
// A private X server for tests and benchmarks: Xvfb on a free display, stopped on destruction.
#include <string>
#include <sys/types.h>

namespace padwright::testing {

class XvfbServer {
public:
    // Throws std::runtime_error when Xvfb cannot be started.
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; } // e.g. ":5"

private:
    bool Start(int number);
    void Stop();

    pid_t pid_ = -1;
    std::string display_;
};

} // namespace padwright::testing
