#pragma once
// The per-user settings file that stands in for the registry:
// $XDG_CONFIG_HOME/Moraine/<module>.conf (XDG_CONFIG_HOME defaults to ~/.config).
//
// The format is the registry's own export syntax, one section per key:
//   [SplitSettings]
//   "NumEqualPages"=dword:00000001
//   "OutputFolder"="/home/me/Documents/"
// Strings escape backslash and double quote with a backslash. Lines that do
// not parse are ignored, so a damaged file reads as defaults.
#include <map>
#include <string>
#include <vector>

#include "shell/host/RegistryServices.h"

namespace tessera::settings {

class SettingsFile : public host::RegistryServices {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    // The file for a module name, in the user's configuration folder.
    static std::string DefaultPath(const std::string& moduleName);

    host::RegistrySection ReadSection(const std::string& section) override;
    void WriteSection(const std::string& section, const std::vector<host::RegistryValue>& values) override;

    const std::string& Path() const { return path_; }

private:
    using Sections = std::map<std::string, std::vector<host::RegistryValue>>;
    Sections ReadAll() const;
    bool WriteAll(const Sections& sections) const;

    std::string path_;
};

}  // namespace tessera::settings
