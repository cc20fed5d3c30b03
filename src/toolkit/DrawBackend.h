// What the toolkit asks of the drawing library of the OS it is built for: images with 32-bit
// pixels it can create, decode from PNG, draw into (through CDrawContext) and read back.
// Linux builds use cairo (linux/CairoBackend.cpp), Windows builds GDI+
// (windows/GdiplusBackend.cpp); the build compiles exactly one of them.
#pragma once

#include <cstddef>

#if defined(_WIN32)
namespace orv {
struct GdiplusSurface;
using NativeSurface = GdiplusSurface;
}  // namespace orv
#else
typedef struct _cairo_surface cairo_surface_t;
namespace orv {
using NativeSurface = cairo_surface_t;
}  // namespace orv
#endif

namespace orv {

// A new image, every pixel transparent black (opaque: black, and no alpha channel to keep).
NativeSurface* createSurface(int width, int height, bool opaque);
// Decoded PNG file bytes, or null when they are no PNG.
NativeSurface* decodePngSurface(const unsigned char* data, size_t size);
void destroySurface(NativeSurface* surface);
int surfaceWidth(NativeSurface* surface);
int surfaceHeight(NativeSurface* surface);

// The pixels of an image after all drawing into it has landed: rows of 32-bit words
// 0xAARRGGBB (alpha premultiplied), `stride` bytes apart.
struct SurfacePixels {
    const unsigned char* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};
SurfacePixels readSurfacePixels(NativeSurface* surface);

}  // namespace orv
