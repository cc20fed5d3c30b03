// A RotaryEffect made directly, with a host callback that records what the effect tells the
// host, and its editor opened on an offscreen frame. Mouse and key events go in through the
// frame's entry points, as the window back end delivers them; renders come from the frame's
// backing image. Events can also come as text (run). SharedEditorTest keeps one rig per test
// suite and puts it back before each test.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/RotaryEditor.h"
#include "host/vst2.h"
#include "params/ParameterIndex.h"
#include "plugin/RotaryEffect.h"
#include "support/RecordingHost.h"
#include "toolkit/CFrame.h"
#include "toolkit/COptionMenuPopup.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {

inline CPoint centreOf(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// Splits "a; b; c".
inline std::vector<std::string> parts(const std::string& text)
{
    std::vector<std::string> out;
    for (size_t at = 0, end = 0; at < text.size(); at = end + 2)
        out.push_back(text.substr(at, (end = std::min(text.find("; ", at), text.size())) - at));
    return out;
}

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
    void click(CPoint p, uint32_t buttons = kLButton)
    {
        CPoint down = p, up = p;  // the frame may move the point it is given
        moveTo(p);
        frame()->onMouseDown(down, CButtonState(buttons));
        frame()->onMouseUp(up, CButtonState(buttons));
    }
    int32_t key(int character, uint8_t virt = 0)
    {
        VstKeyCode k{character, virt, 0};
        return frame()->onKeyDown(k);
    }

    // Runs events given as text, "; " between them: click/press/move/release/hover x y [r right,
    // d double, c Ctrl, s Shift], cell n (the centre of entry n of the open menu), key name
    // [times], type text, set index|all value, poke tag value (a control's value behind the
    // editor's back), idle, cc controller value, program n, name text, assign parameter
    // controller, unassign parameter, manual (opened by the program), resume, audio blocks,
    // wait (for the file dialog).
    void run(const std::string& events)
    {
        for (const std::string& event : parts(events)) runOne(event);
    }
    void runOne(const std::string& event)
    {
        char verb[16] = {}, mods[8] = {}, text[64] = {};
        int x = 0, y = 0, n = 1;
        float v = 0.0f;
        std::sscanf(event.c_str(), "%15s %d %d %7s", verb, &x, &y, mods);
        const std::string what = verb, rest = event.substr(std::min(event.size(), what.size() + 1));
        CPoint at(x, y);
        uint32_t buttons = std::strchr(mods, 'r') != nullptr ? kRButton : kLButton;
        for (auto [c, flag] : {std::pair{'d', kDoubleClick}, {'c', kControl}, {'s', kShift}})
            if (std::strchr(mods, c) != nullptr) buttons |= flag;
        if (what == "set" || what == "poke") {
            std::sscanf(rest.c_str(), "%63s %f", text, &v);
            const bool all = std::string(text) == "all";
            for (int i = all ? 0 : std::atoi(text); i < (all ? kNumUserParams : std::atoi(text) + 1); ++i)
                what == "set" ? effect->setParameter(i, v) : editor->getParameterControl(i)->setValue(v);
        }
        if (what == "key") {
            std::sscanf(rest.c_str(), "%63s %d", text, &n);
            const std::map<std::string, uint8_t> keys = {
                {"back", VKEY_BACK},   {"return", VKEY_RETURN}, {"escape", VKEY_ESCAPE},
                {"home", VKEY_HOME},   {"end", VKEY_END},       {"left", VKEY_LEFT},
                {"right", VKEY_RIGHT}, {"down", VKEY_DOWN},     {"delete", VKEY_DELETE}};
            for (; n > 0; --n) lastKey = key(0, keys.at(text));
        }
        if (what == "type")
            for (char c : rest) lastKey = key(c);
        if (what == "name") effect->setProgramName(std::string(rest).data());
        if (what == "click") click(at, buttons);
        if (what == "press") moveTo(at), frame()->onMouseDown(at, CButtonState(kLButton));
        if (what == "move") moveTo(at, kLButton);
        if (what == "release") frame()->onMouseUp(at, CButtonState(kLButton));
        if (what == "hover") moveTo(at), render();
        if (what == "idle") editor->idle();
        if (what == "cc") effect->processEvents(MidiBlock().controlChange(1, x, y).record());  // on channel 1
        if (what == "program") effect->selectProgram(x);
        if (what == "assign") effect->assignController(x, y);
        if (what == "unassign") effect->unassignParameter(x);
        if (what == "manual") editor->settings().openManual();
        if (what == "resume") effect->resume();
        for (int b = 0; what == "audio" && b < x; ++b) {  // the rotors turn
            float in[2][512] = {}, out[2][512];
            float *ins[] = {in[0], in[1]}, *outs[] = {out[0], out[1]};
            effect->processReplacing(ins, outs, 512);
        }
        if (what == "cell") {
            auto* popup = dynamic_cast<COptionMenuPopup*>(frame()->getModalView());
            ASSERT_NE(popup, nullptr);
            click(centreOf(popup->getCellRect(x)));
        }
        for (int i = 0; what == "wait" && i < 500 && frame()->inModalSession(); ++i) {
            editor->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    static constexpr CPoint kNowhere{10, 300};  // on the background, away from every control
    std::unique_ptr<RotaryEffect> effect;
    RotaryEditor* editor;
    std::vector<float> initial;
    int32_t lastKey = 0;  // the frame's answer to the last key
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

}  // namespace orv::test
