#include "platform/dinput/WakeSignal.h"

#include <cstdint>
#include <fcntl.h>
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
void WakeSignal::Set(bool raised) {
    std::uint64_t count = 1;
    if (handle_ < 0)
        return;
    if (raised ? write(handle_, &count, sizeof count) < 0 : read(handle_, &count, sizeof count) < 0)
        return;
}

bool IsSignalled(WaitHandle handle) {
    pollfd p{handle, POLLIN, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

WaitHandleCopy::WaitHandleCopy(WaitHandle handle) : handle_(fcntl(handle, F_DUPFD_CLOEXEC, 0)) {}

WaitHandleCopy::~WaitHandleCopy() {
    if (handle_ >= 0)
        close(handle_);
}

} // namespace padwright
