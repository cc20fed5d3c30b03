// A drawing context on a surface of its own (ARGB, transparent when created), which can be
// copied into another context.
#pragma once

#include "toolkit/CDrawContext.h"

namespace orv {

class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(int width, int height);
    ~COffscreenContext() override;

    int getWidth() const { return width_; }
    int getHeight() const { return height_; }

    // Makes every pixel transparent.
    void clear();
    // Copies the part of this surface that starts at srcOffset into destRect of dest.
    void copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset = {});

private:
    static cairo_surface_t* makeSurface(int width, int height);

    int width_;
    int height_;
    cairo_surface_t* ownSurface_;
};

}  // namespace orv
