#pragma once
// The action of an outline item or a link annotation.
#include <qpdf/QPDFObjectHandle.hh>

#include "host/HostTypes.h"
#include "pdf/store/DocumentStore.h"

namespace tessera::pdf {

// The item's /A action, or a GoTo action made once for its /Dest (a plain
// destination behaves as a GoTo to it); a null ref when it has neither.
host::ActionRef ActionOfItem(DocumentStore& store, host::DocId doc, QPDFObjectHandle item);

}  // namespace tessera::pdf
