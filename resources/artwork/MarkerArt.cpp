// The rotor strips: each shows its rotor through a slot in the cabinet front, shaded as a
// turning cylinder; the handle is the horn's bell or the drum's opening, which slides across
// the strip and wraps around as the rotor turns.
#include <algorithm>
#include <cmath>

#include "ArtPainters.h"
#include "Palette.h"

namespace orv::art {

namespace {

constexpr double kStripW = 298.0;
constexpr double kStripH = 12.0;

// Brightness of a cylinder of the strip's width lit from the front, at column x.
double cylinderLight(double x)
{
    const double s = std::clamp((x - kStripW / 2.0) / (kStripW / 2.0), -1.0, 1.0);
    const double c = std::sqrt(1.0 - s * s);
    // A broad specular band a little left of the middle makes the curvature read.
    const double sheen = std::exp(-((s + 0.22) * (s + 0.22)) / 0.02);
    return 0.12 + 0.78 * std::pow(c, 1.6) + 0.25 * sheen;
}

// Dark lips above and below the slot.
void slotLips(cairo_t* cr)
{
    cairo_pattern_t* lips = cairo_pattern_create_linear(0.0, 0.0, 0.0, kStripH);
    cairo_pattern_add_color_stop_rgba(lips, 0.0, 0, 0, 0, 0.85);
    cairo_pattern_add_color_stop_rgba(lips, 0.22, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(lips, 0.78, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(lips, 1.0, 0, 0, 0, 0.75);
    cairo_set_source(cr, lips);
    cairo_rectangle(cr, 0.0, 0.0, kStripW, kStripH);
    cairo_fill(cr);
    cairo_pattern_destroy(lips);
}

// Vertical lines at equal angles around the cylinder, crowding towards its edges.
void cylinderRibs(cairo_t* cr, int count, double phase, Rgb colour, double alpha, double width)
{
    cairo_set_line_width(cr, width);
    for (int i = 0; i < count; ++i) {
        const double theta = -kPi / 2.0 + kPi * (i + phase) / count;
        const double x = kStripW / 2.0 + (kStripW / 2.0) * std::sin(theta);
        cairo_move_to(cr, x, 0.0);
        cairo_line_to(cr, x, kStripH);
        setColour(cr, colour, alpha * (0.35 + 0.65 * std::cos(theta)));
        cairo_stroke(cr);
    }
}

// A soft glow along the handle, fading to nothing at both ends.
void glow(cairo_t* cr, Rgb colour, double alpha)
{
    cairo_pattern_t* g = cairo_pattern_create_linear(1.0, 0.0, 119.0, 0.0);
    addStop(g, 0.0, colour, 0.0);
    addStop(g, 0.5, colour, alpha);
    addStop(g, 1.0, colour, 0.0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0.0, 1.0, 120.0, 10.0);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

}  // namespace

void paintHornStrip(cairo_t* cr, const ArtContext&, int)
{
    // The horn compartment: a dark cylinder of baffle with the horn's axle across it.
    for (int x = 0; x < static_cast<int>(kStripW); ++x) {
        const double l = cylinderLight(x + 0.5);
        setColour(cr, scale(Rgb{86, 74, 60}, l));
        cairo_rectangle(cr, x, 0, 1, kStripH);
        cairo_fill(cr);
    }
    cylinderRibs(cr, 18, 0.5, Rgb{0, 0, 0}, 0.45, 1.0);
    // The horns' tube across the compartment and the vertical shaft they turn on.
    for (int x = 0; x < static_cast<int>(kStripW); ++x) {
        const double l = cylinderLight(x + 0.5);
        setColour(cr, scale(Rgb{190, 160, 110}, l));
        cairo_rectangle(cr, x, 5, 1, 1);
        cairo_fill(cr);
        setColour(cr, scale(Rgb{96, 78, 52}, l));
        cairo_rectangle(cr, x, 6, 1, 1);
        cairo_fill(cr);
    }
    cairo_pattern_t* shaft = cairo_pattern_create_linear(kStripW / 2.0 - 1.5, 0.0, kStripW / 2.0 + 1.5, 0.0);
    addStop(shaft, 0.0, Rgb{60, 58, 56});
    addStop(shaft, 0.4, Rgb{220, 214, 204});
    addStop(shaft, 1.0, Rgb{50, 48, 46});
    cairo_set_source(cr, shaft);
    cairo_rectangle(cr, kStripW / 2.0 - 1.5, 0.0, 3.0, kStripH);
    cairo_fill(cr);
    cairo_pattern_destroy(shaft);
    slotLips(cr);
}

void paintHornHandle(cairo_t* cr, const ArtContext&, int)
{
    glow(cr, palette::kAmber, 0.30);
    // The bell seen from the front: a brass rim around a dark throat.
    const double cx = 60.0;
    const double cy = 6.0;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 26.0, 5.6);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
    cairo_restore(cr);
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx - 26.0, 0.0, cx + 26.0, 0.0);
    addStop(rim, 0.0, palette::kBrassDark);
    addStop(rim, 0.35, palette::kBrassLight);
    addStop(rim, 0.65, palette::kBrass);
    addStop(rim, 1.0, palette::kBrassDark);
    cairo_set_source(cr, rim);
    cairo_fill(cr);
    cairo_pattern_destroy(rim);
    cairo_save(cr);
    cairo_translate(cr, cx, cy + 0.3);
    cairo_scale(cr, 21.0, 3.8);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * kPi);
    cairo_restore(cr);
    cairo_pattern_t* throat = cairo_pattern_create_radial(cx, cy + 0.5, 1.0, cx, cy, 21.0);
    addStop(throat, 0.0, Rgb{6, 4, 2});
    addStop(throat, 0.7, Rgb{40, 26, 12});
    addStop(throat, 1.0, Rgb{110, 78, 40});
    cairo_set_source(cr, throat);
    cairo_fill(cr);
    cairo_pattern_destroy(throat);
}

void paintDrumStrip(cairo_t* cr, const ArtContext&, int)
{
    // The drum: a wooden cylinder of slats.
    for (int x = 0; x < static_cast<int>(kStripW); ++x) {
        const double l = cylinderLight(x + 0.5);
        const double grain = 0.92 + 0.16 * valueNoise(x * 0.15, 3.0, 77u);
        setColour(cr, scale(Rgb{120, 76, 44}, l * grain));
        cairo_rectangle(cr, x, 0, 1, kStripH);
        cairo_fill(cr);
    }
    cylinderRibs(cr, 26, 0.0, Rgb{12, 6, 2}, 0.8, 1.0);
    // Rims of the drum's top and bottom discs.
    for (int x = 0; x < static_cast<int>(kStripW); ++x) {
        const double l = cylinderLight(x + 0.5);
        setColour(cr, scale(Rgb{200, 150, 96}, l));
        cairo_rectangle(cr, x, 1, 1, 1);
        cairo_rectangle(cr, x, 10, 1, 1);
        cairo_fill(cr);
    }
    slotLips(cr);
}

void paintDrumHandle(cairo_t* cr, const ArtContext&, int)
{
    glow(cr, palette::kAmber, 0.26);
    // The drum's opening: a dark window framed by a lighter wooden edge.
    roundedRect(cr, 33.0, 1.0, 54.0, 10.0, 3.0);
    cairo_pattern_t* edge = cairo_pattern_create_linear(33.0, 0.0, 87.0, 0.0);
    addStop(edge, 0.0, Rgb{120, 80, 46});
    addStop(edge, 0.4, Rgb{214, 160, 100});
    addStop(edge, 1.0, Rgb{120, 80, 46});
    cairo_set_source(cr, edge);
    cairo_fill(cr);
    cairo_pattern_destroy(edge);
    roundedRect(cr, 36.0, 2.5, 48.0, 7.0, 2.0);
    cairo_pattern_t* hole = verticalGradient(2.5, 9.5, Rgb{4, 3, 2}, Rgb{44, 28, 14});
    cairo_set_source(cr, hole);
    cairo_fill(cr);
    cairo_pattern_destroy(hole);
}

}  // namespace orv::art
