#include "Subprocess.h"

#include "Spawn.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace padwright::vm {

Subprocess::Subprocess(const std::vector<std::string>& argv, const std::string& cwd,
                       const std::vector<std::string>& env, uid_t uid) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot start a program: " + std::string(std::strerror(errno)));
    testing::SpawnOptions options;
    for (const std::string& e : env) {
        const auto eq = e.find('=');
        options.env[e.substr(0, eq)] = eq == std::string::npos ? "" : e.substr(eq + 1);
    }
    options.workdir = cwd;
    options.uid = uid;
    options.out = options.err = pipeFds[1];
    try {
        pid_ = testing::Spawn(argv, options);
    } catch (...) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        throw;
    }
    close(pipeFds[1]);
    out_ = pipeFds[0];
}

Subprocess::~Subprocess() {
    if (Wait(std::chrono::milliseconds(0)) < 0) {
        Signal(SIGKILL);
        Wait(std::chrono::seconds(10));
    }
    if (out_ >= 0)
        close(out_);
}

bool Subprocess::Pump(int timeoutMs) {
    if (out_ < 0)
        return false;
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) {
        close(out_);
        out_ = -1;
        return false;
    }
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

const std::string& Subprocess::Output() {
    while (Pump(0)) {
    }
    return output_;
}

bool Subprocess::WaitForOutput(const std::function<bool(const std::string&)>& done,
                               std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done(Output())) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || out_ < 0)
            return done(Output());
        Pump(static_cast<int>(std::min<long>(left.count(), 50)));
    }
    return true;
}

int Subprocess::Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (status_ < 0) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= end)
            return -1;
        if (out_ < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        else
            Pump(5);
    }
    Output();
    return status_;
}

void Subprocess::Signal(int signal) {
    if (status_ < 0)
        kill(pid_, signal);
}

} // namespace padwright::vm
