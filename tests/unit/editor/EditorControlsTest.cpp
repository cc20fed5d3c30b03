// The editor's own controls on a bare offscreen frame with synthetic filmstrips, each driven by
// its event script stored beside the test (data/control-steps.txt): after each mouse, wheel or
// key event (or a value set by the program) the filmstrip frame drawn at the next idle and what
// was reported, in order. How they look in the editor is held by its stored renders.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "editor/COvRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/OrvMarker.h"
#include "editor/OrvOnOffButton.h"
#include "editor/OrvVerticalSwitch.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

constexpr int kAny = -9;  // a result or frame the step does not check

// One event and what follows it (a line of data/control-steps.txt): the handler's result, the
// frame drawn at the next idle and the notifications and gestures it caused ("; " between them).
struct Step {
    char event = 0;  // 'm' move, 'd' down, 'u' up, 'w' wheel by `value`, 'k' key x with modifier y, 'v' set `value`
    int x = 0, y = 0;
    uint32_t buttons = 0;
    int result = kAny, frame = kAny;
    float value = 0.0f;
    bool checkLog = true;
    std::string log;
};

// The steps of every case, by name.
std::map<std::string, std::vector<Step>> readSteps()
{
    std::map<std::string, std::vector<Step>> steps;
    std::ifstream in(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/control-steps.txt");
    std::vector<Step>* current = nullptr;
    const std::map<std::string, int> results = {{"handled", kMouseEventHandled},
                                                {"not", kMouseEventNotHandled},
                                                {"once", kMouseDownEventHandledButDontNeedMovedOrUpEvents},
                                                {"any", kAny}};
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            current = &steps[line.substr(1, line.size() - 2)];
            continue;
        }
        Step step;
        std::string buttons, result, frame;
        std::istringstream(line) >> step.event >> step.x >> step.y >> buttons >> result >> frame >> step.value;
        for (auto [name, flag] : {std::pair{"L", kLButton},
                                  {"R", kRButton},
                                  {"M", kMButton},
                                  {"shift", kShift},
                                  {"ctrl", kControl},
                                  {"double", kDoubleClick}})
            if (("+" + buttons + "+").find("+" + std::string(name) + "+") != std::string::npos) step.buttons |= flag;
        step.result = results.count(result) != 0 ? results.at(result) : std::stoi(result);
        step.frame = frame == "any" ? kAny : std::stoi(frame);
        const size_t bar = line.find('|');
        step.checkLog = bar != std::string::npos;
        step.log = step.checkLog ? line.substr(std::min(line.size(), bar + 2)) : "";
        current->push_back(step);
    }
    return steps;
}

struct ControlCase {
    const char* name;
    int width, frameHeight, frames;
    std::function<CControl*(CBitmap*, CControlListener*)> make;
};

CAnimKnob3* knob(CBitmap* b, CControlListener* l) { return new CAnimKnob3(CRect(43, 56, 87, 100), l, 17, b); }
OrvVerticalSwitch* lever(CBitmap* b, CControlListener* l)
{
    auto* lever = new OrvVerticalSwitch(CRect(353, 153, 408, 339), l, 2, b);
    lever->setWheelStep(0.15f);
    lever->setShiftWheelFactor(0.1f);
    return lever;
}

// clang-format off
const ControlCase kControls[] = {
    {"bypass: old then new value, lower frame from one half", 26, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new OrvOnOffButton(CRect(382, 351, 408, 387), l, 4, b); }},
    {"speed toggle: flips on the press, pressed frame while held", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b); }},
    {"speed momentary: one while held, released frame", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) {
         auto* c = new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b); c->setMomentary(1); return c; }},
    {"panel kick: hover and pressed frames, reports the press only", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new COvKickButton(CRect(320, 679, 332, 693), l, 211, b); }},
    {"panel on/off: hover frame when off, on frame hovered or not", 22, 15, 3,
     [](CBitmap* b, CControlListener* l) { return new COvOnOffButton(CRect(262, 658, 284, 673), l, 203, b); }},
    {"rocker: the side pressed or hovered", 31, 14, 5,
     [](CBitmap* b, CControlListener* l) { return new COvRockerSwitch(CRect(109, 659, 140, 673), l, 195, b); }},
    {"file button: left one, plain right one half, right with a modifier one", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new CSaveLoadButton(CRect(56, 679, 68, 693), l, 198, b); }},
    {"knob frames", 44, 44, 101, knob},
    {"knob drawn in 3 steps of 0 .. 1", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDrawQuantisation(3, 0.0f, 1.0f); return k; }},
    {"knob drawn in 5 steps of 0.2 .. 0.6", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDrawQuantisation(5, 0.2f, 0.6f); return k; }},
    {"knob drag over 400 pixels, right and up count, clamped", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDragRangeFactor(0.4f); return k; }},
    {"knob drag with Shift five times finer, never jumping", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDragRangeFactor(0.25f); return k; }},
    {"knob default on double-click or Ctrl-click, notified if it changes", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDefaultValue(0.349485f); return k; }},
    {"knob wheel: a step per notch, Shift a fifth, small distances as they are", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) {
         auto* k = knob(b, l); k->setWheelStep(0.05f); k->setShiftWheelFactor(0.2f); return k; }},
    {"lever frames and clicks along the arc", 55, 186, 65, lever},
    {"lever default on Ctrl-click", 55, 186, 65, lever},
    {"lever keys step one frame without modifiers, the wheel its own step", 55, 186, 65, lever},
    {"click switch of 3 states", 56, 15, 3,
     [](CBitmap* b, CControlListener* l) { return new COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 3, b); }},
    {"click switch of 4 states: the wheel down lands on the next lower state", 56, 15, 4,
     [](CBitmap* b, CControlListener* l) { return new COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 4, b); }},
};
// clang-format on

