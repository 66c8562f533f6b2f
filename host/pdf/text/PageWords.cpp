#include "pdf/text/PageWords.h"

#include <mupdf/fitz.h>

#include <algorithm>
#include <cmath>

namespace tessera::pdf {
namespace {

// MuPDF passes on what a font's names say, surrogates ("uniD800") included;
// words are UTF-8 that searches and file names can take, so those are U+FFFD.
void AppendUtf8(std::string& out, int c) {
    if (c < 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = FZ_REPLACEMENT_CHARACTER;
    char buffer[8];
    const int n = fz_runetochar(buffer, c);
    out.append(buffer, static_cast<std::size_t>(n));
}

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || c == 0x3000; }

void Extend(host::WordBox& box, const fz_quad& q) {
    for (const fz_point& p : {q.ul, q.ur, q.ll, q.lr}) {
        box.minX = std::min<double>(box.minX, p.x);
        box.maxX = std::max<double>(box.maxX, p.x);
        box.minY = std::min<double>(box.minY, p.y);
        box.maxY = std::max<double>(box.maxY, p.y);
    }
}

struct PlacedWord {
    double lineY, x;
    host::PageWord word;
};

void AddLine(const fz_stext_line& line, std::vector<PlacedWord>& words) {
    host::PageWord current;
    host::WordBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    const double lineY = line.bbox.y1;  // the line's bottom: one value for the whole line
    auto flush = [&] {
        if (current.text.empty()) return;
        current.quads.push_back(box);
        words.push_back({lineY, box.minX, std::move(current)});
        current = {};
        box = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    };
    for (const fz_stext_char* ch = line.first_char; ch; ch = ch->next) {
        if (IsSpace(ch->c)) {
            flush();
            continue;
        }
        AppendUtf8(current.text, ch->c);
        Extend(box, ch->quad);
    }
    flush();
}

}  // namespace

std::vector<host::PageWord> PageWords(const fz_stext_page& text) {
    std::vector<PlacedWord> placed;
    for (const fz_stext_block* block = text.first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
        for (const fz_stext_line* line = block->u.t.first_line; line; line = line->next) AddLine(*line, placed);
    }
    // Lines whose bottoms lie within a point of each other are one line.
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedWord& a, const PlacedWord& b) {
        const double ya = std::round(a.lineY), yb = std::round(b.lineY);
        return ya != yb ? ya < yb : a.x < b.x;
    });
    std::vector<host::PageWord> words;
    words.reserve(placed.size());
    for (PlacedWord& p : placed) words.push_back(std::move(p.word));
    return words;
}

}  // namespace tessera::pdf
