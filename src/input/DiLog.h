#pragma once
// The log of DirectInput failures: one line per failure, prefix + the code's text, CR LF ended.
#include "platform/dinput/DirectInput.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace padwright {

class DiLog {
public:
    static constexpr std::string_view DefaultPath = "Padwright.log";

    DiLog() = default;
    DiLog(const DiLog&) = delete;
    DiLog& operator=(const DiLog&) = delete;
    // Writes out what is buffered; errors are dropped here, since nobody is left to show them.
    ~DiLog();

    // Logging is on exactly while the file is open.
    bool LogEnabled() const { return fd_ >= 0; }

    // Creates the file or empties it, held open for writing: others may read it, and a second
    // program instance cannot take it over while this one writes. Opening while open closes
    // first. Throws Error (the input/output error) when it cannot be created; logging then
    // stays off.
    void Open(std::string_view path = DefaultPath);

    // Writes out the buffer and closes the file; logging is off afterwards, even when writing
    // failed, and then Error is thrown. Does nothing when logging is off.
    void Close();

    // One line, prefix + DirectInputErrorText(code), when logging is on; nothing otherwise.
    // Lines reach the disk when the buffer fills and on Close. A line that cannot be written
    // (disk full) throws Error and switches logging off, so that the next data-collection run
    // does not raise the same error again.
    void LogDirectInputError(std::string_view prefix, HRESULT code);

private:
    void Append(std::string_view text);
    bool Flush();
    [[noreturn]] void FailAndClose(int errorNumber);

    int fd_ = -1;
    std::string path_;
    std::array<char, 4096> buffer_;
    std::size_t used_ = 0;
};

} // namespace padwright
