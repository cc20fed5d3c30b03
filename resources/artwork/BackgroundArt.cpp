// The editor background: a walnut cabinet carrying charcoal control plates with brass trim.
// Every knob, button and readout gets its lettering, socket and window here, placed from the
// control rectangles, so the panel and the controls drawn over it line up.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>
#include <initializer_list>

#include "ArtPainters.h"
#include "Materials.h"
#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

using layout::KnobKind;
using layout::Rect;

const layout::KnobPlace& knob(int tag)
{
    for (const auto& k : layout::kKnobs) {
        if (k.tag == tag) return k;
    }
    return layout::kKnobs[0];
}

double knobCentreX(const layout::KnobPlace& k) { return k.knob.left + k.knob.width() / 2.0; }

double wellRadius(const layout::KnobPlace& k) { return k.kind == KnobKind::Large ? 21.5 : 13.6; }

void plate(cairo_t* cr, int x, int y, int w, int h, const Shader& shade)
{
    // Shadow on the wood, then the plate, its bevel and a brass hairline.
    roundedRect(cr, x - 1.5, y - 0.5, w + 3.0, h + 3.0, 6.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, 5.0);
    fillWithTexture(cr, x, y, w, h, shade);
    roundedRect(cr, x + 0.5, y + 0.5, w - 1.0, h - 1.0, 4.5);
    cairo_pattern_t* bevel = verticalGradient(y, y + h, Rgb{255, 236, 200}, Rgb{0, 0, 0}, 0.16, 0.5);
    cairo_set_source(cr, bevel);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(bevel);
    roundedRect(cr, x + 3.5, y + 3.5, w - 7.0, h - 7.0, 3.0);
    setColour(cr, palette::kBrass, 0.22);
    cairo_stroke(cr);
}

// A group heading: the name centred over the group, with brass rules reaching its ends.
void heading(cairo_t* cr, const ArtContext& ctx, const char* text, double x0, double x1, double baseline)
{
    TextStyle style{9.0, palette::kHeading, 1.0, 1.6, 0.25};
    const double mid = (x0 + x1) / 2.0;
    const double half = ctx.font.width(cr, text, style.size, style.tracking) / 2.0;
    const double y = std::floor(baseline - 3.0) + 0.5;
    cairo_set_line_width(cr, 1.0);
    setColour(cr, palette::kBrass, 0.55);
    if (mid - half - 5.0 > x0 + 2.0) {
        cairo_move_to(cr, x0 + 0.5, y + 3.0);
        cairo_line_to(cr, x0 + 0.5, y);
        cairo_line_to(cr, std::floor(mid - half - 5.0) + 0.5, y);
        cairo_move_to(cr, std::ceil(mid + half + 5.0) - 0.5, y);
        cairo_line_to(cr, x1 - 0.5, y);
        cairo_line_to(cr, x1 - 0.5, y + 3.0);
        cairo_stroke(cr);
    }
    ctx.font.drawEngraved(cr, text, mid, baseline, style, Align::Centre);
}

void label(cairo_t* cr, const ArtContext& ctx, const char* text, double cx, double baseline,
           Rgb colour = palette::kLabel, double tracking = 0.2)
{
    TextStyle style{9.0, colour, 1.0, tracking, 0.0};
    ctx.font.drawEngraved(cr, text, cx, baseline, style, Align::Centre);
}

// A recessed window for a value readout (white text is drawn into it by the editor). Readout
// rectangles of neighbouring knobs overlap by a few pixels; each window stops half-way into the
// overlap, with a one-pixel gap, so the windows stay apart.
void readout(cairo_t* cr, const layout::KnobPlace& k)
{
    double left = k.display.left;
    double right = k.display.right;
    for (const auto& other : layout::kKnobs) {
        if (&other == &k || other.display.top != k.display.top) continue;
        if (other.display.left < k.display.right && other.display.left > k.display.left) {
            right = std::min(right, (other.display.left + k.display.right) / 2.0);
        }
        if (other.display.right > k.display.left && other.display.right < k.display.right) {
            left = std::max(left, (k.display.left + other.display.right) / 2.0);
        }
    }
    const Rect r{static_cast<int>(std::ceil(left)) + 1, k.display.top, static_cast<int>(std::floor(right)) - 1,
                 k.display.bottom};
    roundedRect(cr, r.left, r.top, r.width(), r.height(), 2.0);
    setColour(cr, palette::kWindow);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, r.left + 2.0, r.top + 0.5);
    cairo_line_to(cr, r.right - 2.0, r.top + 0.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.9);
    cairo_stroke(cr);
    cairo_move_to(cr, r.left + 2.0, r.bottom + 0.5);
    cairo_line_to(cr, r.right - 2.0, r.bottom + 0.5);
    cairo_set_source_rgba(cr, 1.0, 0.93, 0.82, 0.07);
    cairo_stroke(cr);
}

