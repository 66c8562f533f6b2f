#include "cli/BatchCommandLine.h"

#include <sys/stat.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "cli/CommandLineFrontEnd.h"
#include "cli/ExitStatus.h"
#include "cli/SplitEnd.h"
#include "host/HostError.h"
#include "host/PlugInNames.h"
#include "runtime/HostRuntime.h"
#include "runtime/HostTexts.h"
#include "viewer/ConsoleViewer.h"

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

// The paths of a --files-from list: lines (or NUL-ended names), blank ones left out.
// A list of paths is read up to these: a device such as /dev/zero never ends.
constexpr std::size_t kMostListBytes = std::size_t{64} << 20;
constexpr std::size_t kMostPathBytes = 4096;  // PATH_MAX, the final NUL counted

// A list from a regular file or a pipe; a device, a folder or a socket is
// refused by what it is, before a byte is read.
std::optional<std::string> ListKindRefusal(const std::string& list) {
    struct stat info {};
    if (list == "-" ? ::fstat(STDIN_FILENO, &info) != 0 : ::stat(list.c_str(), &info) != 0) return std::nullopt;
    if (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode)) return std::nullopt;
    return S_ISDIR(info.st_mode) ? "a folder" : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device" : "no file";
}

// The paths, or none with why in `refusal`.
std::optional<std::vector<std::string>> ListedPaths(const std::string& list, bool nulSeparated, std::string& refusal) {
    const std::string named = list == "-" ? "standard input" : list;
    const auto refuse = [&](const std::string& why) {
        refusal = why;
        return std::nullopt;
    };
    if (const std::optional<std::string> kind = ListKindRefusal(list))
        return refuse("the list " + named + " is " + *kind + ", not a file or a pipe");
    std::ifstream file;
    if (list != "-" && (file.open(list, std::ios::binary), !file)) return refuse("cannot read the list " + named);
    std::istream& in = list == "-" ? std::cin : file;
    std::vector<std::string> paths;
    std::set<std::string> seen;
    std::size_t read = 0;
    std::string path;
    for (int c; (c = in.get()) != EOF;) {
        if (++read > kMostListBytes) return refuse("the list " + named + " is longer than 64 MiB");
        if (c != (nulSeparated ? '\0' : '\n')) {
            if (path.size() == kMostPathBytes)
                return refuse("the list " + named + " holds a path longer than 4096 bytes");
            path += static_cast<char>(c);
            continue;
        }
        if (!nulSeparated && !path.empty() && path.back() == '\r') path.pop_back();
        // A file listed twice is split once.
        if (!path.empty() && seen.insert(path).second) paths.push_back(path);
        path.clear();
    }
    if (!nulSeparated && !path.empty() && path.back() == '\r') path.pop_back();
    if (!path.empty() && seen.insert(path).second) paths.push_back(path);
    return paths;
}

// K/N with 1 <= K <= N; none when the text is not that.
std::optional<std::pair<unsigned, unsigned>> ShardOf(const std::string& text) {
    constexpr unsigned kMostShards = 1u << 20;
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    // Digits only: no sign, no blank, nothing after.
    const auto number = [](std::string_view digits) -> std::optional<unsigned> {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits[0] == '+' || error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return value;
    };
    const std::optional<unsigned> k = number(std::string_view(text).substr(0, slash));
    const std::optional<unsigned> n = number(std::string_view(text).substr(slash + 1));
    if (!k || !n || *k < 1 || *k > *n || *n > kMostShards) return std::nullopt;
    return std::pair(*k, *n);
}

int Usage(const std::string& text) {
    std::cerr << "tessera: " << text << std::endl;
    return Code(ExitStatus::UsageError);
}

}  // namespace

CLI::App* AddBatchCommand(CLI::App& app, BatchArguments& a) {
    CLI::App* batch = app.add_subcommand("batch", HostText("batch",
                                                           "Run the split over many files: a sequence file, "
                                                           "or a profile over a folder or files"));
    NameOptionsGroup(*batch);
    batch->add_option("sequence", a.sequence, HostText("batch_sequence", "A sequence file (JSON) to run"));
    batch->add_option("--profile", a.profile, HostText("batch_profile", "The settings of every split (a .tpr profile)"))
        ->check(CLI::ExistingFile);
    batch
        ->add_option("--folder", a.folder,
                     HostText("batch_folder", "Split every .pdf file of this folder (any letter case), by name"))
        ->check(CLI::ExistingDirectory);
    batch->add_option("--file", a.files, HostText("batch_file", "Split this file (repeat for more)"))
        ->check(CLI::ExistingFile);
    batch->add_option(
        "--new", a.newSequence,
        HostText("batch_new", "Write the sequence of --profile and --folder or --file here; split nothing"));
    batch->add_flag("--quiet", a.quiet,
                    HostText("batch_quiet", "No progress; the line per file and the count still go to stdout"));
    batch
        ->add_option("--files-from", a.filesFrom,
                     HostText("batch_files-from",
                              "Split the files listed in LIST, one path a line (- reads the "
                              "list from standard input)"))
        ->option_text("LIST");
    batch->add_flag("-0,--null", a.nulSeparated,
                    HostText("batch_null", "With --files-from: the paths end with a NUL byte, not a line break"));
    batch
        ->add_option("--shard", a.shard,
                     HostText("batch_shard",
                              "Split only share K of N (1 <= K <= N), chosen by the file's name, so that "
                              "N workers take disjoint shares of one list without talking"))
        ->option_text("K/N");
    batch->add_flag("--json", a.json,
                    HostText("batch_json", "One JSON line per file (its status and outputs), then one for the batch"));
    batch->add_flag(
        "--skip-done", a.skipDone,
        HostText("batch_skip-done",
                 "Skip a file whose completion record in the output folder matches it (size, time, SHA-256); "
                 "write the record after a file's last output"));
    batch->add_flag(
        "--deterministic", a.deterministic,
        HostText(
            "batch_deterministic",
            "Write the same files run after run: document IDs from the content, and the date from "
            "SOURCE_DATE_EPOCH or else from each input's modification time, as split takes it; refuses encryption"));
    batch->footer(HostText("exit-status", ExitStatusHelp()));
    batch->add_flag(
        "--warning-exit-0", a.warningExit0,
        HostText("batch_warning-exit-0", "Exit 0, not 3, when every file was split but some with warnings"));
    return batch;
}

