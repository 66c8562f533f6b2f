#pragma once
// Where the settings dialog sits in the split command: it hands back the
// settings to split with, and keeps them for the next run as its front end
// does.
#include <optional>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

class SplitDialog {
public:
    virtual ~SplitDialog() = default;
    // The whole settings record OK accepted, the hand-made output list
    // included; none when the dialog did not end with OK (nothing is to be done).
    virtual std::optional<SplitSettings> Run(unsigned pageCount, const DocumentHandle& document) = 0;
    // After a split that completed, with the settings the dialog handed back.
    virtual void RunSucceeded(const SplitSettings& /*working*/) {}
};

}  // namespace tessera
