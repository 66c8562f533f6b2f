#include "reading/ShownPageSize.h"

#include <cmath>

#include "access/Host.h"
#include "access/OwnedId.h"

namespace tessera {

ShownSize ShownPageSize(const DocumentHandle& document, int page) {
    const OwnedPage held(Host().pages->AcquirePage(document.Doc(), page));
    const host::Rect box = Host().pages->CropBox(held.Get());
    const double width = std::fabs(box.right - box.left), height = std::fabs(box.top - box.bottom);
    if (Host().pages->Rotation(held.Get()) % 180 != 0) return {height, width};
    return {width, height};
}

}  // namespace tessera
