#pragma once

#include <cairo.h>

#include "ArtContext.h"

// One painter per bitmap; each paints frame `frame` at the origin, the frame's own size.
namespace orv::art {

void paintBackground(cairo_t* cr, const ArtContext& ctx, int frame);  // 4000
void paintAbout(cairo_t* cr, const ArtContext& ctx, int frame);       // 3999

void paintKnob(cairo_t* cr, const ArtContext& ctx, int frame);             // 2002
void paintSpeakerSelector(cairo_t* cr, const ArtContext& ctx, int frame);  // 4110
void paintSmallKnob(cairo_t* cr, const ArtContext& ctx, int frame);        // 4111

void paintStopButton(cairo_t* cr, const ArtContext& ctx, int frame);   // 2003
void paintSpeedButton(cairo_t* cr, const ArtContext& ctx, int frame);  // 2004
void paintLever(cairo_t* cr, const ArtContext& ctx, int frame);        // 2005

void paintHornStrip(cairo_t* cr, const ArtContext& ctx, int frame);   // 2008
void paintHornHandle(cairo_t* cr, const ArtContext& ctx, int frame);  // 2009
void paintDrumHandle(cairo_t* cr, const ArtContext& ctx, int frame);  // 2010
void paintDrumStrip(cairo_t* cr, const ArtContext& ctx, int frame);   // 2013

void paintBypass(cairo_t* cr, const ArtContext& ctx, int frame);     // 4001
void paintCpuMode(cairo_t* cr, const ArtContext& ctx, int frame);    // 4002
void paintChannel(cairo_t* cr, const ArtContext& ctx, int frame);    // 4005
void paintLeverMode(cairo_t* cr, const ArtContext& ctx, int frame);  // 4200
void paintSpeedMode(cairo_t* cr, const ArtContext& ctx, int frame);  // 4201
void paintRocker(cairo_t* cr, const ArtContext& ctx, int frame);     // 19997

void paintSaveButton(cairo_t* cr, const ArtContext& ctx, int frame);     // 19999
void paintLoadButton(cairo_t* cr, const ArtContext& ctx, int frame);     // 19998
void paintBankDefault(cairo_t* cr, const ArtContext& ctx, int frame);    // 19990
void paintPresetDefault(cairo_t* cr, const ArtContext& ctx, int frame);  // 19899
void paintMidiDefault(cairo_t* cr, const ArtContext& ctx, int frame);    // 994
void paintLearn(cairo_t* cr, const ArtContext& ctx, int frame);          // 998
void paintForget(cairo_t* cr, const ArtContext& ctx, int frame);         // 999
void paintManual(cairo_t* cr, const ArtContext& ctx, int frame);         // 989

}  // namespace orv::art
