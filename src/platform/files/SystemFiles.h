#pragma once
// The few file calls whose form differs between the systems, behind one declaration each.
#include <string>

namespace padwright {

// Whether a failed write's errno means the disk (or the user's quota on it) is full.
bool DiskFullError(int errorNumber);

// Opens `path` (UTF-8) for writing in binary mode, creating it and then emptying it, held so
// that no other process can write it while it stays open (others may read it), and not handed
// to child processes. The descriptor for write() and close(), or -1 with errno set.
int OpenHeldForWriting(const std::string& path);

} // namespace padwright
