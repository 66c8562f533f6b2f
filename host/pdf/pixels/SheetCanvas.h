#pragma once
// A large RGB picture drawn and written as PNG one strip at a time, so that a
// sheet of thousands of pages takes the memory of one strip. The file appears
// under its name whole, or not at all.
#include <memory>
#include <string>

#include "host/PagePixelServices.h"

namespace tessera::pdf {

struct CanvasRect {
    int x = 0, y = 0, width = 0, height = 0;
};

class SheetCanvas {
public:
    // HostError when the file cannot be made.
    SheetCanvas(const std::string& path, int width, int height);
    ~SheetCanvas();
    SheetCanvas(const SheetCanvas&) = delete;
    SheetCanvas& operator=(const SheetCanvas&) = delete;

    // The strip from `top` (sheet coordinates) that the drawing calls draw
    // into, white; the strips, in order, must cover the height exactly, and
    // none may be taller than the first (HostError).
    void BeginStrip(int top, int height);
    // Coordinates are the sheet's; what falls outside the strip is not drawn.
    void Fill(CanvasRect rect, unsigned rgb);
    // The rectangle's pixels moved `share` (0 to 1) of the way towards rgb.
    void Wash(CanvasRect rect, unsigned rgb, double share);
    void Frame(CanvasRect rect, unsigned rgb);
    void Line(int x0, int y0, int x1, int y1, float thickness, unsigned rgb);
    // The image with its top left at x, y.
    void Image(int x, int y, const host::PageImage& image);
    // One line of text (UTF-8) from x with its baseline at y, cut with "…" at
    // its end or in its middle to fit in maxWidth pixels; scripts Helvetica
    // lacks come from MuPDF's own fonts.
    enum class Cut { End, Middle };
    void Text(int x, int y, int maxWidth, const std::string& text, float size, unsigned rgb, Cut cut = Cut::End);
    // Writes the strip; HostError when the file cannot take it.
    void EndStrip();
    // The whole picture under its name; HostError when it cannot be.
    void Commit();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tessera::pdf
