#pragma once
// The value of a page that a split where a value changes compares: the words
// in an area, a pattern's match, the page label's prefix, or the page's size.
#include <optional>
#include <string>

#include "access/DocumentHandle.h"
#include "model/SplitSettings.h"
#include "reading/PagePixelReader.h"
#include "reading/PageTextExtractor.h"
#include "reading/SearchPattern.h"

namespace tessera {

// Scanned at 100 dpi, a packing list of twelve lines holds 1% of its area in
// ink, an invoice 1.4 to 2%; a sheet's caption under its code, 0.2%.
inline constexpr double kMostInkBesideCodes = 0.005;

class PageKeyReader {
public:
    // Reads keys of `kind`; areas and patterns are the query's, by its rules.
    // Text is read ahead on up to `threads` threads (PageTextExtractor::Attach).
    // Text is read by OCR as `ocr` says; a value read by OCR is steadied
    // (OcrSteadied), so that OCR's blanks and stray punctuation do not cut.
    PageKeyReader(const DocumentHandle& document, ChangeKeyKind kind, const TextQuery& query, const OcrSettings& ocr,
                  unsigned threads = 0);
    // Reads the first code of the kinds (host::CodeKind bits) a separator
    // sheet shows, with its groups. With a pattern (a regular expression) a
    // sheet is a page any of whose codes matches, and that code is read.
    // Without one it is a page showing a code and little else (at most
    // kMostInkBesideCodes of its area in ink beside its codes), so that a
    // page of content with a code in a corner stays content; `anywhere`
    // takes any page showing a code.
    PageKeyReader(const DocumentHandle& document, const TextQuery& query, unsigned codeKinds, bool anywhere = false);
    PageKeyReader(const PageKeyReader&) = delete;
    PageKeyReader& operator=(const PageKeyReader&) = delete;

    // False when the pattern does not compile or there is no word finder.
    bool Ready() const { return ready_; }
    // The page's key as [0], then a pattern's groups; none for a page without
    // one (an empty area, no match). HostError when the page cannot be read.
    std::optional<SearchPattern::Captures> Read(int page);
    // The least confidence of the words the last value was read by OCR with;
    // none when it was not read by OCR.
    std::optional<int> OcrConfidence() const { return ocrConfidence_; }

private:
    std::optional<std::string> Words(int page, bool useArea);
    // Blanks collapsed, and a value read by OCR steadied.
    std::string Steadied(const std::string& value) const;
    std::optional<SearchPattern::Captures> Code(int page);

    const DocumentHandle& document_;
    ChangeKeyKind kind_;
    const TextQuery& query_;
    PageTextExtractor extractor_;
    PagePixelReader pixels_;
    SearchPattern pattern_;
    bool ready_ = true;
    unsigned codeKinds_ = 0;  // none when the key is no code
    bool anywhere_ = false;
    std::optional<int> ocrConfidence_;
};

// A value as OCR reads it, compared so that what OCR varies does not count:
// each run of blanks and of the punctuation OCR confuses around words
// (. , : ; ' ` " and their typographic forms, |) is one blank, and none is
// left at either end; "No. 1003", "No.1003" and "No 1003" are one value.
std::string OcrSteadied(std::string_view value);

// "A-" of "A-12", "" of "12": a label without its number, and the kind of
// that number, so that i, ii... and 1, 2... differ.
std::string LabelPrefix(std::string_view label);

}  // namespace tessera
