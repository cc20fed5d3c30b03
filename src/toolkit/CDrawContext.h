// Drawing on a cairo surface: colours, rectangles, lines, text and a clip rectangle.
#pragma once

#include "toolkit/CColor.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CRect.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace orv {

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

class CDrawContext {
public:
    // Draws on `surface` (not owned; it must outlive the context).
    explicit CDrawContext(cairo_surface_t* surface);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    cairo_t* getCairo() const { return cr_; }
    cairo_surface_t* getSurface() const { return surface_; }

    // Limits all drawing to r (replacing any earlier clip).
    void setClipRect(const CRect& r);
    void resetClipRect();
    const CRect& getClipRect() const { return clip_; }

    void setFillColor(const CColor& c) { fillColor_ = c; }
    void setFrameColor(const CColor& c) { frameColor_ = c; }
    void setFontColor(const CColor& c) { fontColor_ = c; }
    void setFont(CFontRef font) { font_ = font; }
    void setLineWidth(int width) { lineWidth_ = width; }
    const CColor& getFillColor() const { return fillColor_; }
    const CColor& getFrameColor() const { return frameColor_; }
    const CColor& getFontColor() const { return fontColor_; }
    CFontRef getFont() const { return font_; }

    void fillRect(const CRect& r);
    // A frame of the line width drawn inside r.
    void drawRect(const CRect& r);
    void drawLine(const CPoint& from, const CPoint& to);

    // One line of text in the font colour, vertically centred in r and clipped to it.
    void drawString(const char* text, const CRect& r, CHoriTxtAlign align = kCenterText);
    // Advance width of the text in the current font, in pixels.
    double getStringWidth(const char* text);

private:
    void applyFont();
    void setSource(const CColor& c);

    cairo_surface_t* surface_;
    cairo_t* cr_;
    CRect clip_;
    CColor fillColor_ = kWhiteCColor;
    CColor frameColor_ = kBlackCColor;
    CColor fontColor_ = kBlackCColor;
    CFontRef font_;
    int lineWidth_ = 1;
};

}  // namespace orv
