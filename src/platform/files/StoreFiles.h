#pragma once
// The file calls under the profile store's file layer (store/FileAccess.h), one declaration each
// with one implementation per system. Paths are UTF-8. Descriptors are the C runtime's, in binary
// mode and not handed to child processes, so that read(), write() and close() serve on both
// systems. Calls that fail return -1, false or a negative size with errno set.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

namespace padwright {

// What a path names, symbolic links followed. Missing also when it cannot be looked at.
enum class FileKind { Missing, Regular, Folder, Device, Other };
FileKind KindOf(const std::string& path);

// The error a path of this kind gets where only a regular file will do: "Invalid filename" for a
// folder, "File access denied" for anything else (a FIFO, a socket, a device).
inline int NotARegularFileError(FileKind kind) {
    return kind == FileKind::Folder ? EISDIR : EACCES;
}

// Opens a regular file for reading; what is no regular file is refused with the error above,
// judged on what was opened.
int OpenForReading(const std::string& path);
// Opens a device (/dev/null, NUL) for writing; anything else is refused.
int OpenDeviceForWriting(const std::string& path);
// Opens an existing regular file for reading and writing its own bytes.
int OpenForUpdating(const std::string& path);

// 0 when this process may write the existing file `path`, else why not. A file its owner made
// read-only counts as not writable even where the system would let us replace it.
int WriteAccessError(const std::string& path);

// The file a save through `path` replaces: symbolic links are followed to their end, so that the
// link stays a link. A path that is no link, or whose links cannot be followed, as it is.
std::string FinalTarget(const std::string& path);

// Creates a file beside `target` under a name no other file has (`target` and a suffix),
// exclusively, so that a name taken meanwhile is never overwritten, and opens it for writing. With
// `like` (an existing file), the new file gets its permissions or attributes; else those any new
// file gets. `name` receives the new file's name.
int CreateTemporaryFile(const std::string& target, const std::string* like, std::string& name);
// Puts `from` in the place of `to` in one step that either happens whole or not at all, on the
// disk before it returns.
bool RenameOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

std::int64_t FileSize(int fd);
bool SeekTo(int fd, std::int64_t offset);
bool Resize(int fd, std::int64_t size);
// Reserves the disk space for `size` bytes without changing the file's size, so that writing up
// to there cannot run out of room. True also where the file system cannot reserve.
bool Reserve(int fd, std::int64_t size);
// On the disk: the bytes only, and the bytes with everything the system keeps about the file.
bool SyncData(int fd);
bool Sync(int fd);

// Whether anything (a dangling symbolic link included) has this name.
bool NameTaken(const std::string& path);
// Whether the path names something that exists, links followed.
bool FileExists(const std::string& path);
// Whether both paths exist and name the same file.
bool SameFile(const std::string& first, const std::string& second);
// Gives the file `existing` the second name `link` (a hard link).
bool LinkFile(const std::string& existing, const std::string& link);

} // namespace padwright
