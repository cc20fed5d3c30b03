#include "ArtContext.h"

namespace orv::art {

void ArtContext::backdrop(cairo_t* cr, int editorX, int editorY, int width, int height) const
{
    if (background == nullptr) return;
    cairo_save(cr);
    cairo_set_source_surface(cr, background, -editorX, -editorY);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace orv::art
