#include "toolkit/CBitmap.h"

#include <atomic>

#include "platform/EmbeddedResources.h"
#include "toolkit/CDrawContext.h"

namespace orv {

namespace {

// The embedded artwork is decoded once per process and shared, read-only, by every bitmap of
// the same id in every editor and instance (the cache keeps it for the life of the process;
// the module is never unloaded). Editors of two instances may open on different threads: the
// first user of an id decodes it and publishes it with a compare-and-swap, and a thread that
// loses the race drops its own copy.
NativeSurface* sharedResourceSurface(int id)
{
    const int slot = bitmapResourceSlot(id);
    if (slot < 0) return nullptr;
    static std::atomic<NativeSurface*>* const cache = new std::atomic<NativeSurface*>[bitmapResourceCount()]();
    std::atomic<NativeSurface*>& entry = cache[slot];
    NativeSurface* s = entry.load(std::memory_order_acquire);
    if (s == nullptr) {
        const EmbeddedBlob blob = findBitmapResource(id);
        NativeSurface* decoded = decodePngSurface(blob.data, blob.size);
        if (decoded == nullptr) return nullptr;
        if (entry.compare_exchange_strong(s, decoded, std::memory_order_acq_rel, std::memory_order_acquire))
            s = decoded;
        else
            destroySurface(decoded);
    }
    return s;
}

}  // namespace

CBitmap::CBitmap(int resourceId) : resourceId_(resourceId) { adopt(sharedResourceSurface(resourceId), false); }

CBitmap::CBitmap(const unsigned char* pngData, size_t size) { adopt(decodePngSurface(pngData, size), true); }

CBitmap::~CBitmap()
{
    if (surface_ != nullptr && owned_) destroySurface(surface_);
}

void CBitmap::adopt(NativeSurface* s, bool owned)
{
    if (s == nullptr) return;
    surface_ = s;
    owned_ = owned;
    width_ = surfaceWidth(s);
    height_ = surfaceHeight(s);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) const
{
    if (surface_ != nullptr && context != nullptr) context->drawImage(surface_, dest, offset, alpha);
}

}  // namespace orv
