#include "editor/CGyrolaParamDisplay.h"

namespace orv {

CGyrolaParamDisplay::CGyrolaParamDisplay(const CRect& size, CBitmap* background)
    : CParamDisplay(size, background, kNoFrame), paintArea_(size)
{
    setFont(kNormalFontVerySmall);
    setFontColor(kWhiteCColor);
    setHoriAlign(kCenterText);
    setTransparency(true);
}

void CGyrolaParamDisplay::draw(CDrawContext* context)
{
    const CRect outer = context->getClipRect();
    CRect clip = paintArea_;
    clip.bound(outer);
    if (!clip.isEmpty()) {
        context->setClipRect(clip);
        CParamDisplay::draw(context);  // the text stays centred in the whole rectangle
        context->setClipRect(outer);
    }
    setDirty(false);
}

}  // namespace orv
