// Push buttons, lit switches, readout windows and the rocker. Bitmaps used at a single place
// start from the background under them and are opaque; the rocker, used twice, keeps clear
// corners.
#include <cmath>
#include <string>

#include "ArtPainters.h"
#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

void backdropAt(cairo_t* cr, const ArtContext& ctx, const layout::Rect& r)
{
    ctx.backdrop(cr, r.left, r.top, r.width(), r.height());
}

// A square push button in a dark well; `down` lowers the cap and darkens it.
void pushCap(cairo_t* cr, double w, double h, bool down)
{
    roundedRect(cr, 1.0, 1.0, w - 2.0, h - 2.0, 3.5);
    setColour(cr, Rgb{7, 6, 6});
    cairo_fill(cr);
    const double dy = down ? 1.5 : 0.0;
    if (!down) {
        roundedRect(cr, 3.0, 4.5, w - 6.0, h - 7.0, 2.5);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
        cairo_fill(cr);
    }
    roundedRect(cr, 3.0, 3.0 + dy, w - 6.0, h - 7.5, 2.5);
    cairo_pattern_t* face = down ? verticalGradient(3.0, h - 4.0, Rgb{50, 46, 43}, Rgb{30, 28, 26})
                                 : verticalGradient(3.0, h - 4.0, Rgb{86, 79, 72}, Rgb{42, 39, 36});
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 5.0, 3.5 + dy);
    cairo_line_to(cr, w - 5.0, 3.5 + dy);
    cairo_set_source_rgba(cr, 1.0, 0.95, 0.88, down ? 0.08 : 0.22);
    cairo_stroke(cr);
}

void drawStopIcon(cairo_t* cr, double cx, double cy, Rgb colour)
{
    cairo_rectangle(cr, std::round(cx) - 3.0, std::round(cy) - 3.0, 6.0, 6.0);
    setColour(cr, colour);
    cairo_fill(cr);
}

// A circular arrow: the rotors turning.
void drawTurnIcon(cairo_t* cr, double cx, double cy, Rgb colour)
{
    const double r = 4.2;
    cairo_set_line_width(cr, 1.5);
    setColour(cr, colour);
    cairo_arc(cr, cx, cy, r, degrees(-40.0), degrees(230.0));
    cairo_stroke(cr);
    const double a = degrees(-40.0);
    const double tx = cx + r * std::cos(a);
    const double ty = cy + r * std::sin(a);
    cairo_move_to(cr, tx + 2.8, ty + 0.6);
    cairo_line_to(cr, tx - 0.6, ty + 3.2);
    cairo_line_to(cr, tx - 0.9, ty - 2.4);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A lit legend switch body: dark when off, warm when on.
void switchBody(cairo_t* cr, double x, double w, double h, bool on, Rgb litTop, Rgb litBottom)
{
    roundedRect(cr, x + 0.5, 0.5, w - 1.0, h - 1.0, 3.5);
    cairo_pattern_t* face =
        on ? verticalGradient(0.0, h, litTop, litBottom) : verticalGradient(0.0, h, Rgb{56, 52, 48}, Rgb{30, 28, 26});
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 3.0, 1.5);
    cairo_line_to(cr, x + w - 3.0, 1.5);
    cairo_set_source_rgba(cr, 1.0, 0.95, 0.88, on ? 0.25 : 0.14);
    cairo_stroke(cr);
}

// A recessed readout window with amber lettering.
void readoutWindow(cairo_t* cr, double w, double h)
{
    roundedRect(cr, 0.5, 0.5, w - 1.0, h - 1.0, 2.5);
    setColour(cr, palette::kWindow);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.55, 0.45, 0.32, 0.55);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, 2.0, 1.5);
    cairo_line_to(cr, w - 2.0, 1.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
    cairo_stroke(cr);
}

