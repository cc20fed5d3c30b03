#include "toolkit/CParamDisplay.h"

#include <cstdio>

#include "toolkit/CBitmap.h"

namespace orv {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background), font_(kNormalFont), style_(style)
{}

void CParamDisplay::getDisplayString(char* text) const
{
    text[0] = 0;
    if (valueToString_ != nullptr && valueToString_(getValue(), text, userData_)) return;
    std::snprintf(text, kParamDisplayTextSize, "%.2f", getValue());
}

void CParamDisplay::draw(CDrawContext* context)
{
    char text[kParamDisplayTextSize];
    getDisplayString(text);
    drawWithText(context, text);
}

void CParamDisplay::drawWithText(CDrawContext* context, const char* text)
{
    if (!(style_ & kNoDrawStyle)) {
        if (background_ != nullptr) {
            background_->draw(context, size_, backOffset_);
        } else if (!transparent_) {
            context->setFillColor(backColor_);
            context->fillRect(size_);
        }
        if (!(style_ & kNoFrame)) {
            context->setFrameColor(frameColor_);
            context->setLineWidth(1);
            context->drawRect(size_);
        }
        if (!(style_ & kNoTextStyle)) {
            context->setFont(font_);
            context->setFontColor(fontColor_);
            context->drawString(text, size_, align_);
        }
    }
    setDirty(false);
}

}  // namespace orv
