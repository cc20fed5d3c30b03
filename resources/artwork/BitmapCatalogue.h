#pragma once

#include <cairo.h>

#include <vector>

#include "ArtContext.h"

namespace orv::art {

// Paints frame `frame` of a bitmap into (0, 0, width, frameHeight) of the context.
using FramePainter = void (*)(cairo_t* cr, const ArtContext& ctx, int frame);

struct BitmapSpec {
    int id;
    int width;
    int frameHeight;
    int frames;
    const char* title;  // caption on the contact sheet
    FramePainter paint;
};

// Every bitmap of the editor, the background first (other bitmaps paint parts of it).
const std::vector<BitmapSpec>& bitmapCatalogue();

// Renders all frames of one bitmap into a new image surface (frames stacked vertically).
cairo_surface_t* renderBitmap(const BitmapSpec& bitmap, const ArtContext& ctx);

}  // namespace orv::art
