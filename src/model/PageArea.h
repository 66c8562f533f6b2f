#pragma once
// A rectangle on a page, as text searches and output names read it.
//
// Coordinates: points (1/72 inch) from the top left corner of the page as it
// is shown, rotation applied; x grows to the right and y grows down, so top
// is at most bottom in an area drawn the usual way. The host's word boxes
// (host::WordBox) are given in the same space, as reals; PDF user space
// (origin bottom left, y up, before /Rotate) never reaches the plug-in.
#include "model/Fixed16.h"

namespace tessera {

struct PageArea {
    Fixed16 left, top, right, bottom;

    friend bool operator==(const PageArea&, const PageArea&) = default;
};

}  // namespace tessera
