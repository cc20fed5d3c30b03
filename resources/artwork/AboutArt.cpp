// The about picture shown over the whole editor: the product name, a cut-away drawing of the
// cabinet with its two rotors, and room at (281, 184) for the version text the view adds.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "ArtPainters.h"
#include "Materials.h"
#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

void horn(cairo_t* cr, double cx, double cy, double dir, double length)
{
    // A straight horn: a tube flaring to a bell, seen slightly from the side.
    const double x1 = cx + dir * length;
    cairo_move_to(cr, cx, cy - 4.0);
    cairo_curve_to(cr, cx + dir * length * 0.6, cy - 4.5, x1 - dir * 8.0, cy - 8.0, x1, cy - 17.0);
    cairo_line_to(cr, x1, cy + 17.0);
    cairo_curve_to(cr, x1 - dir * 8.0, cy + 8.0, cx + dir * length * 0.6, cy + 4.5, cx, cy + 4.0);
    cairo_close_path(cr);
    cairo_pattern_t* body = verticalGradient(cy - 17.0, cy + 17.0, Rgb{112, 90, 62}, Rgb{36, 28, 20});
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setColour(cr, palette::kBrass, 0.7);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, x1, cy);
    cairo_scale(cr, 5.0, 17.0);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
    cairo_restore(cr);
    cairo_pattern_t* bell = verticalGradient(cy - 17.0, cy + 17.0, palette::kBrassLight, palette::kBrassDark);
    cairo_set_source(cr, bell);
    cairo_fill(cr);
    cairo_pattern_destroy(bell);
    cairo_save(cr);
    cairo_translate(cr, x1, cy);
    cairo_scale(cr, 3.2, 13.5);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
    cairo_restore(cr);
    setColour(cr, Rgb{14, 10, 6});
    cairo_fill(cr);
}

void cabinet(cairo_t* cr)
{
    const double x = 119.0, y = 236.0, w = 210.0, h = 340.0;
    // Shadow and wooden case.
    roundedRect(cr, x - 3.0, y + 4.0, w + 8.0, h + 4.0, 10.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, 8.0);
    fillWithTexture(cr, static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h),
                    [](int px, int py) { return walnutShade(px * 2 + 300, py); });
    roundedRect(cr, x + 0.5, y + 0.5, w - 1.0, h - 1.0, 7.5);
    setColour(cr, palette::kBrass, 0.5);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    // Cut-away compartments: horn above, drum below.
    const double ix = x + 14.0, iw = w - 28.0;
    const double hornTop = y + 16.0, hornH = 122.0;
    const double drumTop = hornTop + hornH + 14.0, drumH = 170.0;
    for (double top : {hornTop, drumTop}) {
        const double hh = top == hornTop ? hornH : drumH;
        roundedRect(cr, ix, top, iw, hh, 4.0);
        cairo_pattern_t* cavity =
            cairo_pattern_create_radial(ix + iw / 2.0, top + hh / 2.0, 10.0, ix + iw / 2.0, top + hh / 2.0, iw * 0.7);
        addStop(cavity, 0.0, Rgb{38, 33, 29});
        addStop(cavity, 1.0, Rgb{8, 7, 6});
        cairo_set_source(cr, cavity);
        cairo_fill(cr);
        cairo_pattern_destroy(cavity);
    }

    // Horn rotor: a driver on a vertical axle with two horns.
    const double hcx = ix + iw / 2.0;
    const double hcy = hornTop + hornH / 2.0 - 6.0;
    cairo_rectangle(cr, hcx - 1.5, hornTop + 6.0, 3.0, hornH - 12.0);
    setColour(cr, Rgb{120, 110, 96});
    cairo_fill(cr);
    horn(cr, hcx, hcy, -1.0, 70.0);
    horn(cr, hcx, hcy, 1.0, 56.0);
    roundedRect(cr, hcx - 16.0, hcy + 14.0, 32.0, 26.0, 4.0);
    cairo_pattern_t* driver = verticalGradient(hcy + 14.0, hcy + 40.0, Rgb{70, 64, 58}, Rgb{22, 20, 19});
    cairo_set_source(cr, driver);
    cairo_fill(cr);
    cairo_pattern_destroy(driver);

    // Drum rotor: a slatted cylinder with its scoop opening, belt and motor underneath.
    const double dcx = hcx;
    const double dTop = drumTop + 14.0, dH = 70.0, dR = 66.0;
    for (int i = 0; i < 2 * static_cast<int>(dR); ++i) {
        const double s = (i + 0.5 - dR) / dR;
        const double l = 0.25 + 0.75 * std::sqrt(std::max(0.0, 1.0 - s * s));
        setColour(cr, scale(Rgb{128, 82, 48}, l));
        cairo_rectangle(cr, dcx - dR + i, dTop, 1.0, dH);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 16; ++i) {
        const double theta = -kPi / 2.0 + kPi * (i + 0.5) / 16.0;
        const double sx = std::floor(dcx + dR * std::sin(theta)) + 0.5;
        cairo_move_to(cr, sx, dTop);
        cairo_line_to(cr, sx, dTop + dH);
        cairo_set_source_rgba(cr, 0.05, 0.02, 0.0, 0.7 * std::cos(theta) + 0.2);
        cairo_stroke(cr);
    }
    roundedRect(cr, dcx - 22.0, dTop + 10.0, 44.0, dH - 20.0, 4.0);
    setColour(cr, Rgb{10, 6, 3});
    cairo_fill(cr);
    for (double yy : {dTop, dTop + dH}) {
        cairo_save(cr);
        cairo_translate(cr, dcx, yy);
        cairo_scale(cr, dR, 5.0);
        cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
        cairo_restore(cr);
        setColour(cr, Rgb{70, 44, 24});
        cairo_fill(cr);
    }
    const double motorY = dTop + dH + 34.0;
    roundedRect(cr, dcx + 14.0, motorY, 44.0, 28.0, 4.0);
    cairo_pattern_t* motor = verticalGradient(motorY, motorY + 28.0, Rgb{84, 78, 70}, Rgb{30, 28, 26});
    cairo_set_source(cr, motor);
    cairo_fill(cr);
    cairo_pattern_destroy(motor);
    cairo_move_to(cr, dcx, dTop + dH + 5.0);
    cairo_line_to(cr, dcx + 36.0, motorY);
    cairo_move_to(cr, dcx - 8.0, dTop + dH + 4.0);
    cairo_line_to(cr, dcx + 30.0, motorY);
    setColour(cr, Rgb{20, 18, 16});
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

}  // namespace

