#include "reading/PageTextExtractor.h"

#include "access/Host.h"

namespace tessera {

bool Touches(const host::WordBox& box, const PageArea& area) {
    const double left = area.left.Real(), top = area.top.Real();
    const double right = area.right.Real(), bottom = area.bottom.Real();
    return left <= box.maxX && right >= box.minX && top <= box.maxY && bottom >= box.minY;
}

bool PageTextExtractor::Attach(const DocumentHandle& document, unsigned threads) {
    finder_ = {};  // the previous document's finder goes
    if (!document.HasDocument()) return false;
    finder_ = OwnedWordFinder(Host().words->CreateWordFinder(document.Doc(), threads));
    return true;
}

bool PageTextExtractor::Extract(int page, const PageArea& area, bool useArea) {
    if (!finder_) return false;
    text_.clear();
    wordCount_ = 0;
    page_ = page;
    for (const host::PageWord& word : Host().words->PageWords(finder_.Get(), page)) {
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

std::optional<std::string> GetPageTextInArea(PageTextExtractor& extractor, const DocumentHandle& document, int page,
                                             const PageArea& area) {
    if (!document.HasDocument() || page < 0 || page >= document.PageCount()) return std::nullopt;
    if (!extractor.Attached() && !extractor.Attach(document)) return std::nullopt;
    if (!extractor.Extract(page, area, true)) return std::nullopt;
    return extractor.Text();
}

}  // namespace tessera
