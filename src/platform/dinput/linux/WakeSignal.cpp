#include "platform/dinput/WakeSignal.h"

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace padwright {

WakeSignal::WakeSignal() : handle_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
    if (handle_ >= 0)
        close(handle_);
}

// Neither call can fail in a way that matters: the counter cannot overflow from these ones,
// and reading an eventfd that is not raised only answers EAGAIN.
void WakeSignal::Raise() {
    const std::uint64_t one = 1;
    if (handle_ >= 0 && write(handle_, &one, sizeof one) < 0)
        return;
}

bool WakeSignal::Lower() {
    std::uint64_t count = 0;
    return handle_ >= 0 && read(handle_, &count, sizeof count) == sizeof count && count > 0;
}

bool IsSignalled(WaitHandle handle) {
    pollfd p{handle, POLLIN, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

} // namespace padwright
