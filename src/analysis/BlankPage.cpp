#include "analysis/BlankPage.h"

#include "access/Host.h"
#include "analysis/PageElementWalk.h"
#include "host/HostError.h"

namespace tessera {
namespace {

bool IsBlankImage(host::ElementRef element, host::PageElementKind type, double threshold) {
    if (type != host::PageElementKind::Image) return false;
    const host::ImageStorage image = Host().elements->Image(element);
    if (!image.isStoredObject || image.objectType != host::kObjectTypeStream) return false;
    if (image.storedLength <= 0 || image.dataLength <= 0) return false;
    return BlankImageRatio(image) < threshold;
}

// Runs test over the holder's content, which is released afterwards. A page
// whose content lists nothing passes; a host error fails.
template <class Test>
bool JudgeContent(PageContentHolder& holder, Test&& test) {
    if (!holder.HasPage()) return false;
    ContentUse use(holder);
    try {
        const host::ElementRef content = holder.Content();
        if (Host().elements->ElementCount(content) < 1) return true;
        return test(content);
    } catch (const host::HostError&) {
        return false;
    }
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
        // The last element judged decides: a stop inside a container ends only
        // that container's list, so an image after it judges again.
        bool verdict = false;
        WalkPageElements(content, [&verdict, threshold](host::ElementRef element, host::PageElementKind type) {
            verdict = IsBlankImage(element, type, threshold);
            return verdict;
        });
        return verdict;
    });
}

}  // namespace tessera
