// `tessera watch --status`: what became of each file of the folder, read
// from the claims, notes and records every watcher of it shares.
#include "watch/FailureNote.h"
#include "watch/FolderWatcher.h"

namespace tessera::app {

int FolderWatcher::PrintStatus(std::ostream& out) {
    std::map<std::string, int> counts;
    for (const std::string& path : Candidates()) {
        FileLook look;
        // A pipe or a device named .pdf is never split, and reading it to hash it would never end.
        if (!LookAt(path, look)) continue;
        const std::string claim = ClaimPath(ClaimsFolder(), KeyOf(path));
        std::string state = "waiting", detail;
        std::string failure;
        if (const std::optional<std::string> holder = LiveClaimHolder(claim)) {
            state = "running";
            detail = *holder;
        } else if (FailureNoteMatches(path, look)) {
            state = "failed";
            detail = FailureNotePath(path);
        } else if (const std::optional<FileSetup> file = SetupOf(path, failure);
                   file && CompletionRecord(file->outputFolder, path, file->settings, StampOf(path)).Matches()) {
            state = "done";
        }
        ++counts[state];
        out << state << '\t' << path << (detail.empty() ? "" : "\t" + detail) << '\n';
    }
    out << counts["waiting"] << " waiting, " << counts["running"] << " running, " << counts["failed"] << " failed, "
        << counts["done"] << " done" << std::endl;
    return 0;
}

}  // namespace tessera::app
