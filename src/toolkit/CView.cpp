#include "toolkit/CView.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"

namespace orv {

CView::CView(const CRect& size) : size_(size) {}

CView::~CView()
{
    if (background_ != nullptr) background_->forget();
}

void CView::draw(CDrawContext* context)
{
    if (background_ != nullptr) background_->draw(context, size_);
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseEntered(CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
CMouseEventResult CView::onMouseExited(CPoint&, const CButtonState&) { return kMouseEventNotHandled; }
bool CView::onWheel(const CPoint&, float, const CButtonState&) { return false; }
int32_t CView::onKeyDown(VstKeyCode&) { return -1; }
int32_t CView::onKeyUp(VstKeyCode&) { return -1; }

void CView::setViewSize(const CRect& r)
{
    // The area the view leaves must be repainted as well.
    if (frame_ != nullptr) frame_->invalidRect(size_);
    size_ = r;
    setDirty(true);
}

void CView::setVisible(bool state)
{
    if (state == visible_) return;
    visible_ = state;
    if (frame_ != nullptr) frame_->invalidRect(size_);
}

void CView::setBackground(CBitmap* background)
{
    if (background != nullptr) background->remember();
    if (background_ != nullptr) background_->forget();
    background_ = background;
    setDirty(true);
}

void CView::closeModal()
{
    CFrame* frame = frame_;
    if (frame != nullptr) {
        frame->setDirty(true);
        frame->setModalView(nullptr);
    }
    forget();
}

}  // namespace orv
