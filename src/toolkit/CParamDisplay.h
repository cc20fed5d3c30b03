// A value display: background (bitmap shifted by the background offset, or a colour), an
// optional frame, and one line of text made from the value by a value-to-text function.
#pragma once

#include "toolkit/CColor.h"
#include "toolkit/CControl.h"
#include "toolkit/CDrawContext.h"

namespace orv {

// Size of the text buffer handed to value-to-text functions, terminator included.
inline constexpr int kParamDisplayTextSize = 256;

// Writes the text for `value` into text (kParamDisplayTextSize bytes); false leaves the
// display's default text ("%.2f" of the value).
using CParamDisplayValueToStringProc = bool (*)(float value, char* text, void* userData);

class CParamDisplay : public CControl {
public:
    explicit CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

    void draw(CDrawContext* context) override;

    void setValueToStringProc(CParamDisplayValueToStringProc proc, void* userData = nullptr)
    {
        valueToString_ = proc;
        userData_ = userData;
    }
    void* getUserData() const { return userData_; }
    // The text the display shows for its current value.
    void getDisplayString(char* text) const;

    void setFont(CFontRef font) { font_ = font; }
    CFontRef getFont() const { return font_; }
    void setFontColor(const CColor& c) { fontColor_ = c; }
    const CColor& getFontColor() const { return fontColor_; }
    void setBackColor(const CColor& c) { backColor_ = c; }
    const CColor& getBackColor() const { return backColor_; }
    void setFrameColor(const CColor& c) { frameColor_ = c; }
    const CColor& getFrameColor() const { return frameColor_; }
    void setHoriAlign(CHoriTxtAlign align) { align_ = align; }
    CHoriTxtAlign getHoriAlign() const { return align_; }
    void setStyle(int32_t style) { style_ = style; }
    int32_t getStyle() const { return style_; }
    // Transparent: no back colour is filled when there is no background bitmap.
    void setTransparency(bool state) { transparent_ = state; }

protected:
    // Background and frame, then the text, as the style asks.
    void drawWithText(CDrawContext* context, const char* text);

    CParamDisplayValueToStringProc valueToString_ = nullptr;
    void* userData_ = nullptr;
    CFontRef font_;
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CColor frameColor_ = kBlackCColor;
    CHoriTxtAlign align_ = kCenterText;
    int32_t style_;
    bool transparent_ = false;
};

}  // namespace orv
