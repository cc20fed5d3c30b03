// Drawing on an image of the OS's drawing library (DrawBackend.h): colours, rectangles, lines,
// text, copies of other images and a clip rectangle.
#pragma once

#include <memory>
#include <string>

#include "toolkit/CColor.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/CRect.h"
#include "toolkit/DrawBackend.h"

namespace orv {

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

class CDrawContext {
public:
    // Draws on `surface` (not owned; it must outlive the context).
    explicit CDrawContext(NativeSurface* surface);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    NativeSurface* getSurface() const { return surface_; }

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

    // Copies the part of `image` whose top-left corner is `offset` into dest (clipped to dest),
    // pixel for pixel, blended with the given opacity (0..1).
    void drawImage(NativeSurface* image, const CRect& dest, const CPoint& offset = {}, float alpha = 1.0f);

protected:
    // Draws on a surface the context owns and destroys after its own drawing state.
    CDrawContext(NativeSurface* surface, bool ownsSurface);
    // Makes every pixel transparent, whatever the clip.
    void clearSurface();

private:
    struct TextMetrics {
        double advance;
        double ascent;
        double descent;
    };
    // The current font's ascent and descent and the advance of text (UTF-8).
    TextMetrics measureText(const std::string& utf8);
    // Text (UTF-8) in the font colour with its baseline origin at x, y, clipped to clip.
    void showText(const std::string& utf8, const CRect& clip, double x, double y);

    // The drawing state of the OS's library (one definition per back end).
    struct Backend;
    NativeSurface* surface_;
    bool ownsSurface_;
    std::unique_ptr<Backend> backend_;
    CRect clip_;
    CColor fillColor_ = kWhiteCColor;
    CColor frameColor_ = kBlackCColor;
    CColor fontColor_ = kBlackCColor;
    CFontRef font_;
    int lineWidth_ = 1;
};

}  // namespace orv
