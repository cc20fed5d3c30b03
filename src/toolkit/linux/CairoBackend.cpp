// The cairo drawing back end (Linux): images are cairo image surfaces, text is the embedded
// TrueType face drawn through FreeType with pinned rendering options.
#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

#include "platform/EmbeddedResources.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/DrawBackend.h"

namespace orv {

namespace {

// The installed copy of the face, used only when the module carries no embedded font.
constexpr const char* kInstalledFontPath = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";

cairo_font_face_t* loadFace()
{
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

// Every font the editor names ("Arial") is drawn with the one embedded face.
cairo_font_face_t* interfaceFace()
{
    static cairo_font_face_t* const face = [] {
        cairo_font_face_t* f = loadFace();
        // Without any TrueType file fall back to cairo's own sans face so text still appears.
        return f != nullptr ? f : cairo_toy_font_face_create("sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }();
    return face;
}

struct PngReader {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length)
{
    auto* r = static_cast<PngReader*>(closure);
    if (length > r->size - r->pos) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

NativeSurface* createSurface(int width, int height, bool opaque)
{
    return cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height);
}

NativeSurface* decodePngSurface(const unsigned char* data, size_t size)
{
    if (data == nullptr || size == 0) return nullptr;
    PngReader reader{data, size, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

void destroySurface(NativeSurface* surface) { cairo_surface_destroy(surface); }

int surfaceWidth(NativeSurface* surface) { return cairo_image_surface_get_width(surface); }

int surfaceHeight(NativeSurface* surface) { return cairo_image_surface_get_height(surface); }

SurfacePixels readSurfacePixels(NativeSurface* surface)
{
    cairo_surface_flush(surface);
    return {cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface),
            cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
}

struct CDrawContext::Backend {
    cairo_t* cr;

    void setSource(const CColor& c) const
    {
        constexpr double kScale = 1.0 / 255.0;
        cairo_set_source_rgba(cr, c.red * kScale, c.green * kScale, c.blue * kScale, c.alpha * kScale);
    }
    void applyFont(CFontRef font) const
    {
        cairo_set_font_face(cr, interfaceFace());
        cairo_set_font_size(cr, font->getSize());
    }
};

CDrawContext::CDrawContext(NativeSurface* surface, bool ownsSurface)
    : surface_(surface), ownsSurface_(ownsSurface), backend_(new Backend{cairo_create(surface)}), font_(kNormalFont)
{
    clip_ = CRect(0, 0, surfaceWidth(surface), surfaceHeight(surface));
    // Pinned text rendering, so that no desktop font setting changes the look and offscreen
    // renders equal the screen.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(backend_->cr, options);
    cairo_font_options_destroy(options);
}

CDrawContext::~CDrawContext()
{
    cairo_surface_flush(surface_);
    cairo_destroy(backend_->cr);
    if (ownsSurface_) cairo_surface_destroy(surface_);
}

void CDrawContext::setClipRect(const CRect& r)
{
    cairo_t* cr = backend_->cr;
    cairo_reset_clip(cr);
    clip_ = r;
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr);
}

void CDrawContext::resetClipRect()
{
    cairo_reset_clip(backend_->cr);
    clip_ = CRect(0, 0, surfaceWidth(surface_), surfaceHeight(surface_));
}

void CDrawContext::fillRect(const CRect& r)
{
    if (r.isEmpty()) return;
    cairo_t* cr = backend_->cr;
    backend_->setSource(fillColor_);
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_fill(cr);
}

void CDrawContext::drawRect(const CRect& r)
{
    if (r.isEmpty() || lineWidth_ <= 0) return;
    cairo_t* cr = backend_->cr;
    backend_->setSource(frameColor_);
    // Stroke on the half-pixel grid so that a line covers whole pixels inside r.
    const double half = lineWidth_ * 0.5;
    cairo_set_line_width(cr, lineWidth_);
    cairo_rectangle(cr, r.left + half, r.top + half, r.getWidth() - lineWidth_, r.getHeight() - lineWidth_);
    cairo_stroke(cr);
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to)
{
    cairo_t* cr = backend_->cr;
    backend_->setSource(frameColor_);
    cairo_set_line_width(cr, lineWidth_);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr);
}

CDrawContext::TextMetrics CDrawContext::measureText(const std::string& utf8)
{
    cairo_t* cr = backend_->cr;
    backend_->applyFont(font_);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);
    return {te.x_advance, fe.ascent, fe.descent};
}

void CDrawContext::showText(const std::string& utf8, const CRect& clip, double x, double y)
{
    cairo_t* cr = backend_->cr;
    backend_->applyFont(font_);
    cairo_save(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.getWidth(), clip.getHeight());
    cairo_clip(cr);
    backend_->setSource(fontColor_);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, utf8.c_str());
    cairo_restore(cr);
}

void CDrawContext::drawImage(NativeSurface* image, const CRect& dest, const CPoint& offset, float alpha)
{
    if (image == nullptr || dest.isEmpty() || alpha <= 0.0f) return;
    cairo_t* cr = backend_->cr;
    cairo_surface_flush(image);
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, image, dest.left - offset.x, dest.top - offset.y);
    // Whole-pixel placement: no resampling, so filmstrip frames are copied exactly.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (alpha >= 1.0f)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

void CDrawContext::clearSurface()
{
    cairo_t* cr = backend_->cr;
    cairo_save(cr);
    cairo_reset_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace orv
