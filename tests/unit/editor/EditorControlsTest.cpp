// The editor's own controls on a bare offscreen frame with synthetic filmstrips: the frame each
// draws, and what its mouse, wheel and key events report, in order. The buttons run as one
// table of event scripts.
#include <gtest/gtest.h>

#include <functional>

#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
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

using Log = std::vector<std::string>;
constexpr int kAny = -9;  // a result or frame the step does not check

// One mouse event and what follows it: the handler's result, the frame drawn at the next idle
// and the notifications and gestures it caused ("; " between them).
struct Step {
    char event;  // 'm' move, 'd' down, 'u' up
    int x, y;
    uint32_t buttons;
    int result, frame;
    const char* log;
};

struct ButtonCase {
    const char* name;
    int width, frameHeight, frames;
    std::function<CControl*(CBitmap*, CControlListener*)> make;
    std::vector<Step> steps;
};

const uint32_t L = kLButton, R = kRButton;
const int kHandled = kMouseEventHandled, kNot = kMouseEventNotHandled,
          kOnce = kMouseDownEventHandledButDontNeedMovedOrUpEvents;

const ButtonCase kButtons[] = {
    {"bypass: old then new value, lower frame from one half", 26, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new OrvOnOffButton(CRect(382, 351, 408, 387), l, 4, b); },
     {{'d', 390, 360, L, kOnce, 1, "begin 4; value 4 0; value 4 1; end 4"},
      {'d', 390, 360, L, kOnce, 0, "begin 4; value 4 1; value 4 0; end 4"},
      {'d', 390, 360, R, kNot, 0, ""}}},
    {"speed toggle: flips on the press, pressed frame while held", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) { return new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b); },
     {{'d', 360, 360, L, kHandled, 1, "begin 3; value 3 1"},
      {'m', 10, 10, L, kAny, 1, ""},
      {'u', 10, 10, L, kAny, 0, "end 3"},
      {'d', 360, 360, L, kHandled, 1, "begin 3; value 3 0"},
      {'u', 360, 360, L, kAny, 0, "end 3"},
      {'d', 360, 360, R, kNot, 0, ""}}},
    {"speed momentary: one while held, released frame", 27, 36, 2,
     [](CBitmap* b, CControlListener* l) {
         auto* c = new CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b);
         c->setMomentary(1);
         return c;
     },
     {{'d', 360, 360, L, kHandled, 0, "begin 3; value 3 1; end 3"},
      {'u', 360, 360, L, kAny, 0, "begin 3; value 3 0; end 3"}}},
    {"panel kick: hover and pressed frames, reports the press only", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new COvKickButton(CRect(320, 679, 332, 693), l, 211, b); },
     {{'m', 325, 685, 0, kAny, 1, ""},
      {'d', 325, 685, L, kHandled, 2, "value 211 1"},
      {'u', 325, 685, L, kAny, 1, ""},
      {'m', 100, 100, 0, kAny, 0, ""},
      {'d', 325, 685, R, kOnce, 0, ""}}},
    {"panel on/off: hover frame when off, on frame hovered or not", 22, 15, 3,
     [](CBitmap* b, CControlListener* l) { return new COvOnOffButton(CRect(262, 658, 284, 673), l, 203, b); },
     {{'m', 270, 665, 0, kAny, 1, ""},
      {'d', 270, 665, L, kOnce, 2, "value 203 1"},
      {'m', 10, 10, 0, kAny, 2, ""},
      {'m', 270, 665, 0, kAny, 2, ""},
      {'d', 270, 665, L, kOnce, 1, "value 203 0"},
      {'d', 270, 665, R, kNot, 1, ""}}},
    {"rocker: the side pressed or hovered", 31, 14, 5,
     [](CBitmap* b, CControlListener* l) { return new COvRockerSwitch(CRect(109, 659, 140, 673), l, 195, b); },
     {{'d', 130, 665, L, kHandled, 4, "value 195 1"},  // right of the centre 124.5
      {'u', 130, 665, L, kAny, kAny, ""},
      {'d', 112, 665, L, kHandled, 3, "value 195 -1"},
      {'u', 112, 665, L, kAny, kAny, ""},
      {'m', 112, 665, 0, kAny, 1, ""},
      {'m', 135, 665, 0, kAny, 2, ""},
      {'m', 300, 300, 0, kAny, 0, ""},
      {'d', 130, 665, R, kNot, 0, ""}}},
    {"file button: left one, plain right one half, right with a modifier one", 12, 14, 3,
     [](CBitmap* b, CControlListener* l) { return new CSaveLoadButton(CRect(56, 679, 68, 693), l, 198, b); },
     {{'m', 60, 685, 0, kAny, 1, ""},
      {'d', 60, 685, L, kOnce, 1, "value 198 1"},
      {'d', 60, 685, R, kOnce, 1, "value 198 0.5"},
      {'d', 60, 685, R | kShift, kOnce, 1, "value 198 1"},
      {'d', 60, 685, R | kControl, kOnce, 1, "value 198 1"},
      {'d', 60, 685, kMButton, kNot, 1, ""}}},
};

