#include "model/SeparatorKindTable.h"

#include "model/CheckedProblems.h"
#include "model/SheetColours.h"
#include "model/SplitMethodTable.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

const std::string kOutput = "Settings/OutputSettings/";

}  // namespace

void CheckValueChangeFields(const OutputSettings& o, const DocumentFacts&, CheckedProblems& out) {
    if (o.ChangeKey == ChangeKeyKind::AreaText && !o.SeparatorQuery.UseAreaFilter)
        out.AddKey("IDS_NO_VALUE_AREA", kOutput + "SeparatorQuery/UseAreaFilter");
    out.AddChoice(static_cast<std::int32_t>(o.ChangeKey), 3, kOutput + "ChangeKey");
}

void CheckCodeFields(const OutputSettings& o, const DocumentFacts& facts, CheckedProblems& out) {
    TextQuery code = o.SeparatorQuery;
    code.UseRegExp = true;
    CheckPattern(code, kOutput + "SeparatorQuery", facts, out);
    if ((o.CodeKinds & static_cast<std::int32_t>(host::kEveryCode)) == 0)
        out.AddKey("IDS_NO_CODE_KINDS", kOutput + "CodeKinds");
}

void CheckSheetFields(const OutputSettings& o, const DocumentFacts&, CheckedProblems& out) {
    if (o.SheetSamplePage != 0 || !IsPaperColour(o.SheetColour, o.SheetTolerance)) return;
    out.Add("IDS_SHEET_COLOUR_IS_PAPER", kOutput + "SheetColour",
            FormatText(LookupString("IDS_SHEET_COLOUR_IS_PAPER"),
                       {ColourText(o.SheetColour), std::int64_t{o.SheetTolerance}}));
}

const SeparatorKindRow* FindSeparatorKindRow(SeparatorKind kind) {
    for (const SeparatorKindRow& row : kSeparatorKindRows)
        if (row.kind == kind) return &row;
    return nullptr;
}

const SeparatorKindRow* SeparatorKindOf(const SplitSettings& settings) {
    const SplitMethodRow* method = FindMethodRow(settings.SplitMode);
    return method && method->usesSeparator ? FindSeparatorKindRow(settings.Output.SeparatorType) : nullptr;
}

std::string SeparatorForms() {
    std::string forms;
    for (std::size_t i = 0; i < std::size(kSeparatorKindRows); ++i)
        forms += (i == 0                                   ? ""
                  : i + 1 == std::size(kSeparatorKindRows) ? " or "
                                                           : ", ") +
                 std::string(kSeparatorKindRows[i].forms);
    return forms;
}

bool UsesValueChange(const SplitSettings& settings) {
    const SeparatorKindRow* kind = SeparatorKindOf(settings);
    return kind && kind->scan == SeparatorScan::Values;
}

bool UsesSeparatorQuery(const SplitSettings& settings) {
    const SeparatorKindRow* kind = SeparatorKindOf(settings);
    return kind && (kind->scan == SeparatorScan::Text ||
                    (kind->scan == SeparatorScan::Values && settings.Output.ChangeKey == ChangeKeyKind::PatternMatch));
}

}  // namespace tessera
