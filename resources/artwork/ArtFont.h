#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

#include "ArtCanvas.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace orv::art {

enum class Align { Left, Centre, Right };

// How a piece of lettering looks: pixel size, colour, extra space between letters and an
// optional outline stroke that thickens the strokes a little (for headings).
struct TextStyle {
    double size = 9.0;
    Rgb colour{255, 255, 255};
    double alpha = 1.0;
    double tracking = 0.0;
    double weight = 0.0;
};

// Liberation Sans loaded through FreeType with pinned rendering options (grey antialiasing,
// slight hinting, hinted metrics), so that the artwork does not depend on any fontconfig
// setting of the machine that builds it.
class ArtFont {
public:
    explicit ArtFont(const std::string& path);
    ~ArtFont();
    ArtFont(const ArtFont&) = delete;
    ArtFont& operator=(const ArtFont&) = delete;

    bool ok() const { return cairoFace_ != nullptr; }

    // Selects the face, the size and the pinned options on the context.
    void select(cairo_t* cr, double size) const;

    // Advance width of the text, including the letter spacing between its characters.
    double width(cairo_t* cr, std::string_view text, double size, double tracking = 0.0) const;

    // Draws the text with its baseline at y; x is the left end, centre or right end.
    void draw(cairo_t* cr, std::string_view text, double x, double baseline, const TextStyle& style,
              Align align = Align::Left) const;

    // As draw, with a one-pixel dark shadow underneath, so lettering looks stamped into the panel.
    void drawEngraved(cairo_t* cr, std::string_view text, double x, double baseline, const TextStyle& style,
                      Align align = Align::Left, double shadowAlpha = 0.7) const;

    // Appends the outlines of the text to the current path (for gradient-filled lettering).
    void path(cairo_t* cr, std::string_view text, double x, double baseline, double size, double tracking = 0.0,
              Align align = Align::Left) const;

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    cairo_font_face_t* cairoFace_ = nullptr;
    cairo_font_options_t* options_ = nullptr;
};

}  // namespace orv::art
