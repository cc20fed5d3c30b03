#include "toolkit/CSplashScreenView.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"
#include "toolkit/CSplashScreen.h"

namespace orv {

CSplashScreenView::CSplashScreenView(CSplashScreen* owner) : CView(owner->getToDisplay()), owner_(owner)
{
    owner_->remember();
}

CSplashScreenView::~CSplashScreenView() { owner_->forget(); }

void CSplashScreenView::draw(CDrawContext* context)
{
    if (owner_->getBackground() != nullptr) owner_->getBackground()->draw(context, size_, owner_->getOffset());
    setDirty(false);
}

CMouseEventResult CSplashScreenView::onMouseDown(CPoint&, const CButtonState&)
{
    owner_->unSplash();
    closeModal();
    return kMouseEventHandled;
}

}  // namespace orv
