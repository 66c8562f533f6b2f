#include "access/ProfileFile.h"

#include "access/CabinetFile.h"
#include "access/Host.h"
#include "model/ProfileCabinet.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

Failure Message(const char* key, const std::string& reason) { return {LookupString(key) + " (" + reason + ")"}; }

}  // namespace

Result<> LoadProfileFile(const std::string& path, SplitSettings& settings) {
    const Result<host::Cabinet> cabinet = ReadCabinetFile(path);
    if (!cabinet) return Message("IDS_ERROR_READING_PROFILE", cabinet.Reason());
    SplitSettings loaded = settings;
    if (const Result<> refused = LoadSettingsFromCabinet(loaded, *cabinet); !refused)
        return Message("IDS_ERROR_READING_PROFILE", path + ": " + refused.Reason());
    settings = std::move(loaded);
    return {};
}

Result<> SaveProfileFile(const std::string& path, const SplitSettings& settings) {
    if (Host().files->IsRunInput(path))
        return Failure{FormatText(LookupString("IDS_PROFILE_WOULD_OVERWRITE_INPUT"), {path})};
    host::Cabinet cabinet;
    SaveSettingsToCabinet(settings, cabinet);
    if (const Result<> written = WriteCabinetFile(path, cabinet); !written)
        return Message("IDS_ERROR_SAVING_PROFILE", written.Reason());
    return {};
}

}  // namespace tessera
