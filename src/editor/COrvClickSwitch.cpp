#include "editor/COrvClickSwitch.h"

#include <algorithm>

#include "toolkit/CBitmap.h"

namespace orv {

namespace {
constexpr float kWheelThresholdPerState = 0.033333335f;  // wheel distance per state that counts
constexpr float kWheelDownStep = 0.5f;                   // rounds to the next lower state for 3 or 4 states
}  // namespace

COrvClickSwitch::COrvClickSwitch(const CRect& size, CControlListener* listener, int32_t tag, int states,
                                 CBitmap* background)
    : CFilmstripControl(size, listener, tag, background), states_(std::max(states, 2))
{
    subPixmaps_ = states_;
    heightOfOneImage_ = background != nullptr ? background->getHeight() / states_ : size.getHeight();
}

int COrvClickSwitch::getDrawnFrame() const { return static_cast<int>((states_ - 1) * getValue() + 0.5f); }

CMouseEventResult COrvClickSwitch::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    int k = static_cast<int>((states_ - 1) * getValue() + 0.5f) + 1;
    if (k >= states_) k = 0;
    setValue(std::clamp(static_cast<float>(k) / (states_ - 1), 0.0f, 1.0f));
    notify();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult COrvClickSwitch::onMouseMoved(CPoint&, const CButtonState&)
{
    setDirty(true);
    return kMouseEventHandled;
}

CMouseEventResult COrvClickSwitch::onMouseExited(CPoint&, const CButtonState&)
{
    setDirty(true);
    return kMouseEventHandled;
}

bool COrvClickSwitch::onWheel(const CPoint&, float distance, const CButtonState&)
{
    const float threshold = states_ * kWheelThresholdPerState;
    float v = getValue();
    if (distance > threshold)
        v += 1.0f / (states_ - 1);
    else if (distance < -threshold)
        v -= kWheelDownStep;
    v = static_cast<float>(static_cast<int>((states_ - 1) * v + 0.5f)) / (states_ - 1);
    setValue(std::clamp(v, vmin_, vmax_));
    if (isDirty()) {
        notify();
        invalid();
    }
    return true;
}

}  // namespace orv
