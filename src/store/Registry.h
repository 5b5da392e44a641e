#pragma once
// A registry-like view of the settings store: a key with subkeys ("Joystick0", ...) holding
// 4-byte numbers and strings. On Linux it is the INI file of QSettings("Vemoskar", "Padwright")
// in the user's config folder: the application key's values under [General], one group per
// subkey. Failures of the settings store are silent, as registry failures are, except that Flush
// says why the file could not be written, so that Save does not report success falsely, and
// that a file the toolkit must not read is reported once (TakeLook).
#include "store/SettingsFile.h"
#include <QSettings>

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace padwright {

// A value text as a 4-byte number: decimal, either as signed (-2147483648..) or as unsigned
// (..4294967295) as a hand-edited file may hold; anything else cannot be read.
std::optional<std::uint32_t> ParseDword(std::string_view text);

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
    RegistryKey(Registry& registry, QString group) : registry_(registry), group_(group) {}
    QString Path(const char* name) const;
    QSettings& Settings() const;

    Registry& registry_;
    QString group_;
};

class Registry {
public:
    // The program's own settings: QSettings("Vemoskar", "Padwright").
    Registry();
    // An INI file of the same layout at `iniPath` (fuzzing, tools).
    explicit Registry(const QString& iniPath);
    ~Registry();

    // The application key.
    RegistryKey Root() { return RegistryKey(*this, QString()); }
    // A subkey, or nullopt when it does not exist.
    std::optional<RegistryKey> OpenSubkey(const QString& name);
    RegistryKey CreateSubkey(const QString& name) { return RegistryKey(*this, name); }
    void DeleteSubkey(const QString& name) { settings_->remove(name); }

    // What the look at the file before the toolkit read it found (SettingsFile.h), once: a file
    // set aside or refused is reported at start-up, not again at the next save.
    SettingsFileLook TakeLook() { return std::exchange(look_, {}); }
    // Before the first change of a save: raises Error when the file must not be written (refused
    // at start-up, or now no regular file, which the toolkit would replace), while nothing is
    // changed that the toolkit could write on its own later.
    void CheckWritable() const;
    // Writes what was changed to the file; raises Error naming the file with the cause when it
    // could not be written, in which case the file keeps what it held.
    void Flush();
    QString FileName() const { return path_; }

private:
    friend class RegistryKey;
    void Open();
    qint64 EstimatedSize() const;

    bool own_;     // QSettings("Vemoskar", "Padwright") rather than an INI file of our choosing
    QString path_; // the file either reads and writes
    SettingsFileLook look_;
    std::string saveError_; // why the file must never be written, when refused at start-up
    std::unique_ptr<QSettings> settings_;
};

} // namespace padwright
