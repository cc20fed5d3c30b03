#pragma once

#include <cairo.h>

#include "ArtFont.h"

namespace orv::art {

// What every painter may use: the lettering font and, once it has been painted, the editor
// background, so that a bitmap used at a single place can show the panel under itself.
struct ArtContext {
    const ArtFont& font;
    cairo_surface_t* background = nullptr;

    // Paints the part of the editor background whose top-left corner is (editorX, editorY)
    // at the origin of the current frame.
    void backdrop(cairo_t* cr, int editorX, int editorY, int width, int height) const;
};

}  // namespace orv::art