TEST(EditorButtons, FramesAndReportsFollowTheirScripts) {
    for (const ButtonCase& c : kButtons) {
        SCOPED_TRACE(c.name);
        OffscreenFixture fx(448, 700);
        BitmapPtr strip(makeFilmstrip(c.width, c.frameHeight, c.frames));
        CControl* b = fx.add(c.make(strip.get(), &fx.recorder));
        EXPECT_EQ(fx.frameShown(b, c.frames), 0);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            SCOPED_TRACE(testing::Message() << "step " << i + 1);
            fx.recorder.clear();
            int result = kAny;
            if (s.event == 'd') result = fx.down(s.x, s.y, s.buttons);
            if (s.event == 'u') fx.up(s.x, s.y, s.buttons);
            if (s.event == 'm') fx.move(s.x, s.y, s.buttons);
            if (s.result != kAny) {
                EXPECT_EQ(result, s.result);
            }
            const int frame = fx.frameShown(b, c.frames);
            if (s.frame != kAny) {
                EXPECT_EQ(frame, s.frame);
            }
            std::string log;
            for (const std::string& e : fx.recorder.log) log += (log.empty() ? "" : "; ") + e;
            EXPECT_EQ(log, s.log);
        }
    }
    // Without a listener the file button takes no press; it takes no keys either.
    OffscreenFixture fx(448, 700);
    BitmapPtr strip(makeFilmstrip(12, 14, 3));
    auto* b = fx.add(new CSaveLoadButton(CRect(56, 679, 68, 693), nullptr, 198, strip.get()));
    EXPECT_EQ(fx.down(60, 685), kMouseEventNotHandled);
    VstKeyCode k{0, VKEY_RETURN, 0};
    EXPECT_EQ(b->onKeyDown(k), -1);
}

// ---- CAnimKnob3 --------------------------------------------------------------------------

class KnobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { strip.reset(makeFilmstrip(44, 44, 101)); }
    static void TearDownTestSuite() { strip.reset(); }
    KnobTest() : fx(120, 120) { knob = fx.add(new CAnimKnob3(CRect(43, 56, 87, 100), &fx.recorder, 17, strip.get())); }
    int shown() { return fx.frameShown(knob, 101); }
    static inline BitmapPtr strip;
    OffscreenFixture fx;
    CAnimKnob3* knob;
};

TEST_F(KnobTest, DrawsTheFrameOfTheValueOrOfItsQuantisedValue) {
    // (value, frame): frame = (int)(100 v + 0.5) for v > 0.
    for (auto [v, frame] : {std::pair{0.0f, 0}, {0.004f, 0}, {0.0051f, 1}, {0.349485f, 35}, {0.996f, 100}, {1.0f, 100}}) {
        knob->setValue(v);
        EXPECT_EQ(shown(), frame) << v;
    }
    knob->setDrawQuantisation(3, 0.0f, 1.0f);  // draws 0, 0.5 or 1
    knob->setValue(0.3f);                      // (int)(2 × 0.3 + 0.5) = 1 → 0.5
    EXPECT_EQ(shown(), 50);
    knob->setValue(0.2f);  // (int)(0.9) = 0
    EXPECT_EQ(shown(), 0);
    knob->setDrawQuantisation(5, 0.2f, 0.6f);  // 0.2 + 0.4 × (int)(4 v + 0.5) / 4
    knob->setValue(0.8f);                      // (int)3.7 = 3 → 0.5
    EXPECT_EQ(shown(), 50);
}

