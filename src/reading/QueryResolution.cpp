#include "reading/QueryResolution.h"

#include <optional>

#include "access/ReadOr.h"
#include "reading/ElementCountTable.h"
#include "reading/PageScan.h"
#include "reading/PageTextExtractor.h"

namespace tessera {
namespace {

bool HasQueryRange(const OutputList& outputs) {
    for (const OutputDocument& o : outputs)
        for (const PageRange& r : o.Ranges)
            if (r.Query.Enable) return true;
    return false;
}

// The text of one page, extracted when a query first needs it. The word
// finder is made then too: content queries alone need none.
class PageText {
public:
    PageText(PageTextExtractor& extractor, const DocumentHandle& document, int page, unsigned threads)
        : extractor_(extractor), document_(document), page_(page), threads_(threads) {}
    const std::string& For(const TextQuery& query) {
        if (!extracted_) {
            extracted_ = true;
            ok_ = (extractor_.Attached() || extractor_.Attach(document_, threads_)) &&
                  extractor_.Extract(page_, query.Area, query.UseAreaFilter);
        }
        return extractor_.Text();
    }
    bool Failed() const { return extracted_ && !ok_; }

private:
    PageTextExtractor& extractor_;
    const DocumentHandle& document_;
    int page_;
    unsigned threads_;
    bool extracted_ = false, ok_ = true;
};

// The element counts of one page, computed when a content query first needs
// them. A page that cannot be acquired matches no content query; one read
// only in part matches by what could be read (its links and rotation when
// its content fails). The host would fail the same way again, so it is not
// asked twice.
class PageElements {
public:
    PageElements(const DocumentHandle& document, int page, ScanFailures& failures)
        : document_(document), page_(page), failures_(failures) {}
    const ElementCountTable* Counts() {
        if (!tried_) {
            tried_ = true;
            counted_ = Count();
        }
        return counted_ ? &counts_ : nullptr;
    }

private:
    bool Count() {
        PageContentHolder holder;
        if (!holder.Acquire(document_.Doc(), page_)) {
            failures_.Note(holder, page_);
            return false;
        }
        return ReadOr(
            [this](const host::HostError& e) {
                failures_.Note(page_, e.what());
                return true;
            },
            "a page counted in part is noted and its counts kept", [&] { return CountPageElements(holder, counts_); });
    }

    const DocumentHandle& document_;
    int page_;
    ScanFailures& failures_;
    ElementCountTable counts_{};
    bool tried_ = false, counted_ = false;
};

bool HasEveryKind(const std::vector<host::PageElementKind>& kinds, const ElementCountTable* counts) {
    if (!counts) return false;
    for (host::PageElementKind kind : kinds)
        if (ElementCount(*counts, kind) < 1) return false;
    return true;
}

struct PageFacts {
    PageText& text;
    PageElements& elements;
};

// Whether page p matches the range's query; target 3 alternates first and last queries.
bool Matches(PageRange& range, PageFacts& facts, int page, PatternMatcher& matcher) {
    PageQuery& q = range.Query;
    if (q.Target == QueryTarget::QuerySinglePage && !q.Results.empty()) return false;
    if (q.Target == QueryTarget::QueryPageContent) return HasEveryKind(q.PageContentQuery, facts.elements.Counts());
    PageText& text = facts.text;
    const TextQuery& query =
        (q.Target == QueryTarget::QueryPageRanges && q.Results.size() % 2 == 1) ? q.LastPageQuery : q.FirstPageQuery;
    SearchPattern pattern;
    if (!CompileTextQuery(pattern, query)) return false;
    const std::string& pageText = text.For(q.FirstPageQuery);
    return !text.Failed() && matcher.Matches(pattern, pageText, page);
}

// The pages a query found keep the watermark the query's range was given.
void AppendRange(OutputDocument& output, int start, int count, const PageRange& query) {
    PageRange range = MakePlannedRange(start, count, kAllPagesFlags);
    if (query.Watermark) SetWatermark(range, *query.Watermark);
    output.Ranges.push_back(range);
}

OutputList Rebuilt(const OutputList& outputs) {
    OutputList rebuilt;
    for (const OutputDocument& output : outputs) {
        OutputDocument copy;
        copy.Filename = output.Filename;
        for (const PageRange& range : output.Ranges) {
            const PageQuery& q = range.Query;
            if (!q.Enable) {
                copy.Ranges.push_back(range);
            } else if (q.Target != QueryTarget::QueryPageRanges) {
                for (int page : q.Results) AppendRange(copy, page, 1, range);
            } else {
                for (std::size_t i = 1; i < q.Results.size(); i += 2) {
                    const int a = q.Results[i - 1], b = q.Results[i];
                    const int count = b - a + 1 - (q.ExcludeLastPage ? 1 : 0);
                    if (count > 0) AppendRange(copy, a, count, range);
                }
            }
        }
        // An output whose selection found nothing stays, to be said.
        rebuilt.push_back(std::move(copy));
    }
    return rebuilt;
}

}  // namespace

bool ResolveQueryRanges(const DocumentHandle& document, OutputList& outputs, int first, int last,
                        const OcrSettings& ocr, unsigned threads) {
    if (!document.HasDocument() || outputs.empty()) return false;
    if (!HasQueryRange(outputs)) return true;
    for (OutputDocument& o : outputs)
        for (PageRange& r : o.Ranges) r.Query.Results.clear();
    const int n = document.PageCount();
    first = std::max(first, 0);
    if (first > n) return true;
    if (last < 0 || last >= n) last = n - 1;
    PageTextExtractor extractor(ocr);
    ScanProgress progress(document, n);
    PatternMatcher matcher;
    ScanFailures failures;
    for (int page = first; page <= last; ++page) {
        progress.At(page);
        PageText text(extractor, document, page, threads);
        PageElements elements(document, page, failures);
        PageFacts facts{text, elements};
        for (OutputDocument& output : outputs)
            for (PageRange& range : output.Ranges) {
                if (!range.Query.Enable || !IsQueryComplete(range.Query)) continue;
                if (Matches(range, facts, page, matcher)) range.Query.Results.push_back(page);
                if (text.Failed()) return false;
            }
    }
    outputs = Rebuilt(outputs);
    return true;
}

}  // namespace tessera
