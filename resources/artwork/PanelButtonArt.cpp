// The small keys of the preset and MIDI panel. Three frames each: normal, under the mouse,
// and pressed (or, for learn and forget, switched on). The corners stay clear because most
// of these bitmaps are used at several places.
#include <cmath>

#include "ArtPainters.h"
#include "Palette.h"

namespace orv::art {

namespace {

enum class KeyState { Normal, Hover, Active };

KeyState stateOf(int frame) { return frame == 0 ? KeyState::Normal : frame == 1 ? KeyState::Hover : KeyState::Active; }

// Frame size of the three-frame keys, by bitmap.
struct KeySize {
    double w, h;
};

// Draws the key body and returns the colour for its legend.
Rgb keyBody(cairo_t* cr, KeySize s, KeyState state, Rgb activeTop, Rgb activeBottom)
{
    roundedRect(cr, 0.5, 0.5, s.w - 1.0, s.h - 1.0, 2.5);
    cairo_pattern_t* face = nullptr;
    switch (state) {
    case KeyState::Normal: face = verticalGradient(0.0, s.h, Rgb{60, 55, 50}, Rgb{34, 31, 29}); break;
    case KeyState::Hover: face = verticalGradient(0.0, s.h, Rgb{92, 84, 75}, Rgb{52, 47, 43}); break;
    case KeyState::Active: face = verticalGradient(0.0, s.h, activeTop, activeBottom); break;
    }
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.95);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, 2.5, 1.5);
    cairo_line_to(cr, s.w - 2.5, 1.5);
    cairo_set_source_rgba(cr, 1.0, 0.95, 0.88, state == KeyState::Active ? 0.3 : 0.16);
    cairo_stroke(cr);
    switch (state) {
    case KeyState::Normal: return palette::kLabel;
    case KeyState::Hover: return Rgb{255, 244, 224};
    case KeyState::Active: return Rgb{255, 246, 226};
    }
    return palette::kLabel;
}

constexpr Rgb kAmberTop{176, 108, 34};
constexpr Rgb kAmberBottom{112, 62, 18};

void textKey(cairo_t* cr, const ArtContext& ctx, KeySize s, int frame, const char* text, Rgb activeTop = kAmberTop,
             Rgb activeBottom = kAmberBottom)
{
    const Rgb ink = keyBody(cr, s, stateOf(frame), activeTop, activeBottom);
    TextStyle style{9.0, ink, 1.0, 0.5, 0.0};
    ctx.font.draw(cr, text, s.w / 2.0 + 0.25, s.h / 2.0 + 3.5, style, Align::Centre);
}

// Arrow into (save) or out of (load) a tray, drawn on whole pixels.
void trayIcon(cairo_t* cr, KeySize s, bool into, Rgb ink)
{
    const double cx = std::floor(s.w / 2.0);
    setColour(cr, ink);
    // Tray: a U of one-pixel lines near the bottom.
    cairo_rectangle(cr, cx - 4.0, 8.0, 1.0, 3.0);
    cairo_rectangle(cr, cx + 3.0, 8.0, 1.0, 3.0);
    cairo_rectangle(cr, cx - 4.0, 10.0, 8.0, 1.0);
    cairo_fill(cr);
    // Arrow shaft and head.
    if (into) {
        cairo_rectangle(cr, cx - 0.5, 2.0, 1.0, 4.0);
        cairo_fill(cr);
        cairo_move_to(cr, cx - 3.0, 5.0);
        cairo_line_to(cr, cx + 3.0, 5.0);
        cairo_line_to(cr, cx, 8.5);
    } else {
        cairo_rectangle(cr, cx - 0.5, 5.0, 1.0, 4.0);
        cairo_fill(cr);
        cairo_move_to(cr, cx - 3.0, 5.5);
        cairo_line_to(cr, cx + 3.0, 5.5);
        cairo_line_to(cr, cx, 2.0);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

}  // namespace

void paintSaveButton(cairo_t* cr, const ArtContext&, int frame)
{
    const KeySize s{12.0, 14.0};
    const Rgb ink = keyBody(cr, s, stateOf(frame), kAmberTop, kAmberBottom);
    trayIcon(cr, s, true, ink);
}

void paintLoadButton(cairo_t* cr, const ArtContext&, int frame)
{
    const KeySize s{12.0, 14.0};
    const Rgb ink = keyBody(cr, s, stateOf(frame), kAmberTop, kAmberBottom);
    trayIcon(cr, s, false, ink);
}

void paintBankDefault(cairo_t* cr, const ArtContext& ctx, int frame) { textKey(cr, ctx, {36.0, 15.0}, frame, "BANK"); }

void paintPresetDefault(cairo_t* cr, const ArtContext& ctx, int frame)
{
    textKey(cr, ctx, {42.0, 15.0}, frame, "PRESET");
}

void paintMidiDefault(cairo_t* cr, const ArtContext& ctx, int frame) { textKey(cr, ctx, {36.0, 15.0}, frame, "MIDI"); }

void paintLearn(cairo_t* cr, const ArtContext& ctx, int frame) { textKey(cr, ctx, {22.0, 15.0}, frame, "LRN"); }

void paintForget(cairo_t* cr, const ArtContext& ctx, int frame)
{
    textKey(cr, ctx, {22.0, 15.0}, frame, "FGT", Rgb{170, 52, 36}, Rgb{110, 28, 18});
}

void paintManual(cairo_t* cr, const ArtContext& ctx, int frame) { textKey(cr, ctx, {18.0, 15.0}, frame, "?"); }

}  // namespace orv::art
