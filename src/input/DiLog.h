#pragma once
// The log of DirectInput failures: one line per failure, prefix + the code's text, CR LF ended;
// also the few lines about settings the program ignores.
#include "platform/Descriptor.h"
#include "platform/dinput/DirectInput.h"

#include <string>
#include <string_view>

namespace padwright {

class DiLog {
public:
    static constexpr std::string_view DefaultPath = "Padwright.log";

    DiLog() = default;
    DiLog(const DiLog&) = delete;
    DiLog& operator=(const DiLog&) = delete;

    // Logging is on exactly while the file is open.
    bool LogEnabled() const { return fd_.Valid(); }

    // Creates the file or empties it, held open for writing: others may read it, and a second
    // program instance cannot take it over while this one writes. Opening while open closes
    // first. Throws Error (the input/output error) when it cannot be created or what has its
    // name is neither a file nor a device (a FIFO, a socket); logging then stays off.
    void Open(std::string_view path = DefaultPath);

    // Closes the file; logging is off afterwards, and Error is thrown when closing failed.
    // Does nothing when logging is off.
    void Close();

    // One line, prefix + DirectInputErrorText(code), when logging is on; nothing otherwise.
    // Each line reaches the file as it is written, so a user watching the log sees why a pad
    // is missing while the program runs, and a crash loses nothing written before. A line that
    // cannot be written (disk full) throws Error and switches logging off, so that the next
    // data-collection run does not raise the same error again.
    void LogDirectInputError(std::string_view prefix, HRESULT code);
    // One line of the program's own, written and failing as above.
    void LogLine(std::string_view text);

private:
    // Writes line_ with its line end, or switches logging off and throws.
    void WriteLine();
    [[noreturn]] void FailAndClose(int errorNumber);

    UniqueFd fd_;
    std::string path_;
    std::string line_; // kept between lines, so a line allocates only when it is the longest yet
};

} // namespace padwright
