#include "pdf/pixels/PagePixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "host/HostError.h"
#include "pdf/pixels/BarcodeReading.h"
#include "pdf/pixels/PageRaster.h"
#include "pdf/text/MupdfPageLoad.h"

namespace tessera::pdf {
namespace {

// Codes are read at 200 dpi, fine enough for the narrowest bars a scanner
// keeps; a page so large that this would take more pixels is drawn coarser.
constexpr float kCodeDpi = 200.0f;
constexpr float kMostCodePixels = 40.0e6f;

// A colour's share of a page needs no detail: 36 dpi shows a sheet's colour
// and its noise alike.
constexpr float kColourDpi = 36.0f;

// Text recognition needs no more pixels than a big poster at 300 dpi.
constexpr float kMostOcrPixels = 80.0e6f;

// A scan is read at its own resolution, where nothing is gained by drawing
// it finer (an upsampled 100-dpi scan read "1001" as "1601") and reading
// it coarser loses print; within these bounds, finer ones taking four times
// the time for no better words.
constexpr float kLeastScanOcrDpi = 70.0f, kMostScanOcrDpi = 400.0f;

// The resolution a page is read at unless asked: its scan's own, or 300 dpi.
float OcrDpiOf(fz_context* ctx, fz_page* page) {
    const float own = ScanDpi(ctx, page);
    return own > 0 ? std::clamp(own, kLeastScanOcrDpi, kMostScanOcrDpi) : static_cast<float>(host::kOcrDpi);
}

// Around an area read by text recognition: a word whose box the area only
// touches is read whole, and a skewed line keeps its ends.
constexpr double kOcrAreaMargin = 18.0;

// The pixels of a page-space area and its margin, within the pixmap.
OcrRegion RegionOf(const host::WordBox& area, const fz_pixmap& pixmap, double scale) {
    const auto at = [scale](double points, int origin) {
        return static_cast<int>(std::floor(points * scale)) - origin;
    };
    const int left = std::max(0, at(area.minX - kOcrAreaMargin, pixmap.x));
    const int top = std::max(0, at(area.minY - kOcrAreaMargin, pixmap.y));
    const int right = std::min(pixmap.w, at(area.maxX + kOcrAreaMargin, pixmap.x) + 1);
    const int bottom = std::min(pixmap.h, at(area.maxY + kOcrAreaMargin, pixmap.y) + 1);
    return {left, top, right - left, bottom - top};
}

// The page as its code is read (a scan's own image, or drawn in grey), as
// its colours are counted (drawn in RGB), or as its text is recognized
// (drawn in grey at the dpi asked). Throws as MuPDF throws.
fz_pixmap* DrawFor(fz_context* ctx, fz_page* page, const PixelRequest& request) {
    switch (request.purpose) {
        case PixelRequest::For::Colours:
            return DrawPage(ctx, page, kColourDpi, kMostCodePixels, fz_device_rgb(ctx));
        case PixelRequest::For::Text:
            return DrawPage(ctx, page, request.dpi > 0 ? request.dpi : OcrDpiOf(ctx, page), kMostOcrPixels,
                            fz_device_gray(ctx), request.scale, request.clip);
        case PixelRequest::For::Picture: {
            const fz_rect bounds = fz_bound_page(ctx, page);
            const float scale = std::min(request.fitWidth / std::max(1.0f, bounds.x1 - bounds.x0),
                                         request.fitHeight / std::max(1.0f, bounds.y1 - bounds.y0));
            return DrawPage(ctx, page, 72.0f * scale, request.fitWidth * request.fitHeight * 1.1f, fz_device_rgb(ctx));
        }
        case PixelRequest::For::Codes:
            break;
    }
    if (fz_pixmap* scan = ScanImageGrey(ctx, page, kCodeDpi, kMostCodePixels)) return scan;
    return DrawPage(ctx, page, kCodeDpi, kMostCodePixels, fz_device_gray(ctx));
}

// The pixels the request asks for; null with the error when they cannot
// be had. MuPDF warns, and does not fail, where an image is damaged: it is
// drawn in part, or decoded with a made-up rest. So a warning while the
// pixels are made is an error on a page that paints images. Not while the
// page loads, which may warn of its links; nor on other pages, where it
// tells of a content stream or cross-reference table MuPDF mended.
fz_pixmap* Pixels(fz_context* ctx, pdf_document* doc, int number, int* object, int* generation,
                  const MupdfDocument::WarningLog* log, char* error, std::size_t size, PixelRequest request) {
    return MadeFromPage<fz_pixmap>(ctx, doc, number, object, generation, error, size, [=](fz_page* page) {
        fz_flush_warnings(ctx);  // MuPDF holds a warning back until the next one differs
        const int before = log->count;
        fz_pixmap* pixmap = DrawFor(ctx, page, request);
        fz_flush_warnings(ctx);
        if (log->count != before && PaintsImages(ctx, page)) {
            fz_drop_pixmap(ctx, pixmap);
            fz_throw(ctx, FZ_ERROR_GENERIC, "%s", log->last.c_str());
        }
        return pixmap;
    });
}

}  // namespace

PagePixels::Pixmap PagePixels::Draw(int index, int shownPage, ObjectId& page, const PixelRequest& request) {
    char error[256] = "";
    fz_pixmap* pixmap = nullptr;
    // MuPDF keeps what it decoded, warnings and all: asked again, it would not warn again.
    if (const auto known = undrawn_.find(index); known != undrawn_.end()) {
        page = known->second.first;
        std::snprintf(error, sizeof error, "%s", known->second.second.c_str());
    } else {
        pixmap = Pixels(document_.Context(), document_.Document(), index, &page.number, &page.generation,
                        &document_.Log(), error, sizeof error, request);
        document_.Identify(index, page);
        // MuPDF keeps what it decoded for the next drawing, up to 256 MB; a
        // page is drawn once a read, each with an image of its own, so the
        // store only grew: it held 250 MB of a 66-page scan.
        fz_empty_store(document_.Context());
    }
    if (!pixmap) {
        undrawn_.emplace(index, std::pair(page, std::string(error)));
        throw host::HostError(host::kErrorDamaged, "cannot draw page " + std::to_string(shownPage + 1) + ": " + error);
    }
    return Pixmap(pixmap, PixmapDeleter{document_.Context()});
}

host::PageCodeSet PagePixels::PageCodes(int index, int shownPage, ObjectId& page, unsigned kinds) {
    const Pixmap pixmap = Draw(index, shownPage, page, {PixelRequest::For::Codes});
    bool late = false;
    std::optional<CodeReading> codes =
        ReadCodes(pixmap->samples, pixmap->w, pixmap->h, static_cast<int>(pixmap->stride), kinds, &late);
    if (!codes && late)
        throw host::HostError(host::kErrorDamaged,
                              "its codes were not all read within " + std::to_string(kCodeSecondsPerPage) + " seconds");
    if (!codes)
        throw host::HostError(host::kErrorDamaged, "the code reader failed on page " + std::to_string(shownPage + 1));
    return {std::move(codes->texts), codes->inkOutside};
}

double PagePixels::ColourShare(int index, int shownPage, ObjectId& page, std::uint32_t rgb, int tolerance) {
    const Pixmap pixmap = Draw(index, shownPage, page, {PixelRequest::For::Colours});
    const int want[3] = {static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                         static_cast<int>(rgb & 0xFF)};
    std::size_t within = 0;
    for (int y = 0; y < pixmap->h; ++y) {
        const unsigned char* pixel = pixmap->samples + static_cast<std::ptrdiff_t>(y) * pixmap->stride;
        for (int x = 0; x < pixmap->w; ++x, pixel += pixmap->n)
            within += std::abs(pixel[0] - want[0]) <= tolerance && std::abs(pixel[1] - want[1]) <= tolerance &&
                      std::abs(pixel[2] - want[2]) <= tolerance;
    }
    const double pixels = static_cast<double>(pixmap->w) * pixmap->h;
    return pixels > 0 ? static_cast<double>(within) / pixels : 0.0;
}

host::PageImage PagePixels::Picture(int index, int shownPage, ObjectId& page, int width, int height) {
    PixelRequest request{PixelRequest::For::Picture};
    request.fitWidth = static_cast<float>(width), request.fitHeight = static_cast<float>(height);
    const Pixmap pixmap = Draw(index, shownPage, page, request);
    // Rounding may draw a pixel more than asked.
    host::PageImage image{std::min(pixmap->w, width), std::min(pixmap->h, height), {}};
    const std::size_t row = static_cast<std::size_t>(image.width) * 3;
    image.rgb.resize(row * static_cast<std::size_t>(image.height));
    // Drawn in RGB without alpha: a row of the pixmap is a row of the picture.
    for (int y = 0; y < image.height; ++y)
        std::memcpy(image.rgb.data() + row * static_cast<std::size_t>(y),
                    pixmap->samples + static_cast<std::ptrdiff_t>(y) * pixmap->stride, row);
    return image;
}

std::uint32_t PagePixels::MedianColour(int index, int shownPage, ObjectId& page) {
    const Pixmap pixmap = Draw(index, shownPage, page, {PixelRequest::For::Colours});
    std::array<std::array<std::size_t, 256>, 3> counts{};
    for (int y = 0; y < pixmap->h; ++y) {
        const unsigned char* pixel = pixmap->samples + static_cast<std::ptrdiff_t>(y) * pixmap->stride;
        for (int x = 0; x < pixmap->w; ++x, pixel += pixmap->n)
            for (int c = 0; c < 3; ++c) ++counts[static_cast<std::size_t>(c)][pixel[c]];
    }
    const std::size_t half = static_cast<std::size_t>(pixmap->w) * static_cast<std::size_t>(pixmap->h) / 2;
    std::uint32_t rgb = 0;
    for (const auto& channel : counts) {
        std::size_t seen = 0, value = 0;
        while (value < 255 && (seen += channel[value]) <= half) ++value;
        rgb = rgb << 8 | static_cast<std::uint32_t>(value);
    }
    return rgb;
}

std::vector<host::PageWord> PagePixels::OcrWords(int index, int shownPage, ObjectId& page, OcrEngine& engine, int dpi,
                                                 const host::WordBox* area) {
    float scale = 1;
    // An area alone is drawn: a page drawn whole at text resolution took
    // longer to paint and hand over than the area took to read.
    const std::optional<fz_rect> clip =
        area ? std::optional(fz_rect{
                   static_cast<float>(area->minX - kOcrAreaMargin), static_cast<float>(area->minY - kOcrAreaMargin),
                   static_cast<float>(area->maxX + kOcrAreaMargin), static_cast<float>(area->maxY + kOcrAreaMargin)})
             : std::nullopt;
    PixelRequest request{PixelRequest::For::Text, static_cast<float>(dpi), &scale};
    request.clip = clip ? &*clip : nullptr;
    const Pixmap pixmap = Draw(index, shownPage, page, request);
    // The pixmap's origin is the page's top left drawn at scale.
    const double x0 = pixmap->x, y0 = pixmap->y;
    std::vector<host::PageWord> words;
    const int resolution = static_cast<int>(std::lround(scale * 72.0f));
    const std::optional<OcrRegion> region = area ? std::optional(RegionOf(*area, *pixmap, scale)) : std::nullopt;
    for (const OcrWord& read : engine.Read(pixmap->samples, pixmap->w, pixmap->h, static_cast<int>(pixmap->stride),
                                           resolution, region ? &*region : nullptr)) {
        host::WordBox box{(x0 + read.left) / scale, (y0 + read.top) / scale, (x0 + read.right) / scale,
                          (y0 + read.bottom) / scale};
        words.push_back({read.text, {box}, read.confidence});
    }
    return words;
}

}  // namespace tessera::pdf
