#include "pdf/text/MupdfCidFontText.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include "pdf/text/FontProgramNames.h"
#include "pdf/text/GlyphNameText.h"

namespace tessera::pdf {
namespace {

// A CIDFont with its program embedded, under a font without ToUnicode.
bool IsEmbeddedCidFontWithoutUnicode(fz_context* ctx, pdf_obj* dictionary) {
    if (pdf_dict_get(ctx, dictionary, PDF_NAME(ToUnicode))) return false;
    pdf_obj* descendant = pdf_array_get(ctx, pdf_dict_get(ctx, dictionary, PDF_NAME(DescendantFonts)), 0);
    pdf_obj* descriptor = pdf_dict_get(ctx, descendant, PDF_NAME(FontDescriptor));
    return pdf_dict_get(ctx, descriptor, PDF_NAME(FontFile2)) || pdf_dict_get(ctx, descriptor, PDF_NAME(FontFile3));
}

// The first character the font's Unicode cmap gives each glyph; 0 for none.
// FreeType makes such a cmap from the glyph names of a CFF program too.
void CharactersOfGlyphs(fz_context* ctx, FT_Face face, int* characters, FT_Long glyphs) {
    LockFreetype(ctx);
    const FT_CharMap drawn = face->charmap;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
        FT_UInt glyph = 0;
        for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0; c = FT_Get_Next_Char(face, c, &glyph))
            if (static_cast<FT_Long>(glyph) < glyphs && characters[glyph] == 0) characters[glyph] = static_cast<int>(c);
    }
    // Drawing goes on with the cmap it had.
    if (drawn) FT_Set_Charmap(face, drawn);
    UnlockFreetype(ctx);
}

// A glyph no cmap reaches may still have a name in the program that says
// what it is: a ligature, or a Unicode character name.
void MapCid(fz_context* ctx, pdf_cmap* cmap, fz_font* font, unsigned cid, int glyph, const int* characters) {
    if (characters[glyph] > 0) {
        pdf_map_range_to_range(ctx, cmap, cid, cid, characters[glyph]);
        return;
    }
    int text[kMaxGlyphText];
    const std::size_t size = GlyphProgramText(ctx, font, glyph, text, kMaxGlyphText);
    if (size == 1) pdf_map_range_to_range(ctx, cmap, cid, cid, text[0]);
    if (size > 1) pdf_map_one_to_many(ctx, cmap, cid, text, size);
}

pdf_cmap* UnicodeOfCids(fz_context* ctx, const pdf_font_desc& font, const int* characters, FT_Long glyphs) {
    pdf_cmap* cmap = pdf_new_cmap(ctx);
    fz_try(ctx) {
        pdf_add_codespace(ctx, cmap, 0, 0xFFFF, 2);
        const std::size_t cids = font.cid_to_gid ? font.cid_to_gid_len : static_cast<std::size_t>(glyphs);
        for (std::size_t cid = 0; cid < cids && cid <= 0xFFFF; ++cid) {
            const FT_Long glyph = font.cid_to_gid ? font.cid_to_gid[cid] : static_cast<FT_Long>(cid);
            if (glyph > 0 && glyph < glyphs)
                MapCid(ctx, cmap, font.font, static_cast<unsigned>(cid), static_cast<int>(glyph), characters);
        }
        pdf_sort_cmap(ctx, cmap);
    }
    fz_catch(ctx) {
        pdf_drop_cmap(ctx, cmap);
        fz_rethrow(ctx);
    }
    return cmap;
}

}  // namespace

bool NameCidFont(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* dictionary) {
    if (!IsEmbeddedCidFontWithoutUnicode(ctx, dictionary)) return false;
    pdf_font_desc* font = nullptr;
    int* characters = nullptr;
    bool named = false;
    fz_var(font);
    fz_var(characters);
    fz_var(named);
    fz_try(ctx) {
        font = pdf_load_font(ctx, doc, resources, dictionary);
        auto* face = static_cast<FT_Face>(font->font ? fz_font_ft_face(ctx, font->font) : nullptr);
        // MuPDF gives a font of a known character collection that
        // collection's map; only a font it left without one gets one here.
        if (!font->to_unicode && face && face->num_glyphs > 0) {
            characters = static_cast<int*>(fz_calloc(ctx, static_cast<std::size_t>(face->num_glyphs), sizeof(int)));
            CharactersOfGlyphs(ctx, face, characters, face->num_glyphs);
            font->to_unicode = UnicodeOfCids(ctx, *font, characters, face->num_glyphs);
            named = true;
        }
    }
    fz_always(ctx) {
        fz_free(ctx, characters);
        pdf_drop_font(ctx, font);
    }
    fz_catch(ctx) { fz_rethrow(ctx); }
    return named;
}

}  // namespace tessera::pdf
