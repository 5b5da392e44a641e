#include "input/DiLog.h"

#include "engine/Errors.h"
#include "input/DirectInputErrorText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

DiLog::~DiLog() {
    if (fd_ < 0)
        return;
    Flush();
    ::close(fd_);
}

void DiLog::Open(std::string_view path) {
    if (LogEnabled())
        Close();
    path_.assign(path);
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw InOutError(errno, path_);
    // Take the lock before emptying, so a second instance never wipes the log the first one is
    // writing.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        throw InOutError(error, path_);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        throw InOutError(error, path_);
    }
    fd_ = fd;
    used_ = 0;
}

void DiLog::Close() {
    if (fd_ < 0)
        return;
    const bool flushed = Flush();
    const int flushError = errno;
    const int fd = fd_;
    fd_ = -1;
    used_ = 0;
    const bool closed = ::close(fd) == 0;
    if (!flushed)
        throw InOutError(flushError, path_);
    if (!closed)
        throw InOutError(errno, path_);
}

void DiLog::LogDirectInputError(std::string_view prefix, HRESULT code) {
    if (fd_ < 0)
        return;
    Append(prefix);
    Append(DirectInputErrorText(code));
    Append("\r\n");
}

void DiLog::Append(std::string_view text) {
    while (!text.empty()) {
        if (used_ == buffer_.size() && !Flush())
            FailAndClose(errno);
        const std::size_t n = std::min(text.size(), buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, text.data(), n);
        used_ += n;
        text.remove_prefix(n);
    }
}

// Writes the whole buffer; false with errno set when the system refuses.
bool DiLog::Flush() {
    std::size_t done = 0;
    while (done < used_) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) { // no progress and no error: treat as a full device
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    used_ = 0;
    return true;
}

void DiLog::FailAndClose(int errorNumber) {
    ::close(fd_);
    fd_ = -1;
    used_ = 0;
    throw InOutError(errorNumber, path_);
}

} // namespace padwright
