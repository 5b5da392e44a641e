#pragma once
// The settings file as a file, around the toolkit that reads and writes it: what it must not be
// given to read, what it must not replace, and why it could not write, which it does not say.
#include "platform/settings/SettingsBackend.h"

#include <QString>

#include <string>
#include <string_view>

namespace padwright {

// Reads the file before the toolkit does. What is no regular file is refused (a FIFO would hold
// start-up for ever); a file holding a value the toolkit would decode as serialised data, which
// Padwright never writes and which can make the toolkit's reader overflow its stack, is set aside
// under FreeBackupName. A file that is missing or may not be read is the toolkit's to handle.
SettingsFileLook LookBeforeReading(const QString& path);

// True when a value, or an element of a list value, of this INI text begins with "@" in any form
// other than "@@" (an "@" in a text) or "@ByteArray(" (a name that is no UTF-8), escaped or not.
bool HoldsSerialisedValue(std::string_view ini);

// The error number for a target the toolkit would replace though it is no regular file (it
// would put a regular file in the place of a device node), 0 for a regular or missing file.
int TargetError(const QString& path);

// Why the toolkit could not write `path`, which it does not say: a file or folder that may not
// be written (a read-only file system included), else a file system without room for `size`
// bytes more ("Disk full"), else access denied.
int WriteError(const QString& path, qint64 size);

} // namespace padwright
