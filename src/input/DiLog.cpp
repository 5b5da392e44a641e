#include "input/DiLog.h"

#include "engine/Errors.h"
#include "input/DirectInputErrorText.h"
#include "platform/Descriptor.h"
#include "platform/files/SystemFiles.h"

#include <cerrno>

namespace padwright {

void DiLog::Open(std::string_view path) {
    if (LogEnabled())
        Close();
    path_.assign(path);
    const int fd = OpenHeldForWriting(path_);
    if (fd < 0)
        throw InOutError(errno, path_);
    fd_.Reset(fd);
}

void DiLog::Close() {
    if (fd_ && !fd_.Close())
        throw InOutError(errno, path_);
}

void DiLog::LogDirectInputError(std::string_view prefix, HRESULT code) {
    if (!fd_)
        return;
    // One write per line, so that the program ending between two writes never leaves a
    // prefix without its text.
    line_.assign(prefix);
    line_ += DirectInputErrorText(code);
    WriteLine();
}

void DiLog::LogLine(std::string_view text) {
    if (!fd_)
        return;
    line_.assign(text);
    WriteLine();
}

void DiLog::WriteLine() {
    line_ += "\r\n";
    if (!WriteAll(fd_.Get(), line_.data(), line_.size()))
        FailAndClose(errno);
}

void DiLog::FailAndClose(int errorNumber) {
    fd_.Reset();
    throw InOutError(errorNumber, path_);
}

} // namespace padwright
