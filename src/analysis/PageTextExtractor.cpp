#include "analysis/PageTextExtractor.h"

#include "access/Host.h"
#include "host/HostError.h"

namespace tessera {

TextArea AreaOf(const TextQuery& query) { return {query.AreaLeft, query.AreaTop, query.AreaRight, query.AreaBottom}; }

bool Touches(const host::WordBox& box, const TextArea& area) {
    const double left = area.left.Real(), top = area.top.Real();
    const double right = area.right.Real(), bottom = area.bottom.Real();
    return left <= box.maxX && right >= box.minX && top <= box.maxY && bottom >= box.minY;
}

PageTextExtractor::~PageTextExtractor() { Detach(); }

void PageTextExtractor::Detach() {
    if (finder_ == 0) return;
    try {
        Host().words->DestroyWordFinder(finder_);
    } catch (const host::HostError&) {
        // Nothing is left to release.
    }
    finder_ = 0;
}

bool PageTextExtractor::Attach(const DocumentHandle& document) {
    Detach();
    if (!document.HasDocument()) return false;
    finder_ = Host().words->CreateWordFinder(document.Doc());
    return true;
}

bool PageTextExtractor::Extract(int page, const TextArea& area, bool useArea) {
    if (finder_ == 0) return false;
    text_.clear();
    wordCount_ = 0;
    page_ = page;
    for (const host::PageWord& word : Host().words->PageWords(finder_, page)) {
        if (useArea) {
            bool inside = false;
            for (const host::WordBox& box : word.quads) inside |= Touches(box, area);
            if (!inside) continue;
        }
        text_ += word.text;
        text_ += ' ';
        ++wordCount_;
    }
    return true;
}

bool GetPageTextInArea(PageTextExtractor& extractor, const DocumentHandle& document, int page, const TextArea& area,
                       std::string& text) {
    text.clear();
    if (!document.HasDocument() || page < 0 || page >= document.PageCount()) return false;
    if (!extractor.Attached() && !extractor.Attach(document)) return false;
    if (!extractor.Extract(page, area, true)) return false;
    text = extractor.Text();
    return true;
}

}  // namespace tessera
