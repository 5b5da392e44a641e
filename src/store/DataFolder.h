#pragma once
#include <string>

namespace padwright {

// $XDG_DATA_HOME/Padwright (usually ~/.local/share/Padwright), on Windows
// %LOCALAPPDATA%\Padwright: the folder `--data-folder` works in, and where a backup goes that
// cannot be kept beside its store.
std::string DataFolder();

} // namespace padwright