void paintAbout(cairo_t* cr, const ArtContext& ctx, int)
{
    const int w = layout::kEditorWidth;
    const int h = layout::kEditorHeight;
    cairo_rectangle(cr, 0, 0, w, h);
    fillWithTexture(cr, 0, 0, w, h, walnutShade);
    roundedRect(cr, 18.0, 18.0, w - 36.0, h - 36.0, 10.0);
    cairo_pattern_t* field = cairo_pattern_create_radial(w / 2.0, 190.0, 20.0, w / 2.0, 330.0, 420.0);
    addStop(field, 0.0, Rgb{40, 35, 31});
    addStop(field, 1.0, Rgb{12, 11, 10});
    cairo_set_source(cr, field);
    cairo_fill(cr);
    cairo_pattern_destroy(field);
    roundedRect(cr, 22.5, 22.5, w - 45.0, h - 45.0, 7.0);
    setColour(cr, palette::kBrass, 0.45);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    TextStyle maker{10.0, palette::kHeading, 1.0, 4.0, 0.2};
    ctx.font.drawEngraved(cr, "ORVALINE", w / 2.0, 92.0, maker, Align::Centre);

    const double titleBaseline = 160.0;
    ctx.font.path(cr, "ORV GYROLA 2", w / 2.0, titleBaseline + 1.5, 34.0, 4.0, Align::Centre);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
    cairo_fill(cr);
    ctx.font.path(cr, "ORV GYROLA 2", w / 2.0, titleBaseline, 34.0, 4.0, Align::Centre);
    cairo_pattern_t* brass =
        verticalGradient(titleBaseline - 25.0, titleBaseline, palette::kBrassLight, palette::kBrassDark);
    cairo_set_source(cr, brass);
    cairo_fill(cr);
    cairo_pattern_destroy(brass);

    // The view writes the version at (281, 184) in grey; this line leads up to it.
    TextStyle sub{9.0, Rgb{160, 159, 157}, 1.0, 1.5, 0.0};
    ctx.font.draw(cr, "ROTARY SPEAKER EMULATOR", 274.0, 195.0, sub, Align::Right);

    cabinet(cr);

    TextStyle line{9.0, palette::kLabel, 1.0, 1.0, 0.0};
    ctx.font.drawEngraved(cr, "HORN AND DRUM ROTORS, TUBE AND SOLID-STATE DRIVE,", w / 2.0, 612.0, line, Align::Centre);
    ctx.font.drawEngraved(cr, "MICROPHONES, REFLECTIONS AND ROOM", w / 2.0, 626.0, line, Align::Centre);
    TextStyle hint{9.0, palette::kDimText, 1.0, 1.5, 0.0};
    ctx.font.drawEngraved(cr, "CLICK TO CLOSE", w / 2.0, 656.0, hint, Align::Centre);
}

}  // namespace orv::art
