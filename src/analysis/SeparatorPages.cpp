#include "analysis/SeparatorPages.h"

#include "analysis/PageScan.h"
#include "analysis/PageTextExtractor.h"

namespace tessera {
namespace {

void AppendOutput(OutputList& outputs, int start, int count) {
    OutputDocument output;
    output.Ranges.push_back(MakePlannedRange(start, count, kAllPagesFlags));
    outputs.push_back(std::move(output));
}

}  // namespace

bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, int separatorType,
                           double /*threshold*/, const TextQuery& query) {
    pages.clear();
    // Blank pages and blank scans are found by looking inside pages, which
    // this version does not do yet.
    if (separatorType != PageMatchingText) return false;
    const int n = document.PageCount();
    PageTextExtractor extractor;
    SearchPattern pattern;
    if (!extractor.Attach(document) || !CompileTextQuery(pattern, query)) return false;
    ScanProgress progress(document, n);
    PatternMatcher matcher;
    for (int page = 0; page < n; ++page) {
        progress.At(page);
        if (extractor.Extract(page, AreaOf(query), query.UseAreaFilter) && !extractor.Text().empty() &&
            matcher.Matches(pattern, extractor.Text(), page))
            pages.push_back(page);
    }
    return true;
}

bool SplitAtSeparators(const DocumentHandle& document, OutputList& outputs, int separatorType, double threshold,
                       const TextQuery& query) {
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
