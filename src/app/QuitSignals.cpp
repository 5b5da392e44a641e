#include "app/QuitSignals.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace padwright {

namespace {

// Only async-signal-safe work in the handler: one byte down a socket the event loop watches.
int signalSockets[2] = {-1, -1};
constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(signalSockets[0], &byte, 1);
}

} // namespace

QuitSignals::QuitSignals(std::function<void()> quit, QObject* parent)
    : QObject(parent), quit_(std::move(quit)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return; // the program still runs; it just ends the default way on these signals
    notifier_ = std::make_unique<QSocketNotifier>(signalSockets[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::Received);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : Handled)
        sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    for (int s : Handled)
        signal(s, SIG_DFL);
    notifier_.reset();
    for (int& fd : signalSockets) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void QuitSignals::Received() {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = read(signalSockets[1], &byte, 1);
    quit_();
}

} // namespace padwright
