#pragma once

#include <string>

#include "ArtFont.h"

namespace orv::art {

// Lays out every bitmap found in `dir` (bitmap_<id>.png), frames side by side in rows, with
// captions, on one sheet written to `out`. Returns false when a bitmap is missing.
bool writeContactSheet(const std::string& dir, const std::string& out, const ArtFont& font);

}  // namespace orv::art
