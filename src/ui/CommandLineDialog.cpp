#include "ui/CommandLineDialog.h"

#include "access/AlertByKey.h"
#include "access/Host.h"
#include "access/ProfileFile.h"
#include "access/RegistrySettings.h"
#include "analysis/PatternCheck.h"
#include "strings/LanguageTable.h"
#include "strings/Parsed.h"
#include "strings/TextFormat.h"
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

// The settings of --profile, over the initial or remembered ones.
bool ApplyProfile(const std::string& path, SplitSettings& working) {
    if (path.empty()) return true;
    const std::optional<std::string> failure = LoadProfileFile(path, working);
    if (!failure) return true;
    Host().viewer->Alert(*failure);
    Host().commandLine->ReportOutcome(host::RunOutcome::Refused);
    return false;
}

// --save-profile: the settings a split would run with, instead of the split.
void SaveProfile(const std::string& path, const SplitSettings& working, const OutputList& accepted) {
    SplitSettings settings = SettingsForRun(working);
    settings.Outputs = accepted;
    const std::optional<std::string> failure = SaveProfileFile(path, settings);
    Host().viewer->Alert(failure ? *failure : FormatText(LookupString("IDS_PROFILE_SAVED"), {path}));
    Host().commandLine->ReportOutcome(failure ? host::RunOutcome::Failed : host::RunOutcome::Done);
}

}  // namespace

bool CommandLineDialog::Run(SplitSettings& working, OutputList& accepted, unsigned pageCount,
                            const DocumentHandle& /*document*/) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    working = SplitSettings();
    if (commandLine.ReadStoredSettings()) LoadSettingsFromRegistry(working);
    const std::vector<host::OptionValue> options = commandLine.SplitOptions();
    if (!ApplyProfile(ProfileToLoad(options), working)) return false;
    if (working.Filename.OutputFolder.empty()) working.Filename.OutputFolder = DefaultOutputFolder();
    bool folderGiven = false;
    DialogFields fields{working, {}, {}, {}};
    for (const host::OptionValue& option : options) {
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
    // The outputs of --doc replace a profile's list.
    accepted = fields.documents.empty() ? working.Outputs : std::move(*documents);
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
    if (!fields.saveProfile.empty() && commandLine.DryRun()) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, "--save-profile writes a file, --dry-run nothing");
        return false;
    }
    const bool writesOutputs = !commandLine.DryRun() && fields.saveProfile.empty();
    if (folderGiven) {
        // Only a split makes the folder its outputs go to.
        const std::string folder = BrowsedFolder(working.Filename.OutputFolder);
        const int check = writesOutputs ? ConfirmOutputFolder(folder) : CheckOutputFolder(folder);
        if (check != 0) {
            commandLine.ReportOutcome(check == FolderInvalid ? host::RunOutcome::UsageError : host::RunOutcome::Cancelled);
            return false;
        }
    }
    if (fields.saveProfile.empty()) return true;
    SaveProfile(fields.saveProfile, working, accepted);
    return false;
}

void CommandLineDialog::RunSucceeded(const SplitSettings& working) {
    if (Host().commandLine->StoreSettings()) SaveSettingsToRegistry(working);
}

SplitDialog& ActiveSplitDialog() {
    static CommandLineDialog dialog;
    return dialog;
}

}  // namespace tessera
