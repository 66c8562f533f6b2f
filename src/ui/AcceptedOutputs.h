#pragma once
// The hand-made output list the settings dialog last handed over, and the
// file it was made for. Kept while the host runs (ui/DialogMemory.h), so that
// reopening the dialog on the same file shows the list again.
#include <string>

#include "model/OutputDocument.h"

namespace tessera {

struct AcceptedOutputs {
    OutputList list;
    std::string documentPath;  // empty when there was no document
};

}  // namespace tessera
