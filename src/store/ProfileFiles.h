#pragma once
// Single-profile files: exactly one current-format profile record. Import also takes a whole
// profile store.
#include "engine/Records.h"
#include "engine/StableList.h"
#include "store/FileAccess.h"
#include "store/MessageBoxes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace padwright {

// Writes `profile` to `path`, whole or not at all; raises Error with the runtime's text. A path
// that names the file of the profile store `storePath` (by identity, whatever the name) gets the
// "Error" box and writes nothing: one profile would replace every profile.
void ExportProfile(const TProfile& profile, const std::string& path, const std::string& storePath,
                   IMessageBoxes& boxes, const AtomicFileFactory& openFile = OpenAtomicFile);

// Asked before a profile store is imported; true imports.
using ImportQuestion = std::function<bool(const std::string& question)>;

// Appends what `path` holds to `profiles`, unchanged and names included, and returns how many:
// the one record of an exported profile, or the records of a profile store of two or more
// (either layout, converted as the store's load converts them; a size both layouts explain is
// the current one) once `confirm` agrees, as many as fit under MaxStoredProfiles. A file of any
// other size gets the "Error" box. Raises Error when the file cannot be read, leaving `profiles`
// as it was.
std::int64_t ImportProfiles(const std::string& path, StableList<TProfile>& profiles,
                            IMessageBoxes& boxes, const ImportQuestion& confirm);

} // namespace padwright
