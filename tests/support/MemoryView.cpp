#include "support/MemoryView.h"

#include <algorithm>
#include <utility>

#include "access/Host.h"

namespace tessera {

MemoryView::MemoryView(Dialog& dialog) : dialog_(dialog), specs_(dialog.Controls()), title_(dialog.Caption()) {
    // Edits, lists and trees start empty; their caption is the label beside them.
    for (const ControlSpec& spec : specs_) {
        const bool showsCaption = spec.kind == ControlKind::Text || spec.kind == ControlKind::CheckBox ||
                                  spec.kind == ControlKind::Radio || spec.kind == ControlKind::Button ||
                                  spec.kind == ControlKind::Group;
        if (spec.id != 0 && showsCaption) controls_[spec.id].text = spec.caption;
    }
    dialog_.Open(*this);
    closed_ = dialog_.ClosesAtOnce();
}

const MemoryView::Control& MemoryView::State(ControlId id) const {
    static const Control none;
    const auto found = controls_.find(id);
    return found == controls_.end() ? none : found->second;
}

void MemoryView::Type(ControlId id, const std::string& text) {
    controls_[id].text = text;
    dialog_.Changed(id);
}

void MemoryView::Click(ControlId id) {
    const auto spec = std::find_if(specs_.begin(), specs_.end(), [id](const ControlSpec& s) { return s.id == id; });
    if (spec != specs_.end() && spec->kind == ControlKind::Radio) {
        for (const ControlSpec& other : specs_)
            if (other.kind == ControlKind::Radio && other.group == spec->group) controls_[other.id].checked = false;
        controls_[id].checked = true;
    } else if (spec != specs_.end() && spec->kind == ControlKind::CheckBox) {
        controls_[id].checked = !controls_[id].checked;
    }
    dialog_.Changed(id);
}

void MemoryView::Choose(ControlId id, int data) {
    SelectListData(id, data);
    dialog_.Changed(id);
}

void MemoryView::Slide(ControlId id, int value) {
    Control& slider = controls_[id];
    slider.value = std::clamp(value, slider.slider.minimum, slider.slider.maximum);
    dialog_.Changed(id);
}

void MemoryView::SelectTreeItem(ControlId id, const TreePath& path) {
    controls_[id].selected = path;
    dialog_.Changed(id);
}

void MemoryView::Activate(ControlId id) {
    if (!closed_) dialog_.Activated(id);
}

bool MemoryView::PressOk() {
    if (closed_ || !Enabled(kOkButton)) return false;
    closed_ = dialog_.Accept();
    return closed_;
}

void MemoryView::PressCancel() {
    if (closed_) return;
    dialog_.Reject();
    closed_ = true;
}

void MemoryView::FillList(ControlId id, const std::vector<ListEntry>& entries) {
    Control& list = controls_[id];
    list.entries = entries;
    list.selectedEntry = -1;
}

void MemoryView::SelectListData(ControlId id, int data) {
    Control& list = controls_[id];
    const auto found = std::find_if(list.entries.begin(), list.entries.end(),
                                    [data](const ListEntry& entry) { return entry.data == data; });
    list.selectedEntry = found == list.entries.end() ? -1 : static_cast<int>(found - list.entries.begin());
}

std::optional<int> MemoryView::SelectedListData(ControlId id) const {
    const Control& list = State(id);
    if (list.selectedEntry < 0) return std::nullopt;
    return list.entries[static_cast<std::size_t>(list.selectedEntry)].data;
}

void MemoryView::SetSlider(ControlId id, const SliderSpec& spec, int value) {
    Control& slider = controls_[id];
    slider.slider = spec;
    slider.value = value;
}

void MemoryView::ShowTree(ControlId id, const std::vector<TreeNode>& roots, const TreePath& selected) {
    Control& tree = controls_[id];
    tree.tree = roots;
    tree.selected = selected;
}

void MemoryView::ShowMessage(const std::string& text) { Host().viewer->Alert(text); }

bool MemoryView::AskYesNo(const std::string& title, const std::string& text) {
    return Host().windows->AskYesNo(title, text);
}

std::optional<std::string> MemoryView::ChooseFolder(const std::string&, const std::string&, const std::string& start) {
    return onChooseFolder ? onChooseFolder(start) : std::nullopt;
}

std::optional<std::string> MemoryView::ChooseFileToSave(const FileChoice& choice) {
    return onChooseFileToSave ? onChooseFileToSave(choice) : std::nullopt;
}

std::optional<std::string> MemoryView::ChooseFileToOpen(const FileChoice& choice) {
    return onChooseFileToOpen ? onChooseFileToOpen(choice) : std::nullopt;
}

void MemoryView::ShowPlan(const PlanPreview& plan) { plans.push_back(plan); }

void MemoryView::ShowPageArea(ControlId id, const host::PageImage& picture, const std::optional<PixelRect>& area) {
    Control& control = controls_[id];
    control.picture = picture;
    control.area = area;
}

void MemoryView::DrawArea(ControlId id, PixelRect area) {
    controls_[id].drawn = controls_[id].area = area;
    dialog_.Changed(id);
}

void MemoryView::RunWaiting() {
    for (auto& [key, work] : std::exchange(waiting, {})) work();
}

}  // namespace tessera
