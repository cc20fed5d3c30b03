#include "editor/CSplashScreenMyView.h"

#include "editor/CAbout.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

namespace orv {

CSplashScreenMyView::CSplashScreenMyView(CAbout* owner)
    : CControl(owner->getToDisplay()), owner_(owner), picture_(owner->getBackground()),
      versionPosition_(owner->getVersionPosition())
{}

void CSplashScreenMyView::draw(CDrawContext* context)
{
    if (picture_ != nullptr) picture_->draw(context, size_, owner_->getOffset(), 1.0f);
    const CPoint at(size_.left + versionPosition_.x, size_.top + versionPosition_.y);
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(kVersionColor);
    context->drawString(kVersionText, CRect(at, kVersionWidth, kVersionHeight), kLeftText);
    setDirty(false);
}

CMouseEventResult CSplashScreenMyView::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    owner_->unSplash();
    closeModal();
    return kMouseEventHandled;
}

}  // namespace orv
