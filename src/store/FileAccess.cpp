#include "store/FileAccess.h"

#include "engine/Errors.h"
#include "platform/files/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

namespace {

[[noreturn]] void ThrowIoError(int errorNumber, const std::string& path) {
    throw InOutError(errorNumber != 0 ? errorNumber : EIO, path);
}

bool IsDevice(mode_t mode) {
    return S_ISCHR(mode) || S_ISBLK(mode);
}

bool ReadAllAt(int fd, char* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file shrank under us
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

bool WriteAllAt(int fd, const char* data, std::size_t size, off_t offset) {
    return ::lseek(fd, offset, SEEK_SET) == offset && WriteAll(fd, data, size);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save through `path` replaces: symbolic links are followed to their end, also to a
// target that does not exist yet, so the link stays a link. A loop keeps the name as given.
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

std::string CanonicalFolder(const std::string& path) {
    std::string folder = FolderOf(path);
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        folder = FolderOf(real);
        std::free(real);
    }
    return folder;
}

} // namespace

bool NameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : name_(path) {
    UniqueFd fd(OpenRegularFile(path.c_str(), O_RDONLY));
    if (!fd)
        ThrowIoError(errno, path);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        ThrowIoError(errno, path);
    fd_ = std::move(fd);
    size_ = info.st_size;
}

ReadOnlyFile::~ReadOnlyFile() = default;

void ReadOnlyFile::Read(void* data, std::size_t size) {
    char* out = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd_.Get(), out, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowIoError(errno, name_);
        if (n == 0)
            throw Error("Read beyond end of file: " + name_);
        out += n;
        size -= static_cast<std::size_t>(n);
    }
}

AtomicFile::AtomicFile(const std::string& path) : path_(path) {
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && IsDevice(target.st_mode)) {
        mode_ = Mode::Device;
        // Without waiting, in case the device was swapped for a FIFO since the look above.
        fd_.Reset(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (!fd_)
            ThrowIoError(errno, path);
        struct stat opened {};
        if (::fstat(fd_.Get(), &opened) != 0 || !IsDevice(opened.st_mode))
            Fail(EACCES);
        ::fcntl(fd_.Get(), F_SETFL, ::fcntl(fd_.Get(), F_GETFL) & ~O_NONBLOCK);
        return;
    }
    if (exists && !S_ISREG(target.st_mode))
        ThrowIoError(NotARegularFileError(target.st_mode), path);

    if (OpenTemporary(exists ? &target : nullptr))
        return;
    const int temporaryError = errno;
    if (!exists || !OpenInPlace())
        ThrowIoError(temporaryError, path);
}

// A fresh name beside the target that nothing else uses; created exclusively, so a name taken
// meanwhile is never overwritten. A new store gets the permissions any new file gets.
bool AtomicFile::OpenTemporary(const struct stat* existing) {
    // A file its owner made read-only stays as it is, even where its folder would allow
    // replacing it.
    if (existing && ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0)
        return false;
    target_ = FinalTarget(path_);
    std::string name = target_ + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    fd_.Reset(fd);
    temporary_ = name;
    mode_t mode = 0666;
    if (existing) {
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    return true;
}

// After the temporary file could not be made: writes in place when the file may be written but
// its folder may not. A file that may not be written is refused with the reason.
bool AtomicFile::OpenInPlace() {
    if (::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0)
        ThrowIoError(errno, path_);
    if (::faccessat(AT_FDCWD, CanonicalFolder(path_).c_str(), W_OK, AT_EACCESS) == 0)
        return false; // the folder was not the trouble: report what was
    fd_.Reset(::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd_)
        ThrowIoError(errno, path_);
    struct stat opened {};
    if (::fstat(fd_.Get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        Fail(EACCES);
    mode_ = Mode::InPlace;
    return true;
}

AtomicFile::~AtomicFile() {
    DiscardTemporary();
}

void AtomicFile::DiscardTemporary() {
    fd_.Reset();
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool AtomicFile::WriteBytes(const char* data, std::int64_t size) {
    return WriteAll(fd_.Get(), data, static_cast<std::size_t>(size));
}

void AtomicFile::Fail(int errorNumber) {
    DiscardTemporary();
    ThrowIoError(errorNumber, path_);
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (mode_ == Mode::InPlace) {
        pending_.insert(pending_.end(), bytes, bytes + size);
        return;
    }
    errno = 0;
    if (!WriteBytes(bytes, static_cast<std::int64_t>(size)))
        Fail(errno);
}

void AtomicFile::Commit() {
    errno = 0;
    switch (mode_) {
    case Mode::Replace:
        CommitReplace();
        return;
    case Mode::Device:
        if (!fd_.Close())
            ThrowIoError(errno, path_);
        return;
    case Mode::InPlace:
        CommitInPlace();
        return;
    }
}

// On the disk first, then under the target's name: a crash in between leaves the old file.
void AtomicFile::CommitReplace() {
    if (::fsync(fd_.Get()) != 0 || !fd_.Close())
        Fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    temporary_.clear();
}

void AtomicFile::CommitInPlace() {
    const int fd = fd_.Get();
    const auto newSize = static_cast<off_t>(pending_.size());
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        Fail(errno);
    const off_t oldSize = info.st_size;
    // The old bytes the new ones will cover, to put back should the write fail half-way.
    std::vector<char> covered(static_cast<std::size_t>(std::min(oldSize, newSize)));
    if (!ReadAllAt(fd, covered.data(), covered.size(), 0))
        Fail(errno);
    // The space is reserved beyond the end without moving it, so that a process killed during
    // the write leaves old and new records but never blank ones. A file system that cannot
    // reserve so still gets the write, and its undoing on failure.
    if (newSize > oldSize && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        const int error = errno;
        // Gives back what a partial reservation took; the old bytes are all still there.
        [[maybe_unused]] const int undone = ::ftruncate(fd, oldSize);
        Fail(error);
    }
    errno = 0;
    const bool written = ::lseek(fd, 0, SEEK_SET) == 0 && WriteBytes(pending_.data(), newSize) &&
                         ::fdatasync(fd) == 0 &&
                         (newSize >= oldSize || ::ftruncate(fd, newSize) == 0);
    if (!written) {
        const int error = errno;
        if (WriteAllAt(fd, covered.data(), covered.size(), 0) && ::ftruncate(fd, oldSize) == 0)
            ::fdatasync(fd);
        Fail(error);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        fd_.Reset();
        ThrowIoError(error, path_);
    }
    if (!fd_.Close())
        ThrowIoError(errno, path_);
}

std::unique_ptr<AtomicFile> OpenAtomicFile(const std::string& path) {
    return std::make_unique<AtomicFile>(path);
}

} // namespace padwright
