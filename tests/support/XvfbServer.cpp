#include "XvfbServer.h"

#include "Spawn.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright::testing {

namespace {

bool Answers(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    if (d)
        XCloseDisplay(d);
    return d != nullptr;
}

} // namespace

XvfbServer::XvfbServer() {
    // Servers that let Xvfb pick the display start from :0 and can collide when several start
    // at once; a display number of our own, well away from there, avoids them.
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int number = 100 + static_cast<int>((getpid() * 7 + attempt * 131) % 800);
        if (Start(number) && Answers(display_))
            return;
        Stop();
    }
    throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
}

bool XvfbServer::Start(int number) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    display_ = std::to_string(number);
    display_.insert(display_.begin(), ':'); // GCC 12 warns falsely about ":" + string
    SpawnOptions options;
    options.inherit = fds[1];
    try {
        pid_ = Spawn({"Xvfb", display_, "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp",
                      "-noreset", "-screen", "0", "640x480x24"},
                     options);
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);
    // Xvfb writes the display number once it accepts connections, and nothing if it fails.
    std::string written;
    pollfd pfd{fds[0], POLLIN, 0};
    char c;
    while (poll(&pfd, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        written += c;
    close(fds[0]);
    return written == std::to_string(number);
}

XvfbServer::~XvfbServer() {
    Stop();
}

void XvfbServer::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

} // namespace padwright::testing
