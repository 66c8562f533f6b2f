#include "batch/SequenceRunner.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

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
    if (!path) throw host::HostError(host::kErrorBadArgument, "its \"Input\" names no folder (\"PreselectedFolderPath\")");
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

}  // namespace

std::vector<std::string> SequenceInputFiles(const host::Cabinet& input) {
    switch (input.Get<std::int32_t>("FileVariation").value_or(-1)) {
        case 1: return FolderFiles(input);
        case 0: return ListedFiles(input);
        default:
            throw host::HostError(host::kErrorBadArgument,
                                  "its \"Input\" needs \"FileVariation\" 0 (listed files) or 1 (a folder)");
    }
}

SequenceRunner::SequenceRunner(CommandRegistry& registry, pdf::DocumentStore& store, std::ostream* lines,
                               bool showProgress)
    : registry_(registry), store_(store), lines_(lines), showProgress_(showProgress) {}

void SequenceRunner::Say(const std::string& file, const std::string& what) {
    if (lines_) *lines_ << file << ": " << what << std::endl;
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
    // No file of the batch may be written over by the outputs of another.
    store_.SetBatchInputs(files);
    RunFiles(*sequence.GetCabinet("Commands"), files);
    store_.SetBatchInputs({});
    if (lines_)
        *lines_ << tally_.files << (tally_.files == 1 ? " file: " : " files: ") << tally_.done << " done, "
                << tally_.skipped << " skipped, " << tally_.failed << " failed" << std::endl;
    return true;
}

void SequenceRunner::RunFiles(const host::Cabinet& commands, const std::vector<std::string>& files) {
    tally_.files = static_cast<int>(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        if (showProgress_) std::cerr << "[" << i + 1 << "/" << files.size() << "] " << file << std::endl;
        host::DocId doc = host::kNoDocument;
        try {
            doc = store_.Open(file);
        } catch (const host::HostError& error) {
            ++tally_.skipped;
            Say(file, std::string("skipped: cannot open it: ") + error.what());
            continue;
        }
        std::string said;
        const Outcome outcome = RunFile(commands, doc, said);
        store_.Close(doc);
        (outcome == Outcome::Done ? tally_.done : tally_.failed) += 1;
        Say(file, said);
    }
}

SequenceRunner::Outcome SequenceRunner::RunFile(const host::Cabinet& commands, host::DocId doc, std::string& said) {
    Outcome worst = Outcome::Done;
    for (std::size_t i = 0; i < commands.Size(); ++i) {
        std::string text;
        const Outcome outcome = RunCommand(*commands.GetCabinet(std::to_string(i)), doc, text);
        if (!text.empty()) said += (said.empty() ? "" : "; ") + text;
        worst = std::max(worst, outcome);
    }
    return worst;
}

SequenceRunner::Outcome SequenceRunner::RunCommand(const host::Cabinet& entry, host::DocId doc, std::string& said) {
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
    if (status != host::CommandStatus::Error) said = ResultText(registry_.Value(command, host::kResults), completed);
    registry_.DestroyCommand(command);
    return completed ? Outcome::Done : Outcome::Failed;
}

}  // namespace tessera::app
