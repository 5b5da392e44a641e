#include "platform/files/SystemFiles.h"

#include "engine/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

bool DiskFullError(int errorNumber) {
    return errorNumber == ENOSPC || errorNumber == EDQUOT || errorNumber == EFBIG;
}

int OpenHeldForWriting(const std::string& path) {
    // A FIFO in the file's place would hold start-up until something reads it; a device takes
    // the lines as the store's device takes its bytes.
    const int fd = OpenRegularFile(path.c_str(), O_WRONLY | O_CREAT, /*devicesToo=*/true);
    if (fd < 0)
        return -1;
    // The lock comes before the emptying, so a second instance never wipes what the first one
    // is writing.
    struct stat info {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace padwright
