#include "batch/SequenceRunner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "batch/CompletionRecord.h"
#include "cabinet/JsonCabinetStreams.h"
#include "os/FileDigest.h"
#include "report/RunJson.h"

#include "host/HostError.h"

namespace tessera::app {
namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> FolderFiles(const host::Cabinet& input) {
    const host::Cabinet* folder = input.GetCabinet("PreselectedFolderPath");
    const std::optional<std::string> path = folder ? folder->Get<std::string>("DI") : std::nullopt;
    if (!path)
        throw host::HostError(host::kErrorBadArgument, "its \"Input\" names no folder (\"PreselectedFolderPath\")");
    std::vector<std::string> files;
    std::error_code error;
    std::filesystem::directory_iterator entries(*path, error);
    if (error) throw host::HostError(host::kErrorFile, "cannot list the folder " + *path + ": " + error.message());
    for (const auto& entry : entries)
        if (entry.is_regular_file(error) && LowerCase(entry.path().extension()) == ".pdf")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> ListedFiles(const host::Cabinet& input) {
    std::vector<std::string> files;
    const host::Cabinet* list = input.GetCabinet("PreselectedFilesPaths");
    for (std::size_t i = 0; list && i < list->Size(); ++i) {
        const host::Cabinet* file = list->GetCabinet(std::to_string(i));
        const std::optional<std::string> path = file ? file->Get<std::string>("DI") : std::nullopt;
        if (!path) break;
        files.push_back(*path);
    }
    return files;
}

std::string Outputs(std::int32_t count) { return std::to_string(count) + (count == 1 ? " output" : " outputs"); }

// The line a finished command earns: what it wrote, or why it did not.
std::string ResultText(const std::optional<host::Cabinet>& results, bool& completed) {
    completed = results && results->Get<bool>("Completed").value_or(false);
    if (!results) return "no result";
    const std::string reason = results->Get<std::string>("Reason").value_or("");
    if (!completed) return "failed" + (reason.empty() ? "" : ": " + reason);
    std::string text = Outputs(results->Get<std::int32_t>("Written").value_or(0)) + " written";
    if (const std::int32_t left = results->Get<std::int32_t>("WithoutPages").value_or(0); left > 0)
        text += ", " + Outputs(left) + " without pages left out";
    return text;
}

// "1,2,5" as numbers.
std::vector<int> Numbers(const std::string& list) {
    std::vector<int> numbers;
    std::istringstream in(list);
    for (std::string number; std::getline(in, number, ',');) numbers.push_back(std::atoi(number.c_str()));
    return numbers;
}

// The outputs a split command's results list (see the plug-in's batch command).
std::vector<host::ReportedOutput> ReportedOutputsOf(const host::Cabinet& results) {
    std::vector<host::ReportedOutput> outputs;
    const host::Cabinet* list = results.GetCabinet("Outputs");
    for (std::size_t i = 0; list && i < list->Size(); ++i) {
        const host::Cabinet* entry = list->GetCabinet(std::to_string(i));
        if (!entry) break;
        host::ReportedOutput output;
        output.path = entry->Get<std::string>("Path").value_or("");
        output.pages = Numbers(entry->Get<std::string>("Pages").value_or(""));
        output.status = static_cast<host::OutputStatus>(entry->Get<std::int32_t>("Status").value_or(3));
        output.key = entry->Get<std::string>("Key").value_or("");
        output.sizeLimit = static_cast<std::uint64_t>(entry->Get<double>("SizeLimit").value_or(0));
        outputs.push_back(std::move(output));
    }
    return outputs;
}

// The page account a split command's results hold, if any.
std::optional<host::PageAccount> AccountOf(const host::Cabinet& results) {
    const host::Cabinet* cabinet = results.GetCabinet("Account");
    if (!cabinet) return std::nullopt;
    host::PageAccount account;
    account.pages = cabinet->Get<std::int32_t>("Pages").value_or(0);
    account.inOutputs = Numbers(cabinet->Get<std::string>("InOutputs").value_or(""));
    account.inNoOutput = Numbers(cabinet->Get<std::string>("InNoOutput").value_or(""));
    account.emptyOutputs = Numbers(cabinet->Get<std::string>("EmptyOutputs").value_or(""));
    const host::Cabinet* dropped = cabinet->GetCabinet("Dropped");
    for (std::size_t i = 0; dropped && i < dropped->Size(); ++i) {
        const host::Cabinet* entry = dropped->GetCabinet(std::to_string(i));
        if (!entry) break;
        account.dropped.push_back(
            {entry->Get<std::int32_t>("Page").value_or(0), entry->Get<std::string>("Reason").value_or(""),
             entry->Get<std::string>("Kind").value_or(""), entry->Get<std::string>("Value").value_or("")});
    }
    const host::Cabinet* beyond = cabinet->GetCabinet("BeyondDocument");
    for (std::size_t i = 0; beyond && i < beyond->Size(); ++i) {
        host::PagesBeyondDocument range;
        const std::string text = beyond->Get<std::string>(std::to_string(i)).value_or("");
        if (std::sscanf(text.c_str(), "%d:%d-%d", &range.output, &range.first, &range.last) == 3)
            account.beyondDocument.push_back(range);
    }
    return account;
}

}  // namespace

std::vector<std::string> SequenceInputFiles(const host::Cabinet& input) {
    switch (input.Get<std::int32_t>("FileVariation").value_or(-1)) {
        case 1:
            return FolderFiles(input);
        case 0:
            return ListedFiles(input);
        default:
            throw host::HostError(host::kErrorBadArgument,
                                  "its \"Input\" needs \"FileVariation\" 0 (listed files) or 1 (a folder)");
    }
}

SequenceRunner::SequenceRunner(CommandRegistry& registry, pdf::DocumentStore& store, std::ostream* lines,
                               bool showProgress, BatchOptions options)
    : registry_(registry), store_(store), lines_(lines), showProgress_(showProgress), options_(std::move(options)) {}

// A file's line: plain words, or with --json one JSON object.
void SequenceRunner::Tell(const std::string& file, const FileEnd& end) {
    if (!lines_) return;
    if (!options_.json) {
        *lines_ << file << ": " << end.said << std::endl;
        return;
    }
    nlohmann::json outputs = nlohmann::json::array();
    for (const host::ReportedOutput& output : end.outputs) outputs.push_back(OutputJson(output));
    nlohmann::json line = {{"kind", "file"},
                           {"input", file},
                           {"status", end.status},
                           {"outputs", std::move(outputs)},
                           {"warnings", end.warned}};
    AddExactBytes(line, "input");
    if (end.account) line["account"] = AccountJson(*end.account);
    if (end.status == "failed" || end.status == "skipped") line["reason"] = end.said;
    *lines_ << JsonLine(line) << std::endl;
}

// Shards by the file's name, not its path, so that workers that see a shared
// folder at different mount points still take the same shares.
bool SequenceRunner::InShard(const std::string& file) const {
    if (options_.shards <= 1) return true;
    std::uint64_t hash = StableHash(std::filesystem::path(file).filename().string());
    // Names that differ in a digit differ in few bits: mixed (splitmix64's
    // finish) so that the shares come out even.
    hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ull;
    hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebull;
    hash ^= hash >> 31;
    return hash % options_.shards == options_.shard - 1;
}

// A sequence that would run nothing is refused before its first file.
std::string SequenceRunner::Refusal(const host::Cabinet& sequence) const {
    const host::Cabinet* commands = sequence.GetCabinet("Commands");
    if (!commands || !sequence.GetCabinet("Input") || !sequence.GetCabinet("Output"))
        return "the sequence needs its \"Commands\", \"Input\" and \"Output\"";
    if (commands->Size() == 0) return "the sequence's \"Commands\" hold no command";
    for (std::size_t i = 0; i < commands->Size(); ++i) {
        const host::Cabinet* entry = commands->GetCabinet(std::to_string(i));
        if (!entry || !entry->GetCabinet(host::kConfig) || !entry->GetCabinet(host::kParams))
            return "command " + std::to_string(i) + " of the sequence lacks its \"Config\" or \"Params\"";
    }
    return "";
}

bool SequenceRunner::Run(const host::Cabinet& sequence) {
    tally_.refusal = Refusal(sequence);
    std::vector<std::string> files;
    try {
        if (tally_.refusal.empty()) files = SequenceInputFiles(*sequence.GetCabinet("Input"));
    } catch (const host::HostError& error) {
        tally_.refusal = std::string("the sequence cannot run: ") + error.what();
    }
    if (!tally_.refusal.empty()) return false;
    std::erase_if(files, [this](const std::string& file) { return !InShard(file); });
    // No file of the batch may be written over by the outputs of another.
    store_.SetBatchInputs(files);
    RunFiles(*sequence.GetCabinet("Commands"), files);
    store_.SetBatchInputs({});
    if (lines_ && options_.json)
        *lines_ << JsonLine({{"kind", "batch"},
                             {"files", tally_.files},
                             {"done", tally_.done},
                             {"done_before", tally_.doneBefore},
                             {"skipped", tally_.skipped},
                             {"failed", tally_.failed},
                             {"warned", tally_.warned}})
                << std::endl;
    else if (lines_)
        *lines_ << tally_.files << (tally_.files == 1 ? " file: " : " files: ") << tally_.done << " done, "
                << tally_.skipped << " skipped, " << tally_.failed << " failed"
                << (tally_.doneBefore ? " (" + std::to_string(tally_.doneBefore) + " done before)" : "") << std::endl;
    return true;
}

void SequenceRunner::RunFiles(const host::Cabinet& commands, const std::vector<std::string>& files) {
    tally_.files = static_cast<int>(files.size());
    const std::string folder = options_.skipDone ? SequenceOutputFolder(commands) : "";
    // A record made with other settings does not count.
    recordSettings_ = options_.skipDone ? TextSha256(cabinet::JsonCabinetStreams().WriteStream(commands)) : "";
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (showProgress_) std::cerr << "[" << i + 1 << "/" << files.size() << "] " << files[i] << std::endl;
        const FileEnd end = SplitFile(commands, files[i], folder);
        tally_.unsplittable += end.unsplittable ? 1 : 0;
        if (end.status == "skipped")
            ++tally_.skipped;
        else if (end.status == "failed")
            ++tally_.failed;
        else
            ++tally_.done;
        tally_.doneBefore += end.status == "done-before" ? 1 : 0;
        tally_.warned += end.warned ? 1 : 0;
        if (end.status == "failed" && SomeWrittenOnDisk(end.outputs)) ++tally_.partlyWritten;
        Tell(files[i], end);
    }
}

