#include "editor/OrvMarker.h"

#include <cmath>

#include "toolkit/CBitmap.h"
#include "toolkit/COffscreenContext.h"

namespace orv {

OrvMarker::OrvMarker(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
                     const CPoint& handleOffset)
    : CControl(size, listener, tag, background), handle_(handle)
{
    if (handle_ != nullptr) handle_->remember();
    setHandleOffset(handleOffset);
}

OrvMarker::~OrvMarker()
{
    if (handle_ != nullptr) handle_->forget();
}

void OrvMarker::setHandleOffset(const CPoint& offset)
{
    handleOffset_ = offset;
    const int backgroundWidth = background_ != nullptr ? background_->getWidth() : 0;
    const int handleWidth = handle_ != nullptr ? handle_->getWidth() : 0;
    travel_ = static_cast<float>(backgroundWidth + handleWidth);
}

int OrvMarker::getHandleX() const
{
    float p = 1.0f - getValueNormalized() + 0.5f;
    if (p > 1.0f)
        p -= 1.0f;
    else if (p < -1.0f)
        p += 1.0f;
    return static_cast<int>(std::floor(p * travel_)) + handleOffset_.x;
}

void OrvMarker::draw(CDrawContext* context)
{
    if (background_ == nullptr) {
        setDirty(false);
        return;
    }
    if (offscreen_ == nullptr)
        offscreen_ = std::make_unique<COffscreenContext>(background_->getWidth(), background_->getHeight());
    const CRect strip(0, 0, background_->getWidth(), background_->getHeight());
    offscreen_->clear();
    background_->draw(offscreen_.get(), strip);
    if (handle_ != nullptr) {
        const CPoint at(getHandleX(), handleOffset_.y);
        offscreen_->setClipRect(strip);
        handle_->draw(offscreen_.get(), CRect(at, handle_->getWidth(), handle_->getHeight()));
    }
    offscreen_->copyFrom(context, size_);
    setDirty(false);
}

}  // namespace orv
