#include "analysis/SeparatorPages.h"

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

}  // namespace

bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                           double threshold, const TextQuery& query) {
    pages.clear();
    if (separatorType < BlankPage || separatorType > PageMatchingText) return false;
    const bool byText = separatorType == PageMatchingText;
    const int n = document.PageCount();
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
                       double threshold, const TextQuery& query) {
    if (separatorType < BlankPage || separatorType > PageMatchingText) return false;
    std::vector<int> separators;
    if (!BuildMatchingPageList(document, separators, separatorType, threshold, query)) return false;
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
