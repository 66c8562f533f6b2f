#include "pdf/text/FontProgramNames.h"

#include <cstring>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "pdf/text/GlyphNameText.h"

namespace tessera::pdf {

void LockFreetype(fz_context* ctx) { ctx->locks.lock(ctx->locks.user, FZ_LOCK_FREETYPE); }
void UnlockFreetype(fz_context* ctx) { ctx->locks.unlock(ctx->locks.user, FZ_LOCK_FREETYPE); }

std::size_t GlyphProgramText(fz_context* ctx, fz_font* font, int glyph, int* out, std::size_t capacity) noexcept {
    auto* face = static_cast<FT_Face>(font ? fz_font_ft_face(ctx, font) : nullptr);
    if (!face || glyph <= 0 || glyph >= face->num_glyphs) return 0;
    // Unicode character names of ligatures run long; a name cut short would
    // read as another character.
    char name[256] = "";
    LockFreetype(ctx);
    const bool named = FT_HAS_GLYPH_NAMES(face) &&
                       FT_Get_Glyph_Name(face, static_cast<FT_UInt>(glyph), name, sizeof name) == 0 &&
                       std::strlen(name) + 1 < sizeof name;
    UnlockFreetype(ctx);
    return named ? GlyphNameText(name, out, capacity) : 0;
}

}  // namespace tessera::pdf
