#include "editor/OrvOnOffButton.h"

#include "toolkit/CBitmap.h"

namespace orv {

void OrvOnOffButton::draw(CDrawContext* context)
{
    const int half = background_ != nullptr ? background_->getHeight() / 2 : 0;
    drawFilmstripFrame(context, getValue() >= 0.5f ? 1 : 0, half);
    setDirty(false);
}

CMouseEventResult OrvOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    notify();
    setValue(static_cast<int>(getValue() + 0.5f) != 0 ? 0.0f : 1.0f);
    notify();
    endEdit();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace orv
