#pragma once
// Writing page content: the standard fonts ("PDSysFont") and new elements
// added to an acquired page content ("PDFEditWrite"). Every object made here
// lives until released; releasing it does not take it out of a page that
// already draws it. Every operation raises HostError on failure.
#include <cstdint>
#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "host/PageContentServices.h"
#include "host/WordFinderServices.h"

namespace tessera::host {

using FontId = std::uint32_t;
using ExtGStateId = std::uint32_t;
using TextElementId = std::uint32_t;

// How a text element is painted. Lengths in points.
struct TextGraphicState {
    std::string colorSpace = "DeviceRGB";  // for filling and stroking
    RgbColor fill, stroke;
    double lineWidth = 1, miterLimit = 10, flatness = 1;
    ExtGStateId extGState = 0;  // 0: none
};

// Text space to page space: x' = a x + c y + h, y' = b x + d y + v.
struct TextMatrix {
    double a = 1, b = 0, c = 0, d = 1, h = 0, v = 0;
};

// Where an added element goes in a content, by the integers of the viewer's
// content calls: before its first element, drawn first, or after its last,
// drawn last.
enum class ElementPosition : int { BeforeFirst = -1, AfterLast = -2 };

class FontServices {
public:
    virtual ~FontServices() = default;
    // One of the standard 14 fonts by its PostScript name ("Times-Roman"),
    // drawn from the viewer's own copy (nothing embedded), character codes
    // 0 to 255 in the WinAnsi (Windows-1252) encoding.
    virtual FontId CreateStandardFont(DocId doc, const std::string& name, const std::string& fontType) = 0;
    virtual void ReleaseFont(FontId font) = 0;
};

class PageEditServices {
public:
    virtual ~PageEditServices() = default;

    // A transparency setting made in doc: constant opacity for filling and stroking, 0 to 1.
    virtual ExtGStateId CreateExtGState(DocId doc, double fillOpacity, double strokeOpacity) = 0;
    virtual void ReleaseExtGState(ExtGStateId state) = 0;

    // A text element of one run: the bytes are character codes of the font.
    virtual TextElementId CreateText(const std::string& codes, FontId font, const TextGraphicState& state,
                                     const TextMatrix& matrix) = 0;
    virtual void ReleaseText(TextElementId text) = 0;
    // The box of the run in page space: the advance widths of its characters
    // by the height its glyphs reach above and below the baseline, through the matrix.
    virtual Rect TextBounds(TextElementId text) = 0;

    // Adds a copy of the element to an acquired content, before or after
    // what is there.
    virtual void AddElement(ContentId content, ElementPosition position, TextElementId text) = 0;
    // Writes what was added to the content's page. The page's own drawing is
    // kept as it is and cannot move, clip or fade what was added, nor be faded by it.
    virtual void WriteBack(ContentId content) = 0;
    // Lays the words over the drawing of the 0-based page of doc as
    // invisible text, each stretched over its box (in the word finder's
    // space of that page), in a font that draws nothing, so that viewers
    // search, select and copy them and the page looks as it did.
    virtual void AddInvisibleWords(DocId doc, int page, const std::vector<PageWord>& words) = 0;
};

}  // namespace tessera::host
