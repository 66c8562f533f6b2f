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
// page that could not be read, and why.
void Put(std::string& chunk, const std::optional<std::string>& text, bool failed = false) {
    chunk += text ? (failed ? "!" : "") + std::to_string(text->size()) + ":" + *text : "-";
}

// The first page that could not be read, and why: said once a scan.
struct ScanFailure {
    int page = -1;
    std::string reason;
};

bool Take(const std::string& chunk, std::size_t& at, PageKeys& keys, ScanFailure& failure) {
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
std::optional<PageKeys> ReadEveryPage(const DocumentHandle& document, PageKeyReader& reader, unsigned workers,
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
                Put(values, key ? std::optional(value(*key)) : std::nullopt);
        }
        return values;
    };
    PageKeys keys;
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
    if (static_cast<int>(keys.size()) != n) return std::nullopt;
    return keys;
}

}  // namespace

std::optional<PageKeys> ReadPageKeys(const DocumentHandle& document, ChangeKeyKind kind, const TextQuery& query,
                                     unsigned workers) {
    PageKeyReader reader(document, kind, query, workers);  // its word finder goes with it into every worker
    return ReadEveryPage(document, reader, workers, kWordChunkPages,
                         [](const SearchPattern::Captures& key) { return key.numbered[0]; });
}

std::optional<PageKeys> ReadPageCodes(const DocumentHandle& document, const TextQuery& query, unsigned kinds,
                                      bool anywhere, unsigned workers) {
    PageKeyReader reader(document, query, kinds, anywhere);
    return ReadEveryPage(document, reader, workers, kDrawnChunkPages, [](const SearchPattern::Captures& code) {
        std::string joined = code.numbered[0];
        for (std::size_t i = 1; i < code.numbered.size(); ++i) joined += kGroupMark + code.numbered[i];
        return joined;
    });
}

}  // namespace tessera