// A click-to-cycle switch: a raised dark key showing the state's name and one lamp per state.
void cycleSwitch(cairo_t* cr, const ArtContext& ctx, const layout::Rect& where, int frame, int states,
                 const char* const* names)
{
    const double w = where.width();
    const double h = where.height();
    backdropAt(cr, ctx, where);
    roundedRect(cr, 0.5, 0.5, w - 1.0, h - 1.0, 3.0);
    cairo_pattern_t* face = verticalGradient(0.0, h, Rgb{44, 40, 37}, Rgb{20, 19, 18});
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setColour(cr, palette::kBrassDark);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    const double dotsWidth = states * 4.5 + 3.0;
    for (int i = 0; i < states; ++i) {
        const double x = w - dotsWidth + 2.5 + i * 4.5;
        if (i == frame) {
            cairo_arc(cr, x, h / 2.0, 2.6, 0.0, 2.0 * kPi);
            setColour(cr, palette::kAmber, 0.3);
            cairo_fill(cr);
        }
        cairo_arc(cr, x, h / 2.0, 1.3, 0.0, 2.0 * kPi);
        setColour(cr, i == frame ? palette::kAmber : Rgb{80, 68, 56});
        cairo_fill(cr);
    }
    TextStyle text{9.0, palette::kAmber, 1.0, 0.3, 0.0};
    ctx.font.draw(cr, names[frame], (w - dotsWidth + 1.0) / 2.0, 11.0, text, Align::Centre);
}

}  // namespace

void paintStopButton(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kStop;
    backdropAt(cr, ctx, r);
    const bool on = frame == 1;  // rotors braked
    pushCap(cr, r.width(), r.height(), on);
    const double dy = on ? 1.5 : 0.0;
    lamp(cr, r.width() / 2.0, 10.0 + dy, 2.8, palette::kRed, on);
    drawStopIcon(cr, r.width() / 2.0, 24.0 + dy, on ? palette::kCream : palette::kLabel);
}

void paintSpeedButton(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kSpeed;
    backdropAt(cr, ctx, r);
    const bool down = frame == 1;  // held
    pushCap(cr, r.width(), r.height(), down);
    const double dy = down ? 1.5 : 0.0;
    lamp(cr, r.width() / 2.0, 10.0 + dy, 2.8, palette::kAmber, down);
    drawTurnIcon(cr, r.width() / 2.0, 24.0 + dy, down ? palette::kCream : palette::kLabel);
}

void paintBypass(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kBypass;
    backdropAt(cr, ctx, r);
    const bool on = frame == 1;
    switchBody(cr, 0.0, r.width(), r.height(), on, Rgb{104, 40, 26}, Rgb{62, 22, 14});
    lamp(cr, 8.0, 7.0, 2.3, palette::kRed, on);
    TextStyle text{9.0, on ? Rgb{255, 238, 218} : palette::kDimText, 1.0, 0.6, 0.0};
    ctx.font.draw(cr, "BYPASS", 34.5, 10.0, text, Align::Centre);
}

void paintCpuMode(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kCpuMode;
    backdropAt(cr, ctx, r);
    // Two halves: "LOW CPU" lit for value 0, "BRILLIANT" lit for value 1.
    static constexpr const char* kNames[2] = {"LOW CPU", "BRILLIANT"};
    const double half = r.width() / 2.0;
    for (int i = 0; i < 2; ++i) {
        const bool on = i == frame;
        switchBody(cr, i * half, half, r.height(), on, Rgb{128, 82, 30}, Rgb{78, 46, 16});
        lamp(cr, i * half + 8.0, 7.0, 2.3, palette::kAmber, on);
        // Centred between the lamp (and its glow, to x = 13) and the half's right edge, with
        // less letter spacing than the bypass switch: "BRILLIANT" nearly fills the half.
        TextStyle text{9.0, on ? Rgb{255, 226, 170} : palette::kDimText, 1.0, 0.3, 0.0};
        ctx.font.draw(cr, kNames[i], i * half + (13.0 + half) / 2.0, 10.0, text, Align::Centre);
    }
}

