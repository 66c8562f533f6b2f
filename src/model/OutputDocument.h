#pragma once
// One output of a split: an ordered list of page ranges and, optionally, a name.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/PageRange.h"

namespace tessera {

struct OutputDocument {
    std::vector<PageRange> Ranges;
    // Empty for an automatic name; after naming, the output's full file path.
    std::string Filename;
    // The value its pages share, in a split where a value changes; never stored.
    std::string Key{};
    // The groups of the pattern that found Key on a separator sheet's code.
    std::vector<std::string> KeyGroups{};
    // The least confidence (0 to 100) of the words OCR read Key with; -1
    // when it was not read by OCR. Never stored.
    int KeyOcrConfidence = -1;
    // Of an output the size limit cut: which part it is, of how many (from 1); never stored.
    int Part = 0, Parts = 0;
    // The file as the size limit measured it, written as it is rather than
    // made again; never stored.
    std::shared_ptr<const std::string> Measured{};

    friend bool operator==(const OutputDocument&, const OutputDocument&) = default;
};

using OutputList = std::vector<OutputDocument>;

// Where among the range's own pages source page `page` falls (0 for its
// first), or none when the range does not take it.
std::optional<std::int64_t> PlaceInRange(const PageRange& range, std::int32_t page);
// The 0-based position source page `page` takes in the output, or -1.
std::int32_t FindPagePosition(const OutputDocument& output, std::int32_t page);

struct PageLocation {
    bool found = false;
    std::int32_t position = -1;
    std::int32_t output = -1;
};
// The first output (in list order) that takes the page, and its position there.
PageLocation FindOutputForPage(const OutputList& outputs, std::int32_t page);

// The documents the list holds: a part the size limit cut off another's end
// (Part 2 and on) is no document of its own.
std::size_t CountDocuments(const OutputList& outputs);
// The nominal page count: the sum of the ranges' NumPages.
std::int32_t CountOutputPages(const OutputDocument& output);
// "NoPages", or "From_<first>_To_<last>" in 1-based numbers.
std::string PageSpanName(const OutputDocument& output);
// Sorts ranges by first then last page and keeps, of ranges starting on the
// same page, only the one that reaches furthest.
void SortAndMergeRanges(OutputDocument& output);

// 1 to 256 characters, each a letter (of any script), a digit, a blank, "-"
// or "_", as the refusal's message tells the user.
bool IsValidCustomName(std::string_view name);

}  // namespace tessera
