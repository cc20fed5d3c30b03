#include "editor/CAnimKnob3.h"

#include <algorithm>

namespace orv {

int CAnimKnob3::getDrawnFrame() const
{
    float q = getValue();
    if (quantSteps_ > 0) {
        // One step draws as the low end (guards the division by steps − 1).
        const int intervals = std::max(quantSteps_ - 1, 1);
        q = quantLow_ + (quantHigh_ - quantLow_) * static_cast<int>(intervals * getValue() + 0.5f) / intervals;
    }
    return q > 0.0f ? static_cast<int>((subPixmaps_ - 1) * q + 0.5f) : 0;
}

float CAnimKnob3::pixelsForRange(const CButtonState& buttons) const
{
    const float pixels = dragRangeFactor_ * kPixelsPerRangeFactor;
    return buttons.isShiftSet() ? fineMultiplier_ * pixels : pixels;
}

CMouseEventResult CAnimKnob3::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || listener_ == nullptr) return kMouseEventNotHandled;
    beginEdit();
    if (buttons.isControlSet() || buttons.isDoubleClick()) {
        setValue(getDefaultValue());
        if (isDirty()) notify();
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    entryValue_ = getValue();
    rangePixels_ = pixelsForRange(buttons);
    fine_ = buttons.isShiftSet();
    valuePerPixel_ = (vmax_ - vmin_) / rangePixels_;
    start_ = where;
    lastButtons_ = buttons;
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob3::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventHandled;
    const float distance = static_cast<float>((where.x - start_.x) + (start_.y - where.y));
    if (buttons != lastButtons_) {
        // Shift pressed or released mid-drag: rebase so the value stays where it is.
        const float oldPerPixel = valuePerPixel_;
        rangePixels_ = pixelsForRange(buttons);
        fine_ = buttons.isShiftSet();
        valuePerPixel_ = (vmax_ - vmin_) / rangePixels_;
        entryValue_ += (oldPerPixel - valuePerPixel_) * distance;
        lastButtons_ = buttons;
    }
    const float previous = getValue();
    setValue(std::clamp(entryValue_ + distance * valuePerPixel_, vmin_, vmax_));
    if (getValue() != previous) notify();
    if (isDirty()) invalid();
    return kMouseEventHandled;
}

}  // namespace orv
