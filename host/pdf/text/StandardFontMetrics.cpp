#include "pdf/text/StandardFontMetrics.h"

#include <mupdf/fitz.h>

#include <algorithm>
#include <cstdio>

#include "host/HostError.h"

namespace tessera::pdf {
namespace {

// C-style: no C++ object with a destructor lives across fz_try.
bool MeasureRun(fz_context* ctx, const char* fontName, const unsigned char* codes, std::size_t count, RunExtent* out,
                char* error, std::size_t size) {
    fz_font* font = nullptr;
    int ok = 1;
    fz_var(font);
    fz_try(ctx) {
        font = fz_new_base14_font(ctx, fontName);
        for (std::size_t i = 0; i < count; ++i) {
            const int glyph = fz_encode_character(ctx, font, fz_unicode_from_windows_1252[codes[i]]);
            const fz_rect ink = fz_bound_glyph(ctx, font, glyph, fz_identity);
            if (!fz_is_empty_rect(ink)) {
                out->top = std::max<double>(out->top, ink.y1);
                out->bottom = std::min<double>(out->bottom, ink.y0);
            }
            out->advance += fz_advance_glyph(ctx, font, glyph, 0);
        }
    }
    fz_always(ctx) { fz_drop_font(ctx, font); }
    fz_catch(ctx) {
        std::snprintf(error, size, "%s", fz_caught_message(ctx));
        ok = 0;
    }
    return ok != 0;
}

}  // namespace

StandardFontMetrics::StandardFontMetrics() : ctx_(fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT)) {}

StandardFontMetrics::~StandardFontMetrics() { fz_drop_context(ctx_); }

RunExtent StandardFontMetrics::Measure(const std::string& fontName, const std::string& codes) {
    if (!ctx_) throw host::HostError(host::kErrorGeneral, "cannot start the font library");
    RunExtent extent;
    char error[256] = "";
    if (!MeasureRun(ctx_, fontName.c_str(), reinterpret_cast<const unsigned char*>(codes.data()), codes.size(), &extent,
                    error, sizeof error))
        throw host::HostError(host::kErrorGeneral, "the font " + fontName + " is not available: " + error);
    return extent;
}

}  // namespace tessera::pdf
