#include "toolkit/COffscreenContext.h"

#include <cairo.h>

namespace orv {

cairo_surface_t* COffscreenContext::makeSurface(int width, int height) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

// The surface is created before the base class context that draws on it.
COffscreenContext::COffscreenContext(int width, int height)
    : CDrawContext(makeSurface(width, height)), width_(width), height_(height), ownSurface_(getSurface()) {}

COffscreenContext::~COffscreenContext() {
    // Drops this object's reference; the base's cairo context holds the last one.
    cairo_surface_destroy(ownSurface_);
}

void COffscreenContext::clear() {
    cairo_t* cr = getCairo();
    cairo_save(cr);
    cairo_reset_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
}

void COffscreenContext::copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset) {
    if (dest == nullptr || destRect.isEmpty()) return;
    cairo_surface_flush(ownSurface_);
    cairo_t* cr = dest->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, destRect.left, destRect.top, destRect.getWidth(), destRect.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, ownSurface_, destRect.left - srcOffset.x, destRect.top - srcOffset.y);
    cairo_paint(cr);
    cairo_restore(cr);
}

}  // namespace orv
