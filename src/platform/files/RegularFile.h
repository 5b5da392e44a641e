#pragma once
// Opening a file where only a regular file will do (the profile store, the settings, the log, the
// single-instance lock). A FIFO would wait for its other end for ever, a device or a socket is no
// place for what we write, so what is found is judged before anything is read or written.
#include <sys/types.h>

namespace padwright {

// The error a file of this type gets where only a regular file will do: "Invalid filename" for a
// folder, "File access denied" for a FIFO, a socket or a device.
int NotARegularFileError(mode_t mode);

// Opens `path` with `flags` (O_CREAT creates it readable by all, writable by its owner) without
// ever waiting, and keeps it only when it is a regular file, or a device where `devicesToo` (a
// write to /dev/null or /dev/full is what it is). The type is judged on what was opened, so
// nothing swapped in after a look slips through. Returns the descriptor, blocking and
// close-on-exec, or -1 with errno set: the open's own error, or NotARegularFileError of what was
// found, whose type then goes to `refused` (left 0 otherwise).
int OpenRegularFile(const char* path, int flags, bool devicesToo = false,
                    mode_t* refused = nullptr);

} // namespace padwright