// A light window for the panel's black-lettered fields.
void lcd(cairo_t* cr, const Rect& r)
{
    roundedRect(cr, r.left - 1.0, r.top - 1.0, r.width() + 2.0, r.height() + 2.0, 2.5);
    setColour(cr, Rgb{4, 4, 4});
    cairo_fill(cr);
    roundedRect(cr, r.left, r.top, r.width(), r.height(), 2.0);
    cairo_pattern_t* face = verticalGradient(r.top, r.bottom, Rgb{212, 200, 172}, palette::kLcd);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
}

// The dark ring a knob's well sits in.
void socket(cairo_t* cr, const layout::KnobPlace& k)
{
    const double cx = knobCentreX(k);
    const double cy = k.knob.top + k.knob.height() / 2.0;
    const double r = wellRadius(k);
    softDisc(cr, cx, cy + 1.2, r + 0.3, 1.4, 0.8);
}

void rotorTitle(cairo_t* cr, const ArtContext& ctx, const char* text, const Rect& strip)
{
    // Bezel round the strip and the rotor's name to its left.
    roundedRect(cr, strip.left - 1.5, strip.top - 1.5, strip.width() + 3.0, strip.height() + 3.0, 2.5);
    setColour(cr, Rgb{3, 3, 3});
    cairo_fill(cr);
    roundedRect(cr, strip.left - 2.5, strip.top - 2.5, strip.width() + 5.0, strip.height() + 5.0, 3.0);
    setColour(cr, palette::kBrass, 0.6);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    TextStyle style{10.0, palette::kHeading, 1.0, 1.4, 0.3};
    ctx.font.drawEngraved(cr, text, (11.0 + strip.left - 4.0) / 2.0, strip.bottom - 1.5, style, Align::Centre);
}

// Knob labels of a row, each centred over its knob. Where two neighbours would come closer
// than kLabelGap, the wider of the two is set tighter (no letter spacing, then a smaller
// size) until they keep the gap or it is as small as it gets.
void knobRow(cairo_t* cr, const ArtContext& ctx, std::initializer_list<int> tags, double labelBaseline)
{
    struct Fit {
        double size, tracking;
    };
    static constexpr Fit kFits[] = {{9.0, 0.2}, {9.0, 0.0}, {8.5, 0.0}, {8.0, 0.0}};
    static constexpr int kTightest = static_cast<int>(std::size(kFits)) - 1;
    constexpr double kLabelGap = 6.0;  // pixels between neighbouring labels
    std::vector<const layout::KnobPlace*> row;
    for (int tag : tags) row.push_back(&knob(tag));
    std::vector<int> fit(row.size(), 0);
    auto width = [&](size_t i) {
        return ctx.font.width(cr, row[i]->label, kFits[fit[i]].size, kFits[fit[i]].tracking);
    };
    for (size_t i = 0; i + 1 < row.size(); ++i) {
        const double spacing = knobCentreX(*row[i + 1]) - knobCentreX(*row[i]);
        while ((width(i) + width(i + 1)) / 2.0 + kLabelGap > spacing) {
            const size_t wider = width(i) >= width(i + 1) ? i : i + 1;
            if (fit[wider] == kTightest) break;
            ++fit[wider];
        }
    }
    for (size_t i = 0; i < row.size(); ++i) {
        const layout::KnobPlace& k = *row[i];
        socket(cr, k);
        readout(cr, k);
        TextStyle style{kFits[fit[i]].size, palette::kLabel, 1.0, kFits[fit[i]].tracking, 0.0};
        ctx.font.drawEngraved(cr, k.label, knobCentreX(k), labelBaseline, style, Align::Centre);
    }
}

void logo(cairo_t* cr, const ArtContext& ctx)
{
    const Rect& hot = layout::kAboutHotArea;
    TextStyle sub{9.0, palette::kDimText, 1.0, 2.4, 0.0};
    ctx.font.drawEngraved(cr, "ROTARY SPEAKER CABINET", hot.centreX(), hot.top - 9.0, sub, Align::Centre);
    // Brass lettering with a dark drop shadow.
    const double baseline = hot.bottom - 5.0;
    cairo_save(cr);
    cairo_translate(cr, 0.0, 1.2);
    ctx.font.path(cr, "ORV GYROLA 2", hot.centreX(), baseline, 18.0, 2.6, Align::Centre);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
    ctx.font.path(cr, "ORV GYROLA 2", hot.centreX(), baseline, 18.0, 2.6, Align::Centre);
    cairo_pattern_t* brass = verticalGradient(baseline - 13.0, baseline, palette::kBrassLight, palette::kBrassDark);
    cairo_set_source(cr, brass);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(brass);
    cairo_set_line_width(cr, 0.4);
    setColour(cr, palette::kBrassLight, 0.5);
    cairo_stroke(cr);
}

