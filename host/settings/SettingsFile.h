#pragma once
// The per-user settings files that stand in for the registry: the key
// "<module>\<section>" is the section of $XDG_CONFIG_HOME/Moraine/<module>.conf
// (XDG_CONFIG_HOME defaults to ~/.config).
//
// The format is the registry's own export syntax, one section per key:
//   [SplitSettings]
//   "NumEqualPages"=dword:00000001
//   "OutputFolder"="/home/me/Documents/"
// Strings escape backslash and double quote with a backslash, and line breaks
// as \n and \r. Lines that do not parse are ignored, so a damaged file reads
// as defaults, and so does anything but a regular file. The folder is made
// (or narrowed to) 0700 and the file 0600: it holds passwords.
#include <map>
#include <string>
#include <vector>

#include "host/RegistryServices.h"

namespace tessera::settings {

class SettingsFile : public host::RegistryServices {
public:
    // An empty folder keeps nothing: every section reads empty.
    explicit SettingsFile(std::string folder) : folder_(std::move(folder)) {}
    // The "Moraine" folder in the user's configuration folder; empty when the
    // user has no home folder.
    static std::string DefaultFolder();

    host::RegistrySection ReadSection(const std::string& section) override;
    void WriteSection(const std::string& section, const std::vector<host::RegistryValue>& values) override;

    // The file that holds a key, and the section within it.
    std::string FileOf(const std::string& key) const;
    static std::string SectionOf(const std::string& key);

private:
    using Sections = std::map<std::string, std::vector<host::RegistryValue>>;
    static Sections ReadAll(const std::string& path);
    static bool WriteAll(const std::string& path, const Sections& sections);
    static void Tighten(const std::string& path);

    std::string folder_;
};

}  // namespace tessera::settings
