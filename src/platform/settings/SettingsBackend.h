#pragma once
// Where the settings live: the registry on Windows, QSettings' INI file on Linux, a map in
// memory for tests. Keys are "Name" for the application key's values and "Subkey/Name" below
// it. Failures are silent, as registry failures are, except that Flush says why the values did
// not reach the store.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace padwright {

// What a look at the settings file before it was read found.
struct SettingsFileLook {
    enum Verdict {
        Readable, // the toolkit may read the file (or find none)
        SetAside, // the file was kept under a backup name; the toolkit starts without one
        Refused,  // the toolkit must not touch the file: settings stay in memory
    };
    Verdict verdict = Readable;
    std::string message;   // for the user, once: what was found and where the file is now
    std::string saveError; // Refused: why every save fails
};

class ISettingsBackend {
public:
    virtual ~ISettingsBackend() = default;
    // nullopt: the value is missing or is not a 4-byte number.
    virtual std::optional<std::uint32_t> ReadDword(const std::string& key) const = 0;
    // nullopt: the value is missing.
    virtual std::optional<std::string> ReadString(const std::string& key) const = 0;
    virtual void WriteDword(const std::string& key, std::uint32_t value) = 0;
    virtual void WriteSigned(const std::string& key, std::int32_t value) = 0;
    virtual void WriteString(const std::string& key, std::string_view value) = 0;
    virtual bool HasSubkey(const std::string& name) const = 0;
    virtual void DeleteSubkey(const std::string& name) = 0;
    // What was found before the store was read, once: a file set aside or refused is reported
    // at start-up, not again at the next save.
    virtual SettingsFileLook TakeLook() { return {}; }
    // Before the first change of a save: raises Error when the store must not be written, while
    // nothing is changed that could be written on its own later.
    virtual void CheckWritable() const {}
    // Writes what was changed; raises Error naming the store with the cause when it could not be
    // written, in which case the store keeps what it held.
    virtual void Flush() = 0;
    // What to name in a message about the store.
    virtual std::string FileName() const = 0;
};

// A value text as a 4-byte number: decimal, either as signed (-2147483648..) or as unsigned
// (..4294967295) as a hand-edited file may hold; anything else cannot be read.
std::optional<std::uint32_t> ParseDword(std::string_view text);
// A number as wide as any backend stores, when it fits 4 bytes (signed or unsigned).
std::optional<std::uint32_t> FitDword(std::int64_t value);

// The platform's store of the program's own settings, and one at a file of the same layout
// (tools, tests). Defined by the platform's backend: QSettings on Linux; on Windows the registry,
// where the "file" is a key path below HKEY_CURRENT_USER.
std::unique_ptr<ISettingsBackend> OpenUserSettings();
std::unique_ptr<ISettingsBackend> OpenSettingsFile(const std::string& path);

} // namespace padwright
