#include "editor/OrvVerticalSwitch.h"

#include <algorithm>
#include <cmath>

#include "toolkit/CBitmap.h"

namespace orv {

namespace {
constexpr float kSin40 = 0.642788f;              // the lever swings ±40° about its pivot
constexpr float kTwoSin40 = 1.28558f;            // 2 × sin 40°
constexpr float kHalfTurnPerRadian = 0.716197f;  // 1 / (2 × 40° in radians)
}  // namespace

OrvVerticalSwitch::OrvVerticalSwitch(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CFilmstripControl(size, listener, tag, background)
{
    heightOfOneImage_ = size.getHeight();
    subPixmaps_ = background != nullptr && heightOfOneImage_ > 0 ? background->getHeight() / heightOfOneImage_ : 1;
    setDefaultValue(0.0f);
}

int OrvVerticalSwitch::getDrawnFrame() const
{
    return static_cast<int>((1.0f - getValueNormalized()) * (subPixmaps_ - 1) + 0.5f);
}

CMouseEventResult OrvVerticalSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    if (checkDefaultValue(buttons)) {
        // The default is set; no drag follows, so no moves or release are needed.
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    return onMouseMoved(where, buttons);
}

CMouseEventResult OrvVerticalSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventHandled;
    const int y = std::clamp(where.y - size_.top, zoneTop_, zoneBottom_);
    const float t = static_cast<float>(y - zoneTop_) / static_cast<float>(zoneBottom_ - zoneTop_);
    // Position along the arc: 0 at the top of the zone, 1 at the bottom.
    const float angle = std::asin(kSin40 - kTwoSin40 * t);
    const float p = 0.5f - kHalfTurnPerRadian * angle;
    const int k = static_cast<int>(subPixmaps_ * p);
    const float v = std::clamp(vmin_ + (vmax_ - vmin_) * k / (subPixmaps_ - 1), vmin_, vmax_);
    setValue(1.0f - v);
    if (isDirty()) {
        notify();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult OrvVerticalSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    return kMouseEventHandled;
}

int32_t OrvVerticalSwitch::onKeyDown(VstKeyCode& key)
{
    if (key.modifier != 0) return -1;
    const int frames = subPixmaps_;
    const int k = static_cast<int>((frames - 1) * getValueNormalized() + 0.5f);
    const float old = getValue();
    if (key.virt == VKEY_UP && k >= 1)
        setValue(vmin_ + (vmax_ - vmin_) * (k - 1) / (frames - 1));
    else if (key.virt == VKEY_DOWN && k < frames - 1)
        setValue(vmin_ + (vmax_ - vmin_) * (k + 1) / (frames - 1));
    if (getValue() == old) return -1;
    notifyEdit();
    return 1;
}

}  // namespace orv
