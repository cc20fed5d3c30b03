#include "editor/COvKickButton.h"

#include "toolkit/CBitmap.h"

namespace orv {

COvKickButton::COvKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                             bool doubleClickOnly)
    : CFilmstripControl(size, listener, tag, background != nullptr ? background->getHeight() / 3 : size.getHeight(),
                        background),
      doubleClickOnly_(doubleClickOnly ? 1 : 0)
{}

CMouseEventResult COvKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (doubleClickOnly_ && !buttons.isDoubleClick()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    pressed_ = 1;
    setValue(doubleClickOnly_ && buttons.isControlSet() ? 0.5f : 1.0f);
    notify();
    invalid();
    return kMouseEventHandled;
}

// Moving while held keeps the button pressed: the release alone ends the press.
CMouseEventResult COvKickButton::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventHandled; }

CMouseEventResult COvKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    setValue(0.0f);
    pressed_ = 0;
    invalid();
    return kMouseEventHandled;
}

}  // namespace orv
