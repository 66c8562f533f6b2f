#pragma once
// Pages as pixels, for what is read from how a page looks (codes, a sheet's
// colour): drawn by MuPDF, or, where the page is a scan, its one image
// decoded as it is stored. Both throw as MuPDF throws: callers run them
// inside fz_try.
#include <mupdf/fitz.h>

namespace tessera::pdf {

// The page drawn at `dpi`, coarser where that would take more than
// `mostPixels`, in `colours` (grey or RGB). Throws where any part of the
// page could not be drawn: a page drawn in part shows what it does not hold,
// a white sheet where its image failed.
// `usedScale`, when given, receives the pixels per point it was drawn at.
// `clip`, when given, is the part of the page (in page space) drawn: the
// pixmap holds that part alone, at the scale of the whole page, and only the
// images it shows are decoded, and those only as far as it reaches.
fz_pixmap* DrawPage(fz_context* ctx, fz_page* page, float dpi, float mostPixels, fz_colorspace* colours,
                    float* usedScale = nullptr, const fz_rect* clip = nullptr);

// Where the page is a scan (one image covering it, and nothing else drawn),
// that image in grey at its own resolution, halved while it is finer than
// twice `dpi`, turned over where the page shows it mirrored. Null where the
// page is no scan, its image would take more than `mostPixels`, or it cannot
// be decoded here (DrawPage then says why). Rotations by right angles are
// left to the reader: a code reader turns the image itself.
fz_pixmap* ScanImageGrey(fz_context* ctx, fz_page* page, float dpi, float mostPixels);

// Where the page is a scan, its image's resolution as the page shows it
// (pixels per inch along the image's width); 0 where it is no scan. Nothing
// is decoded. Throws as MuPDF throws.
float ScanDpi(fz_context* ctx, fz_page* page);

// Whether the page paints an image, whole or as a mask; true also for a
// page that cannot be run to tell. Never throws.
bool PaintsImages(fz_context* ctx, fz_page* page);

}  // namespace tessera::pdf
