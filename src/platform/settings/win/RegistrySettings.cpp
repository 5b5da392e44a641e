// The settings in the registry of the current user: the application key
// "Software\Vemoskar\Padwright" holds the application's values, and one subkey per remembered
// controller ("Joystick0", ...) holds its values. Numbers are REG_DWORD, texts REG_SZ. Names go
// through the W calls, so they are never cut down to a code page.
#include "engine/Errors.h"
#include "platform/Utf8Fit.h"
#include "platform/settings/SettingsBackend.h"
#include "platform/win/Utf16.h"

#include <cstring>
#include <utility>
#include <vector>

#include <windows.h>

namespace padwright {

namespace {

constexpr const wchar_t* ApplicationKey = L"Software\\Vemoskar\\Padwright";

// A value as stored: its type and its bytes.
struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<char> bytes;
};

std::string SystemText(LSTATUS status) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = n > 0 ? TrimmedName(Utf8(std::wstring_view(text, n)), 1024)
                               : "error " + std::to_string(status);
    LocalFree(text);
    return result;
}

class RegistrySettings final : public ISettingsBackend {
public:
    explicit RegistrySettings(std::wstring path) : path_(std::move(path)) {}

    // A DWORD, or 4 bytes of another type, read as the number they hold; a text as a number
    // written in it, as a hand edit may leave one.
    std::optional<std::uint32_t> ReadDword(const std::string& key) const override {
        const std::optional<StoredValue> value = Query(key);
        if (!value)
            return std::nullopt;
        return IsText(value->type) ? ParseDword(Text(*value)) : Number(*value);
    }

    // A text up to its terminating zero; a number as its decimal text; other bytes as stored
    // (a name that was no UTF-8 is kept so).
    std::optional<std::string> ReadString(const std::string& key) const override {
        const std::optional<StoredValue> value = Query(key);
        if (!value)
            return std::nullopt;
        if (IsText(value->type))
            return Text(*value);
        if (value->type == REG_DWORD && Number(*value))
            return std::to_string(*Number(*value));
        return std::string(value->bytes.begin(), value->bytes.end());
    }

    void WriteDword(const std::string& key, std::uint32_t value) override {
        Set(key, REG_DWORD, &value, sizeof value);
    }
    void WriteSigned(const std::string& key, std::int32_t value) override {
        WriteDword(key, static_cast<std::uint32_t>(value));
    }

    // Bytes that are no UTF-8 cannot be a REG_SZ without changing: they are kept as REG_BINARY,
    // which ReadString gives back as they were.
    void WriteString(const std::string& key, std::string_view value) override {
        if (!IsUtf8(value)) {
            Set(key, REG_BINARY, value.data(), value.size());
            return;
        }
        const std::wstring text = Wide(value);
        Set(key, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }

    bool HasSubkey(const std::string& name) const override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(name).c_str(), 0, KEY_READ, &key) != 0)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Failures are ignored, as at every start before: a missing subkey is the common case.
    void DeleteSubkey(const std::string& name) override {
        RegDeleteKeyW(HKEY_CURRENT_USER, KeyPath(name).c_str());
    }

    // Every value is in the registry once it is set; what could not be set is reported here,
    // once, so that Save does not report success falsely.
    void Flush() override {
        if (failure_.empty())
            return;
        throw Error(std::exchange(failure_, {}));
    }

    std::string FileName() const override { return "HKEY_CURRENT_USER\\" + Utf8(path_); }

private:
    static bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

    static std::optional<std::uint32_t> Number(const StoredValue& value) {
        if (value.bytes.size() != 4)
            return std::nullopt;
        std::uint32_t number = 0;
        std::memcpy(&number, value.bytes.data(), 4);
        return value.type == REG_DWORD_BIG_ENDIAN ? __builtin_bswap32(number) : number;
    }

    static std::string Text(const StoredValue& value) {
        std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
        return Utf8(std::wstring_view(text.c_str())); // up to the first zero
    }

    // "Subkey/Name" is the value Name of the subkey; "Name" is a value of the application key.
    std::pair<std::wstring, std::wstring> Split(const std::string& key) const {
        const std::size_t slash = key.find('/');
        if (slash == std::string::npos)
            return {path_, Wide(key)};
        return {KeyPath(key.substr(0, slash)), Wide(key.substr(slash + 1))};
    }

    std::wstring KeyPath(const std::string& subkey) const { return path_ + L"\\" + Wide(subkey); }

    std::optional<StoredValue> Query(const std::string& key) const {
        const auto [path, name] = Split(key);
        StoredValue value;
        for (;;) {
            DWORD size = static_cast<DWORD>(value.bytes.size());
            const LSTATUS status = RegGetValueW(
                HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                &value.type, value.bytes.empty() ? nullptr : value.bytes.data(), &size);
            if (status == ERROR_SUCCESS && (!value.bytes.empty() || size == 0)) {
                value.bytes.resize(size);
                return value;
            }
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
                return std::nullopt;
            value.bytes.resize(size); // the value grew since its size was asked
        }
    }

    void Set(const std::string& key, DWORD type, const void* data, std::size_t size) {
        const auto [path, name] = Split(key);
        HKEY opened = nullptr;
        LSTATUS status =
            RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &opened, nullptr);
        if (status == ERROR_SUCCESS) {
            status = RegSetValueExW(opened, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                    static_cast<DWORD>(size));
            RegCloseKey(opened);
        }
        if (status != ERROR_SUCCESS && failure_.empty())
            failure_ = "The settings could not be written to HKEY_CURRENT_USER\\" + Utf8(path) +
                       ": " + SystemText(status);
    }

    std::wstring path_; // below HKEY_CURRENT_USER
    std::string failure_;
};

} // namespace

std::unique_ptr<ISettingsBackend> OpenUserSettings() {
    return std::make_unique<RegistrySettings>(ApplicationKey);
}

// On Windows the settings of the same layout elsewhere are a key below HKEY_CURRENT_USER.
std::unique_ptr<ISettingsBackend> OpenSettingsFile(const std::string& path) {
    return std::make_unique<RegistrySettings>(Wide(path));
}

} // namespace padwright
