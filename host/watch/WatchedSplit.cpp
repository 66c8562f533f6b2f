// How the watcher splits one whole file, and what it does with the end.

#include <filesystem>

#include "host/HostError.h"
#include "os/FileDigest.h"
#include "os/RegularFile.h"
#include "report/RunJson.h"
#include "watch/FailureNote.h"
#include "watch/FolderWatcher.h"
#include "watch/InputMove.h"
#include "watch/OutputPublish.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

// Profiles are small; the limit is the one every profile read has.
constexpr std::size_t kMostProfileBytes = 32u << 20;

// The last line the split wrote on stderr, without its "tessera: ".
std::string LastLine(std::string text) {
    text.erase(text.find_last_not_of("\n ") + 1);          // npos + 1 is 0: nothing but blanks leaves nothing
    std::string line = text.substr(text.rfind('\n') + 1);  // likewise the whole text when it is one line
    return line.rfind("tessera: ", 0) == 0 ? line.substr(9) : line;
}

// Why a split that did not end done ended so: its own words, else how it ended.
std::string FailureReason(const nlohmann::json& report, const std::string& errors, int waitStatus) {
    std::string reason;
    if (report.is_object())
        for (const nlohmann::json& message : report.value("messages", nlohmann::json::array()))
            if (message.is_string()) reason += (reason.empty() ? "" : "; ") + message.get<std::string>();
    if (reason.empty()) reason = LastLine(errors);
    if (!reason.empty()) return reason;
    if (WIFSIGNALED(waitStatus)) return "the split was ended by signal " + std::to_string(WTERMSIG(waitStatus));
    return "the split ended with exit status " + std::to_string(WEXITSTATUS(waitStatus)) + " and no report";
}

std::vector<std::string> WrittenOutputs(const nlohmann::json& outputs) {
    std::vector<std::string> paths;
    for (const nlohmann::json& output : outputs)
        if (output.is_object() && output.value("status", "") == "written") paths.push_back(output.value("path", ""));
    return paths;
}

void RemoveStaging(const std::string& staging) {
    std::error_code ignored;
    fs::remove_all(staging, ignored);
}

// An empty staging folder for a split about to start; false when none can be made.
bool FreshStaging(const std::string& staging) {
    RemoveStaging(staging);
    std::error_code error;
    return fs::create_directories(staging, error) && !error;
}

}  // namespace

