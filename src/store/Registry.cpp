#include "store/Registry.h"

#include "engine/Errors.h"
#include "platform/Utf8Fit.h"

#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <charconv>

namespace padwright {

namespace {

std::optional<std::uint32_t> FitDword(std::int64_t value) {
    if (value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::uint32_t> ParseDword(std::string_view text) {
    std::int64_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin; // from_chars takes no plus sign, but a hand-edited "+5" is plainly a number
        if (begin == end || *begin == '-')
            return std::nullopt;
    }
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return FitDword(value);
}

QSettings& RegistryKey::Settings() const {
    return *registry_.settings_;
}

QString RegistryKey::Path(const char* name) const {
    const QString value = QString::fromLatin1(name);
    return group_.isEmpty() ? value : group_ + u'/' + value;
}

std::optional<std::uint32_t> RegistryKey::ReadDword(const char* name) const {
    const QVariant value = Settings().value(Path(name));
    switch (value.typeId()) {
    case QMetaType::QString:
        return ParseDword(value.toString().toStdString());
    case QMetaType::QByteArray:
        return ParseDword(value.toByteArray().toStdString());
    // Values written in this run come back as the numbers they were written as.
    case QMetaType::Int:
    case QMetaType::LongLong:
        return FitDword(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toULongLong() > UINT32_MAX ? std::nullopt
                                                : FitDword(std::int64_t(value.toULongLong()));
    default:
        return std::nullopt; // missing, a list or some other type: not a number
    }
}

std::optional<std::string> RegistryKey::ReadString(const char* name) const {
    const QVariant value = Settings().value(Path(name));
    if (!value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return value.toByteArray().toStdString();
    case QMetaType::QStringList:
        // An unquoted text with commas in a hand-edited file comes back split at them.
        return value.toStringList().join(u", ").toStdString();
    default:
        return value.toString().toStdString();
    }
}

// 32-bit types, which the Windows registry backend of QSettings stores as REG_DWORD.
void RegistryKey::WriteDword(const char* name, std::uint32_t value) {
    Settings().setValue(Path(name), static_cast<uint>(value));
}

void RegistryKey::WriteSigned(const char* name, std::int32_t value) {
    Settings().setValue(Path(name), static_cast<int>(value));
}

// Text is stored as text; bytes that are no UTF-8 (a name from an older version, a hand edit)
// are stored as bytes, since as text they would come back changed and no longer match.
void RegistryKey::WriteString(const char* name, std::string_view value) {
    const auto size = static_cast<qsizetype>(value.size());
    if (IsUtf8(value))
        Settings().setValue(Path(name), QString::fromUtf8(value.data(), size));
    else
        Settings().setValue(Path(name), QByteArray(value.data(), size));
}

// The file QSettings("Vemoskar", "Padwright") reads, known before it reads it.
Registry::Registry()
    : own_(true), path_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                        QStringLiteral("/Vemoskar/Padwright.conf")) {
    Open();
}

Registry::Registry(const QString& iniPath) : own_(false), path_(iniPath) {
    Open();
}

void Registry::Open() {
    SettingsFileLook look = LookBeforeReading(path_);
    saveError_ = look.saveError;
    if (look.verdict != SettingsFileLook::Readable)
        look_ = std::move(look);
    if (!saveError_.empty())
        settings_ = std::make_unique<QSettings>(QString(), QSettings::IniFormat); // memory only
    else if (own_)
        settings_ = std::make_unique<QSettings>("Vemoskar", "Padwright");
    else
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
}

void Registry::CheckWritable() const {
    if (!saveError_.empty())
        throw Error(saveError_);
    if (const int error = TargetError(path_))
        throw InOutError(error, path_.toStdString());
}

// Near what the toolkit writes, for telling a full disk from others.
qint64 Registry::EstimatedSize() const {
    qint64 size = 0;
    for (const QString& key : settings_->allKeys())
        size += key.size() + settings_->value(key).toString().toUtf8().size() + 2;
    return size;
}

void Registry::Flush() {
    if (!saveError_.empty())
        throw Error(saveError_);
    const qint64 size = EstimatedSize();
    settings_->sync();
    const QSettings::Status status = settings_->status();
    const bool written = status != QSettings::AccessError && settings_->isWritable();
    // QSettings keeps the first error for good: a fresh object lets the next save, after the
    // user has mended the file, report its own result; it writes every value again anyway.
    if (status != QSettings::NoError)
        Open();
    if (!written)
        throw InOutError(WriteError(path_, size), path_.toStdString());
}

Registry::~Registry() = default;

std::optional<RegistryKey> Registry::OpenSubkey(const QString& name) {
    if (!settings_->childGroups().contains(name))
        return std::nullopt;
    return RegistryKey(*this, name);
}

} // namespace padwright
