#include "editor/CClickKickButton.h"

namespace orv {

CClickKickButton::CClickKickButton(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage,
                                   CBitmap* background, const CPoint& offset)
    : CFilmstripControl(size, listener, tag, heightOfOneImage, background, offset)
{}

CMouseEventResult CClickKickButton::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (momentary_ != 0) {
        setValue(1.0f);
        notifyEdit();
    } else {
        beginEdit();
        pressed_ = 1.0f;
        setValue(static_cast<int>(getValue() + 0.5f) != 0 ? 0.0f : 1.0f);
        if (isDirty()) {
            notify();
            invalid();
        }
    }
    return kMouseEventHandled;
}

// Moving while held changes nothing: the value is decided by the press and the release alone.
CMouseEventResult CClickKickButton::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventHandled; }

CMouseEventResult CClickKickButton::onMouseUp(CPoint&, const CButtonState&)
{
    if (momentary_ != 0) {
        setValue(0.0f);
        notifyEdit();
    } else {
        pressed_ = 0.0f;
        invalid();
        endEdit();
    }
    return kMouseEventHandled;
}

}  // namespace orv
