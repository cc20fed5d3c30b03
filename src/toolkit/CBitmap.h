// A picture decoded from PNG (an embedded resource by id, or PNG bytes), drawn by
// sub-rectangle with an opacity.
#pragma once

#include <cstddef>

#include "toolkit/CBaseObject.h"
#include "toolkit/CPoint.h"
#include "toolkit/CRect.h"
#include "toolkit/DrawBackend.h"

namespace orv {

class CDrawContext;

class CBitmap : public CBaseObject {
public:
    // The embedded PNG resource `resourceId`, decoded once per process and shared read-only
    // with every other bitmap of that id; isLoaded() is false when there is none.
    explicit CBitmap(int resourceId);
    // PNG file bytes (copied out at once).
    CBitmap(const unsigned char* pngData, size_t size);
    ~CBitmap() override;

    bool isLoaded() const { return surface_ != nullptr; }
    int getResourceId() const { return resourceId_; }
    int getWidth() const { return width_; }
    int getHeight() const { return height_; }
    NativeSurface* getSurface() const { return surface_; }

    // Draws the part of the bitmap whose top-left corner is `offset` into dest (clipped to
    // dest), blended with the given opacity (0..1).
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = {}, float alpha = 1.0f) const;

private:
    void adopt(NativeSurface* s, bool owned);

    int resourceId_ = -1;
    NativeSurface* surface_ = nullptr;
    bool owned_ = false;  // false for the shared artwork
    int width_ = 0;
    int height_ = 0;
};

}  // namespace orv
