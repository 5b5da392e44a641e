#include "store/FileAccess.h"

#include "engine/Errors.h"

#include <algorithm>
#include <cerrno>

namespace padwright {

namespace {

[[noreturn]] void ThrowIoError(int errorNumber, const std::string& path) {
    throw InOutError(errorNumber != 0 ? errorNumber : EIO, path);
}

// Fills `size` bytes from `offset`; a file that ends first fails with EIO.
bool ReadAllAt(int fd, char* data, std::size_t size, std::int64_t offset) {
    if (!SeekTo(fd, offset))
        return false;
    while (size > 0) {
        const auto n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file shrank under us
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAllAt(int fd, const char* data, std::size_t size, std::int64_t offset) {
    return SeekTo(fd, offset) && WriteAll(fd, data, size);
}

// Whether making a file beside the target failed for want of the right to: then the folder may
// be closed to new files while the file itself may still be written.
bool AccessError(int errorNumber) {
    return errorNumber == EACCES || errorNumber == EPERM;
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path) : name_(path) {
    UniqueFd fd(OpenForReading(path));
    if (!fd)
        ThrowIoError(errno, path);
    size_ = FileSize(fd.Get());
    if (size_ < 0)
        ThrowIoError(errno, path);
    fd_ = std::move(fd);
}

ReadOnlyFile::~ReadOnlyFile() = default;

void ReadOnlyFile::Read(void* data, std::size_t size) {
    char* out = static_cast<char*>(data);
    while (size > 0) {
        const auto n = ::read(fd_.Get(), out, size);
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
    const FileKind kind = KindOf(path);
    if (kind == FileKind::Device) {
        mode_ = Mode::Device;
        fd_.Reset(OpenDeviceForWriting(path));
        if (!fd_)
            ThrowIoError(errno, path);
        return;
    }
    if (kind != FileKind::Missing && kind != FileKind::Regular)
        ThrowIoError(NotARegularFileError(kind), path);

    const bool exists = kind == FileKind::Regular;
    if (OpenTemporary(exists))
        return;
    const int temporaryError = errno;
    if (!exists || !AccessError(temporaryError) || !OpenInPlace())
        ThrowIoError(temporaryError, path);
}

// A file its owner made read-only stays as it is, even where its folder would allow replacing
// it. A new store gets the permissions any new file gets.
bool AtomicFile::OpenTemporary(bool exists) {
    if (exists) {
        if (const int error = WriteAccessError(path_)) {
            errno = error;
            return false;
        }
    }
    target_ = FinalTarget(path_);
    std::string name;
    const int fd = CreateTemporaryFile(target_, exists ? &target_ : nullptr, name);
    if (fd < 0)
        return false;
    fd_.Reset(fd);
    temporary_ = name;
    return true;
}

// After the temporary file could not be made for want of the right to: writes in place when the
// file may be written. A file that may not be written is refused with the reason.
bool AtomicFile::OpenInPlace() {
    if (const int error = WriteAccessError(path_))
        ThrowIoError(error, path_);
    fd_.Reset(OpenForUpdating(path_));
    if (!fd_)
        ThrowIoError(errno, path_);
    mode_ = Mode::InPlace;
    return true;
}

AtomicFile::~AtomicFile() {
    DiscardTemporary();
}

void AtomicFile::DiscardTemporary() {
    fd_.Reset();
    if (!temporary_.empty())
        RemoveFile(temporary_);
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
    if (!Sync(fd_.Get()) || !fd_.Close())
        Fail(errno);
    if (!RenameOver(temporary_, target_))
        Fail(errno);
    temporary_.clear();
}

void AtomicFile::CommitInPlace() {
    const int fd = fd_.Get();
    const auto newSize = static_cast<std::int64_t>(pending_.size());
    const std::int64_t oldSize = FileSize(fd);
    if (oldSize < 0)
        Fail(errno);
    // The old bytes the new ones will cover, to put back should the write fail half-way.
    std::vector<char> covered(static_cast<std::size_t>(std::min(oldSize, newSize)));
    if (!ReadAllAt(fd, covered.data(), covered.size(), 0))
        Fail(errno);
    // The space is reserved beyond the end without moving it, so that a process killed during
    // the write leaves old and new records but never blank ones. A file system that cannot
    // reserve so still gets the write, and its undoing on failure.
    if (newSize > oldSize && !Reserve(fd, newSize)) {
        const int error = errno;
        // Gives back what a partial reservation took; the old bytes are all still there.
        Resize(fd, oldSize);
        Fail(error);
    }
    errno = 0;
    const bool written = SeekTo(fd, 0) && WriteBytes(pending_.data(), newSize) && SyncData(fd) &&
                         (newSize >= oldSize || Resize(fd, newSize));
    if (!written) {
        const int error = errno;
        if (WriteAllAt(fd, covered.data(), covered.size(), 0) && Resize(fd, oldSize))
            SyncData(fd);
        Fail(error);
    }
    if (!Sync(fd)) {
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
