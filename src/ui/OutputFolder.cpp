#include "ui/OutputFolder.h"

#include <cstring>

#include "access/Host.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

constexpr std::size_t kMaxPath = 4095;

std::string FolderMessage(const char* format, const std::string& path) { return FormatText(format, {path}); }

int ShowFolderProblem(int result, const std::string& path, const std::string& reason) {
    if (result == FolderInvalid)
        Host().windows->MessageBox(FolderMessage("The folder:\n\n%s\n\nis invalid. Please reenter.", path));
    else if (result == FolderNotCreated)
        Host().windows->MessageBox(FormatText(
            "The folder:\n\n%s\n\ncan not be created (%s). Please double check.", {path, reason}));
    return result;
}

}  // namespace

bool IsValidFolderName(const std::string& name) {
    if (name.empty()) return false;
    for (char edge : {name.front(), name.back()})
        if (edge == '\t' || edge == ' ' || edge == '.') return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string::npos;
}

int ValidateFolderPath(const std::string& path, bool checkOnly, std::string* reason) {
    if (path.empty() || path.size() > kMaxPath || path[0] != '/') return FolderInvalid;
    host::FileServices& files = *Host().files;
    if (path.size() == 1) return checkOnly || files.FolderExists(path) ? FolderValid : FolderNotCreated;
    for (std::size_t start = 1;;) {
        const std::size_t end = path.find('/', start);
        const std::string upTo = path.substr(0, end);
        const std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (name.empty()) return FolderInvalid;
        // Folders that are there already are the user's, hidden ones included;
        // only those still to be made must have names that travel well.
        if (!files.FolderExists(upTo)) {
            if (!IsValidFolderName(name)) return FolderInvalid;
            if (const auto failure = checkOnly ? std::nullopt : files.CreateFolder(upTo)) {
                if (reason) *reason = upTo == path ? *failure : upTo + ": " + *failure;
                return FolderNotCreated;
            }
        }
        if (end == std::string::npos) return FolderValid;
        start = end + 1;
    }
}

int CheckOutputFolder(const std::string& path) { return ShowFolderProblem(ValidateFolderPath(path, true), path, ""); }

int ConfirmOutputFolder(const std::string& path, bool createNow) {
    int result = ValidateFolderPath(path, true);
    std::string reason;
    if (result == FolderValid && !Host().files->FolderExists(path)) {
        const std::string question = FolderMessage(
            "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?", path);
        if (!Host().windows->AskYesNo("", question)) return -1;
        if (createNow) result = ValidateFolderPath(path, false, &reason);
    }
    return ShowFolderProblem(result, path, reason);
}

}  // namespace tessera
