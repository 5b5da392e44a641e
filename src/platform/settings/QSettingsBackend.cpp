// The settings in QSettings("Vemoskar", "Padwright"): on Linux an INI file in the user's config
// folder, the application key's values under [General] and one group per subkey.
#include "engine/Errors.h"
#include "platform/Utf8Fit.h"
#include "platform/settings/SettingsBackend.h"
#include "platform/settings/SettingsFile.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace padwright {

namespace {

QString Key(const std::string& key) {
    return QString::fromStdString(key);
}

class QSettingsBackend final : public ISettingsBackend {
public:
    // The program's own settings (`own`), or an INI file of the same layout at `path`.
    QSettingsBackend(bool own, QString path) : own_(own), path_(std::move(path)) { Open(); }

    std::optional<std::uint32_t> ReadDword(const std::string& key) const override {
        const QVariant value = settings_->value(Key(key));
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

    std::optional<std::string> ReadString(const std::string& key) const override {
        const QVariant value = settings_->value(Key(key));
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
    void WriteDword(const std::string& key, std::uint32_t value) override {
        settings_->setValue(Key(key), static_cast<uint>(value));
    }
    void WriteSigned(const std::string& key, std::int32_t value) override {
        settings_->setValue(Key(key), static_cast<int>(value));
    }

    // Text is stored as text; bytes that are no UTF-8 (a name from an older version, a hand
    // edit) are stored as bytes, since as text they would come back changed and no longer match.
    void WriteString(const std::string& key, std::string_view value) override {
        const auto size = static_cast<qsizetype>(value.size());
        if (IsUtf8(value))
            settings_->setValue(Key(key), QString::fromUtf8(value.data(), size));
        else
            settings_->setValue(Key(key), QByteArray(value.data(), size));
    }

    bool HasSubkey(const std::string& name) const override {
        return settings_->childGroups().contains(Key(name));
    }
    void DeleteSubkey(const std::string& name) override { settings_->remove(Key(name)); }

    SettingsFileLook TakeLook() override { return std::exchange(look_, {}); }

    void CheckWritable() const override {
        if (!saveError_.empty())
            throw Error(saveError_);
        if (const int error = TargetError(path_))
            throw InOutError(error, path_.toStdString());
    }

    void Flush() override {
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

    std::string FileName() const override { return path_.toStdString(); }

private:
    // The file is looked at before the toolkit reads it (SettingsFile.h).
    void Open() {
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

    // Near what the toolkit writes, for telling a full disk from others.
    qint64 EstimatedSize() const {
        qint64 size = 0;
        for (const QString& key : settings_->allKeys())
            size += key.size() + settings_->value(key).toString().toUtf8().size() + 2;
        return size;
    }

    bool own_;     // QSettings("Vemoskar", "Padwright") rather than an INI file of our choosing
    QString path_; // the file either reads and writes
    SettingsFileLook look_;
    std::string saveError_; // why the file must never be written, when refused at start-up
    std::unique_ptr<QSettings> settings_;
};

} // namespace

// The file QSettings("Vemoskar", "Padwright") reads, known before it reads it.
std::unique_ptr<ISettingsBackend> OpenUserSettings() {
    return std::make_unique<QSettingsBackend>(
        true, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  QStringLiteral("/Vemoskar/Padwright.conf"));
}

std::unique_ptr<ISettingsBackend> OpenSettingsFile(const std::string& path) {
    return std::make_unique<QSettingsBackend>(false, QString::fromStdString(path));
}

} // namespace padwright
