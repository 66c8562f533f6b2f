#include "pdf/text/MupdfGlyphNames.h"

#include "pdf/text/FontProgramNames.h"
#include "pdf/text/GlyphNameText.h"
#include "pdf/text/MupdfCidFontText.h"
#include "pdf/text/MupdfPageTable.h"

namespace tessera::pdf {
namespace {

// Resources nest through forms and Type 3 glyphs; each level is a few fz_try
// levels, well within MuPDF's own limit.
constexpr int kMaxDepth = 16;

// A code beyond the 16 bits of MuPDF's table, or several characters, needs a
// ToUnicode map; one is made when the font has none. A font that has one
// gets only what fits the table: MuPDF's map cannot grow once built.
bool Name(fz_context* ctx, pdf_font_desc* font, pdf_cmap** sequences, int code, const int* text, std::size_t size) {
    if (size == 1 && text[0] <= 0xFFFF) {
        font->cid_to_ucs[code] = static_cast<unsigned short>(text[0]);
        return true;
    }
    if (font->to_unicode) return false;
    if (!*sequences) {
        *sequences = pdf_new_cmap(ctx);
        pdf_add_codespace(ctx, *sequences, 0, 255, 1);
    }
    pdf_map_one_to_many(ctx, *sequences, static_cast<unsigned int>(code), const_cast<int*>(text), size);
    return true;
}

bool Unnamed(const pdf_font_desc* font, int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= font->cid_to_ucs_len ||
        font->cid_to_ucs[code] != FZ_REPLACEMENT_CHARACTER)
        return false;
    int mapped[kMaxGlyphText * 4];
    return !font->to_unicode || pdf_lookup_cmap_full(font->to_unicode, static_cast<unsigned int>(code), mapped) == 0;
}

// The name /Differences gives each code; later entries win, as in MuPDF.
void DifferencesNames(fz_context* ctx, pdf_obj* differences, const char* (&names)[256]) {
    int code = 0;
    for (int i = 0; i < pdf_array_len(ctx, differences); ++i) {
        pdf_obj* item = pdf_array_get(ctx, differences, i);
        if (pdf_is_int(ctx, item)) code = pdf_to_int(ctx, item);
        if (pdf_is_name(ctx, item) && code >= 0 && code < 256) names[code++] = pdf_to_name(ctx, item);
    }
}

// The text of a code: its /Differences name, or else its glyph's name in the
// embedded program. A substituted program's names say nothing of the text.
std::size_t CodeText(fz_context* ctx, const pdf_font_desc& font, const char* name, int code, int* text) {
    const std::size_t size = name ? GlyphNameText(name, text, kMaxGlyphText) : 0;
    if (size > 0 || !font.is_embedded || !font.cid_to_gid || static_cast<std::size_t>(code) >= font.cid_to_gid_len)
        return size;
    return GlyphProgramText(ctx, font.font, font.cid_to_gid[code], text, kMaxGlyphText);
}

int NameCodes(fz_context* ctx, pdf_font_desc* font, pdf_obj* differences) {
    const char* names[256] = {};
    DifferencesNames(ctx, differences, names);
    int changed = 0;
    pdf_cmap* sequences = nullptr;
    fz_var(changed);
    fz_var(sequences);
    fz_try(ctx) {
        for (int code = 0; code < 256; ++code) {
            if (!Unnamed(font, code)) continue;
            int text[kMaxGlyphText];
            const std::size_t size = CodeText(ctx, *font, names[code], code, text);
            if (size > 0 && Name(ctx, font, &sequences, code, text, size)) changed = 1;
        }
        if (sequences) {
            pdf_sort_cmap(ctx, sequences);
            font->to_unicode = sequences;
            sequences = nullptr;
        }
    }
    fz_always(ctx) { pdf_drop_cmap(ctx, sequences); }
    fz_catch(ctx) {}
    return changed;
}

int NameFont(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* dictionary) {
    if (pdf_dict_get(ctx, dictionary, PDF_NAME(DescendantFonts))) {
        int named = 0;
        fz_var(named);
        fz_try(ctx) { named = NameCidFont(ctx, doc, resources, dictionary); }
        fz_catch(ctx) {}
        return named;
    }
    pdf_font_desc* font = nullptr;
    int changed = 0;
    fz_var(font);
    fz_var(changed);
    fz_try(ctx) {
        font = pdf_load_font(ctx, doc, resources, dictionary);
        changed = NameCodes(ctx, font, pdf_dict_getp(ctx, dictionary, "Encoding/Differences"));
    }
    fz_always(ctx) { pdf_drop_font(ctx, font); }
    fz_catch(ctx) {}
    return changed;
}

void NameResources(fz_context* ctx, pdf_document* doc, pdf_obj* resources, int depth, int* changed) {
    if (!pdf_is_dict(ctx, resources) || depth > kMaxDepth || pdf_mark_obj(ctx, resources)) return;
    fz_try(ctx) {
        pdf_obj* fonts = pdf_dict_get(ctx, resources, PDF_NAME(Font));
        for (int i = 0; i < pdf_dict_len(ctx, fonts); ++i) {
            pdf_obj* font = pdf_dict_get_val(ctx, fonts, i);
            *changed |= NameFont(ctx, doc, resources, font);
            NameResources(ctx, doc, pdf_dict_get(ctx, font, PDF_NAME(Resources)), depth + 1, changed);
        }
        pdf_obj* forms = pdf_dict_get(ctx, resources, PDF_NAME(XObject));
        for (int i = 0; i < pdf_dict_len(ctx, forms); ++i) {
            pdf_obj* form = pdf_dict_get_val(ctx, forms, i);
            if (pdf_name_eq(ctx, pdf_dict_get(ctx, form, PDF_NAME(Subtype)), PDF_NAME(Form)))
                NameResources(ctx, doc, pdf_dict_get(ctx, form, PDF_NAME(Resources)), depth + 1, changed);
        }
    }
    fz_always(ctx) { pdf_unmark_obj(ctx, resources); }
    fz_catch(ctx) {}
}

}  // namespace

bool NameUnnamedGlyphs(fz_context* ctx, pdf_document* doc, int index) {
    int changed = 0;
    fz_var(changed);
    fz_try(ctx) {
        pdf_obj* page = LookUpPage(ctx, doc, index);
        NameResources(ctx, doc, pdf_dict_get_inheritable(ctx, page, PDF_NAME(Resources)), 0, &changed);
    }
    fz_catch(ctx) {}
    return changed != 0;
}

bool HasUnnamedCharacters(const fz_stext_page& text) {
    for (const fz_stext_block* block = text.first_block; block; block = block->next) {
        if (block->type != FZ_STEXT_BLOCK_TEXT) continue;
        for (const fz_stext_line* line = block->u.t.first_line; line; line = line->next)
            for (const fz_stext_char* ch = line->first_char; ch; ch = ch->next)
                if (ch->c == FZ_REPLACEMENT_CHARACTER) return true;
    }
    return false;
}

}  // namespace tessera::pdf
