#include "ui/NameTemplateDialog.h"

#include <ctime>

#include "access/ReadOr.h"
#include "engine/TemplateFields.h"
#include "model/NameTemplate.h"
#include "reading/SearchPattern.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "ui/DialogView.h"

namespace tessera {
namespace {

constexpr ControlId kMessage = 1201, kTemplateEdit = 1202, kPatternEdit = 1203, kExample = 1204;
constexpr std::size_t kExampleNames = 3;

constexpr const char* kMessageText =
    "Every output's name is made from this template. Fields in braces are filled in for each output: {n} its "
    "number ({n:03} with three digits, {n:0} as wide as the total), {total}, {from} and {to} its pages, {label} "
    "its first page's label, {title} its bookmark, {input} the document's name, {date} today, and {key}, {1} to "
    "{9} and {NAME} the match of the pattern on its first page and its groups; {part} and {parts} where the size "
    "limit cut it. \"/\" makes folders.";

std::tm Today() {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    localtime_r(&now, &day);
    return day;
}

}  // namespace

NameTemplateDialog::NameTemplateDialog(std::string nameTemplate, std::string pattern, const DocumentHandle& document,
                                       const SplitSettings& settings)
    : template_(std::move(nameTemplate)), pattern_(std::move(pattern)), document_(document),
      outputs_(FindMethodRow(settings.SplitMode) && FindMethodRow(settings.SplitMode)->usesOutputList
                   ? settings.Outputs
                   : OutputList()),
      matchCase_(settings.Output.SeparatorQuery.MatchCase) {
    if (UsesValueChange(settings) && document.HasDocument())
        keys_.emplace(document, settings.Output.ChangeKey, settings.Output.SeparatorQuery);
    if (!outputs_.empty() || !document_.HasDocument()) return;
    const int pages = ReadOr(0, "a document whose pages cannot be counted shows no example",
                             [&] { return document_.PageCount(); });
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
    view.SetText(kMessage, kMessageText);
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
    PageTextExtractor extractor;
    TemplateSource source{document_, "", Today(), outputs_.size(), pattern, extractor};
    if (keys_ && keys_->Ready()) source.keys = &*keys_;
    if (document_.HasDocument()) {
        const std::string path = ReadOr(std::string(), "a document without a path has no {input}",
                                        [&] { return document_.FilePath(); });
        const std::size_t slash = path.find_last_of('/'), dot = path.rfind('.');
        source.inputName = path.substr(slash + 1, dot == std::string::npos || dot < slash ? std::string::npos
                                                                                          : dot - slash - 1);
    }
    std::string example = "Example:";
    for (std::size_t i = 0; i < std::min(kExampleNames, outputs_.size()); ++i)
        example += (i ? ", " : " ") + parsed->Expand(TemplateFields(outputs_[i], i, source)) + ".pdf";
    view_->SetText(kExample, example);
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
