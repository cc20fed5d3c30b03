#include "editor/CSaveLoadButton.h"

#include "toolkit/CBitmap.h"

namespace orv {

CSaveLoadButton::CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CFilmstripControl(size, listener, tag, background != nullptr ? background->getHeight() / 3 : size.getHeight(),
                        background)
{}

CMouseEventResult CSaveLoadButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if ((!buttons.isLeftButton() && !buttons.isRightButton()) || listener_ == nullptr) return kMouseEventNotHandled;
    // "Right button alone": no modifier and no double-click bit with it.
    setValue(buttons == kRButton ? 0.5f : 1.0f);
    notify();
    setValue(0.0f);
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CSaveLoadButton::onKeyDown(VstKeyCode&) { return -1; }

}  // namespace orv
