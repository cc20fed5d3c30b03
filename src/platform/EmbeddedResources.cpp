#include "platform/EmbeddedResources.h"

namespace orv {

// Temporary: the embedded artwork table is being added; until then nothing is found.
EmbeddedBlob findBitmapResource(int) { return {nullptr, 0}; }

EmbeddedBlob findFontResource() { return {nullptr, 0}; }

}  // namespace orv
