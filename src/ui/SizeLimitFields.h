#pragma once
// The settings dialog's size limit: a number and its unit, the method
// "Documents no larger than" and the box that limits the other methods. The
// settings keep one number of bytes, 0 for no limit; the box is checked when
// another method has a limit.
#include "model/SplitSettings.h"
#include "ui/DialogView.h"

namespace tessera {

inline constexpr ControlId kSizeRadio = 1107, kSizeEdit = 1136, kSizeUnitList = 1137, kSizeLimitCheck = 1138;

void FillSizeUnits(DialogView& view);
// Shows the limit in the largest unit that takes it whole.
void ShowSizeLimit(DialogView& view, const SplitSettings& settings);
// The limit the controls give for the chosen method: none unless the size
// method is chosen or the box is checked; 0 also for a size that cannot be
// read, which the checks refuse for the size method.
void ReadSizeLimit(const DialogView& view, SplitSettings& settings);
// The edit and its unit take a size while the method or the box asks for one.
void EnableSizeLimit(DialogView& view, const SplitSettings& settings);

}  // namespace tessera
