#pragma once
#include <stdexcept>
#include <string>

namespace padwright {

// An error that ends the handler that raised it. The user interface shows its text in the
// standard error box; the program goes on.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace padwright
