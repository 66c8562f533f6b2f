#include "app/BatchCommandLine.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "app/ConsoleViewer.h"
#include "app/HostRuntime.h"
#include "host/HostError.h"
#include "host/PlugInNames.h"

namespace tessera::app {
namespace {

host::Cabinet PathEntry(const std::string& path) {
    host::Cabinet entry;
    entry.Put("DI", std::filesystem::absolute(path).string());
    return entry;
}

// The sequence a profile and a folder (or files) make: one split command over each file.
host::Cabinet MakeSequence(const host::Cabinet& params, const BatchArguments& a) {
    host::Cabinet command, commands, input, sequence;
    command.Put("HandlerName", std::string(host::kSplitCommandName));
    command.PutCabinet(host::kConfig, host::Cabinet{});
    command.PutCabinet(host::kParams, params);
    commands.PutCabinet("0", command);
    if (!a.folder.empty()) {
        input.Put("FileVariation", std::int32_t{1});
        input.PutCabinet("PreselectedFolderPath", PathEntry(a.folder));
    } else {
        host::Cabinet files;
        for (std::size_t i = 0; i < a.files.size(); ++i) files.PutCabinet(std::to_string(i), PathEntry(a.files[i]));
        input.Put("FileVariation", std::int32_t{0});
        input.PutCabinet("PreselectedFilesPaths", files);
    }
    sequence.PutCabinet("Commands", commands);
    sequence.PutCabinet("Input", input);
    sequence.PutCabinet("Output", host::Cabinet{});
    return sequence;
}

// Sequences and profiles are small; the limit is the one profiles have.
constexpr std::size_t kMostCabinetBytes = 32u << 20;

host::Cabinet ReadCabinet(HostRuntime& runtime, const std::string& path) {
    const host::HostServices services = runtime.Services();
    try {
        return services.cabinets->ReadStream(services.files->ReadFile(path, kMostCabinetBytes));
    } catch (const host::HostError& error) {
        throw host::HostError(error.Code(), path + ": " + error.what());
    }
}

int Usage(const std::string& text) {
    std::cerr << "tessera: " << text << std::endl;
    return 2;
}

}  // namespace

CLI::App* AddBatchCommand(CLI::App& app, BatchArguments& a) {
    CLI::App* batch = app.add_subcommand("batch", "Run the split over many files: a sequence file, or a profile "
                                                  "over a folder or files");
    batch->add_option("sequence", a.sequence, "A sequence file (JSON) to run");
    batch->add_option("--profile", a.profile, "The settings of every split (a .tpr profile)")->check(CLI::ExistingFile);
    batch->add_option("--folder", a.folder, "Split every .pdf file of this folder (any letter case), by name")
        ->check(CLI::ExistingDirectory);
    batch->add_option("--file", a.files, "Split this file (repeat for more)")->check(CLI::ExistingFile);
    batch->add_option("--new", a.newSequence, "Write the sequence of --profile and --folder or --file here; split nothing");
    batch->add_flag("--quiet", a.quiet, "No progress; the line per file and the count still go to stdout");
    return batch;
}

int RunBatch(const BatchArguments& a, HostRuntime& runtime, ConsoleViewer& viewer) {
    const bool fromProfile = !a.profile.empty();
    if (fromProfile == !a.sequence.empty())
        return Usage("batch: give a sequence file, or --profile with --folder or --file");
    if (fromProfile && a.folder.empty() == a.files.empty())
        return Usage("batch: --profile needs exactly one of --folder and --file");
    if (!a.newSequence.empty() && !fromProfile) return Usage("batch: --new writes the sequence of --profile");
    host::Cabinet sequence;
    try {
        sequence = fromProfile ? MakeSequence(ReadCabinet(runtime, a.profile), a) : ReadCabinet(runtime, a.sequence);
        if (!a.newSequence.empty()) {
            runtime.Services().files->WriteFile(a.newSequence, runtime.Services().cabinets->WriteStream(sequence));
            return 0;
        }
    } catch (const host::HostError& error) {
        return Usage(std::string("batch: ") + error.what());
    }
    viewer.SetQuiet(a.quiet);
    CommandRegistry& registry = runtime.Batch();
    registry.SetReport(&std::cout, !a.quiet && ::isatty(STDERR_FILENO));
    registry.RunSequence(sequence);
    viewer.ReleaseAlerts(ConsoleViewer::Held::All);
    return SequenceStatus(runtime);
}

int SequenceStatus(HostRuntime& runtime) {
    const SequenceTally& tally = runtime.Batch().LastRun();
    if (!tally.refusal.empty()) std::cerr << "tessera: batch: " << tally.refusal << std::endl;
    return tally.done == tally.files && tally.refusal.empty() ? 0 : 1;
}

}  // namespace tessera::app
