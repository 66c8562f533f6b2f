#include "reading/PageScan.h"

#include <utility>

#include "access/Host.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {

ScanProgress::ScanProgress(const DocumentHandle& document, int pageCount) : monitor_(document.Monitor()) {
    monitor_.BeginOperation();
    monitor_.SetDuration(pageCount);
    monitor_.SetText(LookupString("IDS_SEARCHING_PAGES_"));
}

ScanProgress::~ScanProgress() { monitor_.EndOperation(); }

bool PatternMatcher::Matches(const SearchPattern& pattern, const std::string& text, int page) {
    const MatchResult result = pattern.Find(text);
    if (result == MatchResult::TooComplex) NoteTooComplex(page);
    if (result == MatchResult::Failed && !std::exchange(reported_, true))
        Host().viewer->Alert(
            FormatText(LookupString("IDS_SEARCH_FAILED"), {std::int64_t{page} + 1, pattern.FailureText()}));
    return result == MatchResult::Match;
}

void PatternMatcher::NoteTooComplex(int page) {
    if (std::exchange(reported_, true)) return;
    Host().viewer->Alert(FormatText(LookupString("IDS_SEARCH_TOO_COMPLEX"), {std::int64_t{page} + 1}));
}

void ScanFailures::Note(int page, const std::string& reason) {
    if (reason.empty() || reported_) return;
    reported_ = true;
    Host().viewer->AlertWarning(FormatText(LookupString("IDS_PAGE_UNREADABLE"), {std::int64_t{page} + 1, reason}));
}

}  // namespace tessera
