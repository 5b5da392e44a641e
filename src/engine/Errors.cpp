#include "engine/Errors.h"

#include "platform/files/SystemFiles.h"

#include <cerrno>

namespace padwright {

namespace {

std::string InOutErrorText(int errorNumber) {
    if (DiskFullError(errorNumber))
        return "Disk full";
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EWOULDBLOCK:
        return "File access denied";
    case EISDIR:
    case ENAMETOOLONG:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

} // namespace

Error InOutError(int errorNumber, std::string_view fileName) {
    std::string text = InOutErrorText(errorNumber);
    text += ": ";
    text += fileName;
    return Error(text);
}

} // namespace padwright
