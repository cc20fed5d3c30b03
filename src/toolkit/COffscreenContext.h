// A drawing context on an image of its own (with alpha, transparent when created), which can
// be copied into another context.
#pragma once

#include "toolkit/CDrawContext.h"

namespace orv {

class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(int width, int height);

    int getWidth() const { return width_; }
    int getHeight() const { return height_; }

    // Makes every pixel transparent.
    void clear() { clearSurface(); }
    // Copies the part of this image that starts at srcOffset into destRect of dest.
    void copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset = {});

private:
    int width_;
    int height_;
};

}  // namespace orv
