// The editor's knob, rotor marker, lever and click switch: the filmstrip frame each draws, and
// their mouse, wheel and key behaviour with the notifications in order.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/CAnimKnob3.h"
#include "editor/COrvClickSwitch.h"
#include "editor/OrvMarker.h"
#include "editor/OrvVerticalSwitch.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

// ---- CAnimKnob3 --------------------------------------------------------------------------

class KnobTest : public ::testing::Test {
protected:
    KnobTest() : fx(120, 120), strip(makeFilmstrip(44, 44, 101)) {
        knob = fx.add(new CAnimKnob3(CRect(43, 56, 87, 100), &fx.recorder, 17, strip.get()));
    }
    void down(int x, int y, uint32_t b = kLButton) { lastDown = fx.down(x, y, b); }
    void move(int x, int y, uint32_t b = kLButton) { fx.move(x, y, b); }
    OffscreenFixture fx;
    BitmapPtr strip;
    CAnimKnob3* knob;
    CMouseEventResult lastDown = kMouseEventNotHandled;
};

TEST_F(KnobTest, DrawsFrameOfValueTimesHundredRounded) {
    EXPECT_EQ(knob->getNumSubPixmaps(), 101);
    // (value, frame): frame = (int)(100 v + 0.5) for v > 0.
    const std::pair<float, int> cases[] = {{0.0f, 0}, {0.004f, 0}, {0.0051f, 1}, {0.349485f, 35},
                                           {0.5f, 50}, {0.996f, 100}, {1.0f, 100}};
    for (auto [v, frame] : cases) {
        knob->setValue(v);
        fx.frame->idle();
        EXPECT_EQ(shownFrame(fx.surface(), knob->getViewSize(), 101), frame) << v;
    }
}

TEST_F(KnobTest, QuantisedDrawingSnapsToTheGivenSteps) {
    knob->setDrawQuantisation(3, 0.0f, 1.0f);  // draws 0, 0.5 or 1
    knob->setValue(0.3f);                      // (int)(2 × 0.3 + 0.5) = 1 → q = 0.5
    fx.frame->idle();
    EXPECT_EQ(shownFrame(fx.surface(), knob->getViewSize(), 101), 50);
    knob->setValue(0.2f);  // (int)(0.9) = 0 → q = 0 → frame 0
    fx.frame->idle();
    EXPECT_EQ(shownFrame(fx.surface(), knob->getViewSize(), 101), 0);
    knob->setDrawQuantisation(5, 0.2f, 0.6f);  // q = 0.2 + 0.4 × (int)(4 v + 0.5) / 4
    knob->setValue(0.8f);                      // (int)3.7 = 3 → q = 0.5
    fx.frame->idle();
    EXPECT_EQ(shownFrame(fx.surface(), knob->getViewSize(), 101), 50);
}

TEST_F(KnobTest, DragOfTheRangeInPixelsFromZeroReachesOne) {
    knob->setDragRangeFactor(0.4f);  // R = 400 pixels
    knob->setValue(0.0f);
    down(60, 70);
    EXPECT_EQ(lastDown, kMouseEventHandled);
    move(60 + 200, 70);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    move(60 + 300, 70 + 100);  // right 300, down 100: net 200
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    move(60 + 400, 70);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    move(60 + 900, 70 - 50);  // beyond the range: clamped, no further notification
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    fx.up(60 + 900, 70);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.5", "value 17 1", "end 17"}));
}

TEST_F(KnobTest, ShiftDuringTheDragDoesNotJumpAndMakesItFiveTimesFiner) {
    knob->setDragRangeFactor(0.25f);  // 250 pixels, 1250 with Shift
    knob->setValue(0.0f);
    down(60, 70);
    move(160, 70);
    EXPECT_NEAR(knob->getValue(), 0.4f, 1e-6);
    move(160, 70, kLButton | kShift);  // Shift pressed, mouse still
    EXPECT_NEAR(knob->getValue(), 0.4f, 1e-6);
    move(210, 70, kLButton | kShift);  // 50 more pixels at 1/1250 each
    EXPECT_NEAR(knob->getValue(), 0.44f, 1e-6);
    move(210, 70);  // Shift released: no jump either
    EXPECT_NEAR(knob->getValue(), 0.44f, 1e-6);
    move(235, 70);  // back to 1/250 per pixel
    EXPECT_NEAR(knob->getValue(), 0.54f, 1e-6);
}

