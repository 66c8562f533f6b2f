#pragma once
// How a page's content leaves the graphics state stack: what must be added
// around it so that drawing after it starts from the page's initial state.
#include <qpdf/QPDFObjectHandle.hh>

namespace tessera::pdf {

struct SaveDepth {
    int lowest = 0;           // the depth of q less Q at its lowest, 0 or below
    int end = 0;              // at the end of the content
    bool endsInText = false;  // a text object is still open at the end
};

// Reads every content stream of the page; HostError when it cannot be read whole.
SaveDepth MeasureSaveDepth(QPDFObjectHandle page);

}  // namespace tessera::pdf
