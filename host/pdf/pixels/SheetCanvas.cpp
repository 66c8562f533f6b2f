#include "pdf/pixels/SheetCanvas.h"

#include <mupdf/fitz.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/HostError.h"
#include "pdf/file/TemporaryOutput.h"

namespace tessera::pdf {
namespace {

// MuPDF's error, after its fz_try block, as the host reports errors.
[[noreturn]] void Failed(fz_context* ctx, const std::string& path) {
    throw host::HostError(host::kErrorFile, "cannot draw the picture " + path + ": " + fz_caught_message(ctx));
}

void ColourOf(unsigned rgb, float colour[3]) {
    colour[0] = static_cast<float>(rgb >> 16 & 0xFF) / 255.0f;
    colour[1] = static_cast<float>(rgb >> 8 & 0xFF) / 255.0f;
    colour[2] = static_cast<float>(rgb & 0xFF) / 255.0f;
}

// How far the text advances; false when MuPDF fails.
bool Measure(fz_context* ctx, fz_font* font, float size, const char* text, float& width) {
    bool ok = true;
    fz_try(ctx) {
        width = fz_measure_string(ctx, font, fz_scale(size, size), text, 0, 0, FZ_BIDI_LTR, FZ_LANG_UNSET).e;
    }
    fz_catch(ctx) { ok = false; }
    return ok;
}

// Where the text may be cut: the start of each character, and its end.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// The text as it fits, by whole characters: cut at the end, or with
// `middle` in the middle (where names that share a start differ at their
// end), "…" where it was cut; false when MuPDF fails.
bool Fitted(fz_context* ctx, fz_font* font, float size, const std::string& text, int maxWidth, bool middle,
            std::string& shown) {
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const std::size_t characters = starts.size() - 1;
    shown = text;
    for (std::size_t kept = characters;; --kept) {
        float width = 0;
        if (!Measure(ctx, font, size, shown.c_str(), width)) return false;
        if (width <= static_cast<float>(maxWidth) || kept == 0) return true;
        const std::size_t head = middle ? (kept - 1 + 1) / 2 : kept - 1, tail = kept - 1 - head;
        shown = text.substr(0, starts[head]) + "…" + text.substr(starts[characters - tail]);
    }
}

}  // namespace

struct SheetCanvas::State {
    std::string path;
    TemporaryOutput file;
    fz_context* ctx = nullptr;
    fz_buffer* buffer = nullptr;
    fz_output* out = nullptr;
    fz_band_writer* writer = nullptr;
    fz_font* font = nullptr;
    fz_pixmap* strip = nullptr;
    fz_device* device = nullptr;
    int width = 0, height = 0, written = 0, firstStrip = 0;

    explicit State(const std::string& target) : path(target), file(target) {}

    void DropStrip() {
        fz_drop_device(ctx, std::exchange(device, nullptr));
        fz_drop_pixmap(ctx, std::exchange(strip, nullptr));
    }
    // What MuPDF wrote so far, into the file.
    void Drain() {
        unsigned char* data = nullptr;
        const std::size_t size = fz_buffer_storage(ctx, buffer, &data);
        file.Write(std::string_view(reinterpret_cast<const char*>(data), size));
        fz_clear_buffer(ctx, buffer);
    }
};

SheetCanvas::SheetCanvas(const std::string& path, int width, int height) : state_(std::make_unique<State>(path)) {
    State& s = *state_;
    s.width = width, s.height = height;
    s.ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
    if (!s.ctx) throw host::HostError(host::kErrorFile, "cannot draw the picture " + path + ": out of memory");
    fz_context* ctx = s.ctx;
    bool ok = true;
    fz_try(ctx) {
        s.buffer = fz_new_buffer(ctx, 1 << 16);
        s.out = fz_new_output_with_buffer(ctx, s.buffer);
        s.writer = fz_new_png_band_writer(ctx, s.out);
        fz_write_header(ctx, s.writer, width, height, 3, 0, 96, 96, 0, fz_device_rgb(ctx), nullptr);
        s.font = fz_new_base14_font(ctx, "Helvetica");
    }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, path);
}

SheetCanvas::~SheetCanvas() {
    State& s = *state_;
    s.DropStrip();
    fz_drop_font(s.ctx, s.font);
    fz_drop_band_writer(s.ctx, s.writer);
    fz_drop_output(s.ctx, s.out);
    fz_drop_buffer(s.ctx, s.buffer);
    fz_drop_context(s.ctx);
}

void SheetCanvas::BeginStrip(int top, int height) {
    State& s = *state_;
    s.DropStrip();
    // The PNG writer sizes its buffers by the first strip.
    if (s.firstStrip == 0) s.firstStrip = height;
    if (height > s.firstStrip || top != s.written)
        throw host::HostError(host::kErrorFile, "cannot draw the picture " + s.path + ": strips out of order");
    fz_context* ctx = s.ctx;
    bool ok = true;
    fz_try(ctx) {
        s.strip = fz_new_pixmap_with_bbox(ctx, fz_device_rgb(ctx), fz_irect{0, top, s.width, top + height}, nullptr, 0);
        fz_clear_pixmap_with_value(ctx, s.strip, 255);
        s.device = fz_new_draw_device(ctx, fz_identity, s.strip);
    }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, s.path);
}

