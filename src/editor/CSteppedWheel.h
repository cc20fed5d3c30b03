// A control whose wheel moves the value by a step per notch (a fraction of the step with
// Shift), within its range, and tells the listener inside one edit gesture when it moved.
#pragma once

#include <algorithm>

#include "toolkit/CButtonState.h"
#include "toolkit/CPoint.h"

namespace orv {

template <class Control>
class CSteppedWheel : public Control {
public:
    using Control::Control;

    bool onWheel(const CPoint&, float distance, const CButtonState& buttons) override
    {
        const float step = buttons.isShiftSet() ? shiftWheelFactor_ * wheelStep_ : wheelStep_;
        this->setValue(std::clamp(this->getValue() + step * Control::notches(distance), this->vmin_, this->vmax_));
        this->notifyWheelEdit();
        return true;
    }

    void setWheelStep(float step) { wheelStep_ = step; }
    float getWheelStep() const { return wheelStep_; }
    void setShiftWheelFactor(float factor) { shiftWheelFactor_ = factor; }
    float getShiftWheelFactor() const { return shiftWheelFactor_; }

private:
    float wheelStep_ = 0.01f;
    float shiftWheelFactor_ = 0.1f;
};

}  // namespace orv