TEST_F(KnobTest, DoubleClickOrCtrlClickRestoresTheDefaultWithoutADrag) {
    knob->setDefaultValue(0.349485f);
    knob->setValue(0.9f);
    fx.frame->idle();
    down(60, 70, kLButton | kDoubleClick);
    EXPECT_EQ(lastDown, kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.349485f);
    move(200, 70);  // no drag follows
    EXPECT_FLOAT_EQ(knob->getValue(), 0.349485f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.349485", "end 17"}));
    fx.frame->idle();
    fx.recorder.clear();
    knob->setValue(0.1f);
    fx.frame->idle();
    down(60, 70, kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.349485f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "value 17 0.349485", "end 17"}));
    // Already at the default (as last drawn): the gesture runs but nothing is notified.
    fx.frame->idle();
    fx.recorder.clear();
    down(60, 70, kLButton | kControl);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 17", "end 17"}));
}

TEST_F(KnobTest, OnlyTheLeftButtonWithAListenerStartsAnything) {
    down(60, 70, kRButton);
    EXPECT_EQ(lastDown, kMouseEventNotHandled);
    knob->setListener(nullptr);
    down(60, 70);
    EXPECT_EQ(lastDown, kMouseEventNotHandled);
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

constexpr uint32_t kStrip = 0x204060;
constexpr uint32_t kHandle = 0xf0c040;

class MarkerTest : public ::testing::Test {
protected:
    MarkerTest() : fx(448, 60), background(makeSolid(298, 12, 0xff000000u | kStrip)),
                   handle(makeSolid(120, 14, 0xff000000u | kHandle)) {
        marker = fx.add(new OrvMarker(CRect(114, 16, 412, 28), &fx.recorder, 189, background.get(), handle.get(),
                                      CPoint(-120, 0)));
    }
    // Columns of the strip (0..297) on row 6 that show the handle.
    std::vector<int> handleColumns() {
        fx.frame->idle();
        std::vector<int> cols;
        for (int x = 0; x < 298; ++x) {
            const uint32_t p = pixelAt(fx.surface(), 114 + x, 16 + 6);
            EXPECT_TRUE(p == kStrip || p == kHandle) << x;
            if (p == kHandle) cols.push_back(x);
        }
        return cols;
    }
    // Columns a handle whose left edge is at `left` covers inside the strip.
    static std::vector<int> span(int left) {
        std::vector<int> cols;
        for (int x = std::max(left, 0); x < std::min(left + 120, 298); ++x) cols.push_back(x);
        return cols;
    }
    OffscreenFixture fx;
    BitmapPtr background, handle;
    OrvMarker* marker;
};

TEST_F(MarkerTest, HandlePositionsFollowTheRotorAngle) {
    // x = floor(p × 418) − 120 with p = 1.5 − v wrapped into (−1, 1].
    marker->setValue(0.0f);  // p = 0.5: 209 − 120 = 89, centred
    EXPECT_EQ(handleColumns(), span(89));
    marker->setValue(1.0f);  // p = 0.5 as well
    EXPECT_EQ(handleColumns(), span(89));
    marker->setValue(0.25f);  // p = 0.25: floor(104.5) − 120 = −16
    EXPECT_EQ(handleColumns(), span(-16));
    marker->setValue(0.75f);  // p = 0.75: floor(313.5) − 120 = 193
    EXPECT_EQ(handleColumns(), span(193));
    marker->setValue(0.5f);  // p = 1: 418 − 120 = 298, just beyond the right edge
    EXPECT_TRUE(handleColumns().empty());
}

// ---- OrvVerticalSwitch -------------------------------------------------------------------

class LeverTest : public ::testing::Test {
protected:
    static constexpr int kTop = 153;
    LeverTest() : fx(448, 400), strip(makeFilmstrip(55, 186, 65)) {
        lever = fx.add(new OrvVerticalSwitch(CRect(353, kTop, 408, 339), &fx.recorder, 2, strip.get()));
        lever->setWheelStep(0.15f);
        lever->setShiftWheelFactor(0.1f);
    }
    float clickAt(int dy) {
        fx.down(370, kTop + dy);
        fx.up(370, kTop + dy);
        return lever->getValue();
    }
    int32_t key(uint8_t virt, uint8_t modifier = 0) {
        VstKeyCode k{0, virt, modifier};
        return lever->onKeyDown(k);
    }
    OffscreenFixture fx;
    BitmapPtr strip;
    OrvVerticalSwitch* lever;
};

TEST_F(LeverTest, FramesAndDefault) {
    EXPECT_EQ(lever->getNumSubPixmaps(), 65);
    EXPECT_EQ(lever->getDefaultValue(), 0.0f);
    // frame = (int)((1 − v) × 64 + 0.5)
    for (auto [v, frame] : {std::pair{1.0f, 0}, {0.0f, 64}, {0.5f, 32}, {0.75f, 16}, {0.3f, 45}}) {
        lever->setValue(v);
        fx.frame->idle();
        EXPECT_EQ(shownFrame(fx.surface(), lever->getViewSize(), 65), frame) << v;
    }
}

TEST_F(LeverTest, ZoneEndsGiveOneAndZero) {
    lever->setValue(0.5f);
    EXPECT_EQ(clickAt(38), 1.0f);
    lever->setValue(0.5f);
    EXPECT_EQ(clickAt(5), 1.0f);  // above the zone
    EXPECT_EQ(clickAt(152), 0.0f);
    lever->setValue(0.5f);
    EXPECT_EQ(clickAt(180), 0.0f);  // below the zone
}

TEST_F(LeverTest, PositionFollowsTheArc) {
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
        const auto begins = std::count(fx.recorder.log.begin(), fx.recorder.log.end(), "begin 2");
        const auto ends = std::count(fx.recorder.log.begin(), fx.recorder.log.end(), "end 2");
        EXPECT_EQ(begins, ends);
        EXPECT_GE(begins, 1);
    }
    // A double-click without Ctrl is a plain click on the arc (middle of the zone: 0.5).
    fx.down(370, kTop + 95, kLButton | kDoubleClick);
    fx.up(370, kTop + 95);
    EXPECT_FLOAT_EQ(lever->getValue(), 0.5f);
}

