#include "toolkit/CKickButton.h"

namespace orv {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                         const CPoint& offset)
    : CKickButton(size, listener, tag, size.getHeight(), background, offset)
{}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), heightOfOneImage_(heightOfOneImage)
{
    backOffset_ = offset;
    setDefaultValue(0.0f);
}

void CKickButton::draw(CDrawContext* context)
{
    drawFilmstripFrame(context, getValue() == vmax_ ? 1 : 0, heightOfOneImage_);
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    tracking_ = true;
    setValue(vmax_);
    if (isDirty()) {
        notify();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    // While held, the button shows pressed only with the pointer over it.
    if (tracking_ && buttons.isLeftButton()) {
        setValue(size_.pointInside(where) ? vmax_ : vmin_);
        if (isDirty()) invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (!tracking_) return kMouseEventHandled;
    tracking_ = false;
    setValue(vmin_);
    notify();
    invalid();
    endEdit();
    return kMouseEventHandled;
}

}  // namespace orv
