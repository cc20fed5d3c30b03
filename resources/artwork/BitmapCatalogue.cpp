#include "BitmapCatalogue.h"

#include "ArtPainters.h"

namespace orv::art {

const std::vector<BitmapSpec>& bitmapCatalogue()
{
    static const std::vector<BitmapSpec> specs = {
        {4000, 448, 696, 1, "4000 background", paintBackground},
        {3999, 448, 696, 1, "3999 about picture", paintAbout},
        {2002, 44, 44, 101, "2002 knob", paintKnob},
        {4110, 28, 28, 3, "4110 speaker selector", paintSpeakerSelector},
        {4111, 28, 28, 21, "4111 small knob", paintSmallKnob},
        {2003, 26, 36, 2, "2003 stop", paintStopButton},
        {2004, 27, 36, 2, "2004 speed", paintSpeedButton},
        {2005, 55, 186, 65, "2005 lever", paintLever},
        {2008, 298, 12, 1, "2008 horn strip", paintHornStrip},
        {2009, 120, 14, 1, "2009 horn handle", paintHornHandle},
        {2013, 298, 12, 1, "2013 drum strip", paintDrumStrip},
        {2010, 120, 14, 1, "2010 drum handle", paintDrumHandle},
        {4001, 58, 14, 2, "4001 bypass", paintBypass},
        {4002, 140, 14, 2, "4002 cpu mode", paintCpuMode},
        {4005, 30, 14, 18, "4005 midi channel", paintChannel},
        {4200, 56, 15, 3, "4200 lever mode", paintLeverMode},
        {4201, 82, 15, 4, "4201 speed mode", paintSpeedMode},
        {19997, 31, 14, 5, "19997 rocker", paintRocker},
        {19999, 12, 14, 3, "19999 save", paintSaveButton},
        {19998, 12, 14, 3, "19998 load", paintLoadButton},
        {19990, 36, 15, 3, "19990 default bank", paintBankDefault},
        {19899, 42, 15, 3, "19899 default preset", paintPresetDefault},
        {994, 36, 15, 3, "994 default midi", paintMidiDefault},
        {998, 22, 15, 3, "998 learn", paintLearn},
        {999, 22, 15, 3, "999 forget", paintForget},
        {989, 18, 15, 3, "989 manual", paintManual},
    };
    return specs;
}

cairo_surface_t* renderBitmap(const BitmapSpec& bitmap, const ArtContext& ctx)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.frameHeight * bitmap.frames);
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < bitmap.frames; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, 0.0, static_cast<double>(frame) * bitmap.frameHeight);
        cairo_rectangle(cr, 0.0, 0.0, bitmap.width, bitmap.frameHeight);
        cairo_clip(cr);
        bitmap.paint(cr, ctx, frame);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

}  // namespace orv::art
