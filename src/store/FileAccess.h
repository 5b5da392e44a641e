#pragma once
// File access for the profile store and single-profile files. Every failure raises Error with the
// runtime's text for the error, so the standard error box shows what went wrong.
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>

namespace padwright {

// Reads a file record by record.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path);
    qint64 Size() const { return file_.size(); }
    // Fills `size` bytes or fails with "Read beyond end of file".
    void Read(void* data, std::size_t size);

private:
    QFile file_;
};

// Writes a file whole or not at all: the bytes go to a temporary file in the target's folder that
// replaces the target only once every byte is written and on the disk, so a failure leaves the
// previous file as it was. A symbolic link is followed and its target replaced; the target keeps
// its permissions. Where the folder is not writable but the file is, the file is written in place,
// since that is the only way such a file can be saved at all. A target that is no regular file
// (a device such as /dev/null) is written directly: replacing it would destroy the device.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    virtual ~AtomicFile() = default; // an uncommitted file is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const void* data, std::size_t size);
    void Commit();

protected:
    // The one place bytes leave the program; a test overrides it to simulate a failing disk
    // (return false with errno set).
    virtual bool WriteBytes(const char* data, qint64 size);

private:
    std::unique_ptr<QFileDevice> file_;
    QSaveFile* saveFile_ = nullptr; // file_ when written through a temporary file
};

// Makes the AtomicFile for a path; tests hand in one that fails.
using AtomicFileFactory = std::function<std::unique_ptr<AtomicFile>(const QString& path)>;
std::unique_ptr<AtomicFile> OpenAtomicFile(const QString& path);

} // namespace padwright
