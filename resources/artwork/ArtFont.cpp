#include "ArtFont.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

namespace orv::art {

ArtFont::ArtFont(const std::string& path)
{
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        return;
    }
    if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0) {
        std::fprintf(stderr, "orv-artwork: cannot load font %s\n", path.c_str());
        face_ = nullptr;
        return;
    }
    cairoFace_ = cairo_ft_font_face_create_for_ft_face(face_, 0);
    // cairo owns the FreeType face from here on and closes it when it drops the font face.
    static cairo_user_data_key_t faceKey;
    cairo_font_face_set_user_data(cairoFace_, &faceKey, face_, [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
    options_ = cairo_font_options_create();
    cairo_font_options_set_antialias(options_, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options_, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_ON);
}

ArtFont::~ArtFont()
{
    if (options_ != nullptr) cairo_font_options_destroy(options_);
    if (cairoFace_ != nullptr) {
        cairo_font_face_destroy(cairoFace_);
        // cairo keeps recently used fonts cached; empty its caches so the face is closed
        // before FreeType goes away (every other cairo object is gone by now).
        cairo_debug_reset_static_data();
    } else if (face_ != nullptr) {
        FT_Done_Face(face_);
    }
    if (library_ != nullptr) FT_Done_FreeType(library_);
}

void ArtFont::select(cairo_t* cr, double size) const
{
    cairo_set_font_face(cr, cairoFace_);
    cairo_set_font_size(cr, size);
    cairo_set_font_options(cr, options_);
}

double ArtFont::width(cairo_t* cr, std::string_view text, double size, double tracking) const
{
    select(cr, size);
    double w = 0.0;
    char one[2] = {0, 0};
    for (char c : text) {
        one[0] = c;
        cairo_text_extents_t ext;
        cairo_text_extents(cr, one, &ext);
        w += ext.x_advance;
    }
    if (text.size() > 1) w += tracking * static_cast<double>(text.size() - 1);
    return w;
}

void ArtFont::draw(cairo_t* cr, std::string_view text, double x, double baseline, const TextStyle& style,
                   Align align) const
{
    const double w = width(cr, text, style.size, style.tracking);
    double left = x;
    if (align == Align::Centre) left = x - w / 2.0;
    if (align == Align::Right) left = x - w;
    // Whole-pixel pen positions keep hinted stems sharp.
    left = std::round(left);
    baseline = std::round(baseline);

    cairo_save(cr);
    select(cr, style.size);
    setColour(cr, style.colour, style.alpha);
    double pen = left;
    char one[2] = {0, 0};
    for (char c : text) {
        one[0] = c;
        cairo_text_extents_t ext;
        cairo_text_extents(cr, one, &ext);
        cairo_move_to(cr, pen, baseline);
        if (style.weight > 0.0) {
            cairo_text_path(cr, one);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, style.weight);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        } else {
            cairo_show_text(cr, one);
        }
        pen += ext.x_advance + style.tracking;
    }
    cairo_restore(cr);
}

void ArtFont::drawEngraved(cairo_t* cr, std::string_view text, double x, double baseline, const TextStyle& style,
                           Align align, double shadowAlpha) const
{
    TextStyle shadow = style;
    shadow.colour = Rgb{0, 0, 0};
    shadow.alpha = shadowAlpha;
    draw(cr, text, x, baseline + 1.0, shadow, align);
    draw(cr, text, x, baseline, style, align);
}

void ArtFont::path(cairo_t* cr, std::string_view text, double x, double baseline, double size, double tracking,
                   Align align) const
{
    const double w = width(cr, text, size, tracking);
    double pen = align == Align::Centre ? x - w / 2.0 : align == Align::Right ? x - w : x;
    pen = std::round(pen);
    select(cr, size);
    char one[2] = {0, 0};
    for (char c : text) {
        one[0] = c;
        cairo_text_extents_t ext;
        cairo_text_extents(cr, one, &ext);
        cairo_move_to(cr, pen, std::round(baseline));
        cairo_text_path(cr, one);
        pen += ext.x_advance + tracking;
    }
}

}  // namespace orv::art
