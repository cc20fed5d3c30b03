// The embedded artwork and font: every bitmap the editor loads is present, decodes, has the
// size and frame count its controls are built for, and its frames show distinct states.
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/EmbeddedResources.h"

namespace {

// Bitmap ids with their frame size and frame count, as the editor's controls use them.
struct Expected {
    int id;
    int width;
    int frameHeight;
    int frames;
};

constexpr Expected kExpected[] = {
    {4000, 448, 696, 1},  {3999, 448, 696, 1},  {2002, 44, 44, 101}, {4110, 28, 28, 3},   {4111, 28, 28, 21},
    {2003, 26, 36, 2},    {2004, 27, 36, 2},    {2005, 55, 186, 65}, {2008, 298, 12, 1},  {2009, 120, 14, 1},
    {2013, 298, 12, 1},   {2010, 120, 14, 1},   {4001, 58, 14, 2},   {4002, 140, 14, 2},  {4005, 30, 14, 18},
    {4200, 56, 15, 3},    {4201, 82, 15, 4},    {19997, 31, 14, 5},  {19999, 12, 14, 3},  {19998, 12, 14, 3},
    {19990, 36, 15, 3},   {19899, 42, 15, 3},   {994, 36, 15, 3},    {998, 22, 15, 3},    {999, 22, 15, 3},
    {989, 18, 15, 3},
};

struct Pixel {
    int a, r, g, b;  // straight (not premultiplied) channels, 0..255
    double luminance() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

// A decoded bitmap viewed as a vertical filmstrip.
class Film {
public:
    Film(int id, int frameHeight) : frameHeight_(frameHeight) {
        const orv::EmbeddedBlob blob = orv::findBitmapResource(id);
        if (blob.data == nullptr) return;
        Reader reader{blob.data, blob.size, 0};
        surface_ = cairo_image_surface_create_from_png_stream(&Reader::read, &reader);
        if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface_);
            surface_ = nullptr;
        }
    }
    ~Film() {
        if (surface_ != nullptr) cairo_surface_destroy(surface_);
    }
    Film(const Film&) = delete;
    Film& operator=(const Film&) = delete;

    bool ok() const { return surface_ != nullptr; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    int frames() const { return height() / frameHeight_; }
    cairo_format_t format() const { return cairo_image_surface_get_format(surface_); }

    Pixel at(int frame, int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(surface_) +
                                   static_cast<size_t>(frame * frameHeight_ + y) * cairo_image_surface_get_stride(surface_);
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        // Opaque PNGs decode without an alpha channel; their top byte is unused.
        const int a = format() == CAIRO_FORMAT_RGB24 ? 255 : static_cast<int>(v >> 24);
        auto straight = [a](uint32_t c) { return a == 0 ? 0 : static_cast<int>((c * 255 + a / 2) / a); };
        return Pixel{a, straight((v >> 16) & 0xff), straight((v >> 8) & 0xff), straight(v & 0xff)};
    }

    // Mean absolute channel difference between two frames over a region (whole frame by default).
    double difference(int f1, int f2, int x0 = 0, int x1 = -1) const {
        if (x1 < 0) x1 = width();
        double sum = 0.0;
        for (int y = 0; y < frameHeight_; ++y) {
            for (int x = x0; x < x1; ++x) {
                const Pixel p = at(f1, x, y);
                const Pixel q = at(f2, x, y);
                sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
            }
        }
        return sum / (4.0 * frameHeight_ * (x1 - x0));
    }

    double meanLuminance(int frame, int x0, int y0, int x1, int y1) const {
        double sum = 0.0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) sum += at(frame, x, y).luminance();
        }
        return sum / ((x1 - x0) * (y1 - y0));
    }

private:
    struct Reader {
        const unsigned char* data;
        size_t size;
        size_t pos;
        static cairo_status_t read(void* closure, unsigned char* out, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->size - r->pos < length) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(out, r->data + r->pos, length);
            r->pos += length;
            return CAIRO_STATUS_SUCCESS;
        }
    };

    int frameHeight_;
    cairo_surface_t* surface_ = nullptr;
};

TEST(ArtworkResources, EveryBitmapIsEmbeddedAsPng) {
    static constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (const Expected& e : kExpected) {
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        const orv::EmbeddedBlob blob = orv::findBitmapResource(e.id);
        ASSERT_NE(blob.data, nullptr);
        ASSERT_GT(blob.size, sizeof kPngSignature);
        EXPECT_EQ(std::memcmp(blob.data, kPngSignature, sizeof kPngSignature), 0);
    }
}

