#include "ui/SeparatorKindDialogs.h"

#include <algorithm>
#include <iterator>

#include "ui/BlankImageSettingsDialog.h"
#include "ui/CodeSeparatorDialog.h"
#include "ui/DialogView.h"
#include "ui/SeparatorSearchDialog.h"
#include "ui/SheetSeparatorDialog.h"
#include "ui/ValueChangeDialog.h"

namespace tessera {
namespace {

using Editor = bool (*)(DialogView& view, OutputSettings& output, const DocumentHandle* document);

// A sub-dialog that takes and gives the whole output settings.
template <class SubDialog>
bool EditWhole(DialogView& view, OutputSettings& output, const DocumentHandle* document) {
    SubDialog dialog(output);
    dialog.SetDocument(document);
    if (!view.RunModal(dialog)) return false;
    output = dialog.Result();
    return true;
}

bool EditBlankScan(DialogView& view, OutputSettings& output, const DocumentHandle*) {
    BlankImageSettingsDialog dialog(output.BlankPageThreshold);
    if (!view.RunModal(dialog)) return false;
    output.BlankPageThreshold = dialog.Result();
    return true;
}

bool EditTextSearch(DialogView& view, OutputSettings& output, const DocumentHandle* document) {
    SeparatorSearchDialog dialog(output.SeparatorQuery, document, output.Ocr);
    if (!view.RunModal(dialog)) return false;
    output.SeparatorQuery = dialog.Result();
    return true;
}

struct KindDialog {
    SeparatorKind kind;
    Editor edit;
    bool readsFields = false;
};

constexpr KindDialog kKindDialogs[] = {
    {SeparatorKind::BlankImagePage, EditBlankScan},
    {SeparatorKind::PageMatchingText, EditTextSearch},
    {SeparatorKind::ValueChange, EditWhole<ValueChangeDialog>, true},
    {SeparatorKind::PageWithCode, EditWhole<CodeSeparatorDialog>},
    {SeparatorKind::ColouredSheet, EditWhole<SheetSeparatorDialog>},
};

const KindDialog* Find(SeparatorKind kind) {
    const auto found = std::ranges::find(kKindDialogs, kind, &KindDialog::kind);
    return found == std::end(kKindDialogs) ? nullptr : &*found;
}

}  // namespace

bool HasSeparatorDialog(SeparatorKind kind) { return Find(kind) != nullptr; }

bool SeparatorDialogReadsFields(SeparatorKind kind) {
    const KindDialog* found = Find(kind);
    return found && found->readsFields;
}

bool EditSeparatorKind(SeparatorKind kind, DialogView& view, OutputSettings& output, const DocumentHandle* document) {
    const KindDialog* found = Find(kind);
    return found && found->edit(view, output, document);
}

}  // namespace tessera
