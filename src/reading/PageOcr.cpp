#include "reading/PageOcr.h"

#include <utility>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "reading/PageScan.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {
namespace {

// U+FFFD, which the word finder puts for a glyph it cannot map.
constexpr std::string_view kUnmapped = "\xEF\xBF\xBD";

bool MostlyUnmapped(const std::vector<const host::PageWord*>& words) {
    std::size_t characters = 0, unmapped = 0;
    for (const host::PageWord* word : words) {
        const std::string& text = word->text;
        for (std::size_t at = 0; at < text.size(); ++at) {
            if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;  // inside a character
            ++characters;
            unmapped += text.compare(at, kUnmapped.size(), kUnmapped) == 0;
        }
    }
    return unmapped * 2 > characters;
}

}  // namespace

void PageOcr::Attach(const DocumentHandle& document) {
    document_ = document.HasDocument() ? &document : nullptr;
    pixels_.Detach();
}

bool PageOcr::Wanted(const std::vector<const host::PageWord*>& layerWords) const {
    if (!document_ || settings_.Mode == OcrMode::Never) return false;
    return settings_.Mode == OcrMode::Always || layerWords.empty() || MostlyUnmapped(layerWords);
}

std::optional<std::vector<host::PageWord>> PageOcr::Words(int page, const std::optional<PageArea>& area) {
    if (!document_ || settings_.Mode == OcrMode::Never) return std::nullopt;
    document_->Monitor().SetText(FormatText(LookupString("IDS_OCR_PROGRESS"), {std::int64_t{page} + 1}));
    host::OcrAsk ask{languages_, settings_.Dpi, area.has_value(), {}};
    if (area) ask.area = {area->left.Real(), area->top.Real(), area->right.Real(), area->bottom.Real()};
    std::optional<std::vector<host::PageWord>> words = ReadOr(
        [&](const host::HostError& error) {
            if (!std::exchange(failureSaid_, true)) ScanFailures().Note(page, error.what());
            return std::optional<std::vector<host::PageWord>>();
        },
        "a page OCR cannot read is read from its text layer, and said once",
        [&] {
            // Made at the first page read, so that a document whose text
            // layer serves every feature never starts a reader.
            if (!pixels_.Attached()) pixels_.Attach(*document_);
            if (languages_.empty()) ask.languages = languages_ = Host().pixels->OcrLanguages(settings_.Languages);
            return std::optional(pixels_.OcrWords(page, ask));
        });
    if (!words) return std::nullopt;
    std::erase_if(*words, [this](const host::PageWord& word) { return word.confidence < settings_.MinConfidence; });
    return words;
}

}  // namespace tessera
