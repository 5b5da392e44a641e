#pragma once
// Settings kept in memory: the backend of the core's own tests, which build without Qt.
#include "platform/settings/SettingsBackend.h"

#include <map>

namespace padwright {

class MemorySettings final : public ISettingsBackend {
public:
    std::optional<std::uint32_t> ReadDword(const std::string& key) const override {
        const auto value = ReadString(key);
        return value ? ParseDword(*value) : std::nullopt;
    }
    std::optional<std::string> ReadString(const std::string& key) const override {
        const auto found = values_.find(key);
        if (found == values_.end())
            return std::nullopt;
        return found->second;
    }
    void WriteDword(const std::string& key, std::uint32_t value) override {
        values_[key] = std::to_string(value);
    }
    void WriteSigned(const std::string& key, std::int32_t value) override {
        values_[key] = std::to_string(value);
    }
    void WriteString(const std::string& key, std::string_view value) override {
        values_[key] = std::string(value);
    }
    bool HasSubkey(const std::string& name) const override {
        const auto next = values_.lower_bound(name + '/');
        return next != values_.end() && next->first.starts_with(name + '/');
    }
    void DeleteSubkey(const std::string& name) override {
        std::erase_if(values_, [&](const auto& v) { return v.first.starts_with(name + '/'); });
    }
    void Flush() override {}
    std::string FileName() const override { return "(memory)"; }

private:
    std::map<std::string, std::string> values_;
};

} // namespace padwright
