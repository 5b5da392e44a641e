#include "store/FileAccess.h"

#include "engine/Errors.h"
#include "engine/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright {

namespace {

[[noreturn]] void ThrowIoError(int errorNumber, const QString& path) {
    throw InOutError(errorNumber != 0 ? errorNumber : EIO, path.toStdString());
}

bool IsDevice(mode_t mode) {
    return S_ISCHR(mode) || S_ISBLK(mode);
}

bool WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
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
    return ::lseek(fd, offset, SEEK_SET) == offset && WriteAll(fd, data, static_cast<qint64>(size));
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const QString& path) : name_(path.toStdString()) {
    const int fd = OpenRegularFile(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        ThrowIoError(errno, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowIoError(error, path);
    }
    fd_ = fd;
    size_ = info.st_size;
}

ReadOnlyFile::~ReadOnlyFile() {
    ::close(fd_);
}

void ReadOnlyFile::Read(void* data, std::size_t size) {
    char* out = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd_, out, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowIoError(errno, QString::fromStdString(name_));
        if (n == 0)
            throw Error("Read beyond end of file: " + name_);
        out += n;
        size -= static_cast<std::size_t>(n);
    }
}

AtomicFile::AtomicFile(const QString& path) : path_(path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat target {};
    const bool exists = ::stat(native.constData(), &target) == 0;
    if (exists && IsDevice(target.st_mode)) {
        mode_ = Mode::Device;
        // Without waiting, in case the device was swapped for a FIFO since the look above.
        fd_ = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0)
            ThrowIoError(errno, path);
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || !IsDevice(opened.st_mode))
            Fail(EACCES);
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
        return;
    }
    if (exists && !S_ISREG(target.st_mode))
        ThrowIoError(NotARegularFileError(target.st_mode), path);

    saveFile_ = std::make_unique<QSaveFile>(path);
    errno = 0;
    if (saveFile_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const int saveError = errno;
    saveFile_.reset();
    if (!exists || !OpenInPlace())
        ThrowIoError(saveError, path);
}

// After the temporary file could not be made: writes in place when the file may be written but
// its folder may not. A file that may not be written is refused with the reason.
bool AtomicFile::OpenInPlace() {
    const QByteArray native = QFile::encodeName(path_);
    if (::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0)
        ThrowIoError(errno, path_);
    const QString folder = QFileInfo(QFileInfo(path_).canonicalFilePath()).absolutePath();
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK, AT_EACCESS) == 0)
        return false; // the folder was not the trouble: report what was
    fd_ = ::open(native.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        ThrowIoError(errno, path_);
    struct stat opened {};
    if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode))
        Fail(EACCES);
    mode_ = Mode::InPlace;
    return true;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool AtomicFile::WriteBytes(const char* data, qint64 size) {
    if (!saveFile_)
        return WriteAll(fd_, data, size);
    while (size > 0) {
        const qint64 n = saveFile_->write(data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

void AtomicFile::Fail(int errorNumber) {
    if (saveFile_)
        saveFile_->cancelWriting();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    ThrowIoError(errorNumber, path_);
}

void AtomicFile::Write(const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (mode_ == Mode::InPlace) {
        pending_.insert(pending_.end(), bytes, bytes + size);
        return;
    }
    errno = 0;
    if (!WriteBytes(bytes, static_cast<qint64>(size)))
        Fail(errno);
}

void AtomicFile::Commit() {
    errno = 0;
    switch (mode_) {
    case Mode::Replace:
        if (!saveFile_->commit())
            Fail(errno);
        return;
    case Mode::Device: {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            ThrowIoError(errno, path_);
        return;
    }
    case Mode::InPlace:
        CommitInPlace();
        return;
    }
}

void AtomicFile::CommitInPlace() {
    const auto newSize = static_cast<off_t>(pending_.size());
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        Fail(errno);
    const off_t oldSize = info.st_size;
    // The old bytes the new ones will cover, to put back should the write fail half-way.
    std::vector<char> covered(static_cast<std::size_t>(std::min(oldSize, newSize)));
    if (!ReadAllAt(fd_, covered.data(), covered.size(), 0))
        Fail(errno);
    // The space is reserved beyond the end without moving it, so that a process killed during
    // the write leaves old and new records but never blank ones. A file system that cannot
    // reserve so still gets the write, and its undoing on failure.
    if (newSize > oldSize && ::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) {
        const int error = errno;
        // Gives back what a partial reservation took; the old bytes are all still there.
        [[maybe_unused]] const int undone = ::ftruncate(fd_, oldSize);
        Fail(error);
    }
    errno = 0;
    const bool written = ::lseek(fd_, 0, SEEK_SET) == 0 && WriteBytes(pending_.data(), newSize) &&
                         ::fdatasync(fd_) == 0 &&
                         (newSize >= oldSize || ::ftruncate(fd_, newSize) == 0);
    if (!written) {
        const int error = errno;
        if (WriteAllAt(fd_, covered.data(), covered.size(), 0) && ::ftruncate(fd_, oldSize) == 0)
            ::fdatasync(fd_);
        Fail(error);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowIoError(error, path_);
    }
    if (::close(fd) != 0)
        ThrowIoError(errno, path_);
}

std::unique_ptr<AtomicFile> OpenAtomicFile(const QString& path) {
    return std::make_unique<AtomicFile>(path);
}

} // namespace padwright
