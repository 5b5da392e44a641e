#pragma once
// Reads device descriptions in evemu-describe format: identity (N:, I:), properties (P:),
// capability bits (B:), axis ranges (A:) and recorded events (E:). The "Value" lines of the
// commented capability listing that evemu-describe writes give the axes' starting values.
#include "platform/dinput/EvdevDescription.h"

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace padwright {

struct EvemuDevice {
    EvdevDescription description;
    std::vector<EvdevEvent> events; // the E: lines, in order
};

// A description that cannot be read; what() names the file and, where it applies, the line.
class EvemuError : public std::runtime_error {
public:
    EvemuError(const std::string& file, int line, const std::string& problem);
    const std::string& file() const { return file_; }
    int line() const { return line_; }

private:
    std::string file_;
    int line_;
};

// `file` names the source in error messages.
EvemuDevice ParseEvemu(std::istream& in, const std::string& file);
// Reads a file; its base name becomes the device's physical path, which keeps its GUID stable.
EvemuDevice LoadEvemuFile(const std::string& path);

} // namespace padwright