void grille(cairo_t* cr, const ArtContext& ctx)
{
    const int x = 222, y = 133, w = 114, h = 45;
    roundedRect(cr, x - 2.0, y - 2.0, w + 4.0, h + 4.0, 4.0);
    setColour(cr, Rgb{6, 5, 5});
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, 3.0);
    fillWithTexture(cr, x, y, w, h, grilleShade);
    // Soft vignette on the cloth.
    cairo_pattern_t* v =
        cairo_pattern_create_radial(x + w / 2.0, y + h / 2.0, 10.0, x + w / 2.0, y + h / 2.0, w * 0.65);
    cairo_pattern_add_color_stop_rgba(v, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(v, 1.0, 0, 0, 0, 0.6);
    cairo_set_source(cr, v);
    roundedRect(cr, x, y, w, h, 3.0);
    cairo_fill(cr);
    cairo_pattern_destroy(v);
    roundedRect(cr, x - 2.5, y - 2.5, w + 5.0, h + 5.0, 4.0);
    setColour(cr, palette::kBrass, 0.5);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    // Maker's badge.
    const double bx = x + w / 2.0 - 29.0;
    const double by = y + h / 2.0 - 7.0;
    roundedRect(cr, bx, by, 58.0, 14.0, 2.5);
    cairo_pattern_t* badge = verticalGradient(by, by + 14.0, palette::kBrassLight, palette::kBrassDark);
    cairo_set_source(cr, badge);
    cairo_fill(cr);
    cairo_pattern_destroy(badge);
    TextStyle maker{9.0, Rgb{40, 26, 12}, 1.0, 1.2, 0.0};
    ctx.font.draw(cr, "ORVALINE", bx + 29.0, by + 10.5, maker, Align::Centre);
}

void bottomPanel(cairo_t* cr, const ArtContext& ctx)
{
    const int top = 645;
    cairo_rectangle(cr, 0, top, layout::kEditorWidth, layout::kEditorHeight - top);
    fillWithTexture(cr, 0, top, layout::kEditorWidth, layout::kEditorHeight - top, stripShade);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 0, top + 0.5);
    cairo_line_to(cr, layout::kEditorWidth, top + 0.5);
    setColour(cr, palette::kBrass, 0.7);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, top - 0.5);
    cairo_line_to(cr, layout::kEditorWidth, top - 0.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_stroke(cr);

    // Recesses that group each save / default / load trio.
    auto recess = [cr](const Rect& first, const Rect& last) {
        roundedRect(cr, first.left - 1.5, first.top - 1.5, last.right - first.left + 3.0,
                    std::max(first.height(), last.height()) + 3.0, 3.0);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
        cairo_fill(cr);
    };
    recess(layout::kSaveMidi, layout::kLoadMidi);
    recess(layout::kSaveBank, layout::kLoadBank);
    recess(layout::kSavePreset, layout::kLoadPreset);
    recess(layout::kStoreMemoA, layout::kRecallMemoA);
    recess(layout::kStoreMemoB, layout::kRecallMemoB);
    recess(layout::kChannelIndicator, layout::kChannelRocker);
    recess(layout::kLearn, layout::kForget);

    const double labels = 655.0;
    label(cr, ctx, "MIDI MAP", (layout::kSaveMidi.left + layout::kLoadMidi.right) / 2.0, labels);
    label(cr, ctx, "CHANNEL", (layout::kChannelIndicator.left + layout::kChannelRocker.right) / 2.0, labels);
    label(cr, ctx, "CONTROLLER", layout::kMidiDisplay.centreX(), labels);
    label(cr, ctx, "MIDI LEARN", (layout::kLearn.left + layout::kForget.right) / 2.0, labels);
    label(cr, ctx, "LEVER", layout::kLeverMode.centreX(), labels);
    label(cr, ctx, "SPEED CTRL", layout::kSpeedMode.centreX(), labels);

    lcd(cr, layout::kMidiDisplay);
    lcd(cr, layout::kNameField);

    // The program menu draws nothing itself: a key with a drop-down arrow.
    const Rect& m = layout::kProgramMenu;
    roundedRect(cr, m.left + 0.5, m.top + 0.5, m.width() - 1.0, m.height() - 1.0, 2.0);
    cairo_pattern_t* face = verticalGradient(m.top, m.bottom, Rgb{66, 61, 56}, Rgb{34, 31, 29});
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.95);
    cairo_stroke(cr);
    cairo_move_to(cr, m.centreX() - 3.5, m.centreY() - 1.5);
    cairo_line_to(cr, m.centreX() + 3.5, m.centreY() - 1.5);
    cairo_line_to(cr, m.centreX(), m.centreY() + 2.5);
    cairo_close_path(cr);
    setColour(cr, palette::kLabel);
    cairo_fill(cr);

    TextStyle memo{10.0, palette::kHeading, 1.0, 0.0, 0.3};
    ctx.font.drawEngraved(cr, "A", (layout::kStoreMemoA.right + layout::kRecallMemoA.left) / 2.0 + 0.5, 690.0, memo,
                          Align::Centre);
    ctx.font.drawEngraved(cr, "B", (layout::kStoreMemoB.right + layout::kRecallMemoB.left) / 2.0 + 0.5, 690.0, memo,
                          Align::Centre);
}

}  // namespace

