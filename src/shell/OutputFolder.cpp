#include "shell/OutputFolder.h"

#include <cstring>

#include "shell/Host.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

constexpr std::size_t kMaxPath = 4095;

std::string FolderMessage(const char* format, const std::string& path) { return FormatText(format, {path}); }

}  // namespace

bool IsValidFolderName(const std::string& name) {
    if (name.empty()) return false;
    for (char edge : {name.front(), name.back()})
        if (edge == '\t' || edge == ' ' || edge == '.') return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string::npos;
}

int ValidateFolderPath(const std::string& path, bool checkOnly) {
    if (path.empty() || path.size() > kMaxPath || path[0] != '/') return FolderInvalid;
    host::FileServices& files = *Host().files;
    if (path.size() == 1) return checkOnly || files.FolderExists(path) ? FolderValid : FolderNotCreated;
    for (std::size_t start = 1;;) {
        const std::size_t end = path.find('/', start);
        const std::string upTo = path.substr(0, end);
        if (!IsValidFolderName(path.substr(start, end == std::string::npos ? std::string::npos : end - start)))
            return FolderInvalid;
        if (!checkOnly && (!files.CreateFolder(upTo) || !files.FolderExists(upTo))) return FolderNotCreated;
        if (end == std::string::npos) return FolderValid;
        start = end + 1;
    }
}

int ConfirmOutputFolder(const std::string& path) {
    int result = ValidateFolderPath(path, true);
    if (result == FolderValid && !Host().files->FolderExists(path)) {
        const std::string question = FolderMessage(
            "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?", path);
        if (!Host().windows->AskYesNo("", question)) return -1;
        result = ValidateFolderPath(path, false);
    }
    if (result == FolderInvalid)
        Host().windows->MessageBox(FolderMessage("The folder:\n\n%s\n\nis invalid. Please reenter.", path));
    else if (result == FolderNotCreated)
        Host().windows->MessageBox(
            FolderMessage("The folder:\n\n%s\n\ncan not be created. Please double check.", path));
    return result;
}

}  // namespace tessera
