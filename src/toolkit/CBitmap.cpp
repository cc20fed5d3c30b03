#include "toolkit/CBitmap.h"

#include <cairo.h>

#include <cstring>

#include "platform/EmbeddedResources.h"
#include "toolkit/CDrawContext.h"

namespace orv {

namespace {

struct PngReader {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<PngReader*>(closure);
    if (length > r->size - r->pos) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

CBitmap::CBitmap(int resourceId) : resourceId_(resourceId) {
    const EmbeddedBlob blob = findBitmapResource(resourceId);
    decode(blob.data, blob.size);
}

CBitmap::CBitmap(const unsigned char* pngData, size_t size) { decode(pngData, size); }

CBitmap::~CBitmap() {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void CBitmap::decode(const unsigned char* data, size_t size) {
    if (data == nullptr || size == 0) return;
    PngReader reader{data, size, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    surface_ = s;
    width_ = cairo_image_surface_get_width(s);
    height_ = cairo_image_surface_get_height(s);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) const {
    if (surface_ == nullptr || context == nullptr || dest.isEmpty() || alpha <= 0.0f) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface_, dest.left - offset.x, dest.top - offset.y);
    // Whole-pixel placement: no resampling, so filmstrip frames are copied exactly.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    if (alpha >= 1.0f)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

}  // namespace orv
