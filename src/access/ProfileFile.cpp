#include "access/ProfileFile.h"

#include "access/CabinetFile.h"
#include "access/Host.h"
#include "model/ProfileCabinet.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

std::string Message(const char* key, const std::string& reason) { return LookupString(key) + " (" + reason + ")"; }

}  // namespace

std::optional<std::string> LoadProfileFile(const std::string& path, SplitSettings& settings) {
    const Parsed<host::Cabinet> cabinet = ReadCabinetFile(path);
    if (!cabinet) return Message("IDS_ERROR_READING_PROFILE", cabinet.Failure());
    SplitSettings loaded = settings;
    std::string why;
    if (!LoadSettingsFromCabinet(loaded, *cabinet, &why)) return Message("IDS_ERROR_READING_PROFILE", path + ": " + why);
    settings = std::move(loaded);
    return std::nullopt;
}

std::optional<std::string> SaveProfileFile(const std::string& path, const SplitSettings& settings) {
    if (Host().files->IsRunInput(path)) return FormatText(LookupString("IDS_PROFILE_WOULD_OVERWRITE_INPUT"), {path});
    host::Cabinet cabinet;
    SaveSettingsToCabinet(settings, cabinet);
    if (const std::optional<std::string> failure = WriteCabinetFile(path, cabinet))
        return Message("IDS_ERROR_SAVING_PROFILE", *failure);
    return std::nullopt;
}

}  // namespace tessera
