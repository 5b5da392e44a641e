#pragma once
// File access for the profile store and single-profile files. Every failure raises Error with the
// runtime's text for the error, so the standard error box shows what went wrong. Paths are
// UTF-8 and no toolkit is involved, so the core that keeps the store builds where there is none.
// What differs between the systems is in platform/files/StoreFiles.h; the rules are here.
#include "platform/Descriptor.h"
#include "platform/files/StoreFiles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

// Reads a regular file record by record, in binary mode. A folder is refused as "Invalid
// filename"; a FIFO, a socket or a device as "File access denied", since reading one could wait
// for ever or never end.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::int64_t Size() const { return size_; }
    // Fills `size` bytes or fails with "Read beyond end of file".
    void Read(void* data, std::size_t size);

private:
    UniqueFd fd_;
    std::int64_t size_ = 0;
    std::string name_;
};

// Writes a file whole or not at all: the bytes go to a temporary file in the target's folder that
// replaces the target only once every byte is written and on the disk, so a failure leaves the
// previous file as it was. A symbolic link is followed and its target replaced; the target keeps
// its permissions (on Windows its attributes). Where the folder is not writable but the file is,
// the file is written in place, since that is the only way such a file can be saved at all: the
// space it grows by is reserved first without changing its size, the bytes written over the old
// ones, the rest cut off last, and a failure on the way puts the old bytes back. A device (such
// as /dev/null or NUL) is written directly: replacing it would destroy the device. A folder, a
// FIFO or a socket is refused.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path);
    virtual ~AtomicFile(); // an uncommitted file is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const void* data, std::size_t size);
    void Commit();

    // True when the file's own bytes are overwritten, so the old file lives on under no name.
    bool InPlace() const { return mode_ == Mode::InPlace; }

protected:
    // Every byte passes here on its way to the disk (in place, at Commit); a test overrides it
    // to simulate a failing disk (return false with errno set).
    virtual bool WriteBytes(const char* data, std::int64_t size);

private:
    enum class Mode { Replace, InPlace, Device };
    // Replace: a new file beside the target, with the target's permissions when it exists.
    bool OpenTemporary(bool exists);
    void CommitReplace();
    bool OpenInPlace();
    void CommitInPlace();
    void DiscardTemporary();
    [[noreturn]] void Fail(int errorNumber);

    std::string path_;
    std::string target_; // Replace: the file the temporary one becomes, links followed
    std::string temporary_;
    Mode mode_ = Mode::Replace;
    UniqueFd fd_;
    std::vector<char> pending_; // InPlace: everything, written at Commit
};

// Makes the AtomicFile for a path; tests hand in one that fails.
using AtomicFileFactory = std::function<std::unique_ptr<AtomicFile>(const std::string& path)>;
std::unique_ptr<AtomicFile> OpenAtomicFile(const std::string& path);

} // namespace padwright
