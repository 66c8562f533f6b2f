#include "pdf/pixels/PageRaster.h"

#include <cmath>
#include <utility>

namespace tessera::pdf {
namespace {

float ScaleFor(fz_rect bounds, float dpi, float mostPixels) {
    const float scale = dpi / 72.0f;
    const float pixels = (bounds.x1 - bounds.x0) * (bounds.y1 - bounds.y0) * scale * scale;
    return pixels > mostPixels ? scale * std::sqrt(mostPixels / pixels) : scale;
}

float Area(fz_rect r) { return fz_is_empty_rect(r) ? 0.0f : (r.x1 - r.x0) * (r.y1 - r.y0); }

// What a page paints, as far as telling a scan from a drawn page needs:
// its images (the first one kept) and whether anything else is painted.
// Clips and invisible text (a scan's OCR layer) paint nothing.
struct ScanDevice {
    fz_device super;
    fz_image* image;
    fz_matrix ctm;
    int images;
    int others;
    bool mask;
};

ScanDevice& Of(fz_device* device) { return *reinterpret_cast<ScanDevice*>(device); }

void NoteImage(fz_context* ctx, fz_device* device, fz_image* image, fz_matrix ctm, bool mask) {
    ScanDevice& scan = Of(device);
    if (scan.images++ == 0) {
        scan.image = fz_keep_image(ctx, image);
        scan.ctm = ctm;
        scan.mask = mask;
    }
}

fz_device* NewScanDevice(fz_context* ctx) {
    ScanDevice* scan = fz_new_derived_device(ctx, ScanDevice);
    fz_device& d = scan->super;
    d.fill_image = [](fz_context* c, fz_device* dev, fz_image* image, fz_matrix ctm, float, fz_color_params) {
        NoteImage(c, dev, image, ctm, false);
    };
    d.fill_image_mask = [](fz_context* c, fz_device* dev, fz_image* image, fz_matrix ctm, fz_colorspace*, const float*,
                           float, fz_color_params) { NoteImage(c, dev, image, ctm, true); };
    d.fill_path = [](fz_context*, fz_device* dev, const fz_path*, int, fz_matrix, fz_colorspace*, const float*, float,
                     fz_color_params) { ++Of(dev).others; };
    d.stroke_path = [](fz_context*, fz_device* dev, const fz_path*, const fz_stroke_state*, fz_matrix, fz_colorspace*,
                       const float*, float, fz_color_params) { ++Of(dev).others; };
    d.fill_text = [](fz_context*, fz_device* dev, const fz_text*, fz_matrix, fz_colorspace*, const float*, float,
                     fz_color_params) { ++Of(dev).others; };
    d.stroke_text = [](fz_context*, fz_device* dev, const fz_text*, const fz_stroke_state*, fz_matrix, fz_colorspace*,
                       const float*, float, fz_color_params) { ++Of(dev).others; };
    d.fill_shade = [](fz_context*, fz_device* dev, fz_shade*, fz_matrix, float, fz_color_params) { ++Of(dev).others; };
    d.drop_device = [](fz_context* c, fz_device* dev) { fz_drop_image(c, Of(dev).image); };
    return &d;
}

// A scan's image covers the page, give or take a scanner's margin.
constexpr float kScanCover = 0.9f;

// The page's one image and where it is drawn, or null.
fz_image* FindScan(fz_context* ctx, fz_page* page, fz_matrix* ctm, bool* mask) {
    fz_device* device = NewScanDevice(ctx);
    fz_image* image = nullptr;
    fz_try(ctx) {
        fz_run_page(ctx, page, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
        const ScanDevice& scan = Of(device);
        const fz_rect bounds = fz_bound_page(ctx, page);
        const fz_rect shown = fz_intersect_rect(fz_transform_rect(fz_unit_rect, scan.ctm), bounds);
        if (scan.images == 1 && scan.others == 0 && Area(shown) >= kScanCover * Area(bounds)) {
            image = fz_keep_image(ctx, scan.image);
            *ctm = scan.ctm;
            *mask = scan.mask;
        }
    }
    fz_always(ctx) { fz_drop_device(ctx, device); }
    fz_catch(ctx) { fz_rethrow(ctx); }
    return image;
}

// A new pixmap of one byte a pixel: what MuPDF decoded stays in its store
// as it is. A stencil mask's paint is dark, as it prints.
fz_pixmap* Grey(fz_context* ctx, fz_pixmap* pixmap, bool mask) {
    if (mask || !pixmap->colorspace) {
        fz_pixmap* grey = fz_clone_pixmap(ctx, pixmap);
        for (int y = 0; y < grey->h; ++y) {
            unsigned char* row = grey->samples + static_cast<std::ptrdiff_t>(y) * grey->stride;
            for (int x = 0; x < grey->w * grey->n; ++x) row[x] = static_cast<unsigned char>(255 - row[x]);
        }
        return grey;
    }
    if (fz_colorspace_is_indexed(ctx, pixmap->colorspace)) {
        fz_pixmap* base = fz_convert_indexed_pixmap_to_base(ctx, pixmap);
        fz_pixmap* grey = nullptr;
        fz_try(ctx) { grey = Grey(ctx, base, false); }
        fz_always(ctx) { fz_drop_pixmap(ctx, base); }
        fz_catch(ctx) { fz_rethrow(ctx); }
        return grey;
    }
    if (fz_colorspace_is_gray(ctx, pixmap->colorspace) && pixmap->n == 1) return fz_clone_pixmap(ctx, pixmap);
    return fz_convert_pixmap(ctx, pixmap, fz_device_gray(ctx), nullptr, nullptr, fz_default_color_params, 0);
}

void Mirror(fz_pixmap* pixmap) {
    for (int y = 0; y < pixmap->h; ++y) {
        unsigned char* row = pixmap->samples + static_cast<std::ptrdiff_t>(y) * pixmap->stride;
        for (int left = 0, right = pixmap->w - 1; left < right; ++left, --right) std::swap(row[left], row[right]);
    }
}

// Decodes each image it is shown, whole and small: a JPEG shrunk while it
// is decoded still reads every byte of its data, in a third of the time.
void DecodeWhole(fz_context* ctx, fz_image* image, fz_matrix ctm) {
    constexpr float kSmall = 0.02f;  // pixels a point: far below any drawing, so MuPDF shrinks all it can
    fz_matrix small = fz_concat(ctm, fz_scale(kSmall, kSmall));
    fz_drop_pixmap(ctx, fz_get_pixmap_from_image(ctx, image, nullptr, &small, nullptr, nullptr));
}

// A drawing of part of a page decodes an image only as far as the part
// reaches: damage further on would pass unseen, and a damaged page must
// be refused whatever part is asked for.
void DecodeImagesWhole(fz_context* ctx, fz_page* page) {
    fz_device* device = fz_new_device_of_size(ctx, sizeof(fz_device));
    device->fill_image = [](fz_context* c, fz_device*, fz_image* image, fz_matrix ctm, float, fz_color_params) {
        DecodeWhole(c, image, ctm);
    };
    device->fill_image_mask = [](fz_context* c, fz_device*, fz_image* image, fz_matrix ctm, fz_colorspace*,
                                 const float*, float, fz_color_params) { DecodeWhole(c, image, ctm); };
    fz_try(ctx) {
        fz_run_page(ctx, page, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
    }
    fz_always(ctx) { fz_drop_device(ctx, device); }
    fz_catch(ctx) { fz_rethrow(ctx); }
}

}  // namespace

bool PaintsImages(fz_context* ctx, fz_page* page) {
    fz_device* device = NewScanDevice(ctx);
    int images = 1;  // a page that cannot be run again may paint one
    fz_try(ctx) {
        fz_run_page(ctx, page, device, fz_identity, nullptr);
        fz_close_device(ctx, device);
        images = Of(device).images;
    }
    fz_always(ctx) { fz_drop_device(ctx, device); }
    fz_catch(ctx) {}
    return images > 0;
}

fz_pixmap* DrawPage(fz_context* ctx, fz_page* page, float dpi, float mostPixels, fz_colorspace* colours,
                    float* usedScale, const fz_rect* clip) {
    const fz_rect bounds = fz_bound_page(ctx, page);
    const float scale = ScaleFor(bounds, dpi, mostPixels);
    if (usedScale) *usedScale = scale;
    const fz_matrix ctm = fz_scale(scale, scale);
    const fz_irect whole = fz_round_rect(fz_transform_rect(bounds, ctm));
    fz_irect box = clip ? fz_intersect_irect(whole, fz_round_rect(fz_transform_rect(*clip, ctm))) : whole;
    // A part off the page shows nothing: a blank pixel, not a failure.
    if (fz_is_empty_irect(box)) box = {whole.x0, whole.y0, whole.x0 + 1, whole.y0 + 1};
    if (clip) DecodeImagesWhole(ctx, page);
    fz_pixmap* pixmap = fz_new_pixmap_with_bbox(ctx, colours, box, nullptr, 0);
    fz_device* device = nullptr;
    fz_cookie cookie{};
    fz_var(device);
    fz_try(ctx) {
        fz_clear_pixmap_with_value(ctx, pixmap, 255);
        device = fz_new_draw_device(ctx, fz_identity, pixmap);
        fz_run_page(ctx, page, device, ctm, &cookie);
        fz_close_device(ctx, device);
        if (cookie.errors > 0) fz_throw(ctx, FZ_ERROR_GENERIC, "part of the page could not be drawn");
    }
    fz_always(ctx) { fz_drop_device(ctx, device); }
    fz_catch(ctx) {
        fz_drop_pixmap(ctx, pixmap);
        fz_rethrow(ctx);
    }
    return pixmap;
}

fz_pixmap* ScanImageGrey(fz_context* ctx, fz_page* page, float dpi, float mostPixels) {
    fz_image* image = nullptr;
    fz_pixmap* decoded = nullptr;
    fz_pixmap* grey = nullptr;
    fz_var(image);
    fz_var(decoded);
    fz_var(grey);
    fz_try(ctx) {
        fz_matrix ctm = fz_identity;
        bool mask = false;
        image = FindScan(ctx, page, &ctm, &mask);
        // Asked for at dpi, MuPDF halves an image only while it stays at least that fine.
        fz_matrix wanted = fz_concat(ctm, fz_scale(dpi / 72.0f, dpi / 72.0f));
        if (image && static_cast<float>(image->w) * static_cast<float>(image->h) <= 4.0f * mostPixels) {
            decoded = fz_get_pixmap_from_image(ctx, image, nullptr, &wanted, nullptr, nullptr);
            if (static_cast<float>(decoded->w) * static_cast<float>(decoded->h) <= mostPixels) {
                grey = Grey(ctx, decoded, mask);
                if (ctm.a * ctm.d - ctm.b * ctm.c < 0) Mirror(grey);
            }
        }
    }
    fz_always(ctx) {
        fz_drop_pixmap(ctx, decoded);
        fz_drop_image(ctx, image);
    }
    fz_catch(ctx) {
        fz_drop_pixmap(ctx, grey);
        grey = nullptr;
    }
    return grey;
}

float ScanDpi(fz_context* ctx, fz_page* page) {
    fz_matrix ctm = fz_identity;
    bool mask = false;
    fz_image* image = FindScan(ctx, page, &ctm, &mask);
    if (!image) return 0.0f;
    const float inches = std::sqrt(ctm.a * ctm.a + ctm.b * ctm.b) / 72.0f;
    const float dpi = inches > 0 ? static_cast<float>(image->w) / inches : 0.0f;
    fz_drop_image(ctx, image);
    return dpi;
}

}  // namespace tessera::pdf
