// A RotaryEffect made directly, with a host callback that records what the effect tells the
// host, and its editor opened on an offscreen frame. Mouse and key events go in through the
// frame's entry points, as the window back end delivers them; renders come from the frame's
// backing image.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "editor/RotaryEditor.h"
#include "plugin/RotaryEffect.h"
#include "host/vst2.h"
#include "support/RecordingHost.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"

namespace orv::test {

class EditorRig {
public:
    EditorRig() {
        hostCalls().clear();
        effect = std::make_unique<RotaryEffect>(recordingHost);
        editor = static_cast<RotaryEditor*>(effect->getEditor());
    }
    ~EditorRig() {
        if (editor->getFrame() != nullptr) editor->close();
    }
    EditorRig(const EditorRig&) = delete;
    EditorRig& operator=(const EditorRig&) = delete;

    bool open() {
        const bool ok = editor->openOffscreen();
        if (ok) frame()->idle();
        return ok;
    }
    CFrame* frame() const { return editor->getFrame(); }

    // Runs the editor's idle and answers the frame's backing image.
    cairo_surface_t* render() {
        editor->idle();
        return frame()->getBackingSurface();
    }

    void moveTo(CPoint p, uint32_t buttons = 0) { frame()->onMouseMoved(p, CButtonState(buttons)); }
    void press(CPoint p, uint32_t buttons = kLButton) {
        moveTo(p);
        frame()->onMouseDown(p, CButtonState(buttons));
    }
    void release(CPoint p, uint32_t buttons = kLButton) { frame()->onMouseUp(p, CButtonState(buttons)); }
    void click(CPoint p, uint32_t buttons = kLButton) {
        press(p, buttons);
        release(p, buttons);
    }
    void key(int character, uint8_t virt = 0) {
        VstKeyCode k;
        k.character = character;
        k.virt = virt;
        frame()->onKeyDown(k);
    }
    void type(const char* text) {
        for (const char* c = text; *c != 0; ++c) key(*c);
    }

    // Host callbacks with this opcode since the last clear.
    static std::vector<HostCall> calls(vst::i32 opcode) { return callsWith(opcode); }
    static void clearCalls() { hostCalls().clear(); }

    // Runs the engine for a while so that the rotors turn.
    void runAudio(int blocks, int frames = 512) {
        std::vector<float> inL(static_cast<size_t>(frames)), inR(inL), outL(inL), outR(inL);
        float* in[] = {inL.data(), inR.data()};
        float* out[] = {outL.data(), outR.data()};
        for (int b = 0; b < blocks; ++b) effect->processReplacing(in, out, frames);
    }

    std::unique_ptr<RotaryEffect> effect;
    RotaryEditor* editor;
};

inline CPoint centreOf(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// 0xRRGGBB of pixel (x, y) of an image surface.
inline uint32_t rgbAt(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
    const int stride = cairo_image_surface_get_stride(s) / 4;
    return data[y * stride + x] & 0xffffffu;
}

// What region r of the editor looks like with nothing but the background and the part of a
// bitmap whose top-left corner is (sourceX, sourceY) painted into r, drawn here with plain
// cairo. Answers how many pixels of r in `shown` differ from that.
inline int mismatchesAgainstBitmap(cairo_surface_t* shown, const CRect& r, int bitmapId, int sourceX, int sourceY) {
    CBitmap background(RotaryEditor::kBackgroundId);
    CBitmap strip(bitmapId);
    cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_RGB24, background.getWidth(), background.getHeight());
    cairo_t* cr = cairo_create(expected);
    cairo_set_source_surface(cr, background.getSurface(), 0, 0);
    cairo_paint(cr);
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip.getSurface(), r.left - sourceX, r.top - sourceY);
    cairo_paint(cr);
    cairo_destroy(cr);
    int bad = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (rgbAt(shown, x, y) != rgbAt(expected, x, y)) ++bad;
    cairo_surface_destroy(expected);
    return bad;
}

// The same for frame k of a vertical filmstrip with frames of frameHeight.
inline int mismatchesAgainstFilmstrip(cairo_surface_t* shown, const CRect& r, int bitmapId, int k, int frameHeight) {
    return mismatchesAgainstBitmap(shown, r, bitmapId, 0, k * frameHeight);
}

}  // namespace orv::test
