// What the settings dialog's buttons, menus and keys do to the output tree.
#include "access/Host.h"
#include "access/ReadOr.h"
#include "engine/OutputPlanner.h"
#include "strings/LanguageTable.h"
#include "strings/Utf8Text.h"
#include "ui/BookmarkPickerDialog.h"
#include "ui/ElementContentDialog.h"
#include "ui/OutputDocumentOptionsDialog.h"
#include "ui/PageRangeDialog.h"
#include "ui/SplitSettingsDialog.h"
#include "ui/TextSearchRangeDialog.h"

namespace tessera {
namespace {

// "From Bookmark "TITLE", ", the part before the comma cut to 35 characters.
std::string BookmarkSubTitle(const std::string& title) {
    constexpr std::size_t kLimit = 35;
    const std::string whole = "From Bookmark \"" + title;
    const std::string cut = CutToCharacters(whole, kLimit);
    return (cut.size() < whole.size() ? cut + "..." : cut) + "\", ";
}

}  // namespace

bool SplitSettingsDialog::Ask(const char* key) {
    return view_->AskYesNo(LookupString("IDS_WARNING"), LookupString(key));
}

void SplitSettingsDialog::AddDocument() {
    ShowTree(tree_.AddDocument(""));
    Refresh();
}

void SplitSettingsDialog::AddRange(PageRange range) {
    const std::optional<std::size_t> doc = TargetDocument();
    if (!doc) return;
    ShowTree(tree_.AddRange(*doc, std::move(range), pageCount_));
    Refresh();
}

void SplitSettingsDialog::AddPlainRange() {
    if (!TargetDocument()) return;
    PageRangeDialog dialog(document_, pageCount_, &memory_.lastWatermarkText);
    if (view_->RunModal(dialog)) AddRange(dialog.Result());
}

void SplitSettingsDialog::AddQueryRange(bool byContent) {
    if (!TargetDocument()) return;
    PageRange range;
    if (byContent) {
        ElementContentDialog dialog(range.Query);
        if (!view_->RunModal(dialog)) return;
        range.Query = dialog.Result();
    } else {
        TextSearchRangeDialog dialog(range.Query);
        if (!view_->RunModal(dialog)) return;
        range.Query = dialog.Result();
    }
    if (IsQueryComplete(range.Query)) AddRange(std::move(range));
}

void SplitSettingsDialog::AddRangeFromBookmark() {
    if (!TargetDocument() || !document_.HasDocument()) return;
    BookmarkPickerDialog picker(document_);
    if (!view_->RunModal(picker)) return;
    std::string title;
    std::optional<PageRange> range =
        ReadOr(std::nullopt, "a bookmark whose page or title cannot be read gives no range", [&] {
            std::optional<PageRange> planned = PlanBookmarkRange(document_, picker.Result());
            title = Host().bookmarks->Title(picker.Result());
            return planned;
        });
    // A bookmark that leads to no page gives no range; saying so beats adding nothing without a word.
    if (!range) return view_->ShowMessageByKey("IDS_CANT_COMPUTE_PAGE_RANGE_FROM_BOOKMARK");
    range->SubTitle = BookmarkSubTitle(title);
    AddRange(std::move(*range));
}

void SplitSettingsDialog::EditRange() {
    const TreePath selected = Selection();
    if (selected.size() != 2) return;
    OutputDocumentTree::Range& item = tree_.Documents().at(selected[0]).ranges.at(selected[1]);
    const PageRange& record = item.record;
    if (record.Query.Enable && record.Query.Target == QueryTarget::QueryPageContent) {
        ElementContentDialog dialog(record.Query);
        if (!view_->RunModal(dialog)) return;
        item.record.Query = dialog.Result();
    } else if (record.Query.Enable) {
        TextSearchRangeDialog dialog(record.Query);
        if (!view_->RunModal(dialog)) return;
        item.record.Query = dialog.Result();
    } else {
        PageRangeDialog dialog(document_, pageCount_, record, &memory_.lastWatermarkText);
        if (!view_->RunModal(dialog)) return;
        item.record = dialog.Result();
    }
    ShowTree(selected);
    Refresh();
}

void SplitSettingsDialog::EditDocument() {
    const TreePath selected = Selection();
    if (selected.size() != 1) return;
    OutputDocumentTree::Document& document = tree_.Documents().at(selected[0]);
    const std::string automatic = document.customName ? tree_.NextAutomaticLabel() : document.label;
    OutputDocumentOptionsDialog dialog(document.customName, document.customName ? document.label : "");
    if (view_->RunModal(dialog)) {
        if (dialog.CustomName()) {
            document.label = dialog.Name();
        } else {
            if (document.customName) tree_.TakeAutomaticLabel();
            document.label = automatic;
        }
        document.customName = dialog.CustomName();
    }
    document.expanded = true;
    ShowTree(selected);
}

void SplitSettingsDialog::RemoveDocument() {
    const std::optional<std::size_t> doc = TargetDocument();
    if (!doc || !Ask("IDS_ARE_YOU_SURE_TO_REMOVE_DOCUMENT")) return;
    tree_.RemoveDocument(*doc);
    ShowTree({});
    Refresh();
}

void SplitSettingsDialog::RemoveRange() {
    const TreePath selected = Selection();
    if (selected.size() != 2 || !Ask("IDS_ARE_YOU_SURE_TO_REMOVE_PAGE_RANGE")) return;
    tree_.RemoveRange(selected[0], selected[1]);
    ShowTree({selected[0]});
    Refresh();
}

void SplitSettingsDialog::RemoveAll() {
    if (!Ask("IDS_ARE_SURE_TO_REMOVE_ALL_DOCUMENTS")) return;
    tree_.Documents().clear();  // automatic labels go on counting
    ShowTree({});
    Refresh();
}

}  // namespace tessera
