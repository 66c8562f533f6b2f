#include "pdf/services/OcrWordMemo.h"

namespace tessera::pdf {
namespace {

// A page of dense print holds a few hundred words: a few thousand pages'
// words fit in tens of megabytes.
constexpr std::size_t kMostPages = 2000;
constexpr std::size_t kMostAreas = 20000;

}  // namespace

std::string OcrWordMemo::KeyOf(host::DocId doc, const host::OcrAsk& ask) const {
    return std::to_string(doc) + "/" + ask.languages + "/" + std::to_string(ask.dpi);
}

const std::vector<host::PageWord>* OcrWordMemo::Find(host::DocId doc, const host::OcrAsk& ask, int page) const {
    if (KeyOf(doc, ask) != key_) return nullptr;
    if (const auto whole = pages_.find(page); whole != pages_.end()) return &whole->second;
    if (!ask.inArea) return nullptr;
    const auto area = areas_.find({page, ask.area.minX, ask.area.minY, ask.area.maxX, ask.area.maxY});
    return area == areas_.end() ? nullptr : &area->second;
}

void OcrWordMemo::Keep(host::DocId doc, const host::OcrAsk& ask, int page, std::vector<host::PageWord> words) {
    if (const std::string key = KeyOf(doc, ask); key != key_) {
        key_ = key;
        pages_.clear();
        areas_.clear();
    }
    if (!ask.inArea) {
        if (pages_.size() >= kMostPages) pages_.erase(pages_.begin());
        pages_[page] = std::move(words);
        return;
    }
    if (areas_.size() >= kMostAreas) areas_.clear();
    areas_[{page, ask.area.minX, ask.area.minY, ask.area.maxX, ask.area.maxY}] = std::move(words);
}

}  // namespace tessera::pdf
