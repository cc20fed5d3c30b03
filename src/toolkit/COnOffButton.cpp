#include "toolkit/COnOffButton.h"

namespace orv {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CControl(size, listener, tag, background)
{
    setDefaultValue(0.0f);
}

void COnOffButton::draw(CDrawContext* context)
{
    drawFilmstripFrame(context, getValue() == vmax_ ? 1 : 0, size_.getHeight());
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    setValue(getValue() == vmax_ ? vmin_ : vmax_);
    invalid();
    notify();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace orv
