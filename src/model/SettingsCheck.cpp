#include "model/SettingsCheck.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "model/CheckedProblems.h"
#include "model/NameTemplate.h"
#include "model/SeparatorKindTable.h"
#include "model/SettingsChoices.h"
#include "model/SettingsSchema.h"
#include "model/SheetColours.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"
#include "strings/WinAnsiText.h"

namespace tessera {
namespace {

void CheckQueryArea(const TextQuery& query, const std::string& field, CheckedProblems& out) {
    if (!query.UseAreaFilter) return;
    if (std::optional<std::string> refusal = AreaRefusal(query.Area))
        out.Add("IDS_AREA_EDGES_INVALID", field + "/AreaLeft", std::move(*refusal));
}

// The run-wide watermark's schema rows give the limits of every watermark.
bool OutsideWatermarkLimits(std::int32_t WatermarkStyle::*member, std::int32_t value) {
    SplitSettings probe;
    const SettingsRow* row = SettingsRowOf(probe, &(probe.Output.EveryRangeWatermark.*member));
    return row && row->low <= row->high && (value < row->low || value > row->high);
}

// A watermark is checked only where one is drawn.
void CheckWatermark(const WatermarkStyle& style, const std::string& field, CheckedProblems& out) {
    if (style.Text.empty()) return;
    if (const std::optional<std::string> missing = FirstCharacterOutsideWinAnsi(style.Text))
        out.Add("IDS_WATERMARK_NOT_DRAWABLE", field + "/Watermark",
                FormatText(LookupString("IDS_WATERMARK_NOT_DRAWABLE"), {style.Text, *missing}));
    if (OutsideWatermarkLimits(&WatermarkStyle::FontSize, style.FontSize))
        out.Add("IDS_WATERMARK_SIZE_OUT_OF_RANGE", field + "/WatermarkFontSize",
                FormatText(LookupString("IDS_WATERMARK_SIZE_OUT_OF_RANGE"), {std::int64_t{style.FontSize}}));
    if (OutsideWatermarkLimits(&WatermarkStyle::TransparencyLevel, style.TransparencyLevel))
        out.Add("IDS_WATERMARK_TRANSPARENCY_OUT_OF_RANGE", field + "/TransparencyLevel",
                FormatText(LookupString("IDS_WATERMARK_TRANSPARENCY_OUT_OF_RANGE"),
                           {std::int64_t{style.TransparencyLevel}}));
}

// Tesseract's names (eng, chi_sim, script/Latin) joined by '+'; no dot, so
// that no name leads out of its data folder.
bool IsOcrLanguageList(const std::string& languages) {
    bool named = false;
    for (const char c : languages) {
        const bool nameChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                              c == '-' || c == '/';
        if (c == '+' && !named) return false;
        if (c != '+' && !nameChar) return false;
        named = c != '+';
    }
    return named || languages.empty();
}

void CheckOcr(const OcrSettings& ocr, const std::string& output, CheckedProblems& out) {
    out.AddChoice(static_cast<std::int32_t>(ocr.Mode), static_cast<std::int32_t>(OcrModeChoices().size()) - 1,
                  output + "OcrMode");
    if (!IsOcrLanguageList(ocr.Languages))
        out.Add("IDS_OCR_LANGUAGES_INVALID", output + "OcrLanguages",
                FormatText(LookupString("IDS_OCR_LANGUAGES_INVALID"), {ocr.Languages}));
    if (ocr.Dpi != 0 && (ocr.Dpi < kLeastOcrDpi || ocr.Dpi > kMostOcrDpi))
        out.Add("IDS_OCR_DPI_OUT_OF_RANGE", output + "OcrDpi",
                FormatText(LookupString("IDS_OCR_DPI_OUT_OF_RANGE"),
                           {std::int64_t{ocr.Dpi}, std::int64_t{kLeastOcrDpi}, std::int64_t{kMostOcrDpi}}));
    if (ocr.MinConfidence < 0 || ocr.MinConfidence > 100)
        out.Add("IDS_OCR_CONFIDENCE_OUT_OF_RANGE", output + "OcrMinConfidence",
                FormatText(LookupString("IDS_OCR_CONFIDENCE_OUT_OF_RANGE"), {std::int64_t{ocr.MinConfidence}}));
    if (ocr.Layer && ocr.Mode == OcrMode::Never) out.AddKey("IDS_OCR_LAYER_WITHOUT_OCR", output + "OcrLayer");
}

std::string RangeField(std::size_t doc, std::size_t range) {
    return "Doc" + std::to_string(doc) + "/Range" + std::to_string(range);
}

void CheckStoredRanges(const OutputList& outputs, CheckedProblems& out) {
    for (std::size_t d = 0; d < outputs.size(); ++d)
        for (std::size_t r = 0; r < outputs[d].Ranges.size(); ++r) {
            const PageRange& range = outputs[d].Ranges[r];
            const std::string field = RangeField(d, r);
            if (range.Watermark) CheckWatermark(*range.Watermark, field, out);
            if (!range.Query.Enable) continue;
            CheckQueryArea(range.Query.FirstPageQuery, field + "/Query/FirstPageQuery", out);
            CheckQueryArea(range.Query.LastPageQuery, field + "/Query/LastPageQuery", out);
        }
}

// The hand-made outputs: at least one range, each query's patterns compiling.
void CheckOutputList(const OutputList& outputs, const DocumentFacts& facts, CheckedProblems& out) {
    bool anyRange = false;
    for (std::size_t d = 0; d < outputs.size(); ++d)
        for (std::size_t r = 0; r < outputs[d].Ranges.size(); ++r) {
            anyRange = true;
            const PageRange& range = outputs[d].Ranges[r];
            const PageQuery& q = range.Query;
            const std::string field = RangeField(d, r);
            // A plain range that holds no page is no problem: its output is
            // left out, and the run says so.
            if (!q.Enable || q.Target == QueryTarget::QueryPageContent) continue;
            CheckPattern(q.FirstPageQuery, field + "/Query/FirstPageQuery", facts, out);
            if (q.Target == QueryTarget::QueryPageRanges)
                CheckPattern(q.LastPageQuery, field + "/Query/LastPageQuery", facts, out);
        }
    if (!anyRange) out.AddKey("IDS_NO_OUTPUT_DOCUMENTS", "NumOutputFiles", ProblemKind::MethodIncomplete);
}

// The split methods' own rules, in this one place: what each method's fields
// must hold for it to make a split.
void CheckMethodFields(const SplitSettings& s, const DocumentFacts& facts, CheckedProblems& out) {
    const SplitMethodRow* method = FindMethodRow(s.SplitMode);
    if (!method)
        return out.AddChoice(static_cast<std::int32_t>(s.SplitMode),
                             static_cast<std::int32_t>(SplitMethodRows().size()) - 1, "SplitMode");
    const OutputSettings& o = s.Output;
    const std::string output = "Settings/OutputSettings/";
    constexpr ProblemKind incomplete = ProblemKind::MethodIncomplete;
    if (method->usesPagesEach && o.NumEqualPages < 1)
        out.AddKey("IDS_NUM_PAGES_NEED_TO_BE_GREATER_THAN_ZERO", output + "EqualPagesNumber", incomplete);
    if (method->usesBookmarkLevels && (o.StartBookmarkLevel < 1 || o.EndBookmarkLevel < 1))
        out.AddKey("IDS_BOOKMARK_LEVELS_ARE_INVALID", output + "StartBookmarkLevel", incomplete);
    if (method->needsBookmarks && facts.hasDocument && !facts.hasBookmarks)
        out.AddKey("IDS_CANT_SPLIT_BY_BOOKMARKS", "SplitMode", incomplete);
    if (method->usesOutputList) CheckOutputList(s.Outputs, facts, out);
    if (method->method == SplitMethod::BySize && o.MaxOutputBytes <= 0)
        out.AddKey("IDS_NO_SIZE_LIMIT", output + "MaxOutputBytes", incomplete);
    if (const SeparatorKindRow* kind = SeparatorKindOf(s); kind && kind->check) kind->check(o, facts, out);
    if (!UsesSeparatorQuery(s)) return;
    if (o.SeparatorQuery.Pattern.empty())
        out.AddKey("IDS_NO_TEXT_PATTERN_SPECIFIED", output + "SeparatorQuery/Pattern");
    CheckPattern(o.SeparatorQuery, output + "SeparatorQuery", facts, out);
}

void CheckPasswords(SecuritySettings security, CheckedProblems& out) {
    if (!security.bPaswordProtect) return;
    TrimPasswords(security);
    const std::string field = "Settings/SecuritySettings/";
    if (security.Password.empty() && security.PermPassword.empty())
        out.AddKey("IDS_NO_PASSWORDS_PROVIDED", field + "Password");
    if (security.Password.size() > kMaxPasswordBytes)
        out.AddKey("IDS_OPEN_PASSWORD_TOO_LONG", field + "Password");
    else if (security.PermPassword.size() > kMaxPasswordBytes)
        out.AddKey("IDS_PERMISSIONS_PASSWORD_TOO_LONG", field + "PermPassword");
}

// A template is read only where names come from it.
void CheckNameTemplate(const FilenameSettings& n, const std::string& naming, CheckedProblems& out) {
    if (n.FileNameConstructionMode != NameConstructionMode::UseTemplate) return;
    if (n.NameTemplate.empty()) return out.AddKey("IDS_NO_NAME_TEMPLATE", naming + "NameTemplate");
    const Result<NameTemplate> parsed = NameTemplate::Parse(n.NameTemplate);
    if (!parsed)
        out.Add("IDS_NAME_TEMPLATE_INVALID", naming + "NameTemplate",
                FormatText(LookupString("IDS_NAME_TEMPLATE_INVALID"), {n.NameTemplate, parsed.Reason()}));
}

// A text held to a most characters by its row, the same by every route
// (the window's edit cannot take more).
void CheckTextLengths(const SplitSettings& s, CheckedProblems& out) {
    SplitSettings probe = s;
    for (const SettingsRow& row : SettingsSchema()) {
        const FieldRef field = row.ref(probe);
        std::string* const* text = std::get_if<std::string*>(&field);
        if (!text || row.low > row.high || !row.caption) continue;
        const std::size_t count = CountCharacters(**text);
        if (count <= static_cast<std::size_t>(row.high)) continue;
        std::string caption = LookupString("CAPTION " + std::string(row.caption), row.caption);
        if (caption.ends_with(":")) caption.pop_back();
        const char* cabinet = row.group == ProfileGroup::Filename ? "Settings/FilenameSettings/"
                              : row.group == ProfileGroup::Output ? "Settings/OutputSettings/"
                                                                  : "Settings/SecuritySettings/";
        out.Add("IDS_TEXT_TOO_LONG", cabinet + std::string(row.profileKey ? row.profileKey : ""),
                FormatText(LookupString("IDS_TEXT_TOO_LONG"),
                           {caption, static_cast<std::int64_t>(count), std::int64_t{row.high}}));
    }
}

void CheckValues(const SplitSettings& s, CheckedProblems& out) {
    CheckTextLengths(s, out);
    const std::string output = "Settings/OutputSettings/", naming = "Settings/FilenameSettings/";
    out.AddChoice(static_cast<std::int32_t>(s.Output.SeparatorType),
                  static_cast<std::int32_t>(SeparatorChoices().size()) - 1, output + "SeparatorType");
    CheckWatermark(s.Output.EveryRangeWatermark, "Settings/OutputSettings", out);
    CheckQueryArea(s.Output.SeparatorQuery, output + "SeparatorQuery", out);
    CheckOcr(s.Output.Ocr, output, out);
    const FilenameSettings& n = s.Filename;
    const bool namesFromArea = n.FileNameConstructionMode == NameConstructionMode::AddTextFromPage;
    std::optional<std::string> refusal = AreaRefusal(n.TextArea);
    if (namesFromArea && refusal) out.Add("IDS_AREA_EDGES_INVALID", naming + "PageRectLeft", std::move(*refusal));
    CheckNameTemplate(n, naming, out);
    CheckStoredRanges(s.Outputs, out);
}

}  // namespace

std::optional<std::string> AreaRefusal(const PageArea& a) {
    const Fixed16 zero;
    if (a.left >= zero && a.top >= zero && a.right >= a.left && a.bottom >= a.top) return std::nullopt;
    // As --area takes it, "." whatever the locale: "," parts the edges.
    std::string area;
    for (const Fixed16 edge : {a.left, a.top, a.right, a.bottom}) {
        char number[32];
        const auto [end, error] = std::to_chars(number, number + sizeof number, edge.Real());
        area += (area.empty() ? "" : ",") + std::string(number, error == std::errc() ? end : number);
    }
    return FormatText(LookupString("IDS_AREA_EDGES_INVALID"), {area});
}

bool TrimPasswords(SecuritySettings& security) {
    const std::string open = TrimText(security.Password), permissions = TrimText(security.PermPassword);
    const bool trimmed =
        (!open.empty() && open != security.Password) || (!permissions.empty() && permissions != security.PermPassword);
    security.Password = open;
    security.PermPassword = permissions;
    return trimmed;
}

namespace {

// A template's field that no pattern fills ({tilte}) would stay empty in
// every name; a pattern's group named as one of the template's own fields
// ({n}) would never be seen. Both are said.
void CheckTemplateFields(const SplitSettings& s, const DocumentFacts& facts, CheckedProblems& out) {
    const FilenameSettings& n = s.Filename;
    if (n.FileNameConstructionMode != NameConstructionMode::UseTemplate || !facts.groupNames) return;
    const Result<NameTemplate> parsed = NameTemplate::Parse(n.NameTemplate);
    if (!parsed) return;  // said by the stored values' check
    std::vector<std::string> groups = facts.groupNames(n.NamePattern);
    for (const std::string& name : groups)
        if (NameTemplate::IsOwnField(name))
            out.Add("IDS_NAME_PATTERN_GROUP_HIDDEN", "Settings/FilenameSettings/NamePattern",
                    FormatText(LookupString("IDS_NAME_PATTERN_GROUP_HIDDEN"), {name}));
    if (s.Output.SeparatorQuery.UseRegExp) {
        const std::vector<std::string> more = facts.groupNames(s.Output.SeparatorQuery.Pattern);
        groups.insert(groups.end(), more.begin(), more.end());
    }
    for (const std::string& field : parsed->GroupNames())
        if (std::ranges::find(groups, field) == groups.end())
            out.Add("IDS_NAME_TEMPLATE_UNKNOWN_FIELD", "Settings/FilenameSettings/NameTemplate",
                    FormatText(LookupString("IDS_NAME_TEMPLATE_UNKNOWN_FIELD"), {n.NameTemplate, field}));
}

// Languages asked for by name must be there before a page is read; the
// initial ones take what is installed.
void CheckOcrLanguages(const OcrSettings& ocr, const DocumentFacts& facts, CheckedProblems& out) {
    if (ocr.Mode == OcrMode::Never || ocr.Languages.empty() || !facts.ocrLanguagesFault) return;
    if (!IsOcrLanguageList(ocr.Languages)) return;  // said by the stored values' check
    if (const std::optional<std::string> fault = facts.ocrLanguagesFault(ocr.Languages))
        out.Add("IDS_OCR_LANGUAGE_MISSING", "Settings/OutputSettings/OcrLanguages",
                FormatText(LookupString("IDS_OCR_LANGUAGE_MISSING"), {ocr.Languages, *fault}));
}

}  // namespace

std::vector<SettingsProblem> CheckSettings(const SplitSettings& settings, const DocumentFacts& facts) {
    CheckedProblems out;
    CheckMethodFields(settings, facts, out);
    if (settings.Filename.OutputFolder.empty())
        out.AddKey("IDS_NO_OUTPUT_FOLDER_SPECIFIED", "Settings/FilenameSettings/OutPutFolder");
    CheckPasswords(settings.Security, out);
    CheckValues(settings, out);
    if (settings.Filename.FileNameConstructionMode == NameConstructionMode::UseTemplate) {
        TextQuery namePattern;
        namePattern.Pattern = settings.Filename.NamePattern;
        namePattern.UseRegExp = true;
        CheckPattern(namePattern, "Settings/FilenameSettings/Name", facts, out);
    }
    CheckTemplateFields(settings, facts, out);
    CheckOcrLanguages(settings.Output.Ocr, facts, out);
    return out.Take();
}

std::vector<SettingsProblem> CheckStoredValues(const SplitSettings& settings) {
    CheckedProblems out;
    CheckValues(settings, out);
    return out.Take();
}

}  // namespace tessera
