#include "ui/NameTemplateDialog.h"

#include <ctime>

#include "access/ReadOr.h"
#include "engine/OutputPlanner.h"
#include "engine/TemplateFields.h"
#include "model/NameTemplate.h"
#include "model/SeparatorKindTable.h"
#include "reading/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kMessage = 1201, kTemplateEdit = 1202, kPatternEdit = 1203, kExample = 1204;
constexpr std::size_t kExampleNames = 3;
// The example comes from the run's own plan of a document up to this long;
// a longer one is planned only by the run, and the example takes its first pages.
constexpr int kMostPagesToPlan = 400;

std::tm Today() {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    localtime_r(&now, &day);
    return day;
}

}  // namespace

NameTemplateDialog::NameTemplateDialog(std::string nameTemplate, std::string pattern, const DocumentHandle& document,
                                       const SplitSettings& settings)
    : template_(std::move(nameTemplate)),
      pattern_(std::move(pattern)),
      document_(document),
      outputs_(FindMethodRow(settings.SplitMode) && FindMethodRow(settings.SplitMode)->usesOutputList ? settings.Outputs
                                                                                                      : OutputList()),
      matchCase_(settings.Output.SeparatorQuery.MatchCase),
      ocr_(settings.Output.Ocr) {
    if (UsesValueChange(settings) && document.HasDocument())
        keys_.emplace(document, settings.Output.ChangeKey, settings.Output.SeparatorQuery, ocr_);
    if (!outputs_.empty() || !document_.HasDocument()) return;
    const int pages =
        ReadOr(0, "a document whose pages cannot be counted shows no example", [&] { return document_.PageCount(); });
    // The outputs the run would make, their codes and values with them.
    SplitSettings trial = settings;
    if (pages <= kMostPagesToPlan && PlanOutputs(trial, document_) && !trial.Outputs.empty()) {
        outputs_ = std::move(trial.Outputs);
        return;
    }
    for (int page = 0; page < std::min<int>(kExampleNames, pages); ++page)
        outputs_.push_back(OutputDocument{{MakePageRange(page, 1)}, ""});
}

std::vector<ControlSpec> NameTemplateDialog::Controls() const {
    return {
        {kMessage, ControlKind::Text, "Message"},
        {kTemplateEdit, ControlKind::Edit, "Template:", 0, false, 512},
        {kPatternEdit, ControlKind::Edit, "Pattern:", 0, false, 512},
        {kExample, ControlKind::Text, "Example"},
        {kOkButton, ControlKind::Button, "OK"},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void NameTemplateDialog::Open(DialogView& view) {
    view_ = &view;
    view.SetText(kMessage, LookupString("IDS_NAME_TEMPLATE_HELP"));
    view.SetText(kTemplateEdit, template_);
    view.SetText(kPatternEdit, pattern_);
    ShowExample();
}

void NameTemplateDialog::Changed(ControlId id) {
    if (id == kTemplateEdit || id == kPatternEdit) ShowExample();
}

std::string NameTemplateDialog::Refusal() const {
    const std::string text = view_->Text(kTemplateEdit), pattern = view_->Text(kPatternEdit);
    if (text.empty()) return LookupString("IDS_NO_NAME_TEMPLATE");
    if (const Result<NameTemplate> parsed = NameTemplate::Parse(text); !parsed)
        return FormatText(LookupString("IDS_NAME_TEMPLATE_INVALID"), {text, parsed.Reason()});
    if (const std::optional<PatternError> error = PatternErrorOf(pattern); error && !pattern.empty())
        return FormatText(LookupString("IDS_INVALID_SEARCH_PATTERN"),
                          {pattern, error->message, static_cast<std::int64_t>(error->offset)});
    return {};
}

// The names as the run makes them, before they are made safe and unique.
void NameTemplateDialog::ShowExample() {
    if (const std::string refusal = Refusal(); !refusal.empty()) return view_->SetText(kExample, refusal);
    const Result<NameTemplate> parsed = NameTemplate::Parse(view_->Text(kTemplateEdit));
    SearchPattern pattern;
    if (!view_->Text(kPatternEdit).empty()) (void)pattern.Compile(view_->Text(kPatternEdit), !matchCase_);
    PageTextExtractor extractor(ocr_);
    TemplateSource source{document_, "", Today(), outputs_.size(), pattern, extractor};
    if (keys_ && keys_->Ready()) source.keys = &*keys_;
    if (document_.HasDocument()) {
        const std::string path =
            ReadOr(std::string(), "a document without a path has no {input}", [&] { return document_.FilePath(); });
        const std::size_t slash = path.find_last_of('/'), dot = path.rfind('.');
        source.inputName =
            path.substr(slash + 1, dot == std::string::npos || dot < slash ? std::string::npos : dot - slash - 1);
    }
    std::string names;
    for (std::size_t i = 0; i < std::min(kExampleNames, outputs_.size()); ++i)
        names += (i ? ", " : "") + parsed->Expand(TemplateFields(outputs_[i], i, source)) + ".pdf";
    view_->SetText(kExample, FormatText(LookupString("IDS_NAME_TEMPLATE_EXAMPLE"), {names}));
}

bool NameTemplateDialog::Accept() {
    if (const std::string refusal = Refusal(); !refusal.empty()) {
        view_->ShowMessage(refusal);
        return false;
    }
    template_ = view_->Text(kTemplateEdit);
    pattern_ = view_->Text(kPatternEdit);
    return true;
}

}  // namespace tessera
