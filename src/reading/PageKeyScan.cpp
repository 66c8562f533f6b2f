#include "reading/PageKeyScan.h"

#include <algorithm>

#include "access/Host.h"
#include "access/ReadOr.h"
#include "reading/PageKeyReader.h"
#include "reading/PageScan.h"

namespace tessera {
namespace {

// Pages per chunk: reading a page's words takes milliseconds, drawing it for
// its codes a tenth of a second, so drawn pages are handed out fewer at a time
// and go to the workers from fewer pages on.
constexpr int kWordChunkPages = 16;
constexpr int kDrawnChunkPages = 4;

// A chunk's values as one text: per page "-" for none, or its length, ":"
// and the value, which may hold any byte; "!" and a text so written for a
// page that could not be read, and why; "~", the confidence and "~" before
// a value read by OCR.
void Put(std::string& chunk, const std::optional<std::string>& text, bool failed = false,
         std::optional<int> ocr = std::nullopt) {
    if (text && ocr) chunk += "~" + std::to_string(*ocr) + "~";
    chunk += text ? (failed ? "!" : "") + std::to_string(text->size()) + ":" + *text : "-";
}

// The values of every page, and the confidence of each read by OCR.
struct ScannedKeys {
    PageKeys keys;
    std::vector<int> ocr;
};

// The first page that could not be read, and why: said once a scan.
struct ScanFailure {
    int page = -1;
    std::string reason;
};

bool Take(const std::string& chunk, std::size_t& at, ScannedKeys& scanned, ScanFailure& failure) {
    PageKeys& keys = scanned.keys;
    int confidence = -1;
    if (at < chunk.size() && chunk[at] == '~') {
        const std::size_t end = chunk.find('~', at + 1);
        if (end == std::string::npos || end == at + 1 || end - at > 4 ||
            chunk.find_first_not_of("0123456789", at + 1) != end)
            return false;
        confidence = std::stoi(chunk.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    scanned.ocr.push_back(confidence);
    if (at < chunk.size() && chunk[at] == '-') return ++at, keys.emplace_back(), true;
    const bool failed = at < chunk.size() && chunk[at] == '!';
    at += failed;
    const std::size_t colon = chunk.find(':', at);
    if (colon == std::string::npos || colon == at || chunk.find_first_not_of("0123456789", at) != colon) return false;
    const std::size_t size = std::stoul(chunk.substr(at, colon - at));
    if (size > chunk.size() - colon - 1) return false;
    std::string text = chunk.substr(colon + 1, size);
    if (failed && failure.page < 0) failure = {static_cast<int>(keys.size()), text};
    if (failed)
        keys.emplace_back();
    else
        keys.emplace_back(std::move(text));
    at = colon + 1 + size;
    return true;
}

// The values of every page, read in chunks by the reader, each as `value` gives it.
template <class Value>
std::optional<ScannedKeys> ReadEveryPage(const DocumentHandle& document, PageKeyReader& reader, unsigned workers,
                                         int chunkPages, Value value) {
    if (!reader.Ready()) return std::nullopt;
    const int leastPagesForWorkers = 4 * chunkPages;
    const int n = document.PageCount();
    ScanProgress progress(document, n);
    const std::size_t chunks = static_cast<std::size_t>((n + chunkPages - 1) / chunkPages);
    const auto first = [chunkPages](std::size_t chunk) { return static_cast<int>(chunk) * chunkPages; };
    const auto task = [&](std::size_t chunk) {
        std::string values;
        for (int page = first(chunk); page < std::min(n, first(chunk) + chunkPages); ++page) {
            std::optional<std::string> failure;
            const auto key = ReadOr(
                [&failure](const host::HostError& e) {
                    return failure = e.what(), std::optional<SearchPattern::Captures>();
                },
                "a page whose value cannot be read has none, and is said once a scan",
                [&] { return reader.Read(page); });
            if (failure)
                Put(values, failure, true);
            else
                Put(values, key ? std::optional(value(*key)) : std::nullopt, false, reader.OcrConfidence());
        }
        return values;
    };
    ScannedKeys keys;
    ScanFailure failure;
    const auto accept = [&](std::size_t chunk, const std::string& values) {
        for (std::size_t at = 0; at < values.size();)
            if (!Take(values, at, keys, failure)) return false;
        progress.At(std::min(n, first(chunk) + chunkPages));
        return true;
    };
    if (workers > 1 && Host().workers && n >= leastPagesForWorkers)
        Host().workers->RunTextTasks(chunks, workers, task, accept);
    else
        for (std::size_t chunk = 0; chunk < chunks && accept(chunk, task(chunk));) ++chunk;
    if (failure.page >= 0) ScanFailures().Note(failure.page, failure.reason);
    if (static_cast<int>(keys.keys.size()) != n) return std::nullopt;
    return keys;
}

}  // namespace

std::optional<PageKeys> ReadPageKeys(const DocumentHandle& document, ChangeKeyKind kind, const TextQuery& query,
                                     const OcrSettings& ocr, unsigned workers, std::vector<int>* ocrConfidence) {
    PageKeyReader reader(document, kind, query, ocr, workers);  // its word finder goes with it into every worker
    // Pages read by OCR take a second or two each: they go out fewer at a time.
    const int chunkPages = ocr.Mode == OcrMode::Never ? kWordChunkPages : kDrawnChunkPages;
    std::optional<ScannedKeys> scanned = ReadEveryPage(
        document, reader, workers, chunkPages, [](const SearchPattern::Captures& key) { return key.numbered[0]; });
    if (!scanned) return std::nullopt;
    if (ocrConfidence) *ocrConfidence = std::move(scanned->ocr);
    return std::move(scanned->keys);
}

std::optional<PageKeys> ReadPageCodes(const DocumentHandle& document, const TextQuery& query, unsigned kinds,
                                      bool anywhere, unsigned workers) {
    PageKeyReader reader(document, query, kinds, anywhere);
    std::optional<ScannedKeys> scanned =
        ReadEveryPage(document, reader, workers, kDrawnChunkPages, [](const SearchPattern::Captures& code) {
            std::string joined = code.numbered[0];
            for (std::size_t i = 1; i < code.numbered.size(); ++i) joined += kGroupMark + code.numbered[i];
            return joined;
        });
    if (!scanned) return std::nullopt;
    return std::move(scanned->keys);
}

}  // namespace tessera
