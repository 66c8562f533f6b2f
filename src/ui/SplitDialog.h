#pragma once
// Where the settings dialog sits in the split command: it fills the working
// settings and the accepted hand-made output list, and keeps the settings
// for the next run as its front end does.
#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"

namespace tessera {

class SplitDialog {
public:
    virtual ~SplitDialog() = default;
    // False when the dialog did not end with OK (nothing is to be done).
    virtual bool Run(SplitSettings& working, OutputList& accepted, unsigned pageCount,
                     const DocumentHandle& document) = 0;
    // After a split that completed, with the working settings it ran with.
    virtual void RunSucceeded(const SplitSettings& /*working*/) {}
};

}  // namespace tessera
