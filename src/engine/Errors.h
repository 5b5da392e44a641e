#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace padwright {

// An error that ends the handler that raised it. The user interface shows its text in the
// standard error box; the program goes on.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The input/output error for a failed file operation: a short text for the system error
// number (errno) followed by the file, e.g. "Disk full: Padwright.log". Every file the
// program reads or writes reports its failures with this one wording.
Error InOutError(int errorNumber, std::string_view fileName);

} // namespace padwright
