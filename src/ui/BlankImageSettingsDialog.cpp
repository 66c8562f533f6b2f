#include "ui/BlankImageSettingsDialog.h"

#include <algorithm>

#include "model/SettingsSchema.h"

namespace tessera {
namespace {

constexpr ControlId kSlider = 1108, kDefault = 1109, kGroup = 1110;
// The slider spans the threshold's range in the settings schema; its default
// is the threshold's initial value.
SliderSpec ThresholdRange() {
    SplitSettings s;
    const SettingsRow& row = *SettingsRowOf(s, &s.Output.BlankPageThreshold);
    return {row.low, row.high, 10, 10};
}

}  // namespace

BlankImageSettingsDialog::BlankImageSettingsDialog(int threshold) : threshold_(threshold) {}

std::vector<ControlSpec> BlankImageSettingsDialog::Controls() const {
    return {
        {kGroup, ControlKind::Group, "Sensitivity"},
        {0, ControlKind::Text, "Move slider to adjust sensitivity for the scanned page quality:", kGroup},
        {0, ControlKind::Text, "Clean, noise free image", kGroup},
        {kSlider, ControlKind::Slider, "", kGroup, true},
        {0, ControlKind::Text, "Noisy, bad quality image", kGroup, true},
        {kDefault, ControlKind::Button, "Set to Default"},
        {kOkButton, ControlKind::Button, "OK", 0, true},
        {kCancelButton, ControlKind::Button, "Cancel", 0, true},
    };
}

void BlankImageSettingsDialog::Open(DialogView& view) {
    view_ = &view;
    const SliderSpec range = ThresholdRange();
    view.SetSlider(kSlider, range, std::clamp(threshold_, range.minimum, range.maximum));
}

void BlankImageSettingsDialog::Changed(ControlId id) {
    if (id == kDefault) view_->SetSlider(kSlider, ThresholdRange(), OutputSettings{}.BlankPageThreshold);
}

bool BlankImageSettingsDialog::Accept() {
    threshold_ = view_->SliderValue(kSlider);
    return true;
}

}  // namespace tessera
