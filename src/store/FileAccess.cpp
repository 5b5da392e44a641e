#include "store/FileAccess.h"

#include "engine/Errors.h"

#include <QFileInfo>

#include <cerrno>

namespace padwright {

namespace {

// Qt keeps only its own error category; the errno of the failing call is still in place right
// after it, and that is what tells "Disk full" from "File access denied".
[[noreturn]] void ThrowIoError(int savedErrno, const QString& path) {
    throw InOutError(savedErrno != 0 ? savedErrno : EIO, path.toStdString());
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const QString& path) : file_(path) {
    errno = 0;
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        ThrowIoError(errno, file_.fileName());
}

void ReadOnlyFile::Read(void* data, std::size_t size) {
    char* out = static_cast<char*>(data);
    qint64 left = static_cast<qint64>(size);
    while (left > 0) {
        errno = 0;
        const qint64 n = file_.read(out, left);
        if (n < 0)
            ThrowIoError(errno, file_.fileName());
        if (n == 0)
            throw Error("Read beyond end of file: " + file_.fileName().toStdString());
        out += n;
        left -= n;
    }
}

AtomicFile::AtomicFile(const QString& path) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        file_ = std::make_unique<QFile>(path);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(path);
        saveFile->setDirectWriteFallback(true);
        saveFile_ = saveFile.get();
        file_ = std::move(saveFile);
    }
    errno = 0;
    if (!file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        ThrowIoError(errno, path);
}

bool AtomicFile::WriteBytes(const char* data, qint64 size) {
    while (size > 0) {
        const qint64 n = file_->write(data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

void AtomicFile::Write(const void* data, std::size_t size) {
    errno = 0;
    if (!WriteBytes(static_cast<const char*>(data), static_cast<qint64>(size))) {
        const int savedErrno = errno;
        if (saveFile_)
            saveFile_->cancelWriting();
        ThrowIoError(savedErrno, file_->fileName());
    }
}

void AtomicFile::Commit() {
    errno = 0;
    if (saveFile_) {
        if (!saveFile_->commit())
            ThrowIoError(errno, file_->fileName());
        return;
    }
    if (!file_->flush())
        ThrowIoError(errno, file_->fileName());
    file_->close();
}

std::unique_ptr<AtomicFile> OpenAtomicFile(const QString& path) {
    return std::make_unique<AtomicFile>(path);
}

} // namespace padwright