TEST(ArtworkResources, SizesAndFrameCountsMatchTheControls) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        Film film(e.id, e.frameHeight);
        ASSERT_TRUE(film.ok());
        EXPECT_TRUE(film.format() == CAIRO_FORMAT_ARGB32 || film.format() == CAIRO_FORMAT_RGB24);
        EXPECT_EQ(film.width(), e.width);
        EXPECT_EQ(film.height(), e.frameHeight * e.frames);
        EXPECT_EQ(film.height() % e.frameHeight, 0);
        EXPECT_EQ(film.frames(), e.frames);
    }
}

TEST(ArtworkResources, FontIsLiberationSansRegular) {
    const orv::EmbeddedBlob blob = orv::findFontResource();
    ASSERT_NE(blob.data, nullptr);
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(lib, blob.data, static_cast<FT_Long>(blob.size), 0, &face), 0);
    EXPECT_STREQ(face->family_name, "Liberation Sans");
    EXPECT_STREQ(face->style_name, "Regular");
    EXPECT_NE(FT_Get_Char_Index(face, 'A'), 0u);
    EXPECT_NE(FT_Get_Char_Index(face, '%'), 0u);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

TEST(ArtworkFrames, FilmstripNeighboursAllDiffer) {
    // Every step of a knob, switch or indicator must be visible.
    for (const Expected& e : kExpected) {
        if (e.frames < 2) continue;
        SCOPED_TRACE("bitmap " + std::to_string(e.id));
        Film film(e.id, e.frameHeight);
        ASSERT_TRUE(film.ok());
        for (int f = 0; f + 1 < e.frames; ++f) EXPECT_GT(film.difference(f, f + 1), 0.0) << "frames " << f;
    }
}

