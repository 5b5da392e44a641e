// The store's file calls on Windows: wide paths through the W calls, descriptors of the C runtime
// opened in binary mode (in text mode a "\n" would be written as "\r\n", and a read would stop
// at a 0x1A byte), 64-bit sizes and offsets, FlushFileBuffers, and the replacement of a file by
// MoveFileExW, which either renames whole or not at all.
#include "platform/files/StoreFiles.h"
#include "platform/win/Utf16.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

namespace padwright {

namespace {

// The error number whose text is "Invalid filename".
constexpr int InvalidName = ENAMETOOLONG;

int ErrorNumber(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_NOT_ENOUGH_QUOTA:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return InvalidName;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return EIO;
    }
}

// errno from the last W call; false, for the callers' returns.
bool Failed() {
    errno = ErrorNumber(GetLastError());
    return false;
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (Valid())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opened with no access asked: enough to learn what the file is, and granted without the right
// to read it. Links are followed; folders open too.
FileHandle Look(const std::string& path) {
    return FileHandle(CreateFileW(Wide(path).c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

int Open(const std::string& path, int flags, int share) {
    int fd = -1;
    const errno_t error = _wsopen_s(&fd, Wide(path).c_str(), flags | _O_BINARY | _O_NOINHERIT,
                                    share, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return fd;
}

// Keeps `fd` when what it opened is of `type` (GetFileType), else closes it and fails with
// EACCES.
int OfType(int fd, DWORD type) {
    if (fd < 0 || GetFileType(HandleOf(fd)) == type)
        return fd;
    _close(fd);
    errno = EACCES;
    return -1;
}

} // namespace

FileKind KindOf(const std::string& path) {
    const FileHandle file = Look(path);
    if (!file.Valid())
        return FileKind::Missing;
    switch (GetFileType(file.Get())) {
    case FILE_TYPE_DISK: {
        BY_HANDLE_FILE_INFORMATION info{};
        const bool folder = GetFileInformationByHandle(file.Get(), &info) &&
                            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return folder ? FileKind::Folder : FileKind::Regular;
    }
    case FILE_TYPE_CHAR:
        return FileKind::Device;
    default:
        return FileKind::Other; // a pipe
    }
}

// A folder cannot be opened as a file: the runtime says only "access denied" then.
int OpenForReading(const std::string& path) {
    const int fd = OfType(Open(path, _O_RDONLY, _SH_DENYNO), FILE_TYPE_DISK);
    if (fd < 0 && errno == EACCES && KindOf(path) == FileKind::Folder)
        errno = EISDIR;
    return fd;
}

int OpenDeviceForWriting(const std::string& path) {
    return OfType(Open(path, _O_WRONLY, _SH_DENYNO), FILE_TYPE_CHAR);
}

// Nobody else writes the file while its bytes are being replaced.
int OpenForUpdating(const std::string& path) {
    return OfType(Open(path, _O_RDWR, _SH_DENYWR), FILE_TYPE_DISK);
}

int WriteAccessError(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ErrorNumber(GetLastError());
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return EACCES;
    // Opening for writing changes nothing, and answers for the file's security and for other
    // programs that keep it open without sharing it.
    const FileHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() ? 0 : ErrorNumber(GetLastError());
}

// The file system resolves the links; a link whose target is missing is replaced itself.
std::string FinalTarget(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const FileHandle file = Look(path);
    if (!file.Valid())
        return path;
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(file.Get(), target.data(),
                                                  static_cast<DWORD>(target.size()), 0);
        if (n == 0)
            return path;
        if (n < target.size()) {
            target.resize(n);
            break;
        }
        target.resize(n);
    }
    // "\\?\C:\..." or "\\?\UNC\server\...", as the plain calls take them.
    if (target.starts_with(L"\\\\?\\UNC\\"))
        target.replace(0, 8, L"\\\\");
    else if (target.starts_with(L"\\\\?\\"))
        target.erase(0, 4);
    return Utf8(target);
}

// The new file has the security any new file in the folder gets, and the existing file's
// attributes (hidden, system...), which a replacement would otherwise drop.
int CreateTemporaryFile(const std::string& target, const std::string* like, std::string& name) {
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (like) {
        const DWORD own = GetFileAttributesW(Wide(*like).c_str());
        constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (own != INVALID_FILE_ATTRIBUTES && (own & kept) != 0)
            attributes = own & kept;
    }
    static std::atomic<std::uint32_t> next{GetCurrentProcessId() * 2654435761u ^ GetTickCount()};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", next++ * 2654435761u);
        name = target + suffix;
        const HANDLE file = CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, CREATE_NEW, attributes, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            Failed();
            return -1;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
        if (fd < 0) {
            CloseHandle(file);
            DeleteFileW(Wide(name).c_str());
            errno = EMFILE;
        }
        return fd;
    }
    errno = EEXIST;
    return -1;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Failed();
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) || Failed();
}

std::int64_t FileSize(int fd) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(HandleOf(fd), &size)) {
        Failed();
        return -1;
    }
    return size.QuadPart;
}

bool SeekTo(int fd, std::int64_t offset) {
    return _lseeki64(fd, offset, SEEK_SET) == offset;
}

bool Resize(int fd, std::int64_t size) {
    if (const errno_t error = _chsize_s(fd, size)) {
        errno = error;
        return false;
    }
    return true;
}

// The allocation size is the disk space the file holds; beyond its end it is reserved room.
bool Reserve(int fd, std::int64_t size) {
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = size;
    if (SetFileInformationByHandle(HandleOf(fd), FileAllocationInfo, &allocation,
                                   sizeof allocation))
        return true;
    const int error = ErrorNumber(GetLastError());
    errno = error;
    return error != ENOSPC; // any other answer: the file system does not reserve
}

bool SyncData(int fd) {
    return FlushFileBuffers(HandleOf(fd)) || Failed();
}

bool Sync(int fd) {
    return SyncData(fd);
}

bool NameTaken(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool FileExists(const std::string& path) {
    return Look(path).Valid();
}

bool SameFile(const std::string& first, const std::string& second) {
    const FileHandle a = Look(first), b = Look(second);
    BY_HANDLE_FILE_INFORMATION one{}, other{};
    return a.Valid() && b.Valid() && GetFileInformationByHandle(a.Get(), &one) &&
           GetFileInformationByHandle(b.Get(), &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

bool LinkFile(const std::string& existing, const std::string& link) {
    return CreateHardLinkW(Wide(link).c_str(), Wide(existing).c_str(), nullptr) || Failed();
}

} // namespace padwright
