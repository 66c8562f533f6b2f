#include "ui/OutputFolder.h"

#include <optional>

#include "access/Host.h"
#include "strings/PathLimit.h"
#include "strings/Result.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

std::string FolderMessage(const char* format, const std::string& path) { return FormatText(format, {path}); }

FolderCheck ShowFolderInvalid(const std::string& path, UserQuestions& ask) {
    ask.ShowMessage(FolderMessage("The folder:\n\n%s\n\nis invalid. Please reenter.", path));
    return FolderCheck::Invalid;
}

// Visits each folder of the path from the root, with the path up to it,
// while `visit` says to go on; true when it said so to the last.
template <class Visit>
bool EachFolderOf(const std::string& path, Visit&& visit) {
    for (std::size_t start = 1;;) {
        const std::size_t end = path.find('/', start);
        const std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!visit(path.substr(0, end), name)) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

// Makes the missing folders of a valid path (the root is always there); else
// the system's reason, naming the folder when it is not the whole path.
Result<> MakeFolderPath(const std::string& path) {
    host::FileServices& files = *Host().files;
    Result<> made;
    EachFolderOf(path, [&](const std::string& upTo, const std::string&) {
        if (files.FolderExists(upTo)) return true;
        const std::optional<std::string> failure = files.CreateFolder(upTo);
        if (failure) made = Failure{upTo == path ? *failure : upTo + ": " + *failure};
        return !failure;
    });
    return made;
}

}  // namespace

bool IsValidFolderName(const std::string& name) {
    if (name.empty()) return false;
    for (char edge : {name.front(), name.back()})
        if (edge == '\t' || edge == ' ' || edge == '.') return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string::npos;
}

bool IsValidFolderPath(const std::string& path) {
    if (path.empty() || path.size() > kMaxPathBytes || path[0] != '/') return false;
    if (path.size() == 1) return true;
    host::FileServices& files = *Host().files;
    // Folders that are there already are the user's, hidden ones included;
    // only those still to be made must have names that travel well.
    return EachFolderOf(path, [&](const std::string& upTo, const std::string& name) {
        return !name.empty() && (files.FolderExists(upTo) || IsValidFolderName(name));
    });
}

FolderCheck CheckOutputFolder(const std::string& path, UserQuestions& ask) {
    return IsValidFolderPath(path) ? FolderCheck::Valid : ShowFolderInvalid(path, ask);
}

FolderCheck ConfirmOutputFolder(const std::string& path, UserQuestions& ask, bool createNow) {
    if (!IsValidFolderPath(path)) return ShowFolderInvalid(path, ask);
    if (Host().files->FolderExists(path)) return FolderCheck::Valid;
    const std::string question =
        FolderMessage("The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?", path);
    if (!ask.AskYesNo("", question)) return FolderCheck::Declined;
    if (!createNow) return FolderCheck::Valid;
    const Result<> made = MakeFolderPath(path);
    if (made) return FolderCheck::Valid;
    ask.ShowMessage(
        FormatText("The folder:\n\n%s\n\ncan not be created (%s). Please double check.", {path, made.Reason()}));
    return FolderCheck::NotCreated;
}

}  // namespace tessera
