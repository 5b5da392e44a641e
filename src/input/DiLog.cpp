#include "input/DiLog.h"

#include "engine/Errors.h"
#include "engine/RegularFile.h"
#include "input/DirectInputErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

DiLog::~DiLog() {
    if (fd_ >= 0)
        ::close(fd_);
}

void DiLog::Open(std::string_view path) {
    if (LogEnabled())
        Close();
    path_.assign(path);
    // A FIFO in the log's place would hold start-up until something reads it; a device takes
    // the lines as the store's device takes its bytes.
    const int fd = OpenRegularFile(path_.c_str(), O_WRONLY | O_CREAT, /*devicesToo=*/true);
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
}

void DiLog::Close() {
    if (fd_ < 0)
        return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw InOutError(errno, path_);
}

void DiLog::LogDirectInputError(std::string_view prefix, HRESULT code) {
    if (fd_ < 0)
        return;
    // One write per line, so that the program ending between two writes never leaves a
    // prefix without its text.
    line_.assign(prefix);
    line_ += DirectInputErrorText(code);
    line_ += "\r\n";
    if (!Write(line_))
        FailAndClose(errno);
}

bool DiLog::Write(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd_, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) { // no progress and no error: treat as a full device
            errno = ENOSPC;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void DiLog::FailAndClose(int errorNumber) {
    ::close(fd_);
    fd_ = -1;
    throw InOutError(errorNumber, path_);
}

} // namespace padwright