TEST_F(KnobTest, DragsOverItsRangeWithAFinerShiftThatNeverJumps) {
    knob->setDragRangeFactor(0.4f);  // 400 pixels for the range
    knob->setValue(0.0f);
    EXPECT_EQ(fx.down(60, 70), kMouseEventHandled);
    fx.move(260, 70, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    fx.move(360, 170, kLButton);  // right 300, down 100: net 200
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    fx.move(460, 70, kLButton);
    fx.move(960, 20, kLButton);  // beyond the range: clamped, no further notification
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    fx.up(960, 70);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.5", "value 17 1", "end 17"}));

    knob->setDragRangeFactor(0.25f);  // 250 pixels, 1250 with Shift
    knob->setValue(0.0f);
    fx.down(60, 70);
    fx.move(160, 70, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.4f, 1e-6);
    fx.move(160, 70, kLButton | kShift);  // Shift pressed, mouse still
    EXPECT_NEAR(knob->getValue(), 0.4f, 1e-6);
    fx.move(210, 70, kLButton | kShift);  // 50 more pixels at 1/1250 each
    EXPECT_NEAR(knob->getValue(), 0.44f, 1e-6);
    fx.move(210, 70, kLButton);  // Shift released: no jump either
    EXPECT_NEAR(knob->getValue(), 0.44f, 1e-6);
    fx.move(235, 70, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.54f, 1e-6);
}

TEST_F(KnobTest, DoubleClickOrCtrlClickRestoresTheDefaultOnlyTheLeftButtonCounts) {
    knob->setDefaultValue(0.349485f);
    for (uint32_t b : {kLButton | kDoubleClick, kLButton | kControl}) {
        knob->setValue(0.9f);
        fx.frame->idle();
        fx.recorder.clear();
        EXPECT_EQ(fx.down(60, 70, b), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        fx.move(200, 70, kLButton);  // no drag follows
        EXPECT_FLOAT_EQ(knob->getValue(), 0.349485f);
        EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.349485", "end 17"}));
    }
    // Already at the default (as last drawn): the gesture runs but nothing is notified.
    fx.frame->idle();
    fx.recorder.clear();
    fx.down(60, 70, kLButton | kControl);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "end 17"}));
    fx.recorder.clear();
    EXPECT_EQ(fx.down(60, 70, kRButton), kMouseEventNotHandled);
    knob->setListener(nullptr);
    EXPECT_EQ(fx.down(60, 70), kMouseEventNotHandled);
    EXPECT_TRUE(fx.recorder.log.empty());
}

TEST_F(KnobTest, WheelStepsWithShiftFactorAndSmallDistances) {
    knob->setWheelStep(0.05f);
    knob->setShiftWheelFactor(0.2f);
    knob->setValue(0.5f);
    EXPECT_TRUE(fx.frame->onWheel(CPoint(60, 70), 1.0f, 0));
    EXPECT_NEAR(knob->getValue(), 0.55f, 1e-6);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.55", "end 17"}));
    fx.frame->onWheel(CPoint(60, 70), -3.0f, 0);  // any notch counts as one
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
    fx.frame->onWheel(CPoint(60, 70), 1.0f, kShift);  // 0.2 × 0.05
    EXPECT_NEAR(knob->getValue(), 0.51f, 1e-6);
    fx.frame->onWheel(CPoint(60, 70), 0.05f, 0);  // a small distance counts as it is: 0.05 × 0.05
    EXPECT_NEAR(knob->getValue(), 0.5125f, 1e-6);
    knob->setValue(1.0f);
    fx.frame->idle();
    fx.recorder.clear();
    EXPECT_TRUE(fx.frame->onWheel(CPoint(60, 70), 1.0f, 0));  // consumed even at the end
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(fx.recorder.log.empty());
}

// ---- OrvMarker ---------------------------------------------------------------------------

TEST(OrvMarker, TheHandleFollowsTheRotorAngle) {
    constexpr uint32_t kStrip = 0x204060, kHandle = 0xf0c040;
    OffscreenFixture fx(448, 60);
    BitmapPtr background(makeSolid(298, 12, 0xff000000u | kStrip)), handle(makeSolid(120, 14, 0xff000000u | kHandle));
    auto* marker = fx.add(new OrvMarker(CRect(114, 16, 412, 28), &fx.recorder, 189, background.get(), handle.get(),
                                        CPoint(-120, 0)));
    // Left edge x = floor(p × 418) − 120 with p = 1.5 − v wrapped into (−1, 1]: the handle
    // covers columns x .. x + 119 of the strip's 298 (row 6).
    for (auto [v, left] : {std::pair{0.0f, 89}, {1.0f, 89}, {0.25f, -16}, {0.75f, 193}, {0.5f, 298}}) {
        marker->setValue(v);
        fx.frame->idle();
        for (int x = 0; x < 298; ++x)
            EXPECT_EQ(pixelAt(fx.surface(), 114 + x, 22), x >= left && x < left + 120 ? kHandle : kStrip) << v << " " << x;
    }
}

