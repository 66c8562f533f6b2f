#pragma once
// Progress and pattern trouble shared by the page scans.
#include <string>

#include "access/DocumentHandle.h"
#include "reading/PageContentHolder.h"
#include "reading/SearchPattern.h"

namespace tessera {

// The progress operation of one scan over the document's pages.
class ScanProgress {
public:
    ScanProgress(const DocumentHandle& document, int pageCount);
    ~ScanProgress();
    ScanProgress(const ScanProgress&) = delete;
    ScanProgress& operator=(const ScanProgress&) = delete;
    void At(int page) { monitor_.SetValue(page); }

private:
    host::ProgressMonitor& monitor_;
};

// Whether the pattern matches the text; a pattern that ran away or could not
// be matched counts as no match, and the user hears of it once per scan.
class PatternMatcher {
public:
    bool Matches(const SearchPattern& pattern, const std::string& text, int page);
    // Says, the first time only, that the search was too complex on page.
    void NoteTooComplex(int page);

private:
    bool reported_ = false;
};

// Pages that could not be acquired or read in full are kept, never dropped
// as blank, and match only the kinds that could be read; the user hears of
// the first such page once per scan, whatever failed on it.
class ScanFailures {
public:
    void Note(int page, const std::string& reason);
    void Note(const PageContentHolder& holder, int page) { Note(page, holder.Failure()); }

private:
    bool reported_ = false;
};

}  // namespace tessera
