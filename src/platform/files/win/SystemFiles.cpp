#include "platform/files/SystemFiles.h"
#include "platform/win/Utf16.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

namespace padwright {

bool DiskFullError(int errorNumber) {
    return errorNumber == ENOSPC || errorNumber == EFBIG;
}

// Binary, or every "\n" written becomes "\r\n"; the share mode is what flock is on Linux: a
// second writer is refused (EACCES) before it could empty the file.
int OpenHeldForWriting(const std::string& path) {
    const std::wstring wide = Wide(path);
    if (wide.empty() != path.empty()) {
        errno = EINVAL; // not UTF-8
        return -1;
    }
    int fd = -1;
    const errno_t error =
        _wsopen_s(&fd, wide.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                  _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    if (_chsize_s(fd, 0) != 0) {
        const int chsizeError = errno;
        _close(fd);
        errno = chsizeError;
        return -1;
    }
    return fd;
}

} // namespace padwright
