#include "model/SettingsSchema.h"

#include <algorithm>
#include <limits>

#include "model/SettingsChoices.h"

namespace tessera {
namespace {

using enum ProfileGroup;

#define FIELD(expr) [](SplitSettings& s) -> FieldRef { return &s.expr; }

// Dialog control numbers are those of the settings dialog's resource.
const SettingsRow kSettingsRows[] = {
    {FIELD(Security.bPaswordProtect), "bPaswordProtect", 23, Security, "PasswordProtect", false, 0, 1017,
     "Password protect output documents"},
    {FIELD(Security.bSecurityCanCopy), "bSecurityCanCopy", 24, Security, "CanCopy", true, 0, 1029,
     "Allow content copying and extraction"},
    {FIELD(Security.bSecurityCanEdit), "bSecurityCanEdit", 25, Security, "CanEdit", true, 0, 1027,
     "Allow document editing"},
    {FIELD(Security.bSecurityCanEditNotes), "bSecurityCanEditNotes", 26, Security, "CanEditNotes", true, 0, 1031,
     "Allow editing of text notes"},
    {FIELD(Security.bSecurityCanPrint), "bSecurityCanPrint", 27, Security, "CanPrint", true, 0, 1028,
     "Allow document printing"},
    {FIELD(Security.AllowAll), nullptr, -1, Security, "AllowAll", true},
    {FIELD(Security.Password), "Password", 21, Security, "Password", 0, 0, 1018, "Document Password:"},
    {FIELD(Security.PermPassword), "PermPassword", 22, Security, "PermPassword", 0, 0, 1025, "Permissions Password:"},

    {FIELD(Filename.OutputBaseFilename), "OutputBaseFilename", 28, Filename, "BaseFilename", 0, 0, 1019,
     "Base filename:", "base", "Text put after the prefix in every name", 0, 128},
    {FIELD(Filename.OutputFolder), "OutputFolder", 29, Filename, "OutPutFolder", 0, 0, 1010, "Output folder:", nullptr,
     nullptr, 0, 512},
    {FIELD(Filename.FileNameConstructionMode), "FileNameCosntructionMode", 30, Filename, "FileConstructionMode", 0,
     static_cast<std::int32_t>(NamingModeChoices().size()), 1026,
     "For every output document add the following to the base filename:", "suffix",
     "How an output without a name of its own ends: its number, a letter, its page span, the label of its first "
     "page, or the text in --name-area of its first page; template names every output from --name instead"},
    {FIELD(Filename.FileNameAutoPrefix), "FileNameAutoPrefix", 31, Filename, "FileAutoPrefix", 0,
     static_cast<std::int32_t>(PrefixChoices().size()), 1096, "Name prefix:", "prefix",
     "What names start with: nothing, the input's name, or today's date"},
    {FIELD(Filename.CreateFoldersForBookmarks), "CreateFoldersForBookmarks", 32, Filename, "CreateFolders", false, 0,
     1130, "Create folders (for bookmarks only)", "folders",
     "Put the outputs of a bookmark split into subfolders that follow the bookmark tree"},
    {FIELD(Filename.PageNumber), nullptr, -1, Filename, "PageNumber", 0},
    {FIELD(Filename.TextArea.left), "TextAreaLeft", 33, Filename, "PageRectLeft"},
    {FIELD(Filename.TextArea.right), "TextAreaRight", 34, Filename, "PageRectRight"},
    {FIELD(Filename.TextArea.top), "TextAreaTop", 35, Filename, "PageRectTop"},
    {FIELD(Filename.TextArea.bottom), "TextAreaBottom", 36, Filename, "PageRectBottom"},
    {FIELD(Filename.StartingNumber), nullptr, -1, Filename, "StartingNumber", 1},
    {FIELD(Filename.IncrementBy), nullptr, -1, Filename, "IncrementBy", 1},
    {FIELD(Filename.NumPadWithZeroes), nullptr, -1, Filename, "NumPadWithZeroes", 0},
    // Set by the naming options' sub-dialog, and by --name (which also chooses the template).
    {FIELD(Filename.NameTemplate), "NameTemplate", 37, Filename, "NameTemplate", 0, 0, 0, nullptr, nullptr, nullptr, 0,
     -1, true},
    {FIELD(Filename.NamePattern), "NamePattern", 38, Filename, "NamePattern", 0, 0, 0, nullptr, "name-pattern",
     "A regular expression run on each output's first page: its groups are the name template's {1}... and "
     "{NAME}",
     0, -1, true},

    {FIELD(Output.bLinearize), "bLinearize", 16, Output, "Linearize", false, 0, 1011,
     "Linearize documents for fast network access", "linearize", "Save the outputs linearized (fast web view)"},
    {FIELD(Output.bRemovePageLabels), "bRemovePageLabels", 17, Output, "RemovePageLabels", false, 0, 1013,
     "Remove all page labels", "remove-labels", "Remove page labels from the outputs"},
    {FIELD(Output.bTransferBookmarks), "bTransferBookmarks", 18, Output, "TransferBookmarks", false, 0, 1016,
     "Transfer bookmarks to output documents", "transfer-bookmarks",
     "Give every output the input's whole bookmark tree, leading where links lead"},
    {FIELD(Output.bUpdateLinks), "bUpdateLinks", 19, Output, "UpdateLinks", false, 0, 1012,
     "Update links in output documents", "update-links",
     "Make links lead to where their target pages went: the same output, another output's file, or the input"},
    {FIELD(Output.bCreateHTMLIndex), "bCreateHTMLIndex", 20, Output, "CreateHTMLIndex", false, 0, 1131,
     "Create HTML index file", "html-index", "Write INPUT_index.htm into the output folder, linking every output"},
    {FIELD(Output.NumEqualPages), "NumEqualPages", 0, Output, "EqualPagesNumber", 1, 0, 1001, ""},
    {FIELD(Output.StartBookmarkLevel), "StartBookmarkLevel", 1, Output, "StartBookmarkLevel", 1, 0, 1038, ""},
    {FIELD(Output.EndBookmarkLevel), "EndBookmarkLevel", 2, Output, "EndBookmarkLevel", 1, 0, 1039, ""},
    // Its list is shown with the method radios, which also check it.
    {FIELD(Output.SeparatorType), "SeparatorType", 3, Output, "SeparatorType", 0},
    // How noisy a blank scan may be: 10 (clean) to 80 (noisy).
    {FIELD(Output.BlankPageThreshold), "BlankPageThreshold", 4, Output, "BlankImageThreshold", 40, 0, 0, nullptr,
     nullptr, nullptr, 10, 80},
    // The separator where a value changes; its area and pattern are the separator query's.
    {FIELD(Output.ChangeKey), "ChangeKey", 39, Output, "ChangeKey", 0, 4, 0, nullptr, nullptr, nullptr, 0, -1, true},
    {FIELD(Output.MissingKeyStartsNew), "MissingKeyStartsNew", 40, Output, "MissingKeyStartsNew", false, 0, 0, nullptr,
     nullptr, nullptr, 0, -1, true},
    {FIELD(Output.GroupSameKey), "GroupSameKey", 41, Output, "GroupSameKey", false, 0, 0, nullptr, "group-same-key",
     "With --separator change=: every page of one value goes to one output, in page order, rather than a value "
     "seen again starting an output of its own",
     0, -1, true},
    {FIELD(Output.KeepSeparators), "KeepSeparators", 42, Output, "KeepSeparators", false, 0, 1132,
     "Keep separator pages and sheets (each starts the next output)", "keep-separators",
     "With --separator blank, scan, code or sheet: a separator page starts the next output instead of being dropped", 0,
     -1, true},
    {FIELD(Output.Duplex), "Duplex", 46, Output, "Duplex", false, 0, 1133,
     "Scanned on both sides (a separator sheet's back goes with it)", "duplex",
     "With --separator blank, scan, code or sheet: pages come in sheets of two; only a front is a separator, "
     "the back of a separator sheet is dropped with it when it is blank or a separator, and a document's own "
     "blank backs are kept",
     0, -1, true},
    // Every kind at first; a store holds the sum of the kinds' bits.
    {FIELD(Output.CodeKinds), "CodeKinds", 47, Output, "CodeKinds", host::kEveryCode, 0, 0, nullptr, nullptr, nullptr,
     1, host::kEveryCode, true},
    // Bytes; 0 for no limit. The command line takes units (ByteSize).
    {FIELD(Output.MaxOutputBytes), "MaxOutputBytes", 48, Output, "MaxOutputBytes", 0, 0, 0, nullptr, nullptr, nullptr,
     0, std::numeric_limits<std::int32_t>::max(), true},
    {FIELD(Output.AllowOversize), "AllowOversize", 49, Output, "AllowOversize", false, 0, 1134,
     "Write a page larger than the size limit as a document of its own", "allow-oversize",
     "With --max-size: a page that alone is larger than SIZE is written as an output of its own (and said), "
     "instead of stopping the run before anything is written",
     0, -1, true},
    {FIELD(Output.SheetColour), "SheetColour", 43, Output, "SheetColour", 0, 0, 0, nullptr, nullptr, nullptr, 0,
     0xFFFFFF, true},
    {FIELD(Output.SheetTolerance), "SheetTolerance", 44, Output, "SheetTolerance", 64, 0, 0, nullptr, nullptr, nullptr,
     0, 255, true},
    {FIELD(Output.SheetShare), "SheetShare", 45, Output, "SheetShare", 95, 0, 0, nullptr, nullptr, nullptr, 50, 100,
     true},
    {FIELD(Output.SheetSamplePage), "SheetSamplePage", 50, Output, "SheetSamplePage", 0, 0, 0, nullptr, nullptr,
     nullptr, 0, std::numeric_limits<std::int32_t>::max(), true},
    {FIELD(Output.CodeAnywhere), "CodeAnywhere", 51, Output, "CodeAnywhere", false, 0, 0, nullptr, "code-anywhere",
     "With --separator code and no pattern: any page showing a code is a separator sheet, not only a page that "
     "holds little but its codes (at most 0.5% of its area in ink beside them and their margins)",
     0, -1, true},
    // The watermark of every range without one of its own, as the range keeps its own.
    // A run-wide watermark is the window's to show and take off too (5202:
    // a control of this program's own).
    {FIELD(Output.EveryRangeWatermark.Text), nullptr, -1, Output, "Watermark", 0, 0, 5202, "Watermark on every page:"},
    {FIELD(Output.EveryRangeWatermark.FontSize), nullptr, -1, Output, "WatermarkFontSize", 45, 0, 0, nullptr, nullptr,
     nullptr, 1, 1000},
    {FIELD(Output.EveryRangeWatermark.TransparencyLevel), nullptr, -1, Output, "TransparencyLevel", 50, 0, 0, nullptr,
     nullptr, nullptr, 0, 100},
    {FIELD(Output.EveryRangeWatermark.BehindText), nullptr, -1, Output, "WatermarkBehindText", false},

    // Profiles keep the separator query in a cabinet of its own, and the
    // method at the top of the tree.
    {FIELD(Output.SeparatorQuery.Pattern), "TextSeparatorPattern", 5},
    {FIELD(Output.SeparatorQuery.UseRegExp), "TextSeparatorUseRegExp", 6, None, nullptr, 0, 0, 0, nullptr, "regex",
     "Texts searched for are Perl-compatible regular expressions"},
    {FIELD(Output.SeparatorQuery.WholeWords), "TextSeparatorMatchWholeWords", 7, None, nullptr, 0, 0, 0, nullptr,
     "whole-words", "Texts searched for match whole words only"},
    {FIELD(Output.SeparatorQuery.MatchCase), "TextSeparatorMatchCase", 8, None, nullptr, 0, 0, 0, nullptr, "match-case",
     "Texts searched for match upper and lower case exactly"},
    {FIELD(Output.SeparatorQuery.PrevBreakPage), "TextSeparatorPrevBreakPage", 9},
    {FIELD(Output.SeparatorQuery.UseAreaFilter), "TextSeparatorUseAreaFilter", 10},
    {FIELD(Output.SeparatorQuery.Area.left), "TextSeparatorAreaLeft", 11},
    {FIELD(Output.SeparatorQuery.Area.right), "TextSeparatorAreaRight", 12},
    {FIELD(Output.SeparatorQuery.Area.top), "TextSeparatorAreaTop", 13},
    {FIELD(Output.SeparatorQuery.Area.bottom), "TextSeparatorAreaBottom", 14},
    {FIELD(SplitMode), "SplitMode", 15},
};

#undef FIELD

}  // namespace

std::span<const SettingsRow> SettingsSchema() { return kSettingsRows; }

std::vector<const SettingsRow*> RememberedRows() {
    std::vector<const SettingsRow*> rows;
    for (const SettingsRow& row : kSettingsRows)
        if (row.registryName) rows.push_back(&row);
    std::ranges::sort(rows, {}, &SettingsRow::registryPlace);
    return rows;
}

bool IsWritten(const SettingsRow& row, SplitSettings& settings) {
    if (!row.writtenWhenSet) return true;
    SplitSettings initial;
    return std::visit([&](auto* value) { return !(*value == *std::get<decltype(value)>(row.ref(initial))); },
                      row.ref(settings));
}

const SettingsRow* SettingsRowOf(SplitSettings& settings, const void* field) {
    for (const SettingsRow& row : kSettingsRows)
        if (std::visit([&](auto* value) { return static_cast<const void*>(value) == field; }, row.ref(settings)))
            return &row;
    return nullptr;
}

const SettingsRow* SettingsRowForControl(int control) {
    for (const SettingsRow& row : kSettingsRows)
        if (row.control == control) return &row;
    return nullptr;
}

const SettingsRow* SettingsRowForOption(const std::string& option) {
    for (const SettingsRow& row : kSettingsRows)
        if (row.option && option == row.option) return &row;
    return nullptr;
}

}  // namespace tessera
