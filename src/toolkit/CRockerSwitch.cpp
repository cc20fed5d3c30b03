#include "toolkit/CRockerSwitch.h"

namespace orv {

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage,
                             CBitmap* background, const CPoint& offset, int32_t style)
    : CControl(size, listener, tag, background), style_(style)
{
    backOffset_ = offset;
    heightOfOneImage_ = heightOfOneImage;
    subPixmaps_ = 3;  // rest, one side, the other side
    vmin_ = -1.0f;
    vmax_ = 1.0f;
    setDefaultValue(0.0f);
    setValue(0.0f);
}

float CRockerSwitch::sideOf(const CPoint& where) const
{
    if (style_ & kVertical) return where.y < size_.top + size_.getHeight() / 2.0f ? 1.0f : -1.0f;
    return where.x < size_.left + size_.getWidth() / 2.0f ? -1.0f : 1.0f;
}

void CRockerSwitch::draw(CDrawContext* context)
{
    const float v = getValue();
    drawFilmstripFrame(context, v == vmin_ ? 1 : (v == vmax_ ? 2 : 0), heightOfOneImage_);
    setDirty(false);
}

CMouseEventResult CRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (reportsRelease_) beginEdit();
    setValue(sideOf(where));
    invalid();
    notify();
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp(CPoint&, const CButtonState&)
{
    setValue(0.0f);
    invalid();
    if (reportsRelease_) {
        notify();
        endEdit();
    }
    return kMouseEventHandled;
}

}  // namespace orv
