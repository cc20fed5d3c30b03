#include "toolkit/CDrawContext.h"

#include <cairo.h>

#include <cmath>
#include <string>

namespace orv {

namespace {

// cairo refuses (and stops drawing after) text that is not UTF-8; names read from files may
// be in a single-byte encoding, so such text is taken as Latin-1 and re-encoded.
std::string toUtf8(const char* text) {
    std::string s(text);
    size_t i = 0;
    bool valid = true;
    while (i < s.size() && valid) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
        if (len == 0 || i + len > s.size()) {
            valid = false;
            break;
        }
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) valid = false;
        i += len;
    }
    if (valid) return s;
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xc0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    return out;
}

}  // namespace

CDrawContext::CDrawContext(cairo_surface_t* surface)
    : surface_(surface), cr_(cairo_create(surface)), font_(kNormalFont) {
    clip_ = CRect(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    // Pinned text rendering, so that no desktop font setting changes the look and offscreen
    // renders equal the screen.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

CDrawContext::~CDrawContext() {
    cairo_surface_flush(surface_);
    cairo_destroy(cr_);
}

void CDrawContext::setClipRect(const CRect& r) {
    cairo_reset_clip(cr_);
    clip_ = r;
    cairo_rectangle(cr_, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr_);
}

void CDrawContext::resetClipRect() {
    cairo_reset_clip(cr_);
    clip_ = CRect(0, 0, cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_));
}

void CDrawContext::setSource(const CColor& c) {
    constexpr double kScale = 1.0 / 255.0;
    cairo_set_source_rgba(cr_, c.red * kScale, c.green * kScale, c.blue * kScale, c.alpha * kScale);
}

void CDrawContext::fillRect(const CRect& r) {
    if (r.isEmpty()) return;
    setSource(fillColor_);
    cairo_rectangle(cr_, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_fill(cr_);
}

void CDrawContext::drawRect(const CRect& r) {
    if (r.isEmpty() || lineWidth_ <= 0) return;
    setSource(frameColor_);
    // Stroke on the half-pixel grid so that a line covers whole pixels inside r.
    const double half = lineWidth_ * 0.5;
    cairo_set_line_width(cr_, lineWidth_);
    cairo_rectangle(cr_, r.left + half, r.top + half, r.getWidth() - lineWidth_, r.getHeight() - lineWidth_);
    cairo_stroke(cr_);
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to) {
    setSource(frameColor_);
    cairo_set_line_width(cr_, lineWidth_);
    cairo_move_to(cr_, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr_, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr_);
}

void CDrawContext::applyFont() {
    cairo_set_font_face(cr_, font_->getCairoFace());
    cairo_set_font_size(cr_, font_->getSize());
}

double CDrawContext::getStringWidth(const char* text) {
    if (text == nullptr || *text == 0) return 0.0;
    applyFont();
    cairo_text_extents_t te;
    cairo_text_extents(cr_, toUtf8(text).c_str(), &te);
    return te.x_advance;
}

void CDrawContext::drawString(const char* text, const CRect& r, CHoriTxtAlign align) {
    if (text == nullptr || *text == 0 || r.isEmpty()) return;
    applyFont();
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    const std::string utf8 = toUtf8(text);
    cairo_text_extents_t te;
    cairo_text_extents(cr_, utf8.c_str(), &te);

    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.getWidth() - te.x_advance) * 0.5;
    else if (align == kRightText)
        x = r.right - te.x_advance;
    const double baseline = r.top + (r.getHeight() + fe.ascent - fe.descent) * 0.5;

    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr_);
    setSource(fontColor_);
    // Whole-pixel origins keep glyphs sharp and renders reproducible.
    cairo_move_to(cr_, std::floor(x + 0.5), std::floor(baseline + 0.5));
    cairo_show_text(cr_, utf8.c_str());
    cairo_restore(cr_);
}

}  // namespace orv
