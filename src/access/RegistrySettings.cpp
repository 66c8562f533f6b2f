#include "access/RegistrySettings.h"

#include <filesystem>
#include <type_traits>
#include <vector>

#include "access/Host.h"
#include "access/ModulePath.h"
#include "model/SettingsSchema.h"

namespace tessera {
namespace {

struct LoadValue {
    const host::RegistrySection& section;
    const char* name;
    void operator()(std::int32_t* v) const {
        if (auto d = section.Dword(name)) *v = static_cast<std::int32_t>(*d);
    }
    void operator()(bool* v) const {
        if (auto d = section.Dword(name)) *v = *d != 0;
    }
    void operator()(std::string* v) const {
        if (auto t = section.Text(name)) *v = *t;
    }
    void operator()(Fixed16* v) const {
        auto stored = v->Raw();
        (*this)(&stored);
        *v = Fixed16::FromRaw(stored);
    }
    template <class Choice>
    requires std::is_enum_v<Choice>
    void operator()(Choice* v) const {
        auto stored = static_cast<std::int32_t>(*v);
        (*this)(&stored);
        *v = static_cast<Choice>(stored);
    }
};

struct StoreValue {
    host::RegistryData operator()(std::int32_t* v) const { return static_cast<std::uint32_t>(*v); }
    host::RegistryData operator()(bool* v) const { return std::uint32_t{*v ? 1u : 0u}; }
    host::RegistryData operator()(std::string* v) const { return *v; }
    host::RegistryData operator()(Fixed16* v) const {
        auto stored = v->Raw();
        return (*this)(&stored);
    }
    template <class Choice>
    requires std::is_enum_v<Choice> host::RegistryData operator()(Choice* v) const {
        auto stored = static_cast<std::int32_t>(*v);
        return (*this)(&stored);
    }
};

}  // namespace

std::string SettingsKey() { return ModuleBaseName() + "\\SplitSettings"; }

void LoadSettingsFromRegistry(SplitSettings& settings) {
    const host::RegistrySection section = Host().registry->ReadSection(SettingsKey());
    SplitSettings defaults;
    for (const SettingsRow* row : RememberedRows()) {
        std::visit([&](auto* target) { *target = *std::get<decltype(target)>(row->ref(defaults)); },
                   row->ref(settings));
        std::visit(LoadValue{section, row->registryName}, row->ref(settings));
    }
    if (settings.Filename.OutputFolder.empty()) settings.Filename.OutputFolder = DefaultOutputFolder();
}

void SaveSettingsToRegistry(const SplitSettings& settings) {
    SplitSettings copy = settings;
    std::vector<host::RegistryValue> values;
    for (const SettingsRow* row : RememberedRows())
        if (IsWritten(*row, copy)) values.push_back({row->registryName, std::visit(StoreValue{}, row->ref(copy))});
    Host().registry->WriteSection(SettingsKey(), values);
}

std::string DefaultOutputFolder() {
    return (std::filesystem::path(Host().files->PersonalFolder().value_or("/")) / "").string();
}

}  // namespace tessera
