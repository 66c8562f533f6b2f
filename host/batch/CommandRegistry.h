#pragma once
// The host's batch commands: handlers by name, command instances with their
// stored values, and the sequences run over them.
#include <functional>
#include <iosfwd>
#include <map>
#include <string>

#include "host/BatchServices.h"
#include "host/ViewerServices.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::app {

// How a batch goes beyond its sequence: which share of the files it takes,
// whether files done before are skipped, and its lines as JSON.
struct BatchOptions {
    unsigned shard = 1, shards = 1;  // --shard K/N: the files whose name hashes to K of N
    bool skipDone = false;           // --skip-done: files with a matching completion record
    bool json = false;               // one JSON line per file, and one for the batch
    // The warnings shown so far in this process.
    std::function<std::size_t()> warningCount = [] { return std::size_t{0}; };
    // Called with each file's path before it is opened.
    std::function<void(const std::string&)> startingFile = [](const std::string&) {};
};

// How a sequence run went, file by file.
struct SequenceTally {
    int files = 0, done = 0, skipped = 0, failed = 0;
    int warned = 0;         // files done with warnings
    int doneBefore = 0;     // of those done, files skipped for a matching completion record
    int partlyWritten = 0;  // files that failed after writing outputs that are still there
    int unsplittable = 0;   // of those skipped, files no split can ever take (one page, no copying allowed)
    // Why the sequence ran over no file at all (a part missing, no folder to
    // list, a command without its values); empty when it ran.
    std::string refusal;
};

class CommandRegistry : public host::BatchServices {
public:
    CommandRegistry(pdf::DocumentStore& store, host::ViewerServices& viewer) : store_(store), viewer_(viewer) {}
    ~CommandRegistry() override;

    // Where runs write their line per file (none: no lines), and whether they show
    // which file of how many is being split.
    void SetReport(std::ostream* lines, bool showProgress);
    void SetOptions(BatchOptions options) { options_ = std::move(options); }
    bool CloseRequested() const { return closeRequested_; }
    const SequenceTally& LastRun() const { return lastRun_; }
    // The document the command works on during a run.
    void SetDocument(host::CommandId command, host::DocId doc);
    const host::CommandHandler* Handler(host::CommandId command) const;

    void RegisterHandler(const std::string& name, const host::CommandHandler* handler) override;
    void UnregisterHandler(const std::string& name) override;
    bool HasCommand(const std::string& name) override { return handlers_.count(name) > 0; }
    host::CommandId NewCommand(const std::string& name) override;
    void DestroyCommand(host::CommandId command) override { commands_.erase(command); }
    std::optional<host::Cabinet> Value(host::CommandId command, const std::string& key) override;
    void SetValue(host::CommandId command, const std::string& key, std::optional<host::Cabinet> value) override;
    host::DocId Document(host::CommandId command) override;
    host::ProgressMonitor& Progress(host::CommandId) override { return viewer_.DocumentProgressMonitor(); }
    void Report(host::CommandId command, int severity, const std::string& text) override;
    // A warning of the batch's own about a file.
    void Warn(const std::string& text) { viewer_.AlertWarning(text); }
    bool RunSequence(const host::Cabinet& sequence) override;
    void CloseHost() override { closeRequested_ = true; }

private:
    struct Command {
        std::string handler;
        std::map<std::string, host::Cabinet> values;
        host::DocId doc = host::kNoDocument;
    };

    pdf::DocumentStore& store_;
    host::ViewerServices& viewer_;
    std::map<std::string, const host::CommandHandler*> handlers_;
    std::map<host::CommandId, Command> commands_;
    host::CommandId next_ = 1;
    std::ostream* lines_ = nullptr;
    bool showProgress_ = false;
    bool closeRequested_ = false;
    SequenceTally lastRun_;
    BatchOptions options_;
};

}  // namespace tessera::app
