#include "model/SettingsFields.h"

namespace tessera {
namespace {

#define FIELD(name, expr) \
    SettingsField { name, [](SplitSettings& s) -> FieldRef { return &s.expr; } }

const SettingsField kFields[] = {
    FIELD("NumEqualPages", Output.NumEqualPages),
    FIELD("StartBookmarkLevel", Output.StartBookmarkLevel),
    FIELD("EndBookmarkLevel", Output.EndBookmarkLevel),
    FIELD("SeparatorType", Output.SeparatorType),
    FIELD("BlankPageThreshold", Output.BlankPageThreshold),
    FIELD("TextSeparatorPattern", Output.SeparatorQuery.Pattern),
    FIELD("TextSeparatorUseRegExp", Output.SeparatorQuery.UseRegExp),
    FIELD("TextSeparatorMatchWholeWords", Output.SeparatorQuery.WholeWords),
    FIELD("TextSeparatorMatchCase", Output.SeparatorQuery.MatchCase),
    FIELD("TextSeparatorPrevBreakPage", Output.SeparatorQuery.PrevBreakPage),
    FIELD("TextSeparatorUseAreaFilter", Output.SeparatorQuery.UseAreaFilter),
    FIELD("TextSeparatorAreaLeft", Output.SeparatorQuery.AreaLeft),
    FIELD("TextSeparatorAreaRight", Output.SeparatorQuery.AreaRight),
    FIELD("TextSeparatorAreaTop", Output.SeparatorQuery.AreaTop),
    FIELD("TextSeparatorAreaBottom", Output.SeparatorQuery.AreaBottom),
    FIELD("SplitMode", SplitMode),
    FIELD("bLinearize", Output.bLinearize),
    FIELD("bRemovePageLabels", Output.bRemovePageLabels),
    FIELD("bTransferBookmarks", Output.bTransferBookmarks),
    FIELD("bUpdateLinks", Output.bUpdateLinks),
    FIELD("bCreateHTMLIndex", Output.bCreateHTMLIndex),
    FIELD("Password", Security.Password),
    FIELD("PermPassword", Security.PermPassword),
    FIELD("bPaswordProtect", Security.bPaswordProtect),
    FIELD("bSecurityCanCopy", Security.bSecurityCanCopy),
    FIELD("bSecurityCanEdit", Security.bSecurityCanEdit),
    FIELD("bSecurityCanEditNotes", Security.bSecurityCanEditNotes),
    FIELD("bSecurityCanPrint", Security.bSecurityCanPrint),
    FIELD("OutputBaseFilename", Filename.OutputBaseFilename),
    FIELD("OutputFolder", Filename.OutputFolder),
    FIELD("FileNameCosntructionMode", Filename.FileNameConstructionMode),
    FIELD("FileNameAutoPrefix", Filename.FileNameAutoPrefix),
    FIELD("CreateFoldersForBookmarks", Filename.CreateFoldersForBookmarks),
    FIELD("TextAreaLeft", Filename.TextAreaLeft),
    FIELD("TextAreaRight", Filename.TextAreaRight),
    FIELD("TextAreaTop", Filename.TextAreaTop),
    FIELD("TextAreaBottom", Filename.TextAreaBottom),
};

#undef FIELD

}  // namespace

std::span<const SettingsField> StoredSettingsFields() { return kFields; }

}  // namespace tessera
