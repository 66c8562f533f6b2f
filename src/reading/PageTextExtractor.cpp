#include "reading/PageTextExtractor.h"

#include <algorithm>

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
    ocr_.Attach(document);
    return true;
}

void PageTextExtractor::Keep(const host::PageWord& word) {
    wordConfidence_.emplace_back(text_.size(), static_cast<int>(word.confidence));
    text_ += word.text;
    text_ += ' ';
    ++wordCount_;
}

bool PageTextExtractor::Extract(int page, const PageArea& area, bool useArea) {
    if (!finder_) return false;
    text_.clear();
    wordCount_ = 0;
    page_ = page;
    readByOcr_ = false;
    wordConfidence_.clear();
    const auto inside = [&](const host::PageWord& word) {
        if (!useArea) return true;
        bool touches = false;
        for (const host::WordBox& box : word.quads) touches |= Touches(box, area);
        return touches;
    };
    const std::vector<host::PageWord> layer = Host().words->PageWords(finder_.Get(), page);
    std::vector<const host::PageWord*> kept;
    for (const host::PageWord& word : layer)
        if (inside(word)) kept.push_back(&word);
    const std::optional<std::vector<host::PageWord>> read =
        ocr_.Wanted(kept) ? ocr_.Words(page, useArea ? std::optional(area) : std::nullopt) : std::nullopt;
    if (!read) {
        for (const host::PageWord* word : kept) Keep(*word);
        return true;
    }
    for (const host::PageWord& word : *read)
        if (inside(word)) Keep(word);
    readByOcr_ = true;
    return true;
}

std::optional<int> PageTextExtractor::OcrConfidence(std::size_t from, std::size_t to) const {
    if (!readByOcr_) return std::nullopt;
    int least = 100;
    for (std::size_t i = 0; i < wordConfidence_.size(); ++i) {
        const std::size_t start = wordConfidence_[i].first;
        const std::size_t end = i + 1 < wordConfidence_.size() ? wordConfidence_[i + 1].first : text_.size();
        if (start < to && end > from) least = std::min(least, wordConfidence_[i].second);
    }
    return least;
}

std::optional<std::string> GetPageTextInArea(PageTextExtractor& extractor, const DocumentHandle& document, int page,
                                             const PageArea& area) {
    if (!document.HasDocument() || page < 0 || page >= document.PageCount()) return std::nullopt;
    if (!extractor.Attached() && !extractor.Attach(document)) return std::nullopt;
    if (!extractor.Extract(page, area, true)) return std::nullopt;
    return extractor.Text();
}

}  // namespace tessera
