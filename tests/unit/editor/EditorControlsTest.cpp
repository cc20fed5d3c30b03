// The editor's own controls on a bare offscreen frame with synthetic filmstrips, as one table
// of event scripts: after each mouse, wheel or key event (or a value set by the program) the
// filmstrip frame drawn at the next idle and what was reported, in order. How they look in
// the editor is held by its stored renders.
#include <gtest/gtest.h>

#include <functional>
#include <map>
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

// One event and what follows it: the handler's result, the frame drawn at the next idle and the
// notifications and gestures it caused ("; " between them).
struct Step {
    char event;  // 'm' move, 'd' down, 'u' up, 'w' wheel by `value`, 'k' key x with modifier y, 'v' set `value`
    int x, y;
    uint32_t buttons;
    int result, frame;
    const char* log;  // nullptr: not checked
    float value = 0.0f;
};

struct ControlCase {
    const char* name;
    int width, frameHeight, frames;
    std::function<CControl*(CBitmap*, CControlListener*)> make;
    std::vector<Step> steps;
};

const uint32_t L = kLButton, R = kRButton;
const int kHandled = kMouseEventHandled, kNot = kMouseEventNotHandled,
          kOnce = kMouseDownEventHandledButDontNeedMovedOrUpEvents;

// Steps: a value set by the program, a press (with its result), a release, a move, a wheel
// turn by d (with its result) and a key (with its result).
Step V(float v, int frame) { return {'v', 0, 0, 0, kAny, frame, "", v}; }
Step D(int x, int y, uint32_t b, int result, int frame, const char* log) { return {'d', x, y, b, result, frame, log}; }
Step U(int x, int y, uint32_t b, int frame, const char* log = "") { return {'u', x, y, b, kAny, frame, log}; }
Step M(int x, int y, uint32_t b, int frame, const char* log = "") { return {'m', x, y, b, kAny, frame, log}; }
Step W(int x, int y, uint32_t b, float d, int result, int frame, const char* log)
{
    return {'w', x, y, b, result, frame, log, d};
}
Step K(int virt, int modifier, int result, int frame, const char* log)
{
    return {'k', virt, modifier, 0, result, frame, log};
}

CAnimKnob3* knob(CBitmap* b, CControlListener* l) { return new CAnimKnob3(CRect(43, 56, 87, 100), l, 17, b); }
OrvVerticalSwitch* lever(CBitmap* b, CControlListener* l)
{
    auto* lever = new OrvVerticalSwitch(CRect(353, 153, 408, 339), l, 2, b);
    lever->setWheelStep(0.15f);
    lever->setShiftWheelFactor(0.1f);
    return lever;
}
constexpr int kLeverX = 370, kZone = 153 + 38;  // the lever's drag zone: rows 38 .. 152 of 186

