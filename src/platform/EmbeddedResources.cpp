#include "platform/EmbeddedResources.h"

#include "OrvArtworkTable.h"
#include "platform/SymbolVisibility.h"

// Symbols of the embedded files (start and one past the end), defined by the generated
// assembler file of the artwork.
#define ORV_DECLARE_BITMAP(id)                                                                                         \
    extern const unsigned char orv_art_bitmap_##id[] ORV_HIDDEN;                                                       \
    extern const unsigned char orv_art_bitmap_##id##_end[] ORV_HIDDEN;

extern "C" {
ORV_ARTWORK_BITMAPS(ORV_DECLARE_BITMAP)
extern const unsigned char orv_art_font[] ORV_HIDDEN;
extern const unsigned char orv_art_font_end[] ORV_HIDDEN;
}

namespace orv {

namespace {

struct BitmapEntry {
    int id;
    const unsigned char* begin;
    const unsigned char* end;
};

#define ORV_BITMAP_ENTRY(id) BitmapEntry{id, orv_art_bitmap_##id, orv_art_bitmap_##id##_end},
const BitmapEntry kBitmaps[] = {ORV_ARTWORK_BITMAPS(ORV_BITMAP_ENTRY)};
#undef ORV_BITMAP_ENTRY

}  // namespace

EmbeddedBlob findBitmapResource(int id)
{
    const int slot = bitmapResourceSlot(id);
    if (slot < 0) return {nullptr, 0};
    const BitmapEntry& e = kBitmaps[slot];
    return {e.begin, static_cast<size_t>(e.end - e.begin)};
}

int bitmapResourceCount() { return static_cast<int>(sizeof kBitmaps / sizeof kBitmaps[0]); }

int bitmapResourceSlot(int id)
{
    for (int i = 0; i < bitmapResourceCount(); ++i)
        if (kBitmaps[i].id == id) return i;
    return -1;
}

EmbeddedBlob findFontResource()
{
    const size_t size = static_cast<size_t>(orv_art_font_end - orv_art_font);
    if (size == 0) return {nullptr, 0};
    return {orv_art_font, size};
}

}  // namespace orv
