#pragma once
// Single-profile files: exactly one current-format profile record.
#include "engine/Records.h"
#include "engine/StableList.h"
#include "store/FileAccess.h"
#include "store/MessageBoxes.h"

#include <QString>

namespace padwright {

// Writes `profile` to `path`, whole or not at all; raises Error with the runtime's text.
void ExportProfile(const TProfile& profile, const QString& path,
                   const AtomicFileFactory& openFile = OpenAtomicFile);

// Appends the profile of `path` to `profiles`, unchanged and name included, and returns it; a file
// of any size but one record gets the "Error" box and returns nullptr. Raises Error when the file
// cannot be read, leaving `profiles` as it was.
TProfile* ImportProfile(const QString& path, StableList<TProfile>& profiles, IMessageBoxes& boxes);

} // namespace padwright
