#include "platform/files/StoreFiles.h"

#include "platform/files/RegularFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

namespace {

bool IsDevice(mode_t mode) {
    return S_ISCHR(mode) || S_ISBLK(mode);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Keeps `fd` when what it opened passes `accepted`, else closes it and fails with EACCES.
template <typename Accepted> int Judged(int fd, Accepted accepted) {
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && accepted(info.st_mode))
        return fd;
    ::close(fd);
    errno = EACCES;
    return -1;
}

} // namespace

FileKind KindOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return FileKind::Missing;
    if (S_ISREG(info.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(info.st_mode))
        return FileKind::Folder;
    return IsDevice(info.st_mode) ? FileKind::Device : FileKind::Other;
}

int OpenForReading(const std::string& path) {
    return OpenRegularFile(path.c_str(), O_RDONLY);
}

int OpenDeviceForWriting(const std::string& path) {
    // Without waiting, in case the device was swapped for a FIFO since it was looked at.
    const int fd = Judged(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC), IsDevice);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int OpenForUpdating(const std::string& path) {
    return Judged(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC),
                  [](mode_t mode) { return S_ISREG(mode); });
}

int WriteAccessError(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// A target that does not exist yet is followed to as well; a loop keeps the name as given.
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 128; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0)
            return current;
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : FolderOf(current) + '/' + target;
    }
    return path;
}

int CreateTemporaryFile(const std::string& target, const std::string* like, std::string& name) {
    name = target + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    mode_t mode = 0666;
    struct stat existing {};
    if (like && ::stat(like->c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    return fd;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::int64_t FileSize(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? info.st_size : -1;
}

bool SeekTo(int fd, std::int64_t offset) {
    return ::lseek(fd, offset, SEEK_SET) == offset;
}

bool Resize(int fd, std::int64_t size) {
    return ::ftruncate(fd, size) == 0;
}

bool Reserve(int fd, std::int64_t size) {
    return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0 || errno == EOPNOTSUPP ||
           errno == ENOSYS || errno == EINVAL;
}

bool SyncData(int fd) {
    return ::fdatasync(fd) == 0;
}

bool Sync(int fd) {
    return ::fsync(fd) == 0;
}

bool NameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool LinkFile(const std::string& existing, const std::string& link) {
    return ::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, link.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace padwright
