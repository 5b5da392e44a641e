#include "store/Registry.h"

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

QString RegistryKey::Path(const char* name) const {
    const QString value = QString::fromLatin1(name);
    return group_.isEmpty() ? value : group_ + u'/' + value;
}

std::optional<std::uint32_t> RegistryKey::ReadDword(const char* name) const {
    const QVariant value = settings_.value(Path(name));
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
    const QVariant value = settings_.value(Path(name));
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
    settings_.setValue(Path(name), static_cast<uint>(value));
}

void RegistryKey::WriteSigned(const char* name, std::int32_t value) {
    settings_.setValue(Path(name), static_cast<int>(value));
}

void RegistryKey::WriteString(const char* name, std::string_view value) {
    settings_.setValue(Path(name),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

Registry::Registry() : settings_(std::make_unique<QSettings>("Vemoskar", "Padwright")) {}

Registry::Registry(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

Registry::~Registry() = default;

std::optional<RegistryKey> Registry::OpenSubkey(const QString& name) {
    if (!settings_->childGroups().contains(name))
        return std::nullopt;
    return RegistryKey(*settings_, name);
}

} // namespace padwright
