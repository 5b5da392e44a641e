#pragma once
// What the dialogs take and show, the same in every front-end: a typed name as it is kept, and
// the text of the standard error box.
#include <string>
#include <string_view>

namespace padwright {

// Leading and trailing blanks and control characters removed (UTF-8: no byte of a longer
// character is one of them).
std::string TrimName(std::string_view text);

// The error box text: a full stop is added when the last character sorts after it.
std::string ErrorBoxText(std::string_view message);

} // namespace padwright
