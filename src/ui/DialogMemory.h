#pragma once
// What the dialogs remember while the host runs: the shell keeps one for the
// module's lifetime and lends it to each dialog it opens, so no dialog keeps
// anything of its own between two openings.
#include <string>

#include "ui/AcceptedOutputs.h"

namespace tessera {

struct DialogMemory {
    AcceptedOutputs accepted;
    // The watermark text of the range last accepted, for the next new range.
    std::string lastWatermarkText;
};

}  // namespace tessera