int RunBatch(const BatchArguments& given, HostRuntime& runtime, ConsoleViewer& viewer, CommandLineFrontEnd& front) {
    BatchArguments a = given;
    const bool fromProfile = !a.profile.empty();
    if (fromProfile == !a.sequence.empty())
        return Usage("batch: give a sequence file, or --profile with --folder, --file or --files-from");
    if (!fromProfile && (!a.folder.empty() || !a.files.empty() || !a.filesFrom.empty()))
        return Usage("batch: a sequence file names its own files; --folder, --file and --files-from go with --profile");
    if (!a.filesFrom.empty()) {
        std::string refusal;
        const std::optional<std::vector<std::string>> listed = ListedPaths(a.filesFrom, a.nulSeparated, refusal);
        if (!listed) return Usage("batch: " + refusal);
        if (listed->empty()) return Usage("batch: the list " + a.filesFrom + " names no file");
        a.files.insert(a.files.end(), listed->begin(), listed->end());
    }
    if (fromProfile && a.folder.empty() == a.files.empty())
        return Usage("batch: --profile needs exactly one of --folder and --file or --files-from");
    // `--shard "$SHARD"` with the variable unset must not make every worker split every file.
    const std::optional<std::pair<unsigned, unsigned>> shard = a.shard ? ShardOf(*a.shard) : std::pair(1u, 1u);
    if (!shard) return Usage("batch: --shard takes K/N with 1 <= K <= N, not \"" + *a.shard + "\"");
    if (!a.newSequence.empty() && !fromProfile) return Usage("batch: --new writes the sequence of --profile");
    host::Cabinet sequence;
    try {
        sequence = fromProfile ? MakeSequence(ReadCabinet(runtime, a.profile), a) : ReadCabinet(runtime, a.sequence);
        if (!a.newSequence.empty()) {
            runtime.Services().files->WriteFile(a.newSequence, runtime.Services().cabinets->WriteStream(sequence));
            return Code(ExitStatus::Done);
        }
    } catch (const host::HostError& error) {
        return Usage(std::string("batch: ") + error.what());
    }
    viewer.SetQuiet(a.quiet);
    CommandRegistry& registry = runtime.Batch();
    registry.SetReport(&std::cout, !a.quiet && ::isatty(STDERR_FILENO));
    // Each file dates its outputs as a split of it alone would: by its own
    // modification time, unless SOURCE_DATE_EPOCH says the time for all.
    const auto dateFromFile = [&front, deterministic = a.deterministic](const std::string& file) {
        std::string unused;
        if (deterministic) front.SetFixedTime(FixedTimeFor(true, file, unused));
    };
    registry.SetOptions({shard->first, shard->second, a.skipDone, a.json,
                         [&viewer] { return viewer.Warnings().size(); }, dateFromFile});
    registry.RunSequence(sequence);
    viewer.ReleaseAlerts(ConsoleViewer::Held::All);
    return SequenceStatus(runtime, a.warningExit0);
}

int SequenceStatus(HostRuntime& runtime, bool warningsAreFine) {
    const SequenceTally& tally = runtime.Batch().LastRun();
    if (!tally.refusal.empty()) std::cerr << "tessera: batch: " << tally.refusal << std::endl;
    if (!tally.refusal.empty()) return Code(ExitStatus::Failed);
    // A file no split can take is said and recorded: a retry cannot help, so it costs a warning, not a failure.
    if (tally.done + tally.unsplittable == tally.files)
        return (tally.warned > 0 || tally.unsplittable > 0) && !warningsAreFine ? Code(ExitStatus::DoneWithWarnings)
                                                                                : Code(ExitStatus::Done);
    return tally.done > 0 || tally.partlyWritten > 0 ? Code(ExitStatus::PartlyDone) : Code(ExitStatus::Failed);
}

}  // namespace tessera::app
