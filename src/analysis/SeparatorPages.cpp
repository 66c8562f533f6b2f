#include "analysis/SeparatorPages.h"

#include <algorithm>

#include "access/Host.h"

#include "analysis/BlankPage.h"
#include "analysis/PageScan.h"
#include "analysis/PageTextExtractor.h"

namespace tessera {

using enum SeparatorKind;

namespace {

void AppendOutput(OutputList& outputs, int start, int count) {
    OutputDocument output;
    output.Ranges.push_back(MakePlannedRange(start, count, kAllPagesFlags));
    outputs.push_back(std::move(output));
}

// A page that cannot be acquired or read is no separator.
bool IsBlankSeparator(const DocumentHandle& document, int page, SeparatorKind separatorType, double threshold,
                      ScanFailures& failures) {
    PageContentHolder holder;
    const bool blank = holder.Acquire(document.Doc(), page) &&
                       (separatorType == BlankPage ? IsBlankPage(holder) : IsBlankImagePage(holder, threshold));
    failures.Note(holder, page);
    return blank;
}

// A blank scan spread over worker processes takes the pages in chunks, each
// chunk's outcome one bit per page and one for a page that could not be read.
constexpr int kChunkPages = 16;
constexpr int kChunkFailed = 1 << kChunkPages;
constexpr int kLeastPagesForWorkers = 4 * kChunkPages;

int BlankBits(const DocumentHandle& document, int first, int count, SeparatorKind separatorType, double threshold) {
    int bits = 0;
    for (int i = 0; i < count; ++i) {
        PageContentHolder holder;
        const bool readable = holder.Acquire(document.Doc(), first + i);
        if (readable && (separatorType == BlankPage ? IsBlankPage(holder) : IsBlankImagePage(holder, threshold)))
            bits |= 1 << i;
        if (!holder.Failure().empty()) bits |= kChunkFailed;
    }
    return bits;
}

// The blank pages as a scan in order finds them, with its one message about
// the first page that could not be read, which is read again here for it.
void BlankPagesInWorkers(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                         double threshold, unsigned workers) {
    const int n = document.PageCount();
    ScanProgress progress(document, n);
    ScanFailures failures;
    bool failureShown = false;
    const std::size_t chunks = static_cast<std::size_t>((n + kChunkPages - 1) / kChunkPages);
    const auto first = [](std::size_t chunk) { return static_cast<int>(chunk) * kChunkPages; };
    const auto count = [&](std::size_t chunk) { return std::min(kChunkPages, n - first(chunk)); };
    Host().workers->RunTasks(
        chunks, workers,
        [&](std::size_t chunk) { return BlankBits(document, first(chunk), count(chunk), separatorType, threshold); },
        [&](std::size_t chunk, int bits) {
            for (int i = 0; i < count(chunk); ++i)
                if (bits & (1 << i)) pages.push_back(first(chunk) + i);
            for (int i = 0; (bits & kChunkFailed) && !failureShown && i < count(chunk); ++i) {
                PageContentHolder holder;
                holder.Acquire(document.Doc(), first(chunk) + i);
                failures.Note(holder, first(chunk) + i);
                failureShown = !holder.Failure().empty();
            }
            progress.At(first(chunk) + count(chunk));
            return true;
        });
}

}  // namespace

bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                           double threshold, const TextQuery& query, unsigned workers) {
    pages.clear();
    if (separatorType < BlankPage || separatorType > PageMatchingText) return false;
    const bool byText = separatorType == PageMatchingText;
    const int n = document.PageCount();
    if (!byText && workers > 1 && Host().workers && n >= kLeastPagesForWorkers) {
        BlankPagesInWorkers(document, pages, separatorType, threshold, workers);
        return true;
    }
    PageTextExtractor extractor;
    SearchPattern pattern;
    if (byText && (!extractor.Attach(document) || !CompileTextQuery(pattern, query))) return false;
    ScanProgress progress(document, n);
    PatternMatcher matcher;
    ScanFailures failures;
    for (int page = 0; page < n; ++page) {
        progress.At(page);
        const bool separator =
            byText ? extractor.Extract(page, AreaOf(query), query.UseAreaFilter) && !extractor.Text().empty() &&
                         matcher.Matches(pattern, extractor.Text(), page)
                   : IsBlankSeparator(document, page, separatorType, threshold, failures);
        if (separator) pages.push_back(page);
    }
    return true;
}

bool SplitAtSeparators(const DocumentHandle& document, OutputList& outputs, SeparatorKind separatorType,
                       double threshold, const TextQuery& query, unsigned workers) {
    if (separatorType < BlankPage || separatorType > PageMatchingText) return false;
    std::vector<int> separators;
    if (!BuildMatchingPageList(document, separators, separatorType, threshold, query, workers)) return false;
    int start = 0;
    for (int page : separators) {
        if (page - start > 0) AppendOutput(outputs, start, page - start);
        start = separatorType == PageMatchingText ? page : page + 1;
    }
    const int n = document.PageCount();
    if (n - start > 0) AppendOutput(outputs, start, n - start);
    return true;
}

}  // namespace tessera