// Rows of the lever frame covered by the ivory ball: warm, bright pixels between the legends.
double ballCentreY(const Film& film, int frame) {
    double sum = 0.0;
    int count = 0;
    for (int y = 22; y < 168; ++y) {
        for (int x = 0; x < 55; ++x) {
            const Pixel p = film.at(frame, x, y);
            if (p.r > 170 && p.r - p.b > 30) {
                sum += y;
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -1.0;
}

TEST(ArtworkFrames, LeverBallFollowsTheDragZone) {
    // Frame k is the lever turned from +40 degrees (k = 0) to -40 degrees (k = 64) about a pivot
    // behind row 95; the ball is seen at 95 - 57 sin(a) / sin(40), from row 38 to row 152, the
    // rows in which a drag selects that frame.
    Film film(2005, 186);
    ASSERT_TRUE(film.ok());
    const double pi = std::acos(-1.0);
    double previous = -1.0;
    for (int k = 0; k < 65; k += 4) {
        const double a = (40.0 - 80.0 * k / 64.0) * pi / 180.0;
        const double expected = 95.0 - 57.0 * std::sin(a) / std::sin(40.0 * pi / 180.0);
        const double y = ballCentreY(film, k);
        EXPECT_NEAR(y, expected, 4.0) << "frame " << k;
        EXPECT_GT(y, previous) << "frame " << k;
        previous = y;
    }
}

TEST(ArtworkFrames, BypassAndQualitySwitchesShowTheirState) {
    Film bypass(4001, 14);
    ASSERT_TRUE(bypass.ok());
    EXPECT_GT(bypass.meanLuminance(1, 0, 0, 58, 14), bypass.meanLuminance(0, 0, 0, 58, 14) + 5.0);

    // Value 0 lights the left half (low CPU), value 1 the right half (brilliant).
    Film quality(4002, 14);
    ASSERT_TRUE(quality.ok());
    EXPECT_GT(quality.meanLuminance(0, 0, 0, 70, 14), quality.meanLuminance(1, 0, 0, 70, 14) + 10.0);
    EXPECT_GT(quality.meanLuminance(1, 70, 0, 140, 14), quality.meanLuminance(0, 70, 0, 140, 14) + 10.0);
}

TEST(ArtworkFrames, MarkerHandlesFadeOutAtTheirEnds) {
    // The handle slides over its strip and wraps round: its ends must be clear so it never
    // shows a hard edge, while the strips themselves are opaque.
    for (int id : {2009, 2010}) {
        Film handle(id, 14);
        ASSERT_TRUE(handle.ok());
        for (int y = 0; y < 14; ++y) {
            EXPECT_EQ(handle.at(0, 0, y).a, 0) << id;
            EXPECT_EQ(handle.at(0, 119, y).a, 0) << id;
        }
        EXPECT_EQ(handle.at(0, 60, 6).a, 255) << id;
    }
    for (int id : {2008, 2013}) {
        Film strip(id, 12);
        ASSERT_TRUE(strip.ok());
        for (int x = 0; x < 298; x += 7) EXPECT_EQ(strip.at(0, x, 6).a, 255) << id;
    }
}

TEST(ArtworkBackground, ReadoutsSuitTheirTextColours) {
    Film bg(4000, 696);
    ASSERT_TRUE(bg.ok());
    // Value displays print white text: the panel under them is dark.
    struct Box {
        int l, t, r, b;
    };
    const Box dark[] = {{43, 105, 87, 116},  {361, 105, 405, 116}, {97, 254, 141, 265}, {292, 254, 336, 276},
                        {133, 355, 177, 366}, {202, 497, 246, 508}, {52, 614, 80, 625},  {361, 614, 405, 625}};
    for (const Box& d : dark) EXPECT_LT(bg.meanLuminance(0, d.l, d.t, d.r, d.b), 30.0) << d.l << "," << d.t;
    // The MIDI controller display and the program name print black text: light panels.
    EXPECT_GT(bg.meanLuminance(0, 146, 660, 260, 672), 170.0);
    EXPECT_GT(bg.meanLuminance(0, 146, 680, 260, 692), 170.0);
    // The background is one opaque picture.
    for (int y = 0; y < 696; y += 29) {
        for (int x = 0; x < 448; x += 31) ASSERT_EQ(bg.at(0, x, y).a, 255);
    }
}

// Knob rectangles of the editor window (left, top, right, bottom).
struct KnobRect {
    int l, t, r, b;
};
constexpr KnobRect kKnobRects[] = {
    {43, 56, 87, 100},    {88, 56, 132, 100},   {157, 56, 201, 100},  {202, 56, 246, 100},  {271, 56, 315, 100},
    {316, 56, 360, 100},  {361, 56, 405, 100},  {39, 205, 83, 249},   {97, 205, 141, 249},  {142, 205, 186, 249},
    {187, 205, 231, 249}, {232, 205, 276, 249}, {292, 205, 336, 249}, {43, 306, 87, 350},   {88, 306, 132, 350},
    {133, 306, 177, 350}, {201, 306, 245, 350}, {245, 306, 289, 350}, {291, 306, 335, 350}, {43, 448, 87, 492},
    {88, 448, 132, 492},  {157, 448, 201, 492}, {202, 448, 246, 492}, {271, 448, 315, 492}, {316, 448, 360, 492},
    {361, 448, 405, 492}, {226, 565, 270, 609}, {271, 565, 315, 609}, {316, 565, 360, 609}, {361, 565, 405, 609},
    {52, 572, 80, 600},   {97, 572, 125, 600},  {142, 572, 170, 600}, {187, 572, 215, 600},
};

int brightPixels(const Film& film, int x0, int y0, int x1, int y1, double threshold) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) n += film.at(0, x, y).luminance() > threshold ? 1 : 0;
    }
    return n;
}

TEST(ArtworkBackground, EveryKnobIsLetteredAboveAndLeftClearUnderneath) {
    Film bg(4000, 696);
    ASSERT_TRUE(bg.ok());
    for (const KnobRect& k : kKnobRects) {
        SCOPED_TRACE(std::to_string(k.l) + "," + std::to_string(k.t));
        const int cx = (k.l + k.r) / 2;
        // Lettering in the band just above the knob (its name).
        EXPECT_GT(brightPixels(bg, cx - 20, k.t - 16, cx + 20, k.t - 1, 140.0), 10);
        // Nothing bright where the knob itself is drawn.
        const int half = (k.r - k.l) / 2 - 3;
        EXPECT_EQ(brightPixels(bg, cx - half, (k.t + k.b) / 2 - half, cx + half, (k.t + k.b) / 2 + half, 120.0), 0);
    }
}

}  // namespace
