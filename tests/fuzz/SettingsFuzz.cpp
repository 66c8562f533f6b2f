// The settings file reader on any file: a damaged file reads as defaults.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FuzzTarget.h"
#include "settings/SettingsFile.h"

TESSERA_FUZZ_TARGET(settings) {
    static const std::string folder = [] {
        char name[] = "/tmp/tessera-fuzz-settings-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    tessera::settings::SettingsFile file(folder);
    const std::string key = "Tessera\\SplitSettings";
    std::ofstream(file.FileOf(key), std::ios::binary | std::ios::trunc) << tessera::fuzz::Bytes(data, size);
    const tessera::host::RegistrySection section = file.ReadSection(key);
    // What was read must write and read back.
    file.WriteSection(key, section.Values());
    file.ReadSection(key);
    return 0;
}
