#include "model/OutputDocument.h"

#include <algorithm>
#include <cctype>

#include "strings/TextFormat.h"
#include "strings/Utf8Text.h"

namespace tessera {

std::optional<std::int64_t> PlaceInRange(const PageRange& range, std::int32_t page) {
    if (page < range.FirstPage || page > range.LastPage || range.Step == 0) return std::nullopt;
    const std::int64_t d = range.Options.Has(PageRangeFlag::ReverseOrder) ? std::int64_t{range.LastPage} - page
                                                                          : std::int64_t{page} - range.FirstPage;
    if (d % range.Step != 0) return std::nullopt;
    return d / range.Step;
}

std::int32_t FindPagePosition(const OutputDocument& output, std::int32_t page) {
    std::int64_t offset = 0;
    for (const PageRange& r : output.Ranges) {
        if (const std::optional<std::int64_t> place = PlaceInRange(r, page))
            return static_cast<std::int32_t>(offset + *place);
        offset += r.NumActualPages;
    }
    return -1;
}

PageLocation FindOutputForPage(const OutputList& outputs, std::int32_t page) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const std::int32_t pos = FindPagePosition(outputs[i], page);
        if (pos >= 0) return {true, pos, static_cast<std::int32_t>(i)};
    }
    return {};
}

std::size_t CountDocuments(const OutputList& outputs) {
    return static_cast<std::size_t>(
        std::ranges::count_if(outputs, [](const OutputDocument& o) { return o.Part <= 1; }));
}

std::int32_t CountOutputPages(const OutputDocument& output) {
    std::int64_t sum = 0;
    for (const PageRange& r : output.Ranges) sum += r.NumPages;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::string PageSpanName(const OutputDocument& output) {
    if (output.Ranges.empty()) return "NoPages";
    return FormatText("From_%d_To_%d", {std::int64_t{output.Ranges.front().FirstPage} + 1,
                                        std::int64_t{output.Ranges.back().LastPage} + 1});
}

void SortAndMergeRanges(OutputDocument& output) {
    auto& ranges = output.Ranges;
    std::stable_sort(ranges.begin(), ranges.end(), [](const PageRange& a, const PageRange& b) {
        return a.FirstPage != b.FirstPage ? a.FirstPage < b.FirstPage : a.LastPage < b.LastPage;
    });
    for (std::size_t i = 0; i + 1 < ranges.size();) {
        if (ranges[i].FirstPage == ranges[i + 1].FirstPage)
            ranges.erase(ranges.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

bool IsValidCustomName(std::string_view name) {
    // Bytes from 128 up are the letters of other scripts ("Résumé"); naming keeps them as they are.
    const std::size_t length = CountCharacters(name);
    return length >= 1 && length <= 256 && std::all_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte >= 128 || std::isalnum(byte) || c == ' ' || c == '_' || c == '-';
           });
}

}  // namespace tessera