TEST(EditorControls, FramesAndReportsFollowTheirScripts)
{
    const std::map<std::string, std::vector<Step>> steps = readSteps();
    ASSERT_EQ(steps.size(), std::size(kControls));
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.name);
        const std::vector<Step>& script = steps.at(c.name);
        OffscreenFixture fx(448, 700);
        static std::map<std::tuple<int, int, int>, BitmapPtr> strips;  // made once for all cases
        BitmapPtr& strip = strips[{c.width, c.frameHeight, c.frames}];
        if (!strip) strip.reset(makeFilmstrip(c.width, c.frameHeight, c.frames));
        CControl* control = fx.add(c.make(strip.get(), &fx.recorder));
        for (size_t i = 0; i < script.size(); ++i) {
            const Step& s = script[i];
            SCOPED_TRACE(testing::Message() << "step " << i + 1);
            fx.frame->idle();
            fx.recorder.clear();
            int result = kAny;
            VstKeyCode key{0, static_cast<uint8_t>(s.x), static_cast<uint8_t>(s.y)};
            CPoint at(s.x, s.y);
            switch (s.event) {
            case 'd': result = fx.frame->onMouseDown(at, s.buttons); break;
            case 'u': fx.frame->onMouseUp(at, s.buttons); break;
            case 'm': fx.frame->onMouseMoved(at, s.buttons); break;
            case 'w': result = fx.frame->onWheel(at, s.value, s.buttons); break;
            case 'k': result = control->onKeyDown(key); break;
            case 'v': control->setValue(s.value); break;
            }
            if (s.result != kAny) {
                EXPECT_EQ(result, s.result);
            }
            std::string log;
            for (const std::string& e : fx.recorder.log) log += (log.empty() ? "" : "; ") + e;
            if (s.checkLog) {
                EXPECT_EQ(log, s.log);
            }
            if (s.frame != kAny) {
                EXPECT_EQ(fx.frameShown(control, c.frames), s.frame);
            }
        }
    }
    // Without a listener neither the knob nor the file button takes a press; the file button
    // takes no keys either.
    OffscreenFixture fx(448, 700);
    BitmapPtr strip(makeFilmstrip(12, 14, 3));
    auto* b = fx.add(new CSaveLoadButton(CRect(56, 679, 68, 693), nullptr, 198, strip.get()));
    fx.add(knob(strip.get(), nullptr));
    for (CPoint at : {CPoint(60, 685), CPoint(60, 70)})
        EXPECT_EQ(fx.frame->onMouseDown(at, kLButton), kMouseEventNotHandled);
    VstKeyCode key{0, VKEY_RETURN, 0};
    EXPECT_EQ(b->onKeyDown(key), -1);
}

TEST(OrvMarker, TheHandleFollowsTheRotorAngle)
{
    constexpr uint32_t kStrip = 0x204060, kHandle = 0xf0c040;
    OffscreenFixture fx(448, 60);
    BitmapPtr background(makeSolid(298, 12, 0xff000000u | kStrip)), handle(makeSolid(120, 14, 0xff000000u | kHandle));
    auto* marker = fx.add(
        new OrvMarker(CRect(114, 16, 412, 28), &fx.recorder, 189, background.get(), handle.get(), CPoint(-120, 0)));
    // Left edge x = floor(p × 418) − 120 with p = 1.5 − v wrapped into (−1, 1]: the handle
    // covers columns x .. x + 119 of the strip's 298 (row 6).
    for (auto [v, left] : {std::pair{0.0f, 89}, {1.0f, 89}, {0.25f, -16}, {0.75f, 193}, {0.5f, 298}}) {
        marker->setValue(v);
        fx.frame->idle();
        for (int x = 0; x < 298; ++x)
            EXPECT_EQ(pixelAt(fx.surface(), 114 + x, 22), x >= left && x < left + 120 ? kHandle : kStrip)
                << v << " " << x;
    }
}

}  // namespace
}  // namespace orv::test
