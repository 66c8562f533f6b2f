#pragma once
// A page's size as a viewer shows it, in points: the crop box (the media box
// where none is set), with a turned page's sides swapped. Word boxes and
// areas on the page are measured in this space.
#include "access/DocumentHandle.h"

namespace tessera {

struct ShownSize {
    double width = 0, height = 0;
};

// HostError when the page cannot be read.
ShownSize ShownPageSize(const DocumentHandle& document, int page);

}  // namespace tessera
