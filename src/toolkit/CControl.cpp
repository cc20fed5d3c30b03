#include "toolkit/CControl.h"

#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace orv {

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag)
{
    if (background != nullptr) setBackground(background);
}

float CControl::getValueNormalized() const
{
    const float range = vmax_ - vmin_;
    return range != 0.0f ? (getValue() - vmin_) / range : 0.0f;
}

void CControl::bounceValue()
{
    const float v = getValue();
    if (v > vmax_)
        setValue(vmax_);
    else if (v < vmin_)
        setValue(vmin_);
}

void CControl::beginEdit()
{
    if (listener_ != nullptr) listener_->controlBeginEdit(this);
    if (frame_ != nullptr && frame_->getEditor() != nullptr) frame_->getEditor()->beginEdit(tag_);
}

void CControl::endEdit()
{
    if (frame_ != nullptr && frame_->getEditor() != nullptr) frame_->getEditor()->endEdit(tag_);
    if (listener_ != nullptr) listener_->controlEndEdit(this);
}

bool CControl::checkDefaultValue(const CButtonState& buttons)
{
    // Ctrl + left button; a press that also counts as the second click of a double-click is
    // still a Ctrl-click.
    if ((buttons.getButtonState() & ~kDoubleClick) != (kControl | kLButton)) return false;
    beginEdit();
    setValue(default_);
    if (isDirty()) notify();
    endEdit();
    return true;
}

void CControl::drawFilmstripFrame(CDrawContext* context, int index, int frameHeight) const
{
    if (background_ == nullptr) return;
    background_->draw(context, size_, CPoint(backOffset_.x, backOffset_.y + index * frameHeight));
}

bool CControl::isDirty() const { return getValue() != lastDrawnValue_ || CView::isDirty(); }

void CControl::setDirty(bool state)
{
    CView::setDirty(state);
    if (!state) lastDrawnValue_ = getValue();
}

}  // namespace orv
