#include "toolkit/CBitmap.h"

#include <cairo.h>

#include <atomic>
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

cairo_surface_t* decodePng(const unsigned char* data, size_t size) {
    if (data == nullptr || size == 0) return nullptr;
    PngReader reader{data, size, 0};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    return s;
}

// The embedded artwork is decoded once per process and shared, read-only, by every bitmap of
// the same id in every editor and instance (the cache keeps one reference for the life of
// the process; the module is never unloaded). Editors of two instances may open on different
// threads: the first user of an id decodes it and publishes it with a compare-and-swap, and a
// thread that loses the race drops its own copy.
cairo_surface_t* sharedResourceSurface(int id) {
    const int slot = bitmapResourceSlot(id);
    if (slot < 0) return nullptr;
    static std::atomic<cairo_surface_t*>* const cache = new std::atomic<cairo_surface_t*>[bitmapResourceCount()]();
    std::atomic<cairo_surface_t*>& entry = cache[slot];
    cairo_surface_t* s = entry.load(std::memory_order_acquire);
    if (s == nullptr) {
        const EmbeddedBlob blob = findBitmapResource(id);
        cairo_surface_t* decoded = decodePng(blob.data, blob.size);
        if (decoded == nullptr) return nullptr;
        if (entry.compare_exchange_strong(s, decoded, std::memory_order_acq_rel, std::memory_order_acquire))
            s = decoded;
        else
            cairo_surface_destroy(decoded);
    }
    return cairo_surface_reference(s);
}

}  // namespace

CBitmap::CBitmap(int resourceId) : resourceId_(resourceId) { adopt(sharedResourceSurface(resourceId)); }

CBitmap::CBitmap(const unsigned char* pngData, size_t size) { adopt(decodePng(pngData, size)); }

CBitmap::~CBitmap() {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void CBitmap::adopt(cairo_surface_t* s) {
    if (s == nullptr) return;
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
