#pragma once

#include <cairo.h>

#include <string>

#include "ArtFont.h"

namespace orv::art {

// A mock-up of the editor window built from the painted files in `dir`: the background with
// every control drawn at its place in a typical state and sample readout texts. Used on the
// contact sheet to judge the panel as a whole. Returns nullptr when a file is missing.
cairo_surface_t* composeEditorPreview(const std::string& dir, const ArtFont& font);

}  // namespace orv::art
