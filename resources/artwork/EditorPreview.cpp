#include "EditorPreview.h"

#include <map>

#include "Palette.h"
#include "PanelLayout.h"

namespace orv::art {

namespace {

using layout::Rect;

struct Sample {
    int tag;
    double value;
    const char* text;
    const char* second;  // second readout line, or nullptr
};

// Typical settings with the texts the editor would show for them.
// clang-format off
constexpr Sample kSamples[] = {
    {17, 0.1, "1.00 Hz", nullptr},   {18, 0.6, "6.00 Hz", nullptr},   {19, 0.349485, "500 ms", nullptr},
    {20, 0.349485, "500 ms", nullptr}, {21, 0.5, "65 cm", nullptr},   {22, 0.0, "Off", nullptr},
    {23, 0.5, "0.0 dB", nullptr},    {5, 0.5, "0.0 dB", nullptr},     {6, 0.5, "0.0 dB", nullptr},
    {7, 0.5, "0.0 dB", nullptr},     {8, 0.5, "0.0 dB", nullptr},     {9, 0.5, "0.0 dB", nullptr},
    {10, 0.25, "Front", "Diagonal"}, {11, 0.5, "0.0 dB", nullptr},    {12, 0.5, "Tube", nullptr},
    {13, 0.5, "0.0 dB", nullptr},    {14, 0.5, "3", nullptr},         {15, 0.5, "50.0 %", nullptr},
    {16, 0.5, "0.0 dB", nullptr},    {24, 0.1, "1.00 Hz", nullptr},   {25, 0.6, "6.00 Hz", nullptr},
    {26, 0.650514, "2.00 s", nullptr}, {27, 0.650514, "2.00 s", nullptr}, {28, 0.5, "65 cm", nullptr},
    {29, 1.0, "Off", nullptr},       {30, 0.5, "0.0 dB", nullptr},    {35, 0.5, "100.0 %", nullptr},
    {36, 0.5, "C", nullptr},         {37, 0.5, "50.0 %", nullptr},    {38, 0.5, "0.0 dB", nullptr},
    {31, 0.5, "Drum+Horn", nullptr}, {32, 0.5, "0.0 dB", nullptr},    {33, 0.5, "0.0 dB", nullptr},
    {34, 0.5, "50:50", nullptr},
};
// clang-format on

class Composer {
public:
    Composer(const std::string& dir, cairo_t* cr) : dir_(dir), cr_(cr) {}
    ~Composer()
    {
        for (auto& [id, s] : images_) cairo_surface_destroy(s);
    }

    bool ok() const { return ok_; }

    // Draws frame `frame` of bitmap `id` (frame height h) into the rectangle.
    void frame(int id, int frame, int h, const Rect& r, double srcX = 0.0)
    {
        cairo_surface_t* img = image(id);
        if (img == nullptr) return;
        cairo_save(cr_);
        cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
        cairo_clip(cr_);
        cairo_set_source_surface(cr_, img, r.left + srcX, r.top - static_cast<double>(frame) * h);
        cairo_paint(cr_);
        cairo_restore(cr_);
    }

private:
    cairo_surface_t* image(int id)
    {
        auto it = images_.find(id);
        if (it != images_.end()) return it->second;
        const std::string path = dir_ + "/bitmap_" + std::to_string(id) + ".png";
        cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(s);
            ok_ = false;
            return nullptr;
        }
        images_[id] = s;
        return s;
    }

    std::string dir_;
    cairo_t* cr_;
    std::map<int, cairo_surface_t*> images_;
    bool ok_ = true;
};

void displayText(cairo_t* cr, const ArtFont& font, const char* text, const Rect& r, Rgb colour = Rgb{255, 255, 255})
{
    TextStyle style{9.0, colour, 1.0, 0.0, 0.0};
    font.draw(cr, text, r.centreX(), r.top + 8.5, style, Align::Centre);
}

}  // namespace

cairo_surface_t* composeEditorPreview(const std::string& dir, const ArtFont& font)
{
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout::kEditorWidth, layout::kEditorHeight);
    cairo_t* cr = cairo_create(out);
    bool ok = true;
    {
        Composer c(dir, cr);
        c.frame(4000, 0, layout::kEditorHeight, Rect{0, 0, layout::kEditorWidth, layout::kEditorHeight});
        for (const Sample& s : kSamples) {
            for (const auto& k : layout::kKnobs) {
                if (k.tag != s.tag) continue;
                const int frames = k.kind == layout::KnobKind::Large ? 101 : k.kind == layout::KnobKind::Small ? 21 : 3;
                const int id = k.kind == layout::KnobKind::Large ? 2002
                    : k.kind == layout::KnobKind::Small          ? 4111
                                                                 : 4110;
                c.frame(id, static_cast<int>((frames - 1) * s.value + 0.5), k.knob.height(), k.knob);
                Rect first = k.display;
                first.bottom = first.top + 11;
                displayText(cr, font, s.text, first);
                if (s.second != nullptr) {
                    displayText(cr, font, s.second, Rect{first.left, first.bottom, first.right, first.bottom + 11});
                }
            }
        }
        c.frame(2003, 0, 36, layout::kStop);
        c.frame(2004, 0, 36, layout::kSpeed);
        c.frame(2005, 64, 186, layout::kLever);  // lever at chorale
        // Horn handle slightly left of centre, drum handle entering from the right.
        c.frame(2008, 0, 12, layout::kHornMarker);
        c.frame(2009, 0, 14, layout::kHornMarker, 60.0);
        c.frame(2013, 0, 12, layout::kDrumMarker);
        c.frame(2010, 0, 14, layout::kDrumMarker, 230.0);
        c.frame(19997, 0, 14, layout::kChannelRocker);
        c.frame(4005, 1, 14, layout::kChannelIndicator);
        c.frame(4001, 0, 14, layout::kBypass);
        c.frame(4002, 1, 14, layout::kCpuMode);
        c.frame(4200, 0, 15, layout::kLeverMode);
        c.frame(4201, 0, 15, layout::kSpeedMode);
        c.frame(19997, 0, 14, layout::kProgramRocker);
        c.frame(19999, 0, 14, layout::kSaveBank);
        c.frame(19990, 0, 15, layout::kDefaultBank);
        c.frame(19998, 0, 14, layout::kLoadBank);
        c.frame(19999, 0, 14, layout::kSavePreset);
        c.frame(19899, 1, 15, layout::kDefaultPreset);
        c.frame(19998, 0, 14, layout::kLoadPreset);
        c.frame(19999, 0, 14, layout::kStoreMemoA);
        c.frame(19998, 0, 14, layout::kRecallMemoA);
        c.frame(19999, 0, 14, layout::kStoreMemoB);
        c.frame(19998, 0, 14, layout::kRecallMemoB);
        c.frame(989, 0, 15, layout::kManual);
        c.frame(19999, 0, 14, layout::kSaveMidi);
        c.frame(994, 0, 15, layout::kDefaultMidi);
        c.frame(19998, 0, 14, layout::kLoadMidi);
        c.frame(998, 2, 15, layout::kLearn);
        c.frame(999, 0, 15, layout::kForget);
        displayText(cr, font, "mod wheel", layout::kMidiDisplay, Rgb{0, 0, 0});
        TextStyle name{11.0, Rgb{0, 0, 0}, 1.0, 0.0, 0.0};
        font.draw(cr, "Default", layout::kNameField.centreX(), 690.0, name, Align::Centre);
        ok = c.ok();
    }
    cairo_destroy(cr);
    if (!ok) {
        cairo_surface_destroy(out);
        return nullptr;
    }
    return out;
}

}  // namespace orv::art
