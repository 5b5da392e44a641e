#pragma once
// Test support that only POSIX systems have: dropping root's privileges in a child process.
#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright::test {

// Runs `body` in a child process without root's privileges: as nobody when the test runs as
// root, else as the user running it. Returns the status `body` returned, 100 when privileges
// could not be dropped, 101 when `body` threw.
inline int InUnprivilegedChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
             ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(100);
        int status = 101;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace padwright::test
