#include "toolkit/CFontDesc.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/EmbeddedResources.h"

namespace orv {

namespace {

// The installed copy of the face, used only when the module carries no embedded font.
constexpr const char* kInstalledFontPath = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

cairo_font_face_t* loadFace() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    FT_Face face = nullptr;
    const EmbeddedBlob blob = findFontResource();
    FT_Error err = 1;
    if (blob.data != nullptr && blob.size > 0)
        err = FT_New_Memory_Face(library, blob.data, static_cast<FT_Long>(blob.size), 0, &face);
    if (err != 0) err = FT_New_Face(library, kInstalledFontPath, 0, &face);
    if (err != 0) {
        FT_Done_FreeType(library);
        return nullptr;
    }
    // The face and the library stay alive for the life of the process: cairo caches glyphs
    // against them and several editors share them.
    return cairo_ft_font_face_create_for_ft_face(face, 0);
}

}  // namespace

cairo_font_face_t* CFontDesc::getCairoFace() const {
    // Only one family exists; the name is kept for callers that ask for it.
    static cairo_font_face_t* const face = [] {
        cairo_font_face_t* f = loadFace();
        // Without any TrueType file fall back to cairo's own sans face so text still appears.
        return f != nullptr ? f : cairo_toy_font_face_create("sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }();
    return face;
}

namespace {
const CFontDesc normalFont("Arial", 12);
const CFontDesc normalFontSmall("Arial", 11);
const CFontDesc normalFontVerySmall("Arial", 9);
}  // namespace

const CFontRef kNormalFont = &normalFont;
const CFontRef kNormalFontSmall = &normalFontSmall;
const CFontRef kNormalFontVerySmall = &normalFontVerySmall;

}  // namespace orv
