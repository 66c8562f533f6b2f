#include "ui/BlankImageSettingsDialog.h"

#include <algorithm>

namespace tessera {
namespace {

constexpr ControlId kSlider = 1108, kDefault = 1109, kGroup = 1110;
constexpr SliderSpec kRange{10, 80, 10, 10};
constexpr int kDefaultThreshold = 40;

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
    view.SetSlider(kSlider, kRange, std::clamp(threshold_, kRange.minimum, kRange.maximum));
}

void BlankImageSettingsDialog::Changed(ControlId id) {
    if (id == kDefault) view_->SetSlider(kSlider, kRange, kDefaultThreshold);
}

bool BlankImageSettingsDialog::Accept() {
    threshold_ = view_->SliderValue(kSlider);
    return true;
}

}  // namespace tessera
