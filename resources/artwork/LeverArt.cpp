// The speed lever: a rod with an ivory ball that sticks out of a slotted plate towards the
// viewer and turns about a pivot behind the plate, 40 degrees up (frame 0) to 40 degrees down
// (frame 64). Seen from the front the ball travels along the slot by the sine of the angle,
// which is also how a drag picks the frame, so the ball stays under the mouse.
#include <cmath>

#include "ArtPainters.h"
#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

constexpr int kFrames = 65;
constexpr double kMaxAngleDeg = 40.0;  // lever throw either side of straight out
constexpr double kPivotY = 95.0;       // middle of the drag zone, rows 38 to 152
constexpr double kHalfTravel = 57.0;   // the ball's travel either side of the pivot
constexpr double kCentreX = 27.5;

void plate(cairo_t* cr, const ArtContext& ctx)
{
    // Escutcheon with the slot the rod runs in, and detents at both ends and the middle.
    roundedRect(cr, 13.5, 22.5, 28.0, 145.0, 5.0);
    cairo_pattern_t* face = cairo_pattern_create_linear(13.5, 0.0, 41.5, 0.0);
    addStop(face, 0.0, Rgb{40, 37, 34});
    addStop(face, 0.45, Rgb{66, 61, 56});
    addStop(face, 1.0, Rgb{34, 31, 29});
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setColour(cr, palette::kBrassDark);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    roundedRect(cr, 23.5, 29.5, 8.0, 131.0, 4.0);
    setColour(cr, Rgb{5, 4, 4});
    cairo_fill(cr);
    cairo_move_to(cr, 24.5, 33.0);
    cairo_line_to(cr, 24.5, 157.0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
    cairo_stroke(cr);

    const double ticks[3] = {38.0, kPivotY, 152.0};
    for (int i = 0; i < 3; ++i) {
        const double len = i == 1 ? 3.0 : 5.0;
        cairo_rectangle(cr, 22.0 - len - 1.0, ticks[i] - 0.5, len, 1.0);
        cairo_rectangle(cr, 34.0, ticks[i] - 0.5, len, 1.0);
    }
    setColour(cr, palette::kCream, 0.85);
    cairo_fill(cr);

    TextStyle legend{9.0, palette::kHeading, 1.0, 0.4, 0.0};
    ctx.font.drawEngraved(cr, "TREMOLO", kCentreX, 15.0, legend, Align::Centre);
    ctx.font.drawEngraved(cr, "CHORALE", kCentreX, 182.0, legend, Align::Centre);
}

}  // namespace

void paintLever(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kLever;
    ctx.backdrop(cr, r.left, r.top, r.width(), r.height());
    plate(cr, ctx);

    const double angle = degrees(kMaxAngleDeg) * (1.0 - 2.0 * frame / (kFrames - 1));
    const double tipY = kPivotY - kHalfTravel * std::sin(angle) / std::sin(degrees(kMaxAngleDeg));
    const double nearness = std::cos(angle);  // 1 when the rod points straight at the viewer

    // Collar where the rod leaves the slot.
    cairo_save(cr);
    cairo_translate(cr, kCentreX, kPivotY);
    cairo_scale(cr, 1.0, 0.45);
    cairo_arc(cr, 0.0, 0.0, 6.5, 0.0, 2.0 * kPi);
    cairo_restore(cr);
    setColour(cr, Rgb{20, 19, 18});
    cairo_fill(cr);

    // Rod: a chrome cylinder, narrowing with distance.
    const double wBase = 6.0;
    const double wTip = 4.0 + 1.0 * nearness;
    cairo_move_to(cr, kCentreX - wBase / 2.0, kPivotY);
    cairo_line_to(cr, kCentreX - wTip / 2.0, tipY);
    cairo_line_to(cr, kCentreX + wTip / 2.0, tipY);
    cairo_line_to(cr, kCentreX + wBase / 2.0, kPivotY);
    cairo_close_path(cr);
    cairo_pattern_t* chrome = cairo_pattern_create_linear(kCentreX - 3.0, 0.0, kCentreX + 3.0, 0.0);
    addStop(chrome, 0.0, Rgb{70, 70, 72});
    addStop(chrome, 0.4, Rgb{236, 234, 228});
    addStop(chrome, 0.6, Rgb{170, 168, 164});
    addStop(chrome, 1.0, Rgb{58, 58, 60});
    cairo_set_source(cr, chrome);
    cairo_fill(cr);
    cairo_pattern_destroy(chrome);

    // Ivory ball, larger the nearer it is, with its shadow on the plate.
    const double ballR = 9.0 + 4.0 * nearness * nearness;
    softDisc(cr, kCentreX + 1.5, tipY + 2.5, ballR, 2.5, 0.6);
    cairo_pattern_t* ball =
        cairo_pattern_create_radial(kCentreX - ballR * 0.35, tipY - ballR * 0.4, ballR * 0.08, kCentreX, tipY, ballR);
    addStop(ball, 0.0, Rgb{255, 250, 236});
    addStop(ball, 0.45, Rgb{228, 210, 172});
    addStop(ball, 0.85, Rgb{150, 122, 84});
    addStop(ball, 1.0, Rgb{84, 66, 44});
    cairo_set_source(cr, ball);
    cairo_arc(cr, kCentreX, tipY, ballR, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
}

}  // namespace orv::art