void paintBackground(cairo_t* cr, const ArtContext& ctx, int)
{
    // Cabinet.
    cairo_rectangle(cr, 0, 0, layout::kEditorWidth, layout::kEditorHeight);
    fillWithTexture(cr, 0, 0, layout::kEditorWidth, layout::kEditorHeight, walnutShade);
    cairo_pattern_t* vignette = cairo_pattern_create_radial(224.0, 348.0, 150.0, 224.0, 348.0, 470.0);
    cairo_pattern_add_color_stop_rgba(vignette, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(vignette, 1.0, 0, 0, 0, 0.55);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);

    // Plates: horn, cabinet voice, amplifier and room, lever, drum, output.
    plate(cr, 5, 5, 438, 117, plateShade);
    plate(cr, 5, 126, 339, 155, plateShade);
    plate(cr, 5, 285, 339, 88, plateShade);
    plate(cr, 348, 126, 95, 277, plateShade);
    plate(cr, 5, 406, 438, 108, plateShade);
    plate(cr, 5, 524, 438, 118, plateShade);

    // Horn rotor.
    rotorTitle(cr, ctx, "HORN", layout::kHornMarker);
    heading(cr, ctx, "SPEED", knob(17).knob.left, knob(18).knob.right, 42.0);
    heading(cr, ctx, "RAMP TIME", knob(19).knob.left, knob(20).knob.right, 42.0);
    heading(cr, ctx, "SOUND", knob(21).knob.left, knob(23).knob.right, 42.0);
    knobRow(cr, ctx, {17, 18, 19, 20, 21, 22, 23}, 53.0);

    // Logo (the about view opens from it), grille, mechanics, tone and microphones.
    logo(cr, ctx);
    grille(cr, ctx);
    heading(cr, ctx, "MOTOR", knob(5).display.left, knob(5).display.right, 192.0);
    heading(cr, ctx, "EQUALIZER", knob(6).knob.left, knob(9).knob.right, 192.0);
    heading(cr, ctx, "MICS", knob(10).display.left, knob(10).display.right, 192.0);
    knobRow(cr, ctx, {5, 6, 7, 8, 9, 10}, 202.0);

    // Amplifier and room.
    heading(cr, ctx, "AMPLIFIER", knob(11).knob.left, knob(13).knob.right, 293.0);
    heading(cr, ctx, "ROOM", knob(14).knob.left, knob(16).knob.right, 293.0);
    knobRow(cr, ctx, {11, 12, 13, 14, 15, 16}, 303.0);

    // Lever, speed and stop.
    const Rect& lever = layout::kLever;
    heading(cr, ctx, "LEVER", lever.left, lever.right, 143.0);
    TextStyle side{9.0, palette::kDimText, 1.0, 0.0, 0.0};
    ctx.font.drawEngraved(cr, "STOP", lever.right + 1.0, lever.top + 95.0 + 3.5, side, Align::Left);
    label(cr, ctx, "FAST", layout::kSpeed.centreX(), layout::kSpeed.bottom + 10.0, palette::kLabel, 0.0);
    label(cr, ctx, "STOP", layout::kStop.centreX(), layout::kSpeed.bottom + 10.0, palette::kLabel, 0.0);

    // Drum rotor.
    rotorTitle(cr, ctx, "DRUM", layout::kDrumMarker);
    heading(cr, ctx, "SPEED", knob(24).knob.left, knob(25).knob.right, 434.0);
    heading(cr, ctx, "RAMP TIME", knob(26).knob.left, knob(27).knob.right, 434.0);
    heading(cr, ctx, "SOUND", knob(28).knob.left, knob(30).knob.right, 434.0);
    knobRow(cr, ctx, {24, 25, 26, 27, 28, 29, 30}, 445.0);

    // Cabinet set-up and output.
    heading(cr, ctx, "CABINET", knob(31).display.left, knob(34).display.right, 547.0);
    heading(cr, ctx, "OUTPUT", knob(35).knob.left, knob(38).knob.right, 547.0);
    knobRow(cr, ctx, {31, 32, 33, 34, 35, 36, 37, 38}, 561.0);
    label(cr, ctx, "MODE", layout::kCpuMode.left - 20.0, layout::kCpuMode.bottom - 4.0);

    bottomPanel(cr, ctx);
}

}  // namespace orv::art