SequenceRunner::FileEnd SequenceRunner::SplitFile(const host::Cabinet& commands, const std::string& file,
                                                  const std::string& folder) {
    FileEnd end;
    // The input as it is before the split: a record is only made for the outputs of these bytes.
    const std::optional<InputStamp> before = options_.skipDone ? StampOf(file) : std::nullopt;
    const CompletionRecord record(folder, file, recordSettings_, before);
    if (options_.skipDone && record.Matches())
        return {"done-before", "done before (its completion record matches)", {}, false};
    host::DocId doc = host::kNoDocument;
    options_.startingFile(file);
    try {
        doc = store_.Open(file);
    } catch (const host::HostError& error) {
        return {"skipped", std::string("skipped: cannot open it: ") + error.what(), {}, false};
    }
    const std::size_t warningsBefore = options_.warningCount();
    const Outcome outcome = RunFile(commands, doc, end);
    if (const std::optional<std::string> note = store_.RepairNote(doc)) registry_.Warn(file + ": " + *note);
    store_.Close(doc);
    end.warned = options_.warningCount() > warningsBefore;
    end.status = outcome == Outcome::Done ? "done" : outcome == Outcome::Unsplittable ? "skipped" : "failed";
    end.unsplittable = outcome == Outcome::Unsplittable;
    if (outcome != Outcome::Failed && options_.skipDone) {
        nlohmann::json outputs = nlohmann::json::array();
        for (const host::ReportedOutput& output : end.outputs) outputs.push_back(OutputJson(output));
        if (!before || !record.Write(*before, JsonLine(outputs))) {
            end.status = "failed";
            end.said =
                "failed: the file changed while it was split, or its completion record could not be written in " +
                folder;
        }
    }
    return end;
}

