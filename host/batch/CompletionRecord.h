#pragma once
// A file's completion record: written atomically in the batch's output
// folder after the file's last output, so that a batch run again after a
// crash, or a job runner's retry, skips the files that were done and redoes
// the others. Records live in ".tessera-done/" of the output folder, one per
// input, named by the input's name and a hash of its path.
#include <cstdint>
#include <optional>
#include <string>

#include "host/Cabinet.h"

namespace tessera::app {

// What an input was when it was split: a record matches only the same bytes.
struct InputStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // modification time, nanoseconds since 1970
    std::string sha256;
};
std::optional<InputStamp> StampOf(const std::string& path);

// Where a sequence's splits write: the first command's "OutPutFolder", else
// the documents folder, as the split itself takes it.
std::string SequenceOutputFolder(const host::Cabinet& commands);

class CompletionRecord {
public:
    CompletionRecord(const std::string& outputFolder, const std::string& input);
    // Whether the record is there and names the input as it is now.
    bool Matches() const;
    // Writes the record (JSON `details` beside the stamp) through a temporary
    // file renamed into place; false when it cannot.
    bool Write(const std::string& details) const;

private:
    std::string input_, path_;
};

}  // namespace tessera::app
