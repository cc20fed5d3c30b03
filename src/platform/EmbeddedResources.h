#pragma once

#include <cstddef>

namespace orv {

// A read-only byte range compiled into the module (PNG artwork, the UI font).
struct EmbeddedBlob {
    const unsigned char* data;
    size_t size;
};

// The PNG file of the bitmap with the given resource id, or {nullptr, 0} when the module
// holds no bitmap of that id.
EmbeddedBlob findBitmapResource(int id);

// Bitmaps are numbered 0 .. bitmapResourceCount() − 1 in the module; the number of the one
// with the given id, or −1.
int bitmapResourceCount();
int bitmapResourceSlot(int id);

// The TrueType file of the interface font (Liberation Sans Regular), or {nullptr, 0} when
// it was not embedded.
EmbeddedBlob findFontResource();

}  // namespace orv
