// Rotary knobs: a black cap with a cream pointer on a knurled skirt, sitting in a round well
// that carries an amber arc from the start of the travel to the pointer. The well is opaque and
// the same in every frame, so only its antialiased rim touches what lies beneath.
#include <cmath>

#include "ArtPainters.h"
#include "Palette.h"

namespace orv::art {

namespace {

struct KnobGeometry {
    double cx, cy;
    double well;   // radius of the dark well
    double track;  // radius of the value arc
    double trackWidth;
    double skirt;  // radius of the knurled skirt
    double cap;    // radius of the cap
    double pointerIn, pointerOut, pointerWidth;
    int ridges;
};

constexpr KnobGeometry kLarge{22.0, 22.0, 21.5, 18.3, 2.4, 14.3, 11.3, 3.8, 12.6, 2.0, 40};
constexpr KnobGeometry kSmall{14.0, 14.0, 13.6, 11.7, 1.7, 8.9, 7.0, 2.0, 7.8, 1.5, 28};

// Angle measured clockwise from twelve o'clock, in degrees, turned into cairo's convention.
double screenAngle(double fromTopDeg) { return degrees(fromTopDeg - 90.0); }

constexpr double kSweepStart = -135.0;  // degrees from twelve o'clock at the lowest value
constexpr double kSweep = 270.0;        // total travel

void paintWell(cairo_t* cr, const KnobGeometry& g)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(g.cx, g.cy - 2.0, 0.0, g.cx, g.cy, g.well);
    addStop(p, 0.0, Rgb{30, 27, 25});
    addStop(p, 0.75, Rgb{18, 16, 15});
    addStop(p, 1.0, Rgb{8, 7, 7});
    cairo_set_source(cr, p);
    cairo_arc(cr, g.cx, g.cy, g.well, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Rim: lit from above, in shadow below.
    cairo_pattern_t* rim = cairo_pattern_create_linear(0.0, g.cy - g.well, 0.0, g.cy + g.well);
    addStop(rim, 0.0, Rgb{255, 225, 180}, 0.20);
    addStop(rim, 0.5, Rgb{255, 225, 180}, 0.04);
    addStop(rim, 1.0, Rgb{0, 0, 0}, 0.6);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1.0);
    cairo_arc(cr, g.cx, g.cy, g.well - 0.5, 0.0, 2.0 * kPi);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
}

void paintArc(cairo_t* cr, const KnobGeometry& g, double fromDeg, double toDeg, Rgb colour, double alpha, double width)
{
    if (toDeg <= fromDeg) return;
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    setColour(cr, colour, alpha);
    cairo_arc(cr, g.cx, g.cy, g.track, screenAngle(fromDeg), screenAngle(toDeg));
    cairo_stroke(cr);
}

void paintCap(cairo_t* cr, const KnobGeometry& g, double pointerDeg)
{
    const double a = screenAngle(pointerDeg);
    // Shadow cast downwards onto the well.
    softDisc(cr, g.cx, g.cy + g.skirt * 0.12, g.skirt, g.skirt * 0.12, 0.7);

    // Skirt with knurling that turns with the knob.
    cairo_pattern_t* skirt = verticalGradient(g.cy - g.skirt, g.cy + g.skirt, Rgb{70, 65, 60}, Rgb{20, 19, 18});
    cairo_set_source(cr, skirt);
    cairo_arc(cr, g.cx, g.cy, g.skirt, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(skirt);
    cairo_set_line_width(cr, g.skirt > 10.0 ? 0.9 : 0.7);
    for (int i = 0; i < g.ridges; ++i) {
        const double r = a + 2.0 * kPi * i / g.ridges;
        cairo_move_to(cr, g.cx + std::cos(r) * (g.cap + 0.6), g.cy + std::sin(r) * (g.cap + 0.6));
        cairo_line_to(cr, g.cx + std::cos(r) * (g.skirt - 0.4), g.cy + std::sin(r) * (g.skirt - 0.4));
    }
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.8);
    cairo_arc(cr, g.cx, g.cy, g.skirt - 0.4, 0.0, 2.0 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_stroke(cr);

    // Cap: bakelite with a soft highlight towards the upper left.
    cairo_pattern_t* cap =
        cairo_pattern_create_radial(g.cx - g.cap * 0.35, g.cy - g.cap * 0.45, g.cap * 0.1, g.cx, g.cy, g.cap);
    addStop(cap, 0.0, Rgb{88, 82, 76});
    addStop(cap, 0.55, Rgb{38, 35, 33});
    addStop(cap, 1.0, Rgb{16, 15, 14});
    cairo_set_source(cr, cap);
    cairo_arc(cr, g.cx, g.cy, g.cap, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    cairo_pattern_t* ring = verticalGradient(g.cy - g.cap, g.cy + g.cap, Rgb{255, 240, 220}, Rgb{0, 0, 0}, 0.28, 0.5);
    cairo_set_source(cr, ring);
    cairo_set_line_width(cr, 0.8);
    cairo_arc(cr, g.cx, g.cy, g.cap - 0.4, 0.0, 2.0 * kPi);
    cairo_stroke(cr);
    cairo_pattern_destroy(ring);

    // Pointer line from near the centre across the skirt.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double c = std::cos(a);
    const double s = std::sin(a);
    cairo_set_line_width(cr, g.pointerWidth + 1.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_move_to(cr, g.cx + c * g.pointerIn, g.cy + s * g.pointerIn + 0.6);
    cairo_line_to(cr, g.cx + c * g.pointerOut, g.cy + s * g.pointerOut + 0.6);
    cairo_stroke(cr);
    cairo_set_line_width(cr, g.pointerWidth);
    setColour(cr, palette::kCream);
    cairo_move_to(cr, g.cx + c * g.pointerIn, g.cy + s * g.pointerIn);
    cairo_line_to(cr, g.cx + c * g.pointerOut, g.cy + s * g.pointerOut);
    cairo_stroke(cr);
}

void paintRotary(cairo_t* cr, const KnobGeometry& g, double position)
{
    const double pointer = kSweepStart + kSweep * position;
    paintWell(cr, g);
    paintArc(cr, g, kSweepStart, kSweepStart + kSweep, Rgb{58, 50, 44}, 1.0, g.trackWidth);
    paintArc(cr, g, kSweepStart, pointer, palette::kAmber, 0.28, g.trackWidth + 2.2);
    paintArc(cr, g, kSweepStart, pointer, palette::kAmber, 1.0, g.trackWidth);
    paintCap(cr, g, pointer);
}

}  // namespace

void paintKnob(cairo_t* cr, const ArtContext&, int frame)
{
    paintRotary(cr, kLarge, frame / 100.0);  // 101 frames over the whole travel
}

void paintSmallKnob(cairo_t* cr, const ArtContext&, int frame)
{
    paintRotary(cr, kSmall, frame / 20.0);  // 21 frames
}

void paintSpeakerSelector(cairo_t* cr, const ArtContext&, int frame)
{
    // Three detents (drum, drum and horn, horn) marked by lamps on the well.
    static constexpr double kDetents[3] = {-55.0, 0.0, 55.0};
    const KnobGeometry& g = kSmall;
    paintWell(cr, g);
    for (int i = 0; i < 3; ++i) {
        const double a = screenAngle(kDetents[i]);
        const double x = g.cx + std::cos(a) * g.track;
        const double y = g.cy + std::sin(a) * g.track;
        if (i == frame) {
            cairo_arc(cr, x, y, 2.6, 0.0, 2.0 * kPi);
            setColour(cr, palette::kAmber, 0.3);
            cairo_fill(cr);
        }
        cairo_arc(cr, x, y, 1.4, 0.0, 2.0 * kPi);
        setColour(cr, i == frame ? palette::kAmber : Rgb{78, 68, 58});
        cairo_fill(cr);
    }
    paintCap(cr, g, kDetents[frame]);
}

}  // namespace orv::art
