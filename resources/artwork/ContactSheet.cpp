#include "ContactSheet.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BitmapCatalogue.h"
#include "EditorPreview.h"
#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

constexpr int kSheetWidth = 2200;
constexpr int kMargin = 16;
constexpr int kGap = 4;
constexpr int kCaption = 16;
constexpr int kPreviewWidth = 2 * layout::kEditorWidth;  // the mock-up is shown at twice its size
constexpr int kPreviewHeight = 2 * layout::kEditorHeight;
constexpr int kBesidePreview = kSheetWidth - 3 * kMargin - kPreviewWidth;  // room for the bitmaps

struct Placed {
    const BitmapSpec* bitmap;
    cairo_surface_t* image;
    int columns;  // frames per row
    int rows;
    int width;  // of the laid-out block
    int height;
};

}  // namespace

bool writeContactSheet(const std::string& dir, const std::string& out, const ArtFont& font)
{
    std::vector<Placed> blocks;
    bool ok = true;
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* measure = cairo_create(scratch);
    for (const BitmapSpec& bitmap : bitmapCatalogue()) {
        const std::string path = dir + "/bitmap_" + std::to_string(bitmap.id) + ".png";
        cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "orv-artwork: cannot read %s\n", path.c_str());
            cairo_surface_destroy(image);
            ok = false;
            continue;
        }
        const int fw = bitmap.width + kGap;
        const int columns = std::max(1, std::min(bitmap.frames, (kBesidePreview + kGap) / fw));
        const int rows = (bitmap.frames + columns - 1) / columns;
        const int captionWidth = static_cast<int>(font.width(measure, bitmap.title, 11.0)) + 90;
        blocks.push_back({&bitmap, image, columns, rows, std::max(columns * fw - kGap, captionWidth),
                          rows * (bitmap.frameHeight + kGap) - kGap + kCaption});
    }

    cairo_destroy(measure);
    cairo_surface_destroy(scratch);

    // Shelf packing: blocks left to right, a new shelf when the row is full.
    struct Spot {
        int x, y;
    };
    std::vector<Spot> spots;
    cairo_surface_t* preview = composeEditorPreview(dir, font);
    if (preview == nullptr) ok = false;
    // The mock-up of the whole editor comes first, at twice its size.
    int leftLimit = 2 * kMargin + kPreviewWidth;
    int x = leftLimit, y = kMargin, shelf = 0;
    for (const Placed& b : blocks) {
        if (x > leftLimit && x + b.width > kSheetWidth - kMargin) {
            if (y + shelf > kMargin + kCaption + kPreviewHeight) leftLimit = kMargin;
            x = leftLimit;
            y += shelf + 2 * kGap + 8;
            shelf = 0;
        }
        spots.push_back({x, y});
        x += b.width + 3 * kGap + 8;
        shelf = std::max(shelf, b.height);
    }
    const int height = std::max(y + shelf, kMargin + kCaption + kPreviewHeight) + kMargin;

    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSheetWidth, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.42, 0.42, 0.44);  // neutral grey, so clear pixels show
    cairo_paint(cr);
    TextStyle caption{11.0, Rgb{255, 255, 255}, 1.0, 0.0, 0.0};
    if (preview != nullptr) {
        font.draw(cr, "editor mock-up (default settings, x2)", kMargin, kMargin + 11, caption);
        cairo_save(cr);
        cairo_translate(cr, kMargin, kMargin + kCaption);
        cairo_scale(cr, 2.0, 2.0);
        cairo_set_source_surface(cr, preview, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(preview);
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        const Placed& b = blocks[i];
        const Spot s = spots[i];
        char text[96];
        std::snprintf(text, sizeof text, "%s  %dx%d x%d", b.bitmap->title, b.bitmap->width, b.bitmap->frameHeight,
                      b.bitmap->frames);
        font.draw(cr, text, s.x, s.y + 11, caption);
        for (int f = 0; f < b.bitmap->frames; ++f) {
            const int fx = s.x + (f % b.columns) * (b.bitmap->width + kGap);
            const int fy = s.y + kCaption + (f / b.columns) * (b.bitmap->frameHeight + kGap);
            cairo_save(cr);
            cairo_rectangle(cr, fx, fy, b.bitmap->width, b.bitmap->frameHeight);
            cairo_clip(cr);
            cairo_set_source_surface(cr, b.image, fx, fy - f * b.bitmap->frameHeight);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        cairo_surface_destroy(b.image);
    }
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(sheet, out.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    if (!written) std::fprintf(stderr, "orv-artwork: cannot write %s\n", out.c_str());
    return ok && written;
}

}  // namespace orv::art
