#include "toolkit/CMovieBitmap.h"

#include <algorithm>

namespace orv {

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps,
                           int heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background)
{
    backOffset_ = offset;
    subPixmaps_ = subPixmaps;
    heightOfOneImage_ = heightOfOneImage;
}

void CMovieBitmap::draw(CDrawContext* context)
{
    const float v = std::min(getValueNormalized(), 1.0f);
    const int frame = v > 0.0f && subPixmaps_ > 1 ? static_cast<int>(v * (subPixmaps_ - 1) + 0.5f) : 0;
    drawFilmstripFrame(context, frame, heightOfOneImage_);
    setDirty(false);
}

}  // namespace orv