// clang-format off
const ControlCase kControls[] = {
    {"bypass: old then new value, lower frame from one half", 26, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new OrvOnOffButton(CRect(382, 351, 408, 387), l, 4, b); },
     {D(390, 360, L, kOnce, 1, "begin 4; value 4 0; value 4 1; end 4"),
      D(390, 360, L, kOnce, 0, "begin 4; value 4 1; value 4 0; end 4"), D(390, 360, R, kNot, 0, "")}},
    {"speed toggle: flips on the press, pressed frame while held", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b); },
     {D(360, 360, L, kHandled, 1, "begin 3; value 3 1"), M(10, 10, L, 1), U(10, 10, L, 0, "end 3"),
      D(360, 360, L, kHandled, 1, "begin 3; value 3 0"), U(360, 360, L, 0, "end 3"), D(360, 360, R, kNot, 0, "")}},
    {"speed momentary: one while held, released frame", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) {
         auto* c = new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b); c->setMomentary(1); return c; },
     {D(360, 360, L, kHandled, 0, "begin 3; value 3 1; end 3"), U(360, 360, L, 0, "begin 3; value 3 0; end 3")}},
    {"panel kick: hover and pressed frames, reports the press only", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new COvKickButton(CRect(320, 679, 332, 693), l, 211, b); },
     {M(325, 685, 0, 1), D(325, 685, L, kHandled, 2, "value 211 1"), U(325, 685, L, 1), M(100, 100, 0, 0),
      D(325, 685, R, kOnce, 0, "")}},
    {"panel on/off: hover frame when off, on frame hovered or not", 22, 15, 3,
     [](CBitmap* b, CControlListener* l) { return new COvOnOffButton(CRect(262, 658, 284, 673), l, 203, b); },
     {M(270, 665, 0, 1), D(270, 665, L, kOnce, 2, "value 203 1"), M(10, 10, 0, 2), M(270, 665, 0, 2),
      D(270, 665, L, kOnce, 1, "value 203 0"), D(270, 665, R, kNot, 1, "")}},
    {"rocker: the side pressed or hovered", 31, 14, 5,
     [](CBitmap* b, CControlListener* l) { return new COvRockerSwitch(CRect(109, 659, 140, 673), l, 195, b); },
     {D(130, 665, L, kHandled, 4, "value 195 1"),  // right of the centre 124.5
      U(130, 665, L, kAny), D(112, 665, L, kHandled, 3, "value 195 -1"), U(112, 665, L, kAny), M(112, 665, 0, 1),
      M(135, 665, 0, 2), M(300, 300, 0, 0), D(130, 665, R, kNot, 0, "")}},
    {"file button: left one, plain right one half, right with a modifier one", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new CSaveLoadButton(CRect(56, 679, 68, 693), l, 198, b); },
     {M(60, 685, 0, 1), D(60, 685, L, kOnce, 1, "value 198 1"), D(60, 685, R, kOnce, 1, "value 198 0.5"),
      D(60, 685, R | kShift, kOnce, 1, "value 198 1"), D(60, 685, R | kControl, kOnce, 1, "value 198 1"),
      D(60, 685, kMButton, kNot, 1, "")}},
    // Frame (int)(100 v + 0.5) for v > 0.
    {"knob frames", 44, 44, 101, knob,
     {V(0.0f, 0), V(0.004f, 0), V(0.0051f, 1), V(0.349485f, 35), V(0.996f, 100), V(1.0f, 100)}},
    {"knob drawn in 3 steps of 0 .. 1", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDrawQuantisation(3, 0.0f, 1.0f); return k; },
     {V(0.3f, 50),  // (int)(2 × 0.3 + 0.5) = 1: 0.5
      V(0.2f, 0)}},  // (int)0.9 = 0
    {"knob drawn in 5 steps of 0.2 .. 0.6", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDrawQuantisation(5, 0.2f, 0.6f); return k; },
     {V(0.8f, 50)}},  // 0.2 + 0.4 × (int)3.7 / 4 = 0.5
    {"knob drag over 400 pixels, right and up count, clamped", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDragRangeFactor(0.4f); return k; },
     {D(60, 70, L, kHandled, 0, "begin 17"), M(260, 70, L, 50, "value 17 0.5"),
      M(360, 170, L, 50),  // right 300, down 100: net 200
      M(460, 70, L, 100, "value 17 1"), M(960, 20, L, 100), U(960, 70, L, 100, "end 17"), D(60, 70, R, kNot, 100, "")}},
    {"knob drag with Shift five times finer, never jumping", 44, 44, 101,  // 250 pixels, 1250 with Shift
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDragRangeFactor(0.25f); return k; },
     {D(60, 70, L, kHandled, 0, "begin 17"), M(160, 70, L, 40, "value 17 0.4"),
      M(160, 70, L | kShift, 40, nullptr),  // Shift pressed, mouse still (may round)
      M(210, 70, L | kShift, 44, "value 17 0.44"), M(210, 70, L, 44),  // Shift released: no jump either
      M(235, 70, L, 54, "value 17 0.54")}},
    {"knob default on double-click or Ctrl-click, notified if it changes", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) { auto* k = knob(b, l); k->setDefaultValue(0.349485f); return k; },
     {V(0.9f, 90), D(60, 70, L | kDoubleClick, kOnce, 35, "begin 17; value 17 0.349485; end 17"),
      M(200, 70, L, 35),  // no drag follows
      V(0.1f, 10), D(60, 70, L | kControl, kOnce, 35, "begin 17; value 17 0.349485; end 17"),
      D(60, 70, L | kControl, kOnce, 35, "begin 17; end 17")}},
    {"knob wheel: a step per notch, Shift a fifth, small distances as they are", 44, 44, 101,
     [](CBitmap* b, CControlListener* l) {
         auto* k = knob(b, l); k->setWheelStep(0.05f); k->setShiftWheelFactor(0.2f); return k; },
     {V(0.5f, 50), W(60, 70, 0, 1.0f, 1, 55, "begin 17; value 17 0.55; end 17"),
      W(60, 70, 0, -3.0f, 1, 50, "begin 17; value 17 0.5; end 17"),
      W(60, 70, kShift, 1.0f, 1, 51, "begin 17; value 17 0.51; end 17"),
      W(60, 70, 0, 0.05f, 1, 51, "begin 17; value 17 0.5125; end 17"), V(1.0f, 100),
      W(60, 70, 0, 1.0f, 1, 100, "")}},  // taken even at the end
    // Lever frame (int)((1 − v) × 64 + 0.5); a click in the zone sets the point of the arc:
    // t = rows into the zone / 114, a = asin(sin 40° − 2 sin 40° t), p = 0.5 − a / (80° in
    // radians), value 1 − (int)(65 p) / 64. 20 rows in: a = 0.43059, p = 0.19162, 1 − 12/64.
    {"lever frames and clicks along the arc", 55, 186, 65, lever,
     {V(1.0f, 0), V(0.0f, 64), V(0.75f, 16), V(0.3f, 45), V(0.5f, 32),
      D(kLeverX, kZone, L, kAny, 0, "begin 2; value 2 1"),
      M(kLeverX, kZone + 57, L, 32, "value 2 0.5"), U(kLeverX, kZone + 57, L, 32, "end 2"),  // middle: a = 0
      D(kLeverX, kZone - 33, L, kAny, 0, "begin 2; value 2 1"), U(kLeverX, kZone - 33, L, 0, "end 2"),  // above
      D(kLeverX, kZone + 142, L, kAny, 64, "begin 2; value 2 0"), U(kLeverX, kZone + 142, L, 64, "end 2"),  // below
      D(kLeverX, kZone + 20, L, kAny, 12, "begin 2; value 2 0.8125"), U(kLeverX, kZone + 20, L, 12, "end 2")}},
    // The window back end flags a press soon after another as a double-click: Ctrl still
    // resets to the default 0 (inside the press's gesture, notified if it changes), a
    // double-click alone is a plain click.
    {"lever default on Ctrl-click", 55, 186, 65, lever,
     {V(1.0f, 0), D(kLeverX, kZone + 57, L | kControl, kOnce, 64, "begin 2; begin 2; value 2 0; end 2; end 2"),
      D(kLeverX, kZone + 57, L | kControl, kOnce, 64, "begin 2; begin 2; end 2; end 2"), V(1.0f, 0),
      D(kLeverX, kZone + 57, L | kControl | kDoubleClick, kOnce, 64, "begin 2; begin 2; value 2 0; end 2; end 2"),
      D(kLeverX, kZone + 57, L | kDoubleClick, kAny, 32, "begin 2; value 2 0.5")}},
    {"lever keys step one frame without modifiers, the wheel its own step", 55, 186, 65, lever,
     {V(0.0f, 64), K(VKEY_UP, 0, -1, 64, ""), K(VKEY_DOWN, 0, 1, 63, "begin 2; value 2 0.015625; end 2"), V(1.0f, 0),
      K(VKEY_DOWN, 0, -1, 0, ""), K(VKEY_UP, 0, 1, 1, "begin 2; value 2 0.984375; end 2"),
      K(VKEY_UP, MODIFIER_SHIFT, -1, 1, ""), K(VKEY_LEFT, 0, -1, 1, ""), V(0.5f, 32),
      W(kLeverX, kZone, 0, 1.0f, 1, 22, "begin 2; value 2 0.65; end 2"),
      W(kLeverX, kZone, kShift, -1.0f, 1, 23, "begin 2; value 2 0.635; end 2")}},
    // Clicks cycle the states; the wheel beyond 0.0333 per state steps to a neighbour.
    {"click switch of 3 states", 56, 15, 3,
     [](CBitmap* b, CControlListener* l) { return new COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 3, b); },
     {D(320, 665, L, kOnce, 1, "value 40 0.5"), D(320, 665, L, kOnce, 2, "value 40 1"),
      D(320, 665, L, kOnce, 0, "value 40 0"), W(320, 665, 0, 1.0f, kAny, 1, "value 40 0.5"),
      W(320, 665, 0, 1.0f, kAny, 2, "value 40 1"), W(320, 665, 0, 1.0f, kAny, 2, ""),
      W(320, 665, 0, -1.0f, kAny, 1, "value 40 0.5"), W(320, 665, 0, 0.05f, kAny, 1, ""),
      W(320, 665, 0, -1.0f, kAny, 0, "value 40 0"), W(320, 665, 0, -1.0f, kAny, 0, "")}},
    {"click switch of 4 states: the wheel down lands on the next lower state", 56, 15, 4,
     [](CBitmap* b, CControlListener* l) { return new COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 4, b); },
     {V(1.0f, 3), W(320, 665, 0, -1.0f, kAny, 2, "value 40 0.666667"),
      W(320, 665, 0, -1.0f, kAny, 1, "value 40 0.333333"), W(320, 665, 0, -1.0f, kAny, 0, "value 40 0"),
      W(320, 665, 0, 1.0f, kAny, 1, "value 40 0.333333")}},
};
// clang-format on

TEST(EditorControls, FramesAndReportsFollowTheirScripts)
{
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.name);
        OffscreenFixture fx(448, 700);
        static std::map<std::tuple<int, int, int>, BitmapPtr> strips;  // made once for all cases
        BitmapPtr& strip = strips[{c.width, c.frameHeight, c.frames}];
        if (!strip) strip.reset(makeFilmstrip(c.width, c.frameHeight, c.frames));
        CControl* control = fx.add(c.make(strip.get(), &fx.recorder));
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
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
            if (s.log != nullptr) {
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
