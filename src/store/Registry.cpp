#include "store/Registry.h"

#include <charconv>
#include <climits>

namespace padwright {

std::optional<std::uint32_t> FitDword(std::int64_t value) {
    if (value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

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

std::string RegistryKey::Path(const char* name) const {
    return group_.empty() ? std::string(name) : group_ + '/' + name;
}

std::optional<std::uint32_t> RegistryKey::ReadDword(const char* name) const {
    return backend_.ReadDword(Path(name));
}

std::optional<std::string> RegistryKey::ReadString(const char* name) const {
    return backend_.ReadString(Path(name));
}

void RegistryKey::WriteDword(const char* name, std::uint32_t value) {
    backend_.WriteDword(Path(name), value);
}

void RegistryKey::WriteSigned(const char* name, std::int32_t value) {
    backend_.WriteSigned(Path(name), value);
}

void RegistryKey::WriteString(const char* name, std::string_view value) {
    backend_.WriteString(Path(name), value);
}

Registry::Registry(std::unique_ptr<ISettingsBackend> backend) : backend_(std::move(backend)) {}

Registry::~Registry() = default;

std::optional<RegistryKey> Registry::OpenSubkey(const std::string& name) {
    if (!backend_->HasSubkey(name))
        return std::nullopt;
    return RegistryKey(*backend_, name);
}

} // namespace padwright