void paintChannel(cairo_t* cr, const ArtContext& ctx, int frame)
{
    const layout::Rect& r = layout::kChannelIndicator;
    backdropAt(cr, ctx, r);
    readoutWindow(cr, r.width(), r.height());
    // 18 frames: MIDI off, channels 1 to 16, all channels.
    std::string text = frame == 0 ? "OFF" : frame == 17 ? "OMNI" : std::to_string(frame);
    TextStyle style{frame == 0 || frame == 17 ? 9.0 : 10.0, frame == 0 ? Rgb{190, 92, 52} : palette::kAmber, 1.0, 0.0,
                    0.0};
    ctx.font.draw(cr, text, r.width() / 2.0, 11.0, style, Align::Centre);
}

void paintLeverMode(cairo_t* cr, const ArtContext& ctx, int frame)
{
    static constexpr const char* kNames[3] = {"CONT", "SNAP", "ORIG"};
    cycleSwitch(cr, ctx, layout::kLeverMode, frame, 3, kNames);
}

void paintSpeedMode(cairo_t* cr, const ArtContext& ctx, int frame)
{
    static constexpr const char* kNames[4] = {"DEFAULT", "TREM DN", "TREM UP", "TRIGGER"};
    cycleSwitch(cr, ctx, layout::kSpeedMode, frame, 4, kNames);
}

void paintRocker(cairo_t* cr, const ArtContext& ctx, int frame)
{
    (void)ctx;
    // Frames: normal, hover left, hover right, pressed left, pressed right.
    const double w = 31.0;
    const double h = 14.0;
    const int hover = frame == 1 ? 0 : frame == 2 ? 1 : -1;
    const int pressed = frame == 3 ? 0 : frame == 4 ? 1 : -1;
    roundedRect(cr, 0.5, 0.5, w - 1.0, h - 1.0, 3.0);
    setColour(cr, Rgb{6, 6, 5});
    cairo_fill(cr);
    for (int side = 0; side < 2; ++side) {
        const double x0 = side == 0 ? 1.5 : 16.0;
        const double x1 = side == 0 ? 15.0 : 29.5;
        cairo_save(cr);
        roundedRect(cr, 1.0, 1.0, w - 2.0, h - 2.0, 2.5);
        cairo_clip(cr);
        cairo_rectangle(cr, x0, 1.0, x1 - x0, h - 2.0);
        cairo_pattern_t* face = pressed == side ? verticalGradient(1.0, h - 1.0, Rgb{24, 22, 20}, Rgb{40, 37, 34})
            : hover == side                     ? verticalGradient(1.0, h - 1.0, Rgb{92, 84, 76}, Rgb{52, 48, 44})
                                                : verticalGradient(1.0, h - 1.0, Rgb{66, 61, 56}, Rgb{36, 33, 31});
        cairo_set_source(cr, face);
        cairo_fill(cr);
        cairo_pattern_destroy(face);
        cairo_restore(cr);
        const double cx = (x0 + x1) / 2.0 + (side == 0 ? -0.5 : 0.5);
        const double cy = h / 2.0 + (pressed == side ? 0.5 : 0.0);
        const double dir = side == 0 ? -1.0 : 1.0;
        if (pressed == side) {
            cairo_arc(cr, cx, cy, 4.5, 0.0, 2.0 * kPi);
            setColour(cr, palette::kAmber, 0.22);
            cairo_fill(cr);
        }
        cairo_move_to(cr, cx + dir * 3.0, cy);
        cairo_line_to(cr, cx - dir * 2.0, cy - 3.5);
        cairo_line_to(cr, cx - dir * 2.0, cy + 3.5);
        cairo_close_path(cr);
        setColour(cr, pressed == side ? palette::kAmber : hover == side ? Rgb{255, 242, 220} : palette::kLabel);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 15.5, 1.0);
    cairo_line_to(cr, 15.5, h - 1.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
    cairo_stroke(cr);
}

}  // namespace orv::art
