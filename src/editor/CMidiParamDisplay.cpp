#include "editor/CMidiParamDisplay.h"

#include <algorithm>
#include <cmath>

#include "params/ControllerMap.h"

namespace orv {

CMidiParamDisplay::CMidiParamDisplay(const CRect& size, CBitmap* background) : CParamDisplay(size, background, 0)
{
    setFont(kNormalFontVerySmall);
    setHoriAlign(kCenterText);
    setFontColor(kBlackCColor);
    setFrameColor(kBlackCColor);
    setValue(valueOfText(kEmpty));
}

float CMidiParamDisplay::valueOfText(int n)
{
    constexpr float kStep = 0.0076923077f;  // 1 / 130
    return kStep * (static_cast<float>(n) + 0.5f);
}

int CMidiParamDisplay::textOfValue(float value)
{
    const int n = static_cast<int>(std::floor(kNumTexts * static_cast<double>(value)) + 0.5);
    return std::clamp(n, 0, kEmpty);
}

const char* CMidiParamDisplay::textAt(int n) { return ControllerMap::controllerName(n); }

void CMidiParamDisplay::setShowingReceived(bool state)
{
    if (state == showingReceived_) return;
    showingReceived_ = state;
    setDirty(true);
}

void CMidiParamDisplay::draw(CDrawContext* context)
{
    const CColor normal = fontColor_;
    if (showingReceived_) fontColor_ = kReceivedColor;
    drawWithText(context, textAt(textOfValue(getValue())));
    fontColor_ = normal;
}

}  // namespace orv
