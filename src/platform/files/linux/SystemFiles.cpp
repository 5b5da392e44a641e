#include "platform/files/SystemFiles.h"

#include "platform/Descriptor.h"
#include "platform/files/RegularFile.h"

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
    UniqueFd fd(OpenRegularFile(path.c_str(), O_WRONLY | O_CREAT, /*devicesToo=*/true));
    if (!fd)
        return -1;
    // The lock comes before the emptying, so a second instance never wipes what the first one
    // is writing.
    struct stat info {};
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 ||
        (::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd.Get(), 0) != 0)) {
        const int error = errno;
        fd.Reset();
        errno = error;
        return -1;
    }
    return fd.Release();
}

} // namespace padwright
