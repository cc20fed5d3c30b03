#include "editor/CGyrolaParamDisplay.h"

namespace orv {

CGyrolaParamDisplay::CGyrolaParamDisplay(const CRect& size, CBitmap* background)
    : CParamDisplay(size, background, kNoFrame) {
    setFont(kNormalFontVerySmall);
    setFontColor(kWhiteCColor);
    setHoriAlign(kCenterText);
    setTransparency(true);
}

}  // namespace orv
