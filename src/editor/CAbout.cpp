#include "editor/CAbout.h"

#include "editor/CSplashScreenMyView.h"
#include "toolkit/CFrame.h"

namespace orv {

CAbout::CAbout(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, const CRect& toDisplay,
               const CPoint& offset, const CPoint& versionPosition)
    : CSplashScreen(size, listener, tag, background, toDisplay, offset), versionPosition_(versionPosition)
{}

CMouseEventResult CAbout::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    setValue(getValue() == 0.0f ? 1.0f : 0.0f);
    if (getValue() == 1.0f && frame_ != nullptr) {
        auto* view = new CSplashScreenMyView(this);
        // The frame refuses a second modal view (a menu already open): nothing is shown then.
        if (!frame_->setModalView(view)) {
            view->forget();
            setValue(0.0f);
        }
    }
    invalid();
    return kMouseEventHandled;
}

}  // namespace orv