// ---- OrvVerticalSwitch -------------------------------------------------------------------

class LeverTest : public ::testing::Test {
protected:
    static constexpr int kTop = 153;
    static void SetUpTestSuite() { strip.reset(makeFilmstrip(55, 186, 65)); }
    static void TearDownTestSuite() { strip.reset(); }
    LeverTest() : fx(448, 400) {
        lever = fx.add(new OrvVerticalSwitch(CRect(353, kTop, 408, 339), &fx.recorder, 2, strip.get()));
        lever->setWheelStep(0.15f);
        lever->setShiftWheelFactor(0.1f);
    }
    float clickAt(int dy, uint32_t buttons = kLButton) {
        fx.down(370, kTop + dy, buttons);
        fx.up(370, kTop + dy);
        return lever->getValue();
    }
    int32_t key(uint8_t virt, uint8_t modifier = 0) {
        VstKeyCode k{0, virt, modifier};
        return lever->onKeyDown(k);
    }
    static inline BitmapPtr strip;
    OffscreenFixture fx;
    OrvVerticalSwitch* lever;
};

TEST_F(LeverTest, FramesFromTheTopAndClicksAlongTheArc) {
    EXPECT_EQ(lever->getDefaultValue(), 0.0f);
    // frame = (int)((1 − v) × 64 + 0.5)
    for (auto [v, frame] : {std::pair{1.0f, 0}, {0.0f, 64}, {0.5f, 32}, {0.75f, 16}, {0.3f, 45}}) {
        lever->setValue(v);
        EXPECT_EQ(fx.frameShown(lever, 65), frame) << v;
    }
    // The zone's ends (38 and 152 pixels down) and beyond give 1 and 0.
    for (auto [dy, v] : {std::pair{38, 1.0f}, {5, 1.0f}, {152, 0.0f}, {180, 0.0f}}) {
        lever->setValue(0.5f);
        EXPECT_EQ(clickAt(dy), v) << dy;
    }
    // Middle of the zone: t = 0.5, angle 0, p = 0.5, k = (int)(65 × 0.5) = 32, value 1 − 32/64.
    EXPECT_FLOAT_EQ(clickAt(95), 0.5f);
    // 20 pixels into the zone: t = 20/114, a = asin(0.642788 − 1.28558 t) = 0.43059 rad,
    // p = 0.5 − 0.716197 a = 0.19162, k = (int)(65 p) = 12.
    EXPECT_FLOAT_EQ(clickAt(38 + 20), 1.0f - 12.0f / 64.0f);
}

TEST_F(LeverTest, PressDragReleaseNotifiesInsideOneGesture) {
    lever->setValue(0.0f);
    fx.frame->idle();
    fx.down(370, kTop + 38);
    fx.frame->idle();
    fx.move(370, kTop + 95, kLButton);
    fx.up(370, kTop + 95);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 2", "value 2 1", "value 2 0.5", "end 2"}));
}

TEST_F(LeverTest, CtrlClickSetsTheDefaultAlsoAsTheSecondClickOfADoubleClick) {
    // The window back end flags a press soon after another as a double-click; Ctrl still resets.
    for (uint32_t buttons : {kLButton | kControl, kLButton | kControl | kDoubleClick}) {
        lever->setValue(1.0f);
        fx.frame->idle();
        fx.recorder.clear();
        EXPECT_EQ(fx.down(370, kTop + 95, buttons), kMouseDownEventHandledButDontNeedMovedOrUpEvents) << buttons;
        EXPECT_EQ(lever->getValue(), 0.0f) << buttons;
        EXPECT_EQ(fx.recorder.values, std::vector<float>{0.0f});
        EXPECT_EQ(fx.recorder.log.front(), "begin 2");
        EXPECT_EQ(fx.recorder.log.back(), "end 2");
    }
    // A double-click without Ctrl is a plain click on the arc (middle of the zone: 0.5).
    EXPECT_FLOAT_EQ(clickAt(95, kLButton | kDoubleClick), 0.5f);
}

