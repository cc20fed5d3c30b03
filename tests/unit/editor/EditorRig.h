// A RotaryEffect made directly, with a host callback that records what the effect tells the
// host, and its editor opened on an offscreen frame. Mouse and key events go in through the
// frame's entry points, as the window back end delivers them; renders come from the frame's
// backing image. SharedEditorTest keeps one rig per test suite and puts it back before each test.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/RotaryEditor.h"
#include "host/vst2.h"
#include "params/ParameterIndex.h"
#include "plugin/RotaryEffect.h"
#include "support/RecordingHost.h"
#include "toolkit/CFrame.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {

class EditorRig {
public:
    EditorRig()
    {
        hostCalls().clear();
        effect = std::make_unique<RotaryEffect>(recordingHost);
        editor = static_cast<RotaryEditor*>(effect->getEditor());
        for (int i = 0; i < kNumUserParams; ++i) initial.push_back(effect->getParameter(i));
    }
    ~EditorRig()
    {
        if (editor->getFrame() != nullptr) editor->close();
    }
    EditorRig(const EditorRig&) = delete;
    EditorRig& operator=(const EditorRig&) = delete;

    bool open()
    {
        const bool ok = editor->openOffscreen();
        if (ok) frame()->idle();
        return ok;
    }
    CFrame* frame() const { return editor->getFrame(); }

    // Back to the state after opening: open, no modal view, the first parameter values drawn,
    // the mouse over no control, no host calls.
    void reset()
    {
        if (frame() == nullptr) {
            ASSERT_TRUE(open());
        }
        if (frame()->getModalView() != nullptr) click(kNowhere);
        for (int i = 0; i < kNumUserParams; ++i) effect->setParameter(i, initial[static_cast<size_t>(i)]);
        render();
        moveTo(kNowhere);
        hostCalls().clear();
    }

    // Runs the editor's idle and answers the frame's backing image.
    cairo_surface_t* render()
    {
        editor->idle();
        return frame()->getBackingSurface();
    }

    void moveTo(CPoint p, uint32_t buttons = 0) { frame()->onMouseMoved(p, CButtonState(buttons)); }
    void press(CPoint p, uint32_t buttons = kLButton)
    {
        moveTo(p);
        frame()->onMouseDown(p, CButtonState(buttons));
    }
    void release(CPoint p, uint32_t buttons = kLButton) { frame()->onMouseUp(p, CButtonState(buttons)); }
    void click(CPoint p, uint32_t buttons = kLButton)
    {
        press(p, buttons);
        release(p, buttons);
    }
    int32_t key(int character, uint8_t virt = 0)
    {
        VstKeyCode k;
        k.character = character;
        k.virt = virt;
        return frame()->onKeyDown(k);
    }

    // A MIDI control change on channel 1 through processEvents, as the host sends it.
    void controlChange(int controller, int value)
    {
        MidiBlock block;
        effect->processEvents(block.controlChange(1, controller, value).record());
    }

    // Runs the engine for a while so that the rotors turn.
    void runAudio(int blocks, int frames = 512)
    {
        std::vector<float> inL(static_cast<size_t>(frames)), inR(inL), outL(inL), outR(inL);
        float* in[] = {inL.data(), inR.data()};
        float* out[] = {outL.data(), outR.data()};
        for (int b = 0; b < blocks; ++b) effect->processReplacing(in, out, frames);
    }

    static constexpr CPoint kNowhere{10, 300};  // on the background, away from every control
    std::unique_ptr<RotaryEffect> effect;
    RotaryEditor* editor;
    std::vector<float> initial;
};

// One effect and editor for all tests of a suite (building them is most of a test's time).
class SharedEditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared_ = new EditorRig; }
    static void TearDownTestSuite()
    {
        delete shared_;
        shared_ = nullptr;
    }
    void SetUp() override { shared_->reset(); }
    CControl* control(int tag) const { return rig.editor->getParameterControl(tag); }
    float param(int index) const { return rig.effect->getParameter(index); }

    static inline EditorRig* shared_ = nullptr;
    EditorRig& rig = *shared_;
};

inline CPoint centreOf(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

}  // namespace orv::test
