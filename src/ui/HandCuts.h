#pragma once
// Cuts made by hand on the plan beside the settings window: the plan's
// outputs become a hand-made list, in which a click between two pages cuts
// an output in two there, or joins the outputs that meet there.
#include <cstddef>
#include <optional>

#include "model/OutputDocument.h"
#include "ui/PlanPreview.h"

namespace tessera {

// The plan's outputs as a hand-made list: each output's pages as ranges
// (runs going up or down), named as the plan names them where a name of
// its own did (a bookmark, a value, a hand-made output's name), else named
// as the settings name outputs.
OutputList HandMadeList(const PlanPreview& plan);

// That list with the cut between place `before` and the next one made or
// taken away: within an output it becomes two (the second named as the
// settings name outputs), where two outputs meet they become one (with the
// first one's name). None where either place is no page of an output, or
// the outputs do not follow each other.
std::optional<OutputList> ToggleCut(const PlanPreview& plan, std::size_t before);

}  // namespace tessera
