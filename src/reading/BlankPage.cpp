#include "reading/BlankPage.h"

#include "access/Host.h"
#include "access/ReadOr.h"
#include "reading/PageElementWalk.h"

namespace tessera {
namespace {

bool IsBlankImage(host::ElementRef element, host::PageElementKind type, double threshold) {
    if (type != host::PageElementKind::Image) return false;
    const host::ImageStorage image = Host().elements->Image(element);
    if (!image.isStoredObject || image.objectType != host::kObjectTypeStream) return false;
    if (image.storedLength <= 0 || image.dataLength <= 0) return false;
    return BlankImageRatio(image) < threshold;
}

// Runs test over the holder's content as far as its first element that is not
// an image, which fails both tests; the content is released afterwards. A page
// whose content lists nothing passes; a host error fails.
template <class Test>
bool JudgeContent(PageContentHolder& holder, Test&& test) {
    if (!holder.HasPage()) return false;
    ContentUse use(holder);
    return ReadOr(false, "a page whose content cannot be read is not taken for blank", [&] {
        const host::ElementRef content = holder.Content(PageContentHolder::Reach::FirstMark);
        if (Host().elements->ElementCount(content) < 1) return true;
        return test(content);
    });
}

}  // namespace

double BlankImageRatio(const host::ImageStorage& image) {
    return static_cast<double>(image.storedLength) / static_cast<double>(image.dataLength);
}

bool IsBlankPage(PageContentHolder& holder) {
    return JudgeContent(holder, [](host::ElementRef content) {
        int seen = 0;
        WalkPageElements(content, [&seen](host::ElementRef, host::PageElementKind) {
            ++seen;
            return false;
        });
        return seen == 0;
    });
}

bool IsBlankImagePage(PageContentHolder& holder, double threshold) {
    return JudgeContent(holder, [threshold](host::ElementRef content) {
        // Whatever is drawn beside the scan, inside a container or not, makes
        // the page more than a blank sheet: text in a marked-content group is
        // as visible as text outside one.
        bool blankImageSeen = false, otherSeen = false;
        WalkPageElements(content, [&](host::ElementRef element, host::PageElementKind type) {
            if (IsBlankImage(element, type, threshold))
                blankImageSeen = true;
            else
                otherSeen = true;
            return !otherSeen;
        });
        return blankImageSeen && !otherSeen;
    });
}

}  // namespace tessera
