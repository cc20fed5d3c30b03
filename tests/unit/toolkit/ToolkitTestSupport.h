// Helpers shared by the toolkit and editor tests: synthetic filmstrips whose every pixel is
// known from a formula, pixel access on cairo surfaces, images stored as PNG goldens, and a
// recorder of notifications and edit gestures in the order they happen.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/CBitmap.h"
#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace orv::test {

// Drops the test's own reference when it goes out of scope.
struct Forget {
    void operator()(CBaseObject* o) const { o->forget(); }
};
using BitmapPtr = std::unique_ptr<CBitmap, Forget>;

// Pixel (x, y) of frame k of a synthetic filmstrip, as 0xRRGGBB. Frames differ everywhere.
inline uint32_t filmstripPixel(int k, int x, int y)
{
    const uint32_t r = static_cast<uint32_t>(k * 37 + x * 3 + 11) & 0xffu;
    const uint32_t g = static_cast<uint32_t>(k * 91 + y * 5 + 7) & 0xffu;
    const uint32_t b = static_cast<uint32_t>(k * 13 + x * y + 3) & 0xffu;
    return (r << 16) | (g << 8) | b;
}

// A bitmap of width × height whose pixel (x, y) is pixel(x, y) as 0xAARRGGBB (not
// premultiplied), decoded from PNG bytes as the artwork is.
template <class Pixel>
CBitmap* makeBitmap(int width, int height, Pixel pixel)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixel(x, y), a = p >> 24;
            auto channel = [&](int shift) { return (((p >> shift) & 0xffu) * a + 127) / 255 << shift; };
            data[y * cairo_image_surface_get_stride(s) / 4 + x] = (a << 24) | channel(16) | channel(8) | channel(0);
        }
    cairo_surface_mark_dirty(s);
    std::vector<unsigned char> png;
    auto append = [](void* out, const unsigned char* bytes, unsigned int length) {
        auto* to = static_cast<std::vector<unsigned char>*>(out);
        return to->insert(to->end(), bytes, bytes + length), CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_write_to_png_stream(s, append, &png);
    cairo_surface_destroy(s);
    return new CBitmap(png.data(), png.size());
}

// An opaque filmstrip of `frames` frames of width × frameHeight.
inline CBitmap* makeFilmstrip(int width, int frameHeight, int frames)
{
    return makeBitmap(width, frameHeight * frames,
                      [=](int x, int y) { return 0xff000000u | filmstripPixel(y / frameHeight, x, y % frameHeight); });
}

// A bitmap of one colour (0xAARRGGBB, not premultiplied).
inline CBitmap* makeSolid(int width, int height, uint32_t argb)
{
    return makeBitmap(width, height, [=](int, int) { return argb; });
}

// 0xRRGGBB of pixel (x, y) of an image surface (with its alpha byte: 0xAARRGGBB).
inline uint32_t pixelAt(cairo_surface_t* s, int x, int y, bool alpha = false)
{
    cairo_surface_flush(s);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
    return data[y * cairo_image_surface_get_stride(s) / 4 + x] & (alpha ? 0xffffffffu : 0xffffffu);
}

// An image against a PNG stored beside the test (a golden): every channel of every pixel may
// differ by at most `tolerance` levels (rounding in cairo's blending paths). With the
// environment variable `update` set to 1 the image is written instead and the test skipped.
// A failing image is written to the test's temporary folder for a look.
inline void expectStoredImage(cairo_surface_t* now, const std::string& file, const char* update, int tolerance = 2)
{
    cairo_surface_flush(now);
    if (const char* u = std::getenv(update); u != nullptr && *u == '1') {
        cairo_surface_write_to_png(now, file.c_str());
        GTEST_SKIP() << "written to " << file;
    }
    cairo_surface_t* stored = cairo_image_surface_create_from_png(file.c_str());
    const int w = cairo_image_surface_get_width(now), h = cairo_image_surface_get_height(now);
    const int bits = cairo_image_surface_get_format(now) == CAIRO_FORMAT_ARGB32 ? 32 : 24;
    int bad = -1, worst = 0;  // -1: missing, unreadable, of another size or kind
    if (cairo_surface_status(stored) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(stored) == w &&
        cairo_image_surface_get_height(stored) == h &&
        (cairo_image_surface_get_format(stored) == CAIRO_FORMAT_ARGB32) == (bits == 32)) {
        bad = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t a = pixelAt(now, x, y, true), b = pixelAt(stored, x, y, true);
                int delta = 0;
                for (int shift = 0; shift < bits; shift += 8)
                    delta = std::max(delta, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
                worst = std::max(worst, delta);
                bad += delta > tolerance ? 1 : 0;
            }
    }
    cairo_surface_destroy(stored);
    if (bad == 0) return;
    const std::string actual = ::testing::TempDir() + file.substr(file.find_last_of('/') + 1);
    cairo_surface_write_to_png(now, actual.c_str());
    ADD_FAILURE() << file << ": " << bad << " pixels off by more than " << tolerance << " (largest difference " << worst
                  << "); this render: " << actual;
}

// Records notifications and gestures: "value 17 0.25", "begin 17", "end 17".
class Recorder : public CControlListener, public VSTGUIEditorInterface {
public:
    void valueChanged(CControl* c) override
    {
        log.push_back("value " + std::to_string(c->getTag()) + " " + fmt(c->getValue()));
    }
    void beginEdit(int32_t index) override { log.push_back("begin " + std::to_string(index)); }
    void endEdit(int32_t index) override { log.push_back("end " + std::to_string(index)); }
    int32_t getKnobMode() const override { return kLinearMode; }
    CFrame* getFrame() const override { return frame; }

    void clear() { log.clear(); }
    static std::string fmt(float v)
    {
        char b[32];
        std::snprintf(b, sizeof b, "%g", static_cast<double>(v));
        return b;
    }

    CFrame* frame = nullptr;
    std::vector<std::string> log;
};

// An offscreen frame of the given size whose editor interface and listener is the recorder.
struct OffscreenFixture {
    explicit OffscreenFixture(int width = 200, int height = 200)
    {
        frame = new CFrame(CRect(0, 0, width, height), nullptr, &recorder);
        recorder.frame = frame;
    }
    ~OffscreenFixture() { frame->forget(); }
    OffscreenFixture(const OffscreenFixture&) = delete;
    OffscreenFixture& operator=(const OffscreenFixture&) = delete;

    cairo_surface_t* surface() const { return frame->getBackingSurface(); }

    // Adds a view to the frame (which owns it) and answers it.
    template <class V>
    V* add(V* view)
    {
        frame->addView(view);
        return view;
    }
    // Runs idle and answers the filmstrip frame (0 .. frames − 1) that view v shows exactly, or
    // −1 if none.
    int frameShown(const CView* v, int frames)
    {
        frame->idle();
        const CRect& r = v->getViewSize();
        for (int k = 0; k < frames; ++k) {
            bool same = true;
            for (int y = r.top; y < r.bottom && same; ++y)
                for (int x = r.left; x < r.right && same; ++x)
                    same = pixelAt(surface(), x, y) == filmstripPixel(k, x - r.left, y - r.top);
            if (same) return k;
        }
        return -1;
    }

    Recorder recorder;
    CFrame* frame;
};

}  // namespace orv::test
