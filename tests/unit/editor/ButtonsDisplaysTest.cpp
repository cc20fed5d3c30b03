// The editor's buttons, rocker and value display: frames drawn for each state,
// and what each click reports, in order.
#include <gtest/gtest.h>

#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "editor/COvRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/OrvOnOffButton.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

class ButtonTest : public ::testing::Test {
protected:
    ButtonTest() : fx(448, 700) {}
    OffscreenFixture fx;
    BitmapPtr strip;
};

TEST_F(ButtonTest, OrvOnOffButtonNotifiesOldThenNewValue) {
    strip.reset(makeFilmstrip(26, 36, 2));  // 26 × 72: off above, on below
    auto* b = fx.add(new OrvOnOffButton(CRect(382, 351, 408, 387), &fx.recorder, 4, strip.get()));
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    EXPECT_EQ(fx.down(390, 360), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 4", "value 4 0", "value 4 1", "end 4"}));
    EXPECT_EQ(fx.frameShown(b, 2), 1);
    fx.recorder.clear();
    fx.down(390, 360);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 4", "value 4 1", "value 4 0", "end 4"}));
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    b->setValue(0.5f);  // at or above one half shows the lower frame
    EXPECT_EQ(fx.frameShown(b, 2), 1);
    EXPECT_EQ(fx.down(390, 360, kRButton), kMouseEventNotHandled);
}

class SpeedButtonTest : public ButtonTest {
protected:
    SpeedButtonTest() {
        strip.reset(makeFilmstrip(27, 36, 2));
        b = fx.add(new CClickKickButton(CRect(353, 352, 380, 388), &fx.recorder, 3, 36, strip.get()));
    }
    CClickKickButton* b;
};

TEST_F(SpeedButtonTest, MomentaryIsOneWhileHeldAndAlwaysShowsTheReleasedFrame) {
    b->setMomentary(1);
    EXPECT_EQ(fx.down(360, 360), kMouseEventHandled);
    EXPECT_EQ(b->getValue(), 1.0f);
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    fx.up(360, 360);
    EXPECT_EQ(b->getValue(), 0.0f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 3", "value 3 1", "end 3", "begin 3", "value 3 0", "end 3"}));
}

TEST_F(SpeedButtonTest, ToggleFlipsOnEachPressAndShowsPressedWhileHeld) {
    EXPECT_EQ(b->getMomentary(), 0);
    EXPECT_EQ(fx.down(360, 360), kMouseEventHandled);
    EXPECT_EQ(b->getValue(), 1.0f);
    EXPECT_EQ(fx.frameShown(b, 2), 1);
    fx.move(10, 10, kLButton);  // moving away changes nothing
    EXPECT_EQ(b->getValue(), 1.0f);
    fx.up(10, 10);
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    EXPECT_EQ(b->getValue(), 1.0f);
    fx.down(360, 360);
    fx.up(360, 360);
    EXPECT_EQ(b->getValue(), 0.0f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 3", "value 3 1", "end 3", "begin 3", "value 3 0", "end 3"}));
    EXPECT_EQ(fx.down(360, 360, kRButton), kMouseEventNotHandled);
}

TEST_F(ButtonTest, KickButtonShowsHoverAndPressedAndReportsOnPressOnly) {
    strip.reset(makeFilmstrip(12, 14, 3));
    auto* b = fx.add(new COvKickButton(CRect(320, 679, 332, 693), &fx.recorder, 211, strip.get()));
    EXPECT_EQ(fx.frameShown(b, 3), 0);
    fx.move(325, 685);
    EXPECT_TRUE(b->isHovered());
    EXPECT_EQ(fx.frameShown(b, 3), 1);
    EXPECT_EQ(fx.down(325, 685), kMouseEventHandled);
    EXPECT_EQ(fx.frameShown(b, 3), 2);
    fx.up(325, 685);
    EXPECT_EQ(b->getValue(), 0.0f);
    EXPECT_EQ(fx.frameShown(b, 3), 1);
    fx.move(100, 100);
    EXPECT_EQ(fx.frameShown(b, 3), 0);
    EXPECT_EQ(fx.recorder.log, (Log{"value 211 1"}));
    EXPECT_EQ(fx.down(325, 685, kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(fx.recorder.log.size(), 1u);
}

TEST_F(ButtonTest, PanelOnOffButtonFramesAndToggle) {
    strip.reset(makeFilmstrip(22, 15, 3));
    auto* b = fx.add(new COvOnOffButton(CRect(262, 658, 284, 673), &fx.recorder, 203, strip.get()));
    EXPECT_EQ(fx.frameShown(b, 3), 0);
    fx.move(270, 665);
    EXPECT_EQ(fx.frameShown(b, 3), 1);  // off and hovered
    EXPECT_EQ(fx.down(270, 665), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(fx.frameShown(b, 3), 2);  // on, hovered or not
    fx.move(10, 10);
    EXPECT_EQ(fx.frameShown(b, 3), 2);
    fx.move(270, 665);
    fx.down(270, 665);
    EXPECT_EQ(fx.frameShown(b, 3), 1);
    EXPECT_EQ(fx.recorder.log, (Log{"value 203 1", "value 203 0"}));
    EXPECT_EQ(fx.down(270, 665, kRButton), kMouseEventNotHandled);
}

class RockerTest : public ButtonTest {
protected:
    RockerTest() {
        strip.reset(makeFilmstrip(31, 14, 5));
        r = fx.add(new COvRockerSwitch(CRect(109, 659, 140, 673), &fx.recorder, 195, strip.get()));
    }
    COvRockerSwitch* r;
};

TEST_F(RockerTest, PressAndReleaseReportOnceWithTheSide) {
    EXPECT_EQ(r->getMin(), -1.0f);
    EXPECT_EQ(fx.down(130, 665), kMouseEventHandled);  // right half (centre 124.5)
    EXPECT_EQ(fx.frameShown(r, 5), 4);
    fx.up(130, 665);
    EXPECT_EQ(r->getValue(), 0.0f);
    EXPECT_EQ(fx.recorder.log, (Log{"value 195 1"}));
    fx.down(112, 665);
    EXPECT_EQ(fx.frameShown(r, 5), 3);
    fx.up(112, 665);
    EXPECT_EQ(fx.recorder.values, (std::vector<float>{1.0f, -1.0f}));
    EXPECT_EQ(fx.down(130, 665, kRButton), kMouseEventNotHandled);
}

TEST_F(RockerTest, HoverShowsTheSideUnderTheMouse) {
    fx.move(112, 665);
    EXPECT_EQ(r->getHoverSide(), -1);
    EXPECT_EQ(fx.frameShown(r, 5), 1);
    fx.move(135, 665);
    EXPECT_EQ(r->getHoverSide(), 1);
    EXPECT_EQ(fx.frameShown(r, 5), 2);
    fx.move(300, 300);
    EXPECT_EQ(r->getHoverSide(), 0);
    EXPECT_EQ(fx.frameShown(r, 5), 0);
}

class SaveLoadTest : public ButtonTest {
protected:
    SaveLoadTest() {
        strip.reset(makeFilmstrip(12, 14, 3));
        b = fx.add(new CSaveLoadButton(CRect(56, 679, 68, 693), &fx.recorder, 198, strip.get()));
    }
    CSaveLoadButton* b;
};

TEST_F(SaveLoadTest, LeftGivesOnePlainRightGivesHalfAndShiftRightGivesOne) {
    EXPECT_EQ(fx.down(60, 685), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(b->getValue(), 0.0f);
    fx.down(60, 685, kRButton);
    fx.down(60, 685, kRButton | kShift);
    fx.down(60, 685, kRButton | kControl);
    EXPECT_EQ(fx.recorder.values, (std::vector<float>{1.0f, 0.5f, 1.0f, 1.0f}));
    EXPECT_EQ(fx.down(60, 685, kMButton), kMouseEventNotHandled);
    b->setListener(nullptr);
    EXPECT_EQ(fx.down(60, 685), kMouseEventNotHandled);
}

TEST_F(SaveLoadTest, HoverFrameAndNoKeys) {
    EXPECT_EQ(fx.frameShown(b, 3), 0);
    fx.move(60, 685);
    EXPECT_EQ(fx.frameShown(b, 3), 1);
    VstKeyCode k{0, VKEY_RETURN, 0};
    EXPECT_EQ(fx.frame->onKeyDown(k), -1);
    b->setValue(1.0f);
    EXPECT_EQ(fx.frameShown(b, 3), 2);
}

bool speedText(float value, char* text, void*) {
    std::snprintf(text, kParamDisplayTextSize, "%.2f Hz", value * 10.0f);
    return true;
}

TEST(CGyrolaParamDisplay, DrawsTheBackgroundUnderItThenWhiteCentredText) {
    OffscreenFixture fx(448, 200);
    BitmapPtr bg(makeFilmstrip(448, 200, 1));
    fx.frame->setBackground(bg.get());
    auto* d = new CGyrolaParamDisplay(CRect(39, 105, 91, 116), bg.get());
    d->setBackOffset(CPoint(39, 105));
    d->setValueToStringProc(speedText);
    d->setValue(0.1f);
    fx.frame->addView(d);
    EXPECT_EQ(d->getFont()->getSize(), 9);
    fx.frame->idle();
    // Pixels that are not the background are the text: grey levels (white blended), centred.
    int inkLeft = 1000, inkRight = -1, ink = 0;
    for (int y = 105; y < 116; ++y)
        for (int x = 39; x < 91; ++x) {
            const uint32_t p = pixelAt(fx.surface(), x, y);
            if (p == filmstripPixel(0, x, y)) continue;
            ++ink;
            inkLeft = std::min(inkLeft, x);
            inkRight = std::max(inkRight, x + 1);
            const uint32_t r = p >> 16 & 0xff, g = p >> 8 & 0xff, b = p & 0xff;
            EXPECT_GE(std::min({r, g, b}), std::min({filmstripPixel(0, x, y) >> 16 & 0xff,
                                                       filmstripPixel(0, x, y) >> 8 & 0xff,
                                                       filmstripPixel(0, x, y) & 0xff}));  // lighter
        }
    EXPECT_GT(ink, 20);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 65.0, 1.5);
    // Outside the display nothing changed.
    EXPECT_EQ(pixelAt(fx.surface(), 38, 110), filmstripPixel(0, 38, 110));
    EXPECT_EQ(pixelAt(fx.surface(), 91, 110), filmstripPixel(0, 91, 110));
}

}  // namespace
}  // namespace orv::test
