#include "input/DiLog.h"

#include "engine/Errors.h"
#include "input/DirectInputErrorText.h"
#include "platform/files/SystemFiles.h"

#include <cerrno>
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
    const int fd = OpenHeldForWriting(path_);
    if (fd < 0)
        throw InOutError(errno, path_);
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
    WriteLine();
}

void DiLog::LogLine(std::string_view text) {
    if (fd_ < 0)
        return;
    line_.assign(text);
    WriteLine();
}

void DiLog::WriteLine() {
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