TEST_F(LeverTest, ArrowKeysStepOneFrameAndTheWheelItsOwnStep) {
    lever->setValue(0.0f);  // k = 0
    EXPECT_EQ(key(VKEY_UP), -1);
    EXPECT_EQ(key(VKEY_DOWN), 1);
    EXPECT_FLOAT_EQ(lever->getValue(), 1.0f / 64.0f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 2", "value 2 " + Recorder::fmt(1.0f / 64.0f), "end 2"}));
    lever->setValue(1.0f);  // k = 64
    EXPECT_EQ(key(VKEY_DOWN), -1);
    EXPECT_EQ(key(VKEY_UP), 1);
    EXPECT_FLOAT_EQ(lever->getValue(), 63.0f / 64.0f);
    EXPECT_EQ(key(VKEY_UP, MODIFIER_SHIFT), -1);  // only without modifiers
    EXPECT_EQ(key(VKEY_LEFT), -1);

    lever->setValue(0.5f);
    fx.recorder.clear();
    fx.frame->onWheel(CPoint(370, kTop + 50), 1.0f, 0);
    EXPECT_NEAR(lever->getValue(), 0.65f, 1e-6);
    fx.frame->onWheel(CPoint(370, kTop + 50), -1.0f, kShift);
    EXPECT_NEAR(lever->getValue(), 0.635f, 1e-6);
    EXPECT_EQ(fx.recorder.values.size(), 2u);
}

// ---- COrvClickSwitch ---------------------------------------------------------------------

TEST(COrvClickSwitch, ClicksCycleTheStatesAndTheWheelStepsToNeighbours) {
    OffscreenFixture fx(448, 700);
    BitmapPtr strip;
    auto make = [&](int states) {
        strip.reset(makeFilmstrip(56, 15, states));
        return fx.add(new COrvClickSwitch(CRect(308, 658, 364, 673), &fx.recorder, 40, states, strip.get()));
    };
    auto wheel = [&](COrvClickSwitch* s, float d) {
        fx.frame->idle();  // the picture is up to date before each notch, as between real events
        fx.frame->onWheel(CPoint(320, 665), d, 0);
        return s->getValue();
    };
    COrvClickSwitch* three = make(3);
    for (int frame : {1, 2, 0}) {
        EXPECT_EQ(fx.down(320, 665), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        EXPECT_EQ(fx.frameShown(three, 3), frame);
    }
    EXPECT_EQ(fx.recorder.log, (Log{"value 40 0.5", "value 40 1", "value 40 0"}));
    fx.recorder.clear();
    // Threshold 3 × 0.0333 = 0.1; clamped at the ends without a notification.
    for (auto [d, v] : {std::pair{1.0f, 0.5f}, {1.0f, 1.0f}, {1.0f, 1.0f}, {-1.0f, 0.5f}, {0.05f, 0.5f}, {-1.0f, 0.0f},
                        {-1.0f, 0.0f}})
        EXPECT_EQ(wheel(three, d), v) << d;
    EXPECT_EQ(fx.recorder.values, (std::vector<float>{0.5f, 1.0f, 0.5f, 0.0f}));
    fx.frame->removeView(three);
    COrvClickSwitch* four = make(4);
    four->setValue(1.0f);
    for (auto [d, v] : {std::pair{-1.0f, 2.0f / 3.0f}, {-1.0f, 1.0f / 3.0f}, {-1.0f, 0.0f}, {1.0f, 1.0f / 3.0f}})
        EXPECT_FLOAT_EQ(wheel(four, d), v) << d;
}

// ---- CGyrolaParamDisplay -----------------------------------------------------------------

TEST(CGyrolaParamDisplay, DrawsTheBackgroundUnderItThenLighterCentredText) {
    OffscreenFixture fx(448, 200);
    BitmapPtr bg(makeFilmstrip(448, 200, 1));
    fx.frame->setBackground(bg.get());
    auto* d = fx.add(new CGyrolaParamDisplay(CRect(39, 105, 91, 116), bg.get()));
    d->setBackOffset(CPoint(39, 105));
    d->setValueToStringProc([](float value, char* text, void*) {
        std::snprintf(text, kParamDisplayTextSize, "%.2f Hz", value * 10.0f);
        return true;
    });
    d->setValue(0.1f);
    EXPECT_EQ(d->getFont()->getSize(), 9);
    fx.frame->idle();
    int inkLeft = 1000, inkRight = -1, ink = 0;
    for (int y = 104; y < 117; ++y)
        for (int x = 38; x < 92; ++x) {
            const uint32_t p = pixelAt(fx.surface(), x, y), q = filmstripPixel(0, x, y);
            if (p == q) continue;
            EXPECT_TRUE(d->getViewSize().pointInside(CPoint(x, y))) << x << "," << y;
            ++ink;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x + 1);
            for (int shift : {0, 8, 16}) EXPECT_GE(p >> shift & 0xff, std::min({q & 0xff, q >> 8 & 0xff, q >> 16 & 0xff}));
        }
    EXPECT_GT(ink, 20);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 65.0, 1.5);
}

}  // namespace
}  // namespace orv::test