void SheetCanvas::Fill(CanvasRect rect, unsigned rgb) {
    State& s = *state_;
    const fz_irect area =
        fz_intersect_irect(fz_pixmap_bbox(s.ctx, s.strip), {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
    for (int y = area.y0; y < area.y1; ++y) {
        unsigned char* pixel = s.strip->samples + (y - s.strip->y) * s.strip->stride + (area.x0 - s.strip->x) * 3;
        for (int x = area.x0; x < area.x1; ++x, pixel += 3)
            pixel[0] = rgb >> 16 & 0xFF, pixel[1] = rgb >> 8 & 0xFF, pixel[2] = rgb & 0xFF;
    }
}

void SheetCanvas::Wash(CanvasRect rect, unsigned rgb, double share) {
    State& s = *state_;
    const fz_irect area =
        fz_intersect_irect(fz_pixmap_bbox(s.ctx, s.strip), {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
    const int towards[3] = {static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                            static_cast<int>(rgb & 0xFF)};
    for (int y = area.y0; y < area.y1; ++y) {
        unsigned char* pixel = s.strip->samples + (y - s.strip->y) * s.strip->stride + (area.x0 - s.strip->x) * 3;
        for (int x = area.x0; x < area.x1; ++x, pixel += 3)
            for (int c = 0; c < 3; ++c)
                pixel[c] = static_cast<unsigned char>(pixel[c] + (towards[c] - pixel[c]) * share);
    }
}

void SheetCanvas::Frame(CanvasRect rect, unsigned rgb) {
    Fill({rect.x - 1, rect.y - 1, rect.width + 2, 1}, rgb);
    Fill({rect.x - 1, rect.y + rect.height, rect.width + 2, 1}, rgb);
    Fill({rect.x - 1, rect.y, 1, rect.height}, rgb);
    Fill({rect.x + rect.width, rect.y, 1, rect.height}, rgb);
}

void SheetCanvas::Line(int x0, int y0, int x1, int y1, float thickness, unsigned rgb) {
    State& s = *state_;
    fz_context* ctx = s.ctx;
    float colour[3];
    ColourOf(rgb, colour);
    fz_path* path = nullptr;
    fz_stroke_state* stroke = nullptr;
    bool ok = true;
    fz_var(path);
    fz_var(stroke);
    fz_try(ctx) {
        path = fz_new_path(ctx);
        fz_moveto(ctx, path, static_cast<float>(x0), static_cast<float>(y0));
        fz_lineto(ctx, path, static_cast<float>(x1), static_cast<float>(y1));
        stroke = fz_new_stroke_state(ctx);
        stroke->linewidth = thickness;
        fz_stroke_path(ctx, s.device, path, stroke, fz_identity, fz_device_rgb(ctx), colour, 1,
                       fz_default_color_params);
    }
    fz_always(ctx) {
        fz_drop_stroke_state(ctx, stroke);
        fz_drop_path(ctx, path);
    }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, s.path);
}

void SheetCanvas::Image(int x, int y, const host::PageImage& image) {
    State& s = *state_;
    const fz_irect area = fz_intersect_irect(fz_pixmap_bbox(s.ctx, s.strip), {x, y, x + image.width, y + image.height});
    for (int row = area.y0; row < area.y1; ++row) {
        const std::uint8_t* from =
            image.rgb.data() + (static_cast<std::size_t>(row - y) * image.width + (area.x0 - x)) * 3;
        unsigned char* to = s.strip->samples + (row - s.strip->y) * s.strip->stride + (area.x0 - s.strip->x) * 3;
        std::memcpy(to, from, static_cast<std::size_t>(area.x1 - area.x0) * 3);
    }
}

void SheetCanvas::Text(int x, int y, int maxWidth, const std::string& text, float size, unsigned rgb, Cut cut) {
    State& s = *state_;
    fz_context* ctx = s.ctx;
    std::string shown;
    if (!Fitted(ctx, s.font, size, text, maxWidth, cut == Cut::Middle, shown)) Failed(ctx, s.path);
    bool ok = true;
    float colour[3];
    ColourOf(rgb, colour);
    fz_text* line = nullptr;
    fz_var(line);
    const char* bytes = shown.c_str();
    fz_try(ctx) {
        line = fz_new_text(ctx);
        fz_matrix trm = fz_scale(size, -size);
        trm.e = static_cast<float>(x), trm.f = static_cast<float>(y);
        fz_show_string(ctx, line, s.font, trm, bytes, 0, 0, FZ_BIDI_LTR, FZ_LANG_UNSET);
        fz_fill_text(ctx, s.device, line, fz_identity, fz_device_rgb(ctx), colour, 1, fz_default_color_params);
    }
    fz_always(ctx) { fz_drop_text(ctx, line); }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, s.path);
}

void SheetCanvas::EndStrip() {
    State& s = *state_;
    fz_context* ctx = s.ctx;
    bool ok = true;
    fz_try(ctx) {
        fz_close_device(ctx, s.device);
        fz_write_band(ctx, s.writer, static_cast<int>(s.strip->stride), s.strip->h, s.strip->samples);
        fz_flush_output(ctx, s.out);
    }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, s.path);
    s.written += s.strip->h;
    s.DropStrip();
    s.Drain();
}

void SheetCanvas::Commit() {
    State& s = *state_;
    if (s.written != s.height)
        throw host::HostError(host::kErrorFile, "cannot draw the picture " + s.path + ": rows are missing");
    fz_context* ctx = s.ctx;
    bool ok = true;
    fz_try(ctx) {
        fz_close_band_writer(ctx, s.writer);
        fz_close_output(ctx, s.out);
    }
    fz_catch(ctx) { ok = false; }
    if (!ok) Failed(ctx, s.path);
    s.Drain();
    s.file.Commit();
}

}  // namespace tessera::pdf
