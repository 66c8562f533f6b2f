#pragma once
// `tessera batch`: run a sequence file, run one made of a profile and a
// folder or files, or write one.
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tessera::app {

class HostRuntime;
class ConsoleViewer;

struct BatchArguments {
    std::string sequence, profile, folder, newSequence;
    std::vector<std::string> files;
    bool quiet = false;
};

CLI::App* AddBatchCommand(CLI::App& app, BatchArguments& arguments);
// 0 when every file was split, 1 when any was skipped or failed (or the
// sequence was refused), 2 for a usage error.
int RunBatch(const BatchArguments& arguments, HostRuntime& runtime, ConsoleViewer& viewer);
// The status of the last sequence run (a batch command or the start-up one):
// 0 when every file was split; a refused sequence is said on stderr.
int SequenceStatus(HostRuntime& runtime);

}  // namespace tessera::app
