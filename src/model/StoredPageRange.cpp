#include "model/StoredPageRange.h"

namespace tessera {

StoredPageRange ToStored(const PageRange& range) {
    StoredPageRange stored{range.StartPage, range.NumPages, range.Options.Stored(), {},        range.SubTitle,
                           range.FirstPage, range.LastPage, range.NumActualPages,   range.Step};
    if (const std::optional<WatermarkStyle>& watermark = range.Watermark) {
        stored.Options |= kStoredWatermarkBit;
        stored.Watermark = watermark->Text;
        stored.TransparencyLevel = watermark->TransparencyLevel;
        stored.WatermarkFontSize = watermark->FontSize;
        stored.WatermarkBehindText = watermark->BehindText;
    }
    return stored;
}

PageRange FromStored(const StoredPageRange& stored) {
    PageRange range;
    range.StartPage = stored.StartPage;
    range.NumPages = stored.NumPages;
    range.Options = PageRangeFlags::FromStored(stored.Options & ~kStoredWatermarkBit);
    range.SubTitle = stored.SubTitle;
    range.FirstPage = stored.FirstPage;
    range.LastPage = stored.LastPage;
    range.NumActualPages = stored.NumActualPages;
    range.Step = stored.Step;
    if (stored.Options & kStoredWatermarkBit)
        SetWatermark(
            range, {stored.Watermark, stored.TransparencyLevel, stored.WatermarkFontSize, stored.WatermarkBehindText});
    return range;
}

}  // namespace tessera
