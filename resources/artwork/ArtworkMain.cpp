// orv-artwork: paints the editor's bitmaps at build time.
//
//   orv-artwork [--font FILE] paint OUTDIR [ID...]   writes OUTDIR/bitmap_<id>.png for every
//                                                    bitmap; the ids, when given, must be
//                                                    exactly the ones painted
//   orv-artwork [--font FILE] sheet DIR OUT.png      one contact sheet of every bitmap in DIR
//   orv-artwork [--font FILE] preview DIR OUT.png [X Y W H SCALE]
//                                                    the editor mock-up, or an enlarged part
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "ArtFont.h"
#include "BitmapCatalogue.h"
#include "ContactSheet.h"
#include "EditorPreview.h"

#ifndef ORV_ARTWORK_FONT
#define ORV_ARTWORK_FONT "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
#endif

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: orv-artwork [--font FILE] paint OUTDIR [ID...]\n"
                 "       orv-artwork [--font FILE] sheet DIR OUT.png\n"
                 "       orv-artwork [--font FILE] preview DIR OUT.png [X Y W H SCALE]\n");
    return 2;
}

bool writePng(cairo_surface_t* surface, const std::string& path)
{
    const std::string tmp = path + ".tmp";
    if (cairo_surface_write_to_png(surface, tmp.c_str()) != CAIRO_STATUS_SUCCESS) return false;
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

int paintAll(const orv::art::ArtFont& font, const std::string& outDir, int idCount, char** ids)
{
    using namespace orv::art;
    if (idCount > 0) {
        std::set<int> wanted;
        for (int i = 0; i < idCount; ++i) wanted.insert(std::atoi(ids[i]));
        std::set<int> painted;
        for (const BitmapSpec& bitmap : bitmapCatalogue()) painted.insert(bitmap.id);
        if (wanted != painted) {
            std::fprintf(stderr, "orv-artwork: the build's bitmap list differs from the painted bitmaps\n");
            return 1;
        }
    }
    ArtContext ctx{font};
    cairo_surface_t* background = nullptr;
    int status = 0;
    for (const BitmapSpec& bitmap : bitmapCatalogue()) {
        cairo_surface_t* image = renderBitmap(bitmap, ctx);
        const std::string path = outDir + "/bitmap_" + std::to_string(bitmap.id) + ".png";
        if (!writePng(image, path)) {
            std::fprintf(stderr, "orv-artwork: cannot write %s\n", path.c_str());
            status = 1;
        }
        if (bitmap.id == 4000 && background == nullptr) {
            background = image;  // later bitmaps show parts of it
            ctx.background = background;
        } else {
            cairo_surface_destroy(image);
        }
    }
    if (background != nullptr) cairo_surface_destroy(background);
    return status;
}

int preview(const orv::art::ArtFont& font, const std::string& dir, const std::string& out, int argc, char** argv)
{
    cairo_surface_t* editor = orv::art::composeEditorPreview(dir, font);
    if (editor == nullptr) {
        std::fprintf(stderr, "orv-artwork: bitmaps missing in %s\n", dir.c_str());
        return 1;
    }
    int x = 0, y = 0, w = cairo_image_surface_get_width(editor), h = cairo_image_surface_get_height(editor);
    int zoom = 1;
    if (argc >= 5) {
        x = std::atoi(argv[0]);
        y = std::atoi(argv[1]);
        w = std::atoi(argv[2]);
        h = std::atoi(argv[3]);
        zoom = std::max(1, std::atoi(argv[4]));
    }
    cairo_surface_t* part =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, w * zoom), std::max(1, h * zoom));
    cairo_t* cr = cairo_create(part);
    cairo_scale(cr, zoom, zoom);
    cairo_set_source_surface(cr, editor, -x, -y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    const bool ok = writePng(part, out);
    cairo_surface_destroy(part);
    cairo_surface_destroy(editor);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string fontPath = ORV_ARTWORK_FONT;
    int arg = 1;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--font") == 0) {
        fontPath = argv[arg + 1];
        arg += 2;
    }
    if (arg >= argc) return usage();
    const std::string command = argv[arg++];
    int status = 0;
    {
        orv::art::ArtFont font(fontPath);
        if (!font.ok()) return 1;
        if (command == "paint" && arg < argc) {
            status = paintAll(font, argv[arg], argc - arg - 1, argv + arg + 1);
        } else if (command == "sheet" && arg + 1 < argc) {
            status = orv::art::writeContactSheet(argv[arg], argv[arg + 1], font) ? 0 : 1;
        } else if (command == "preview" && arg + 1 < argc) {
            status = preview(font, argv[arg], argv[arg + 1], argc - arg - 2, argv + arg + 2);
        } else {
            status = usage();
        }
    }
    return status;
}
