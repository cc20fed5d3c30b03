#include "toolkit/CAnimKnob.h"

#include <algorithm>

#include "toolkit/CBitmap.h"

namespace orv {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                     const CPoint& offset)
    : CControl(size, listener, tag, background)
{
    backOffset_ = offset;
    heightOfOneImage_ = size.getHeight();
    subPixmaps_ = background != nullptr && heightOfOneImage_ > 0 ? background->getHeight() / heightOfOneImage_ : 1;
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps, int heightOfOneImage,
                     CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background)
{
    backOffset_ = offset;
    heightOfOneImage_ = heightOfOneImage;
    subPixmaps_ = subPixmaps;
}

void CAnimKnob::draw(CDrawContext* context)
{
    const float v = std::clamp(getValueNormalized(), 0.0f, 1.0f);
    const int frame = subPixmaps_ > 1 ? static_cast<int>(v * (subPixmaps_ - 1) + 0.5f) : 0;
    drawFilmstripFrame(context, frame, heightOfOneImage_);
    setDirty(false);
}

// Every knob mode drags linearly here; the editor runs its knobs in linear mode.
CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    dragging_ = true;
    dragStart_ = where;
    dragStartValue_ = getValue();
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!dragging_ || !buttons.isLeftButton()) return kMouseEventHandled;
    const float pixels = buttons.isShiftSet() ? kDragRangePixels * zoomFactor_ : kDragRangePixels;
    const int distance = (where.x - dragStart_.x) + (dragStart_.y - where.y);
    const float old = getValue();
    setValue(dragStartValue_ + distance * (vmax_ - vmin_) / pixels);
    bounceValue();
    if (getValue() != old) {
        notify();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint&, const CButtonState&)
{
    dragging_ = false;
    endEdit();
    return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint&, float distance, const CButtonState& buttons)
{
    const float step = buttons.isShiftSet() ? wheelInc_ / zoomFactor_ : wheelInc_;
    setValue(getValue() + distance * step * (vmax_ - vmin_));
    bounceValue();
    notifyWheelEdit();
    return true;
}

}  // namespace orv
