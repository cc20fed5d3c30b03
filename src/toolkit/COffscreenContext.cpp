#include "toolkit/COffscreenContext.h"

namespace orv {

COffscreenContext::COffscreenContext(int width, int height)
    : CDrawContext(createSurface(width, height, false), true), width_(width), height_(height)
{}

void COffscreenContext::copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset)
{
    if (dest != nullptr) dest->drawImage(getSurface(), destRect, srcOffset);
}

}  // namespace orv
