#pragma once
// A registry-like view of the settings store: a key with subkeys ("Joystick0", ...) holding
// 4-byte numbers and strings, kept by the platform's settings backend (QSettings' INI file on
// Linux). Failures of the settings store are silent, as registry failures are, except that Flush
// says why the file could not be written, so that Save does not report success falsely, and that
// a file that must not be read is reported once (TakeLook).
#include "platform/settings/SettingsBackend.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace padwright {

class Registry;

class RegistryKey {
public:
    // nullopt: the value is missing or is not a 4-byte number.
    std::optional<std::uint32_t> ReadDword(const char* name) const;
    // nullopt: the value is missing.
    std::optional<std::string> ReadString(const char* name) const;
    void WriteDword(const char* name, std::uint32_t value);
    void WriteSigned(const char* name, std::int32_t value);
    void WriteString(const char* name, std::string_view value);

private:
    friend class Registry;
    RegistryKey(ISettingsBackend& backend, std::string group)
        : backend_(backend), group_(std::move(group)) {}
    std::string Path(const char* name) const;

    ISettingsBackend& backend_;
    std::string group_;
};

class Registry {
public:
    explicit Registry(std::unique_ptr<ISettingsBackend> backend);
    // The program's own settings (the platform's backend).
    Registry();
    // A file of the same layout at `path` (tools, tests).
    explicit Registry(const std::string& path);
    ~Registry();

    // The application key.
    RegistryKey Root() { return RegistryKey(*backend_, std::string()); }
    // A subkey, or nullopt when it does not exist.
    std::optional<RegistryKey> OpenSubkey(const std::string& name);
    RegistryKey CreateSubkey(const std::string& name) { return RegistryKey(*backend_, name); }
    void DeleteSubkey(const std::string& name) { backend_->DeleteSubkey(name); }

    // What the look at the file before it was read found, once: a file set aside or refused is
    // reported at start-up, not again at the next save.
    SettingsFileLook TakeLook() { return backend_->TakeLook(); }
    // Before the first change of a save: raises Error when the file must not be written (refused
    // at start-up, or now no regular file, which would be replaced), while nothing is changed
    // that could be written on its own later.
    void CheckWritable() const { backend_->CheckWritable(); }
    // Writes what was changed to the file; raises Error naming the file with the cause when it
    // could not be written, in which case the file keeps what it held.
    void Flush() { backend_->Flush(); }
    std::string FileName() const { return backend_->FileName(); }

private:
    std::unique_ptr<ISettingsBackend> backend_;
};

} // namespace padwright