TEST_F(LeverTest, ArrowKeysStepOneFrameWithinTheEnds) {
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
}

TEST_F(LeverTest, WheelUsesItsOwnStep) {
    lever->setValue(0.5f);
    fx.frame->onWheel(CPoint(370, kTop + 50), 1.0f, 0);
    EXPECT_NEAR(lever->getValue(), 0.65f, 1e-6);
    fx.frame->onWheel(CPoint(370, kTop + 50), -1.0f, kShift);
    EXPECT_NEAR(lever->getValue(), 0.635f, 1e-6);
    EXPECT_EQ(fx.recorder.values.size(), 2u);
}

// ---- COrvClickSwitch ---------------------------------------------------------------------

class ClickSwitchTest : public ::testing::Test {
protected:
    ClickSwitchTest() : fx(448, 700) {}
    COrvClickSwitch* make(int states) {
        strip.reset(makeFilmstrip(56, 15, states));
        return fx.add(new COrvClickSwitch(CRect(308, 658, 364, 673), &fx.recorder, 40, states, strip.get()));
    }
    float click(COrvClickSwitch* s) {
        EXPECT_EQ(fx.down(320, 665), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        fx.frame->idle();
        EXPECT_EQ(shownFrame(fx.surface(), s->getViewSize(), s->getStates()), s->getDrawnFrame());
        return s->getValue();
    }
    float wheel(COrvClickSwitch* s, float d) {
        fx.frame->idle();  // the picture is up to date before each notch, as between real events
        fx.frame->onWheel(CPoint(320, 665), d, 0);
        return s->getValue();
    }
    OffscreenFixture fx;
    BitmapPtr strip;
};

TEST_F(ClickSwitchTest, ThreeStatesCycleOnClicks) {
    COrvClickSwitch* s = make(3);
    EXPECT_EQ(click(s), 0.5f);
    EXPECT_EQ(s->getDrawnFrame(), 1);
    EXPECT_EQ(click(s), 1.0f);
    EXPECT_EQ(s->getDrawnFrame(), 2);
    EXPECT_EQ(click(s), 0.0f);
    EXPECT_EQ(s->getDrawnFrame(), 0);
    EXPECT_EQ(fx.recorder.log, (Log{"value 40 0.5", "value 40 1", "value 40 0"}));
}

TEST_F(ClickSwitchTest, WheelStepsUpAndDownToNeighbouringStates) {
    COrvClickSwitch* s = make(3);  // threshold 3 × 0.0333 = 0.1
    EXPECT_EQ(wheel(s, 1.0f), 0.5f);
    EXPECT_EQ(wheel(s, 1.0f), 1.0f);
    EXPECT_EQ(wheel(s, 1.0f), 1.0f);  // clamped, no notification
    EXPECT_EQ(wheel(s, -1.0f), 0.5f);
    EXPECT_EQ(wheel(s, 0.05f), 0.5f);  // below the threshold
    EXPECT_EQ(wheel(s, -1.0f), 0.0f);
    EXPECT_EQ(wheel(s, -1.0f), 0.0f);
    EXPECT_EQ(fx.recorder.values, (std::vector<float>{0.5f, 1.0f, 0.5f, 0.0f}));
}

TEST_F(ClickSwitchTest, WheelDownWithFourStatesLandsOnTheNextLowerState) {
    COrvClickSwitch* s = make(4);
    s->setValue(1.0f);
    EXPECT_FLOAT_EQ(wheel(s, -1.0f), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(wheel(s, -1.0f), 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(wheel(s, -1.0f), 0.0f);
    EXPECT_FLOAT_EQ(wheel(s, 1.0f), 1.0f / 3.0f);
}

}  // namespace
}  // namespace orv::test
