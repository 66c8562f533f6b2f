#include "options/CommandOptions.h"

#include "access/Host.h"
#include "access/ProfileFile.h"
#include "model/OutputDocument.h"
#include "options/IdleOptions.h"
#include "options/SelectionSyntax.h"
#include "options/SplitOptionTable.h"
#include "strings/LanguageTable.h"
#include "strings/Result.h"

namespace tessera {
namespace {

// A selection's ":mark/TEXT/" brings the text; size, transparency and
// placement are those of the watermark options.
void MarkAsTheOptionsSay(PageRange& range, WatermarkStyle style) {
    if (!range.Watermark) return;
    style.Text = range.Watermark->Text;
    SetWatermark(range, style);
}

// The hand-made outputs: "NAME=SELECTION" or "SELECTION"; a selection's texts
// take the search flags and area of the options.
Result<OutputList> ReadDocuments(const std::vector<GivenDocument>& given, const SplitSettings& working,
                                 unsigned pageCount) {
    TextQuery flags = working.Output.SeparatorQuery;
    flags.Pattern.clear();
    OutputList outputs;
    for (const auto& [document, source] : given) {
        OutputDocument output;
        const std::size_t eq = document.find('=');
        const bool named = eq != std::string::npos && document.find('/') > eq;
        if (named) output.Filename = document.substr(0, eq);
        // The window's rule: naming would otherwise change such a name without a word.
        if (!output.Filename.empty() && !IsValidCustomName(output.Filename))
            return Failure{"--doc: " + output.Filename + ": " + LookupString("IDS_INVALID_FILENAME_ALPHANUMERIC_ONLY")};
        const std::string selection = named ? document.substr(eq + 1) : document;
        Result<std::vector<PageRange>> ranges = ParseSelection(selection, static_cast<int>(pageCount), flags);
        if (!ranges) return Failure{source + ": " + ranges.Reason()};
        output.Ranges = std::move(*ranges);
        for (PageRange& range : output.Ranges) MarkAsTheOptionsSay(range, working.Output.EveryRangeWatermark);
        outputs.push_back(std::move(output));
    }
    return outputs;
}

// The settings of --profile, over the initial or remembered ones.
bool ApplyProfile(const std::string& path, SplitSettings& working) {
    if (path.empty()) return true;
    const Result<> loaded = LoadProfileFile(path, working);
    if (loaded) return true;
    Host().viewer->Alert(loaded.Reason());
    Host().commandLine->ReportOutcome(host::RunOutcome::Refused);
    return false;
}

}  // namespace

std::optional<GivenOptions> ApplyCommandOptions(SplitSettings& working, unsigned pageCount) {
    host::CommandLineServices& commandLine = *Host().commandLine;
    const std::vector<host::OptionValue> options = commandLine.SplitOptions();
    if (!ApplyProfile(ProfileToLoad(options), working)) return std::nullopt;
    GivenOptions given;
    OptionTargets fields{working, {}, {}, {}};
    for (const host::OptionValue& option : options) {
        if (const Result<> applied = ApplySplitOption(option, fields); !applied) {
            commandLine.ReportOutcome(host::RunOutcome::UsageError, applied.Reason());
            return std::nullopt;
        }
        given.folder |= option.name == "output-folder";
    }
    if (fields.sizeLimitGiven && fields.methodOption.empty() && ProfileToLoad(options).empty())
        working.SplitMode = SplitMethod::BySize;
    Result<OutputList> documents = ReadDocuments(fields.documents, working, pageCount);
    if (!documents) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, documents.Reason());
        return std::nullopt;
    }
    // The outputs of --doc replace a profile's list.
    if (!fields.documents.empty()) working.Outputs = std::move(*documents);
    if (const std::optional<std::string> idle = IdleOptionRefusal(options, working)) {
        commandLine.ReportOutcome(host::RunOutcome::UsageError, *idle);
        return std::nullopt;
    }
    given.any = !options.empty();
    given.saveProfile = fields.saveProfile;
    return given;
}

}  // namespace tessera
