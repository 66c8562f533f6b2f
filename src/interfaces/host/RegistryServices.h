#pragma once
// The per-user store of typed values that stands in for the registry.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tessera::host {

// A DWORD or a string (SZ) value.
using RegistryData = std::variant<std::uint32_t, std::string>;

struct RegistryValue {
    std::string name;
    RegistryData data;
};

// One section's values in stored order.
class RegistrySection {
public:
    RegistrySection() = default;
    explicit RegistrySection(std::vector<RegistryValue> values) : values_(std::move(values)) {}

    std::optional<std::uint32_t> Dword(const std::string& name) const;
    std::optional<std::string> Text(const std::string& name) const;
    const std::vector<RegistryValue>& Values() const { return values_; }

private:
    const RegistryData* Find(const std::string& name) const;
    std::vector<RegistryValue> values_;
};

inline const RegistryData* RegistrySection::Find(const std::string& name) const {
    for (const auto& v : values_)
        if (v.name == name) return &v.data;
    return nullptr;
}
inline std::optional<std::uint32_t> RegistrySection::Dword(const std::string& name) const {
    const RegistryData* d = Find(name);
    if (d && std::holds_alternative<std::uint32_t>(*d)) return std::get<std::uint32_t>(*d);
    return std::nullopt;
}
inline std::optional<std::string> RegistrySection::Text(const std::string& name) const {
    const RegistryData* d = Find(name);
    if (d && std::holds_alternative<std::string>(*d)) return std::get<std::string>(*d);
    return std::nullopt;
}

class RegistryServices {
public:
    virtual ~RegistryServices() = default;
    // Keys name a module and a section, "Tessera\\SplitSettings".
    // Never fails: an unreadable store reads as an empty section.
    virtual RegistrySection ReadSection(const std::string& section) = 0;
    // Replaces the named values of the section, keeping the others; silent on failure.
    virtual void WriteSection(const std::string& section, const std::vector<RegistryValue>& values) = 0;
};

}  // namespace tessera::host
