#include "editor/COvOnOffButton.h"

#include "toolkit/CBitmap.h"

namespace orv {

int COvOnOffButton::getDrawnFrame() const
{
    const float v = getValue();
    if (hover_ && v == 0.0f) return 1;
    if (v == 1.0f) return 2;
    return 0;
}

void COvOnOffButton::draw(CDrawContext* context)
{
    const int frameHeight = background_ != nullptr ? background_->getHeight() / 3 : 0;
    drawFilmstripFrame(context, getDrawnFrame(), frameHeight);
    setDirty(false);
}

CMouseEventResult COvOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    setValue(1.0f - getValue());
    notify();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace orv
