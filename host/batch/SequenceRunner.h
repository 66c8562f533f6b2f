#pragma once
// One run of a batch sequence: its commands over each of its input files in
// turn, with a line per file and a count at the end.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch/CommandRegistry.h"
#include "host/CommandLineServices.h"

namespace tessera::app {

// The files a sequence's "Input" names: a folder's ".pdf" files in any letter
// case, sorted by name so that runs repeat, or a list of files. HostError
// saying why when the folder cannot be listed or "FileVariation" names neither.
std::vector<std::string> SequenceInputFiles(const host::Cabinet& input);

class SequenceRunner {
public:
    SequenceRunner(CommandRegistry& registry, pdf::DocumentStore& store, std::ostream* lines, bool showProgress,
                   BatchOptions options = {});
    // Each file in turn, a failure of one going on with the next; false when
    // the sequence was refused before any file (the tally says why).
    bool Run(const host::Cabinet& sequence);
    const SequenceTally& Tally() const { return tally_; }

private:
    // Unsplittable: the file can never be split (one page, copying denied);
    // retrying it is of no use, so it is skipped and recorded, not failed.
    enum class Outcome { Done, Failed, Unsplittable };
    // What one file came to: its line, and its outputs for a JSON line.
    struct FileEnd {
        std::string status;  // "done", "failed", "skipped", "done-before"
        std::string said;
        std::vector<host::ReportedOutput> outputs;
        bool warned = false;
        bool unsplittable = false;
        std::optional<host::PageAccount> account{};
    };
    std::string Refusal(const host::Cabinet& sequence) const;
    void RunFiles(const host::Cabinet& commands, const std::vector<std::string>& files);
    FileEnd SplitFile(const host::Cabinet& commands, const std::string& file, const std::string& folder);
    Outcome RunFile(const host::Cabinet& commands, host::DocId doc, FileEnd& end);
    Outcome RunCommand(const host::Cabinet& entry, host::DocId doc, FileEnd& end);
    void Tell(const std::string& file, const FileEnd& end);
    bool InShard(const std::string& file) const;

    CommandRegistry& registry_;
    pdf::DocumentStore& store_;
    std::ostream* lines_;
    bool showProgress_;
    BatchOptions options_;
    std::string recordSettings_;  // the digest of the commands, for completion records
    SequenceTally tally_;
};

}  // namespace tessera::app
