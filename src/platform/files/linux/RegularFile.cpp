#include "platform/files/RegularFile.h"

#include "platform/Descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

namespace {

bool Accepted(mode_t mode, bool devicesToo) {
    return S_ISREG(mode) || (devicesToo && (S_ISCHR(mode) || S_ISBLK(mode)));
}

} // namespace

int NotARegularFileError(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : EACCES;
}

int OpenRegularFile(const char* path, int flags, bool devicesToo, mode_t* refused) {
    if (refused)
        *refused = 0;
    struct stat info {};
    UniqueFd fd(::open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644));
    if (!fd) {
        // A FIFO opened for writing without a reader, or a socket: nothing was opened to judge,
        // but only something that is no regular file answers so.
        const int error = errno;
        if (error == ENXIO && ::stat(path, &info) == 0 && !Accepted(info.st_mode, devicesToo)) {
            if (refused)
                *refused = info.st_mode & S_IFMT;
            errno = NotARegularFileError(info.st_mode);
        } else {
            errno = error;
        }
        return -1;
    }
    int error = 0;
    if (::fstat(fd.Get(), &info) != 0) {
        error = errno;
    } else if (!Accepted(info.st_mode, devicesToo)) {
        error = NotARegularFileError(info.st_mode);
        if (refused)
            *refused = info.st_mode & S_IFMT;
    } else if (::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK) != 0) {
        error = errno;
    }
    if (error != 0) {
        fd.Reset();
        errno = error;
        return -1;
    }
    return fd.Release();
}

} // namespace padwright
