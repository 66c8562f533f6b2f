#pragma once
// A file's completion record: written atomically in the batch's output
// folder after the file's last output, so that a batch run again after a
// crash, or a job runner's retry, skips the files that were done and redoes
// the others. Records live in ".tessera-done/" of the output folder, one per
// input, named by the input's name and a hash of that name and its content:
// what shards and hosts that mount the share elsewhere agree on.
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
    // `settings`: a digest of the settings the file is split with; a record
    // made with others does not match. `stamp`: the input as it is now.
    CompletionRecord(const std::string& outputFolder, const std::string& input, std::string settings,
                     std::optional<InputStamp> stamp);
    // Whether the record is there, names an input of the same name, size and
    // content and the same settings, and every output it lists is on disk,
    // in the output folder, with its size and SHA-256. A damaged record, or
    // one that is no regular file, matches nothing.
    bool Matches() const;
    // Writes the record (the JSON list `outputs` of the outputs written) once
    // those outputs are on stable storage, through a temporary file renamed
    // into place; false when it cannot, or when the input is no longer as
    // `before` (taken before the split): the outputs may then be of another.
    // `rehash` false: the input is taken as unchanged when its size and time
    // are, for a caller that checked it itself (hashing it again costs as
    // much as reading it).
    bool Write(const InputStamp& before, const std::string& outputs, bool rehash = true) const;

private:
    std::string folder_, input_, name_, settings_, path_;
    std::optional<InputStamp> stamp_;
};

}  // namespace tessera::app
