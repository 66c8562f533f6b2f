#include "pdf/MupdfCidFontText.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tessera::pdf {
namespace {

// A CIDFont of TrueType outlines, embedded, under a font without ToUnicode.
bool IsCidTrueTypeWithoutUnicode(fz_context* ctx, pdf_obj* dictionary) {
    if (pdf_dict_get(ctx, dictionary, PDF_NAME(ToUnicode))) return false;
    pdf_obj* descendant = pdf_array_get(ctx, pdf_dict_get(ctx, dictionary, PDF_NAME(DescendantFonts)), 0);
    return pdf_name_eq(ctx, pdf_dict_get(ctx, descendant, PDF_NAME(Subtype)), PDF_NAME(CIDFontType2)) &&
           pdf_dict_getp(ctx, descendant, "FontDescriptor/FontFile2");
}

// MuPDF's fz_lock checks the order of locks in builds without NDEBUG through
// functions the packaged library leaves out; the lock itself is the context's.
void LockFreetype(fz_context* ctx) { ctx->locks.lock(ctx->locks.user, FZ_LOCK_FREETYPE); }
void UnlockFreetype(fz_context* ctx) { ctx->locks.unlock(ctx->locks.user, FZ_LOCK_FREETYPE); }

// The first character the font's Unicode cmap gives each glyph; 0 for none.
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

pdf_cmap* UnicodeOfCids(fz_context* ctx, const pdf_font_desc& font, const int* characters, FT_Long glyphs) {
    pdf_cmap* cmap = pdf_new_cmap(ctx);
    fz_try(ctx) {
        pdf_add_codespace(ctx, cmap, 0, 0xFFFF, 2);
        const std::size_t cids = font.cid_to_gid ? font.cid_to_gid_len : static_cast<std::size_t>(glyphs);
        for (std::size_t cid = 0; cid < cids && cid <= 0xFFFF; ++cid) {
            const FT_Long glyph = font.cid_to_gid ? font.cid_to_gid[cid] : static_cast<FT_Long>(cid);
            if (glyph < glyphs && characters[glyph] > 0)
                pdf_map_range_to_range(ctx, cmap, static_cast<unsigned>(cid), static_cast<unsigned>(cid),
                                       characters[glyph]);
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

bool NameCidTrueTypeFont(fz_context* ctx, pdf_document* doc, pdf_obj* resources, pdf_obj* dictionary) {
    if (!IsCidTrueTypeWithoutUnicode(ctx, dictionary)) return false;
    pdf_font_desc* font = nullptr;
    int* characters = nullptr;
    bool named = false;
    fz_var(font);
    fz_var(characters);
    fz_var(named);
    fz_try(ctx) {
        font = pdf_load_font(ctx, doc, resources, dictionary);
        auto* face = static_cast<FT_Face>(font->font ? fz_font_ft_face(ctx, font->font) : nullptr);
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
