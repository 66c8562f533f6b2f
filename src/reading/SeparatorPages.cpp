#include "reading/SeparatorPages.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "access/Host.h"
#include "access/ReadOr.h"

#include "model/SeparatorKindTable.h"
#include "model/SheetColours.h"
#include "reading/BlankPage.h"
#include "reading/PagePixelReader.h"
#include "reading/PageScan.h"
#include "reading/PageTextExtractor.h"
#include "strings/LanguageTable.h"
#include "strings/TextFormat.h"

namespace tessera {

namespace {

// The kinds this file finds by the page's content or text alone; the others
// have readers of their own (values, codes) or come through the sheet scan.
bool ReadsPageContent(const SeparatorKindRow& kind) {
    return kind.scan == SeparatorScan::NoContent || kind.scan == SeparatorScan::NoInk ||
           kind.scan == SeparatorScan::Text;
}

void AppendOutput(OutputList& outputs, int start, int count) {
    OutputDocument output;
    output.Ranges.push_back(MakePlannedRange(start, count, kAllPagesFlags));
    outputs.push_back(std::move(output));
}

// A scan takes the pages in chunks, spread over worker processes when there
// are many. A chunk's outcome has one bit per separator page, then a flag for
// a page that needs a message (unreadable, or too complex a search) and that
// page's place.
constexpr int kChunkPages = 16;
constexpr int kChunkNote = 1 << kChunkPages;
constexpr int kNoteShift = kChunkPages + 1;
constexpr int kLeastPagesForWorkers = 4 * kChunkPages;

int NoteBits(int place) { return kChunkNote | (place << kNoteShift); }

// What a scan does with a chunk of pages (in a worker or here), and here with
// the first page whose message is due (true once the message was shown).
struct ChunkScan {
    std::function<int(int first, int count)> bits;
    std::function<bool(int page)> note;
};

// The separators as a scan in order finds them, with its one message; the
// chunks go to up to `workers` worker processes when there are enough pages.
void ScanInChunks(const DocumentHandle& document, std::vector<int>& pages, unsigned workers, const ChunkScan& scan) {
    const int n = document.PageCount();
    ScanProgress progress(document, n);
    bool noted = false;
    const std::size_t chunks = static_cast<std::size_t>((n + kChunkPages - 1) / kChunkPages);
    const auto first = [](std::size_t chunk) { return static_cast<int>(chunk) * kChunkPages; };
    const auto count = [&](std::size_t chunk) { return std::min(kChunkPages, n - first(chunk)); };
    const auto task = [&](std::size_t chunk) { return scan.bits(first(chunk), count(chunk)); };
    const auto accept = [&](std::size_t chunk, int bits) {
        for (int i = 0; i < count(chunk); ++i)
            if (bits & (1 << i)) pages.push_back(first(chunk) + i);
        if ((bits & kChunkNote) && !noted) noted = scan.note(first(chunk) + (bits >> kNoteShift));
        progress.At(first(chunk) + count(chunk));
        return true;
    };
    if (workers > 1 && Host().workers && n >= kLeastPagesForWorkers)
        Host().workers->RunTasks(chunks, workers, task, accept);
    else
        for (std::size_t chunk = 0; chunk < chunks; ++chunk) accept(chunk, task(chunk));
}

ChunkScan BlankScan(const DocumentHandle& document, SeparatorScan scan, double threshold) {
    // Reading the content is what finds it damaged: the page is judged for its message too.
    const auto judged = [&document, scan, threshold](PageContentHolder& holder, int page) {
        return holder.Acquire(document.Doc(), page) &&
               (scan == SeparatorScan::NoContent ? IsBlankPage(holder) : IsBlankImagePage(holder, threshold));
    };
    const auto note = [judged](int page) {
        PageContentHolder holder;  // read again here for its message
        judged(holder, page);
        ScanFailures().Note(holder, page);
        return !holder.Failure().empty();
    };
    const auto bits = [judged](int first, int count) {
        int bits = 0;
        for (int i = 0; i < count; ++i) {
            PageContentHolder holder;
            if (judged(holder, first + i)) bits |= 1 << i;
            if (!holder.Failure().empty() && !(bits & kChunkNote)) bits |= NoteBits(i);
        }
        return bits;
    };
    return {bits, note};
}

// The extractor is attached before the chunks are handed out: each worker
// reads with its own copy of the word finder.
ChunkScan TextScan(PageTextExtractor& extractor, const SearchPattern& pattern, const TextQuery& query) {
    const auto text = [&extractor, &query](int page) -> const std::string* {
        if (!extractor.Extract(page, query.Area, query.UseAreaFilter) || extractor.Text().empty()) return nullptr;
        return &extractor.Text();
    };
    // The search is repeated here for its message: its outcome does not
    // depend on where it ran.
    const auto note = [text, &pattern](int page) {
        if (const std::string* pageText = text(page)) PatternMatcher().Matches(pattern, *pageText, page);
        return true;
    };
    const auto bits = [text, &pattern](int first, int count) {
        int bits = 0;
        for (int i = 0; i < count; ++i) {
            const std::string* pageText = text(first + i);
            if (!pageText) continue;
            const MatchResult result = pattern.Find(*pageText);
            if (result == MatchResult::Match) bits |= 1 << i;
            if (result != MatchResult::Match && result != MatchResult::NoMatch && !(bits & kChunkNote))
                bits |= NoteBits(i);
        }
        return bits;
    };
    return {bits, note};
}

// The pixel reader goes with it into every worker.
ChunkScan SheetScan(PagePixelReader& pixels, const OutputSettings& o) {
    // The share of the page near the colour; none, with why, for a page that cannot be drawn.
    const auto share = [&pixels, &o](int page, std::string& reason) {
        return ReadOr([&reason](const host::HostError& e) { return reason = e.what(), std::optional<double>(); },
                      "a page that cannot be drawn is no sheet, and said once a scan",
                      [&] {
                          return std::optional(
                              pixels.ColourShare(page, static_cast<std::uint32_t>(o.SheetColour), o.SheetTolerance));
                      });
    };
    const auto note = [share](int page) {
        std::string reason;
        share(page, reason);
        ScanFailures().Note(page, reason);
        return !reason.empty();
    };
    const auto bits = [share, &o](int first, int count) {
        int bits = 0;
        for (int i = 0; i < count; ++i) {
            std::string reason;
            const std::optional<double> near = share(first + i, reason);
            if (near && *near * 100.0 >= o.SheetShare) bits |= 1 << i;
            if (!near && !(bits & kChunkNote)) bits |= NoteBits(i);
        }
        return bits;
    };
    return {bits, note};
}

}  // namespace

// A JPEG keeps a scanner's noise, so the size of a blank scanned back's
// image tells it from ink only at the noisiest thresholds. Its pixels tell it
// at any: all of it but specks lies near white, where a line of text is more
// than that. Only a scan is judged so: another page with content is no blank.
constexpr double kBlankBackWhiteShare = 0.9995;
constexpr int kBlankBackTolerance = 64;

bool IsBlankBack(const DocumentHandle& document, PagePixelReader& pixels, int page, double threshold) {
    PageContentHolder holder;
    if (!holder.Acquire(document.Doc(), page)) return false;
    if (IsBlankPage(holder) || IsBlankImagePage(holder, threshold)) return true;
    const bool scan = IsBlankImagePage(holder, std::numeric_limits<double>::infinity());  // images alone
    if (!scan || (!pixels.Attached() && !pixels.Attach(document))) return false;
    return ReadOr([](const host::HostError&) { return false; }, "a back that cannot be drawn stays, as a page",
                  [&] { return pixels.ColourShare(page, 0xFFFFFF, kBlankBackTolerance) >= kBlankBackWhiteShare; });
}

std::vector<int> DuplexSheets(const DocumentHandle& document, std::vector<int>& separators, double threshold) {
    const int n = document.PageCount();
    std::vector<int> fronts, dropped;
    PagePixelReader pixels;  // attached at the first back that needs drawing
    for (const int page : separators) {
        if (page % 2 != 0) continue;
        fronts.push_back(page);
        dropped.push_back(page);
        const int back = page + 1;
        if (back < n &&
            (std::ranges::binary_search(separators, back) || IsBlankBack(document, pixels, back, threshold)))
            dropped.push_back(back);
    }
    separators = fronts;
    return dropped;
}

bool BuildSheetPageList(const DocumentHandle& document, std::vector<int>& pages, const OutputSettings& output,
                        unsigned workers, std::vector<int>* shares) {
    pages.clear();
    PagePixelReader pixels;
    if (!pixels.Attach(document)) return false;
    ScanInChunks(document, pages, workers, SheetScan(pixels, output));
    // Read again here for the account: sheets are few, and the scan's
    // workers report a page's verdict alone.
    for (const int page : shares ? pages : std::vector<int>()) {
        const double share = ReadOr([](const host::HostError&) { return 1.0; }, "the scan drew this page",
                                    [&] {
                                        return pixels.ColourShare(page, static_cast<std::uint32_t>(output.SheetColour),
                                                                  output.SheetTolerance);
                                    });
        shares->push_back(static_cast<int>(share * 100.0));
    }
    return true;
}

bool BuildMatchingPageList(const DocumentHandle& document, std::vector<int>& pages, SeparatorKind separatorType,
                           double threshold, const TextQuery& query, unsigned workers, const OcrSettings& ocr) {
    pages.clear();
    const SeparatorKindRow* kind = FindSeparatorKindRow(separatorType);
    if (!kind || !ReadsPageContent(*kind)) return false;
    const bool byText = kind->scan == SeparatorScan::Text;
    PageTextExtractor extractor(ocr);
    SearchPattern pattern;
    if (byText && (!extractor.Attach(document, workers) || !CompileTextQuery(pattern, query))) return false;
    ScanInChunks(document, pages, workers,
                 byText ? TextScan(extractor, pattern, query) : BlankScan(document, kind->scan, threshold));
    return true;
}

namespace {

// The sheet options with the colour of the sample sheet, when one is named;
// none, after saying why, where the sample is no page of the document or
// its colour is the paper's.
std::optional<OutputSettings> SheetOptions(const DocumentHandle& document, const OutputSettings& options) {
    const int sample = options.SheetSamplePage, pages = document.PageCount();
    if (sample == 0) return options;
    if (sample < 1 || sample > pages) {
        Host().viewer->Alert(
            FormatText(LookupString("IDS_SHEET_SAMPLE_OUTSIDE"), {std::int64_t{sample}, std::int64_t{pages}}));
        return std::nullopt;
    }
    PagePixelReader pixels;
    if (!pixels.Attach(document)) return std::nullopt;
    OutputSettings sheet = options;
    sheet.SheetColour = static_cast<std::int32_t>(pixels.Colour(sample - 1));
    if (!IsPaperColour(sheet.SheetColour, sheet.SheetTolerance)) return sheet;
    Host().viewer->Alert(
        FormatText(LookupString("IDS_SHEET_SAMPLE_IS_PAPER"),
                   {std::int64_t{sample}, ColourText(sheet.SheetColour), std::int64_t{sheet.SheetTolerance}}));
    return std::nullopt;
}

// What the account says made a dropped separator one.
DroppedPage DropOf(int page, const SeparatorKindRow& kind, const std::vector<int>& separators,
                   const std::vector<int>& shares, const OutputSettings* options) {
    if (kind.scan == SeparatorScan::NoContent || kind.scan == SeparatorScan::NoInk)
        return {page, DropReason::Blank, kind.word, ""};
    // Sheets' shares come in the order the scan found them.
    const auto at = std::ranges::lower_bound(separators, page) - separators.begin();
    const std::size_t index = static_cast<std::size_t>(at);
    const std::string share = index < shares.size() ? std::to_string(shares[index]) + "% " : "";
    return {page, DropReason::Separator, "sheet", share + ColourText(options ? options->SheetColour : 0)};
}

}  // namespace

bool SplitAtSeparators(const DocumentHandle& document, OutputList& outputs, SeparatorKind separatorType,
                       double threshold, const TextQuery& query, unsigned workers, const OutputSettings* options,
                       std::vector<DroppedPage>* dropped, int* found) {
    std::vector<int> separators, shares;
    std::optional<OutputSettings> sheet;
    const SeparatorKindRow* kind = FindSeparatorKindRow(separatorType);
    if (!kind) return false;
    if (kind->scan == SeparatorScan::Colours) {
        if (!options || !(sheet = SheetOptions(document, *options))) return false;
        options = &*sheet;
        if (!BuildSheetPageList(document, separators, *options, workers, dropped ? &shares : nullptr)) return false;
    } else if (!ReadsPageContent(*kind) || !BuildMatchingPageList(document, separators, separatorType, threshold, query,
                                                                  workers, options ? options->Ocr : OcrSettings{})) {
        return false;
    }
    const bool duplex = options && options->Duplex && kind->sheets;
    const std::vector<int> matched = separators;  // with the backs a duplex scan drops
    const std::vector<int> backs = duplex ? DuplexSheets(document, separators, threshold) : std::vector<int>();
    if (found) *found = static_cast<int>(separators.size());
    const bool keep = kind->startsOutput || (options && options->KeepSeparators);
    int start = 0;
    const auto drop = [&](int page) {
        if (dropped) dropped->push_back(DropOf(page, *kind, matched, shares, options));
    };
    const auto dropBack = [&](int page) {
        if (dropped) dropped->push_back({page, DropReason::SheetBack, "back", ""});
    };
    for (int page : separators) {
        if (page - start > 0) AppendOutput(outputs, start, page - start);
        start = keep ? page : page + 1;
        if (!keep) drop(page);
        if (!keep && std::ranges::binary_search(backs, page + 1)) dropBack(start++);  // the separator sheet's back
    }
    const int n = document.PageCount();
    if (n - start > 0) AppendOutput(outputs, start, n - start);
    return true;
}

}  // namespace tessera
