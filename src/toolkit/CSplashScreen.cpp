#include "toolkit/CSplashScreen.h"

#include "toolkit/CFrame.h"
#include "toolkit/CSplashScreenView.h"

namespace orv {

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                             const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay_(toDisplay), offset_(offset)
{
    setDefaultValue(0.0f);
}

void CSplashScreen::draw(CDrawContext*) { setDirty(false); }

CMouseEventResult CSplashScreen::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    setValue(getValue() == 0.0f ? 1.0f : 0.0f);
    if (getValue() != 0.0f && frame_ != nullptr) {
        auto* view = new CSplashScreenView(this);
        if (!frame_->setModalView(view)) {
            view->forget();
            setValue(0.0f);
        }
    }
    notify();
    invalid();
    return kMouseEventHandled;
}

void CSplashScreen::unSplash()
{
    setValue(vmin_);
    setDirty(true);
}

}  // namespace orv
