#include "platform/settings/SettingsFile.h"

#include "engine/Errors.h"
#include "platform/Descriptor.h"
#include "platform/files/RegularFile.h"
#include "store/ProfileStore.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace padwright {

namespace {

constexpr const char* DefaultsText = "Padwright starts with its default settings";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The character an escape at the start of `text` stands for, as the toolkit decodes it (every
// digit that follows, kept to 16 bits), or -1 when `text` starts with no numeric escape.
long EscapedCharacter(std::string_view text) {
    if (text.size() < 3 || text[0] != '\\')
        return -1;
    const bool hex = text[1] == 'x';
    std::size_t i = hex ? 2 : 1;
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (hex ? !IsHexDigit(c) : (c < '0' || c > '7'))
            break;
        const std::uint32_t digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = hex ? (value << 4) + digit : (value << 3) + digit;
    }
    return i == (hex ? 2u : 1u) ? -1 : long(value & 0xFFFF);
}

bool SerialisedAt(std::string_view element) {
    if (!element.empty() && element[0] == '@')
        return !element.starts_with("@@") && !element.starts_with("@ByteArray(");
    return EscapedCharacter(element) == '@';
}

bool ReadAll(int fd, std::string& text) {
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        text.append(chunk, static_cast<std::size_t>(n));
    }
}

std::string Text(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

bool HoldsSerialisedValue(std::string_view ini) {
    bool inValue = false, elementStart = false, inQuote = false;
    for (std::size_t i = 0; i < ini.size(); ++i) {
        const char c = ini[i];
        const bool lineEnd = c == '\n' || c == '\r';
        if (c == '\\' && i + 1 < ini.size() && (ini[i + 1] == '\n' || ini[i + 1] == '\r')) {
            // The line goes on in the next one.
            i += ini.compare(i + 1, 2, "\r\n") == 0 ? 2 : 1;
            continue;
        }
        if (lineEnd) {
            inValue = inQuote = false;
            continue;
        }
        if (!inValue) {
            inValue = elementStart = c == '=';
            continue;
        }
        if (elementStart) {
            if (c == ' ' || c == '\t' || c == '"') {
                inQuote ^= c == '"';
                continue;
            }
            elementStart = false;
            if (SerialisedAt(ini.substr(i)))
                return true;
        }
        if (c == '\\')
            ++i;
        else if (c == '"')
            inQuote = !inQuote;
        else if (c == ',' && !inQuote)
            elementStart = true;
    }
    return false;
}

SettingsFileLook LookBeforeReading(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    mode_t refused = 0;
    UniqueFd fd(OpenRegularFile(native.constData(), O_RDONLY, false, &refused));
    if (!fd) {
        if (refused == 0)
            return {};
        const std::string error = InOutError(errno, Text(path)).what();
        return {SettingsFileLook::Refused,
                error + " (not a regular file); " + DefaultsText + " and cannot save them there",
                error};
    }
    std::string text;
    const bool read = ReadAll(fd.Get(), text);
    fd.Reset();
    if (!read || !HoldsSerialisedValue(text))
        return {};
    const QString backup = QString::fromStdString(FreeBackupName(Text(path)));
    if (::rename(native.constData(), QFile::encodeName(backup).constData()) != 0) {
        const std::string error = InOutError(errno, Text(backup)).what();
        return {SettingsFileLook::Refused,
                "The settings in " + Text(path) +
                    " cannot be read, and they cannot be kept aside (" + error + "); " +
                    DefaultsText + " and cannot save them there",
                error};
    }
    return {SettingsFileLook::SetAside,
            "The settings in " + Text(path) + " cannot be read; they were kept as " + Text(backup) +
                ", and " + DefaultsText + ".",
            {}};
}

int TargetError(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return 0;
    return NotARegularFileError(info.st_mode);
}

int WriteError(const QString& path, qint64 size) {
    // The toolkit writes through a symbolic link, into a new file beside the link's target.
    const QFileInfo file(path);
    const QString target = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    QString folder = QFileInfo(target).absolutePath();
    while (!QFileInfo::exists(folder) && folder != QFileInfo(folder).absolutePath())
        folder = QFileInfo(folder).absolutePath(); // the toolkit would have made the rest
    const QByteArray nativeFolder = QFile::encodeName(folder);
    // A read-only file system answers EROFS here.
    if (file.exists() &&
        ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    if (::faccessat(AT_FDCWD, nativeFolder.constData(), W_OK, AT_EACCESS) != 0)
        return errno;
    struct statvfs space {};
    if (::statvfs(nativeFolder.constData(), &space) == 0) {
        // Blocks kept for root are root's to use.
        const auto blocks = ::geteuid() == 0 ? space.f_bfree : space.f_bavail;
        const auto free = static_cast<qint64>(blocks * space.f_frsize);
        const bool noInode = space.f_files != 0 && space.f_favail == 0;
        if (noInode || free < size + static_cast<qint64>(space.f_frsize))
            return ENOSPC;
    }
    return EACCES;
}

} // namespace padwright
