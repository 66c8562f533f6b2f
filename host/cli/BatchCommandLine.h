#pragma once
// `tessera batch`: run a sequence file, run one made of a profile and a
// folder or files, or write one.
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tessera::app {

class HostRuntime;
class ConsoleViewer;
class CommandLineFrontEnd;

struct BatchArguments {
    std::string sequence, profile, folder, newSequence, filesFrom;
    // Unset without --shard; an empty value is refused, not taken as the whole batch.
    std::optional<std::string> shard;
    std::vector<std::string> files;
    bool quiet = false, nulSeparated = false, json = false, skipDone = false, warningExit0 = false;
    bool deterministic = false;
};

CLI::App* AddBatchCommand(CLI::App& app, BatchArguments& arguments);
// 0 when every file was split, 3 when every file was split but some with
// warnings, 4 when some were split (or wrote outputs) and others were
// skipped or failed, 1 when none was (or the sequence was refused), 2 for a
// usage error.
int RunBatch(const BatchArguments& arguments, HostRuntime& runtime, ConsoleViewer& viewer, CommandLineFrontEnd& front);
// The status of the last sequence run (a batch command or the start-up one),
// as RunBatch gives it; a refused sequence is said on stderr.
int SequenceStatus(HostRuntime& runtime, bool warningsAreFine = false);

}  // namespace tessera::app
