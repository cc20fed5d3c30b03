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

// Encodes a surface as PNG bytes.
inline std::vector<unsigned char> encodePng(cairo_surface_t* surface)
{
    std::vector<unsigned char> bytes;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            auto* out = static_cast<std::vector<unsigned char>*>(closure);
            out->insert(out->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    return bytes;
}

// An opaque filmstrip of `frames` frames of width × frameHeight, decoded from PNG bytes.
inline CBitmap* makeFilmstrip(int width, int frameHeight, int frames)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, frameHeight * frames);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    for (int k = 0; k < frames; ++k)
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < width; ++x) data[(k * frameHeight + y) * stride + x] = filmstripPixel(k, x, y);
    cairo_surface_mark_dirty(s);
    const std::vector<unsigned char> png = encodePng(s);
    cairo_surface_destroy(s);
    return new CBitmap(png.data(), png.size());
}

// A bitmap of one colour (0xAARRGGBB, not premultiplied).
inline CBitmap* makeSolid(int width, int height, uint32_t argb)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xff) / 255.0, ((argb >> 8) & 0xff) / 255.0, (argb & 0xff) / 255.0,
                          (argb >> 24) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    const std::vector<unsigned char> png = encodePng(s);
    cairo_surface_destroy(s);
    return new CBitmap(png.data(), png.size());
}

// 0xRRGGBB of pixel (x, y) of an image surface.
inline uint32_t pixelAt(cairo_surface_t* s, int x, int y)
{
    cairo_surface_flush(s);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    return data[y * stride + x] & 0xffffffu;
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
    const bool alpha = cairo_image_surface_get_format(now) == CAIRO_FORMAT_ARGB32;
    int bad = -1, worst = 0;  // -1: missing, unreadable, of another size or kind
    if (cairo_surface_status(stored) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(stored) == w &&
        cairo_image_surface_get_height(stored) == h &&
        (cairo_image_surface_get_format(stored) == CAIRO_FORMAT_ARGB32) == alpha) {
        bad = 0;
        const auto* a = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(now));
        const auto* b = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(stored));
        const int strideA = cairo_image_surface_get_stride(now) / 4,
                  strideB = cairo_image_surface_get_stride(stored) / 4;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int delta = 0;
                for (int shift = 0; shift < (alpha ? 32 : 24); shift += 8)
                    delta = std::max(delta,
                                     std::abs(static_cast<int>((a[y * strideA + x] >> shift) & 0xff) -
                                              static_cast<int>((b[y * strideB + x] >> shift) & 0xff)));
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

// Number of pixels of `r` on the surface that differ from frame k of the synthetic filmstrip
// (the frame's own pixel (x − r.left + ox, y − r.top + oy)).
inline int mismatchesAgainstFrame(cairo_surface_t* s, const CRect& r, int k, int ox = 0, int oy = 0)
{
    int bad = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (pixelAt(s, x, y) != filmstripPixel(k, x - r.left + ox, y - r.top + oy)) ++bad;
    return bad;
}

// The filmstrip frame (0 .. frames − 1) that region r shows exactly, or −1 if none.
inline int shownFrame(cairo_surface_t* s, const CRect& r, int frames, int ox = 0)
{
    for (int k = 0; k < frames; ++k)
        if (mismatchesAgainstFrame(s, r, k, ox) == 0) return k;
    return -1;
}

// Records notifications and gestures: "value 17 0.25", "begin 17", "end 17".
class Recorder : public CControlListener, public VSTGUIEditorInterface {
public:
    void valueChanged(CControl* c) override
    {
        values.push_back(c->getValue());
        log.push_back("value " + std::to_string(c->getTag()) + " " + fmt(c->getValue()));
    }
    void beginEdit(int32_t index) override { log.push_back("begin " + std::to_string(index)); }
    void endEdit(int32_t index) override { log.push_back("end " + std::to_string(index)); }
    int32_t getKnobMode() const override { return kLinearMode; }
    CFrame* getFrame() const override { return frame; }

    void clear()
    {
        log.clear();
        values.clear();
    }
    static std::string fmt(float v)
    {
        char b[32];
        std::snprintf(b, sizeof b, "%g", static_cast<double>(v));
        return b;
    }

    CFrame* frame = nullptr;
    std::vector<std::string> log;
    std::vector<float> values;
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
    // Mouse events at (x, y) through the frame's entry points, as the window back end sends them.
    CMouseEventResult down(int x, int y, uint32_t buttons = kLButton)
    {
        CPoint p(x, y);
        return frame->onMouseDown(p, buttons);
    }
    void up(int x, int y, uint32_t buttons = kLButton)
    {
        CPoint p(x, y);
        frame->onMouseUp(p, buttons);
    }
    void move(int x, int y, uint32_t buttons = 0)
    {
        CPoint p(x, y);
        frame->onMouseMoved(p, buttons);
    }
    // Runs idle and answers the filmstrip frame that view v shows (−1 if none).
    int frameShown(const CView* v, int frames)
    {
        frame->idle();
        return shownFrame(surface(), v->getViewSize(), frames);
    }

    Recorder recorder;
    CFrame* frame;
};

}  // namespace orv::test