// Where in `root` a file of the watched folder's subfolder goes: the same subfolder.
std::string FolderWatcher::MirrorFolder(const std::string& path, const std::string& root) const {
    const fs::path relative = fs::path(path).parent_path().lexically_relative(setup_.folder);
    std::string folder = (fs::path(root) / relative).lexically_normal().string();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string FolderWatcher::KeyOf(const std::string& path) const {
    return fs::path(path).lexically_relative(setup_.folder).string();
}

std::string FolderWatcher::ClaimsFolder() const { return (fs::path(setup_.folder) / kWatchStateFolder).string(); }

std::string FolderWatcher::MoveAside(const std::string& path, const std::string& folder, nlohmann::json& event) const {
    std::string failure;
    const std::optional<std::string> moved = MoveInto(path, MirrorFolder(path, folder), failure);
    if (moved) event["moved_to"] = *moved;
    if (!failure.empty()) event["move_failed"] = failure;
    return moved.value_or(path);
}

// The nearest .tessera.tpr from the file's folder up to the watched one, else --profile.
std::optional<FolderWatcher::FileSetup> FolderWatcher::SetupOf(const std::string& path, std::string& failure) const {
    FileSetup file{setup_.profile, MirrorFolder(path, setup_.outputFolder), ""};
    for (fs::path folder = fs::path(path).parent_path();; folder = folder.parent_path()) {
        if (fs::exists(folder / kFolderProfileName)) {
            file.profile = (folder / kFolderProfileName).string();
            break;
        }
        if (folder == setup_.folder || folder == folder.parent_path()) break;
    }
    if (file.profile.empty()) {
        failure = "no profile: give --profile, or put a " + std::string(kFolderProfileName) + " in its folder";
        return std::nullopt;
    }
    // A record made with other settings, or for another place, does not count. A
    // profile that is a pipe or a device is refused, not read without end.
    try {
        file.settings = TextSha256(pdf::ReadRegularFile(file.profile, kMostProfileBytes) + "\n" + file.outputFolder);
    } catch (const host::HostError& error) {
        failure = error.what();
        return std::nullopt;
    }
    return file;
}

void FolderWatcher::StartReady(WatchClock::time_point now) {
    for (const std::string& path : tracker_.Ready(now)) {
        if (running_.size() >= setup_.jobs) return;
        tracker_.Forget(path);
        Start(path);
    }
}

void FolderWatcher::Handled(const std::string& path, const FileLook& look) { handled_[path] = look; }

void FolderWatcher::Start(const std::string& path) {
    FileLook look;
    if (!LookAt(path, look)) return;
    const std::string key = KeyOf(path);
    std::optional<InputClaim> claim = InputClaim::Take(ClaimsFolder(), key);
    if (!claim) {
        // Another watcher has it: looked at again once it settles anew.
        if (toldClaimed_.insert(path).second)
            Say({{"event", "skipped"}, {"file", path}, {"reason", "another watcher is splitting it"}});
        return;
    }
    toldClaimed_.erase(path);
    if (FailureNoteMatches(path, look)) {
        Say({{"event", "skipped"}, {"file", path}, {"reason", "it failed before and has not changed since"}});
        return Handled(path, look);
    }
    std::string failure;
    const std::optional<FileSetup> file = SetupOf(path, failure);
    const std::optional<InputStamp> before = StampOf(path);
    if (!file || !before) return Failed(path, look, file ? "cannot read it" : failure, 1);
    CompletionRecord record(file->outputFolder, path, file->settings, before);
    // What a split of it that never finished left (a crash, a power cut) goes first.
    const std::string staging = StagingFolder(setup_.outputFolder, key);
    if (record.Matches()) {
        RemoveStaging(staging);
        nlohmann::json event{
            {"event", "skipped"}, {"file", path}, {"reason", "done before (its completion record matches)"}};
        MoveDone(path, event);
        Say(event);
        return Handled(path, look);
    }
    if (!FreshStaging(staging)) return Failed(path, look, "cannot make the folder " + staging, 1);
    std::vector<std::string> arguments{"split",
                                       path,
                                       "--profile",
                                       file->profile,
                                       "-o",
                                       staging,
                                       "--json",
                                       "--quiet",
                                       "--progress",
                                       "none",
                                       "--yes",
                                       "--jobs",
                                       std::to_string(splitJobs_)};
    if (!setup_.module.empty()) arguments.insert(arguments.begin(), {"--module", setup_.module});
    try {
        SplitChild child(setup_.program, arguments);
        Say({{"event", "taken"}, {"file", path}, {"profile", file->profile}, {"output_folder", file->outputFolder}});
        running_.push_back({path, key, look, *before, std::move(record), file->outputFolder, std::move(*claim),
                            std::move(child), false});
    } catch (const std::exception& error) {
        Failed(path, look, error.what(), 1);
    }
}

void FolderWatcher::Finish(Running& run) {
    const nlohmann::json report = nlohmann::json::parse(run.child.Report(), nullptr, false);
    const int status = run.child.Status();
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    FileLook now;
    const bool same = !run.abandoned && LookAt(run.path, now) && now == run.look;
    const bool done = exitStatus == 0 || exitStatus == 3;
    if (!done || !same) RemoveStaging(StagingFolder(setup_.outputFolder, run.key));
    if (stopping_ && !done) {
        Say({{"event", "left"}, {"file", run.path}, {"reason", "the watcher was stopped while it was split"}});
        return;
    }
    if (!same) {
        // Outputs of bytes that changed under the split may be of neither version.
        Say({{"event", "left"},
             {"file", run.path},
             {"reason", "it was removed or replaced while it was split; its outputs were not kept"}});
        return;
    }
    if (done)
        return Succeeded(
            run, report.is_object() ? report.value("outputs", nlohmann::json::array()) : nlohmann::json::array(),
            exitStatus);
    Failed(run.path, run.look, FailureReason(report, run.child.Errors(), status), exitStatus);
}

void FolderWatcher::Succeeded(Running& run, const nlohmann::json& staged, int exitStatus) {
    std::string failure;
    const std::optional<nlohmann::json> published =
        PublishOutputs(setup_.outputFolder, run.key, run.outputFolder, staged, failure);
    if (!published) return Failed(run.path, run.look, failure, 1);
    const std::vector<std::string> outputs = WrittenOutputs(*published);
    // Finish checked the input's identity, size and time just now.
    if (!run.record.Write(run.before, JsonLine(*published), false))
        return Failed(run.path, run.look,
                      "split, but its completion record could not be written in " + run.outputFolder, 1);
    nlohmann::json event{{"event", "split"}, {"file", run.path}, {"outputs", outputs}, {"exit_status", exitStatus}};
    MoveDone(run.path, event);
    Say(event);
    Handled(run.path, run.look);
}

void FolderWatcher::MoveDone(const std::string& path, nlohmann::json& event) {
    if (!setup_.doneFolder.empty()) MoveAside(path, setup_.doneFolder, event);
}

void FolderWatcher::Failed(const std::string& path, const FileLook& look, const std::string& reason, int exitStatus) {
    ++failures_;
    nlohmann::json event{{"event", "failed"}, {"file", path}, {"reason", reason}, {"exit_status", exitStatus}};
    const std::string kept = setup_.failedFolder.empty() ? path : MoveAside(path, setup_.failedFolder, event);
    if (!WriteFailureNote(kept, look, reason, exitStatus)) event["note_failed"] = FailureNotePath(kept);
    Say(event);
    Handled(path, look);
}

}  // namespace tessera::app
