#pragma once
// A page range as profiles store it: the flags and the watermark's bit in one
// integer, the watermark as loose values with defaults of their own, and the
// derived fields. Its query is stored beside it.
#include <cstdint>
#include <string>

#include "model/PageRange.h"

namespace tessera {

struct StoredPageRange {
    std::int32_t StartPage = 0;
    std::int32_t NumPages = 0;
    std::int32_t Options = 0;  // the flags, and kStoredWatermarkBit when the range has a watermark
    std::string Watermark;     // empty without one
    std::string SubTitle;
    std::int32_t FirstPage = 0;
    std::int32_t LastPage = 0;
    std::int32_t NumActualPages = 0;
    std::int32_t Step = 0;
    std::int32_t TransparencyLevel = 50;
    std::int32_t WatermarkFontSize = 45;
    bool WatermarkBehindText = true;  // see WatermarkStyle::BehindText
};

// The bit of Options that says the range has a watermark.
inline constexpr std::int32_t kStoredWatermarkBit = 8;

StoredPageRange ToStored(const PageRange& range);
// The range without its query. A watermark needs both its bit and a text:
// a stored text without the bit, or the bit without a text, is no watermark.
PageRange FromStored(const StoredPageRange& stored);

}  // namespace tessera