SequenceRunner::Outcome SequenceRunner::RunFile(const host::Cabinet& commands, host::DocId doc, FileEnd& end) {
    Outcome worst = Outcome::Done;
    for (std::size_t i = 0; i < commands.Size(); ++i) {
        FileEnd one;
        const Outcome outcome = RunCommand(*commands.GetCabinet(std::to_string(i)), doc, one);
        if (!one.said.empty()) end.said += (end.said.empty() ? "" : "; ") + one.said;
        end.outputs.insert(end.outputs.end(), one.outputs.begin(), one.outputs.end());
        // A sequence of several splits of one file reports the first one's pages.
        if (!end.account) end.account = std::move(one.account);
        worst = std::max(worst, outcome);
    }
    return worst;
}

SequenceRunner::Outcome SequenceRunner::RunCommand(const host::Cabinet& entry, host::DocId doc, FileEnd& end) {
    std::string& said = end.said;
    const std::string name = entry.Get<std::string>("HandlerName").value_or("");
    const host::CommandId command = registry_.NewCommand(name);
    if (command == host::kNoCommand) {
        said = "no command is called \"" + name + "\"";
        return Outcome::Failed;
    }
    const host::CommandHandler& handler = *registry_.Handler(command);
    registry_.SetValue(command, host::kConfig, *entry.GetCabinet(host::kConfig));
    if (handler.setParams) handler.setParams(command, *entry.GetCabinet(host::kParams));
    registry_.SetDocument(command, doc);
    host::CommandStatus status = host::CommandStatus::Error;
    try {
        status = handler.work ? handler.work(command) : host::CommandStatus::Done;
    } catch (const std::exception& error) {  // a host error, or memory that ran out: this file fails
        said = std::string("failed: ") + error.what();
    }
    bool completed = false;
    if (status == host::CommandStatus::Error && said.empty()) said = "failed: it ended with an error";
    const std::optional<host::Cabinet> results = registry_.Value(command, host::kResults);
    if (status != host::CommandStatus::Error) said = ResultText(results, completed);
    if (results) end.outputs = ReportedOutputsOf(*results);
    const bool unsplittable = results && results->Get<bool>("Unsplittable").value_or(false);
    if (unsplittable) said = "skipped: " + results->Get<std::string>("Reason").value_or("");
    if (results) end.account = AccountOf(*results);
    registry_.DestroyCommand(command);
    return completed ? Outcome::Done : unsplittable ? Outcome::Unsplittable : Outcome::Failed;
}

}  // namespace tessera::app
