// The settings dialog's plan beside it, and the cuts made on it by hand.
#include "model/SplitMethodTable.h"
#include "strings/LanguageTable.h"
#include "ui/HandCuts.h"
#include "ui/SplitSettingsDialog.h"

namespace tessera {

void SplitSettingsDialog::ShowPlan(bool asked) {
    DialogView& view = *view_;
    const SplitSettings record = Record();
    PlanPreview plan;
    if (!asked && PlanReadsEveryPage(record)) {
        plan.message = LookupString("IDS_PLAN_WAITING");
    } else {
        plan.state = PlanPreview::State::Planning;
        plan.message = LookupString("IDS_PLAN_PLANNING");
        plan.words = PlanWords();
        view.ShowPlan(plan);
        view.SetBusy(true);
        plan = MakePlanPreview(record, document_);
        view.SetBusy(false);
    }
    plan.words = PlanWords();
    plan.planNow = [this] { ShowPlan(true); };
    plan.toggleCut = [this](std::size_t before) { CutByHand(before); };
    plan.rename = [this](int output, const std::string& name) { RenameByHand(output, name); };
    shownPlan_ = plan;
    view.ShowPlan(plan);
}

bool SplitSettingsDialog::TakePlanAsList() {
    if (fields_.SplitMode == SplitMethod::ManualRanges) return true;
    if (shownPlan_.state != PlanPreview::State::Planned ||
        !view_->AskYesNo(Caption(), LookupString("IDS_PLAN_TO_LIST")))
        return false;
    fields_.SplitMode = SplitMethod::ManualRanges;
    SetRadios();
    return true;
}

void SplitSettingsDialog::UseList(const OutputList& list) {
    tree_.Clear();
    ShowTree(tree_.AddList(list, pageCount_));
    Refresh();
}

void SplitSettingsDialog::CutByHand(std::size_t before) {
    const std::optional<OutputList> cut = ToggleCut(shownPlan_, before);
    if (cut && TakePlanAsList()) UseList(*cut);
}

void SplitSettingsDialog::RenameByHand(int output, const std::string& name) {
    OutputList list = HandMadeList(shownPlan_);
    if (output < 0 || static_cast<std::size_t>(output) >= list.size() || !TakePlanAsList()) return;
    list[static_cast<std::size_t>(output)].Filename = CleanBaseFilename(name);
    UseList(list);
}

}  // namespace tessera
