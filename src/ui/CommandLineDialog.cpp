#include "ui/CommandLineDialog.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/RegistrySettings.h"
#include "analysis/PatternCheck.h"
#include "strings/LanguageTable.h"
#include "strings/Parsed.h"
#include "ui/OutputFolder.h"
#include "ui/SelectionSyntax.h"
#include "ui/SplitOptionTable.h"

namespace tessera {
namespace {

// The output folder as the folder browser would hand it over: without its trailing "/".
std::string BrowsedFolder(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// A selection's ":mark/TEXT/" brings the text; size, transparency and
// placement are those of the watermark options.
void MarkAsTheOptionsSay(PageRange& range, WatermarkStyle style) {
    if (!(range.Options & AddWatermark)) return;
    style.Text = range.Watermark;
    SetWatermark(range, style);
}

// The hand-made outputs: "NAME=SELECTION" or "SELECTION"; a selection's texts
// take the search flags and area of the options.
Parsed<OutputList> ReadDocuments(const std::vector<std::string>& documents, const SplitSettings& working,
                                 unsigned pageCount) {
    TextQuery flags = working.Output.SeparatorQuery;
    flags.Pattern.clear();
    OutputList outputs;
    for (const std::string& document : documents) {
        OutputDocument output;
        const std::size_t eq = document.find('=');
        const bool named = eq != std::string::npos && document.find('/') > eq;
        if (named) output.Filename = document.substr(0, eq);
        const std::string selection = named ? document.substr(eq + 1) : document;
        Parsed<std::vector<PageRange>> ranges = ParseSelection(selection, static_cast<int>(pageCount), flags);
        if (!ranges) return ParseFailure{"--doc: " + ranges.Failure()};
        output.Ranges = std::move(*ranges);
        for (PageRange& range : output.Ranges) MarkAsTheOptionsSay(range, working.Output.EveryRangeWatermark);
        outputs.push_back(std::move(output));
    }
    return outputs;
}

}  // namespace

bool CommandLineDialog::Run(SplitSettings& working, OutputList& accepted, unsigned pageCount,
                            const DocumentHandle& /*document*/) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    working = SplitSettings();
    if (commandLine.ReadStoredSettings())
        LoadSettingsFromRegistry(working);
    else
        working.Filename.OutputFolder = DefaultOutputFolder();
    bool folderGiven = false;
    DialogFields fields{working, {}, {}};
    for (const host::OptionValue& option : commandLine.SplitOptions()) {
        if (const std::optional<std::string> refused = ApplySplitOption(option, fields)) {
            commandLine.ReportOutcome(host::RunOutcome::UsageError, *refused);
            return false;
        }
        folderGiven |= option.name == "output-folder";
    }
    accepted.clear();
    Parsed<OutputList> documents = ReadDocuments(fields.documents, working, pageCount);
    if (!documents) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, documents.Failure());
        return false;
    }
    accepted = std::move(*documents);
    const std::string error = InvalidPatternMessage(working, accepted);
    if (!error.empty()) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, error);
        return false;
    }
    // As the dialog's OK does: a hand-made split needs its outputs.
    if (working.SplitMode == SplitMethod::ManualRanges && accepted.empty()) {
        AlertByKey("IDS_NO_OUTPUT_DOCUMENTS");
        commandLine.ReportOutcome(host::RunOutcome::UsageError);
        return false;
    }
    if (folderGiven) {
        // A dry run writes nothing, not even the folder the outputs would go to.
        const std::string folder = BrowsedFolder(working.Filename.OutputFolder);
        const int check = commandLine.DryRun() ? CheckOutputFolder(folder) : ConfirmOutputFolder(folder);
        if (check != 0) {
            commandLine.ReportOutcome(check == FolderInvalid ? host::RunOutcome::UsageError : host::RunOutcome::Cancelled);
            return false;
        }
    }
    return true;
}

void CommandLineDialog::RunSucceeded(const SplitSettings& working) {
    if (Host().commandLine->StoreSettings()) SaveSettingsToRegistry(working);
}

SplitDialog& ActiveSplitDialog() {
    static CommandLineDialog dialog;
    return dialog;
}

}  // namespace tessera
