// Toolkit controls: values, the default-value check, edit gestures, filmstrip frames and the
// standard knob, buttons, rocker, indicator and value display.
#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/CAnimKnob.h"
#include "toolkit/CKickButton.h"
#include "toolkit/CMovieBitmap.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"
#include "toolkit/CRockerSwitch.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

TEST(CControl, DirtyWhenTheValueDiffersFromTheOneLastDrawn) {
    OffscreenFixture fx;
    auto* c = fx.add(new CControl(CRect(0, 0, 10, 10), &fx.recorder, 5));
    fx.frame->idle();
    EXPECT_FALSE(c->isDirty());
    c->setValue(0.3f);
    EXPECT_TRUE(c->isDirty());
    fx.frame->idle();
    EXPECT_FALSE(c->isDirty());
    c->setValue(0.3f);
    EXPECT_FALSE(c->isDirty());
    c->invalid();
    EXPECT_TRUE(c->isDirty());
}

TEST(CControl, CtrlClickSetsTheDefaultInsideAnEditGesture) {
    OffscreenFixture fx;
    auto* c = fx.add(new CControl(CRect(0, 0, 10, 10), &fx.recorder, 7));
    fx.frame->idle();
    c->setDefaultValue(0.75f);
    EXPECT_FALSE(c->checkDefaultValue(kLButton));
    EXPECT_FALSE(c->checkDefaultValue(kControl | kRButton));
    EXPECT_TRUE(fx.recorder.log.empty());
    EXPECT_TRUE(c->checkDefaultValue(kControl | kLButton));
    EXPECT_EQ(c->getValue(), 0.75f);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 7", "value 7 0.75", "end 7"}));
}

TEST(CControl, NormalisedValueAndBounce) {
    CControl c(CRect(0, 0, 1, 1));
    c.setMin(-1.0f);
    c.setMax(1.0f);
    c.setValue(0.5f);
    EXPECT_FLOAT_EQ(c.getValueNormalized(), 0.75f);
    c.setValue(3.0f);
    c.bounceValue();
    EXPECT_EQ(c.getValue(), 1.0f);
    c.setValue(-3.0f);
    c.bounceValue();
    EXPECT_EQ(c.getValue(), -1.0f);
}

TEST(CAnimKnob, DrawsTheRoundedFrameOfItsValue) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(20, 20, 11));
    auto* knob = fx.add(new CAnimKnob(CRect(10, 10, 30, 30), &fx.recorder, 1, strip.get()));
    EXPECT_EQ(knob->getNumSubPixmaps(), 11);
    for (float v : {0.0f, 0.04f, 0.06f, 0.5f, 0.94f, 1.0f}) {
        knob->setValue(v);
        EXPECT_EQ(fx.frameShown(knob, 11), static_cast<int>(v * 10 + 0.5f)) << v;
    }
}

TEST(CAnimKnob, LinearDragAndFineDragWithShift) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(20, 20, 11));
    auto* knob = fx.add(new CAnimKnob(CRect(10, 10, 30, 30), &fx.recorder, 1, strip.get()));
    fx.down(20, 20);
    fx.move(20, 20 - 50, kLButton);  // 50 pixels up
    EXPECT_FLOAT_EQ(knob->getValue(), 50.0f / CAnimKnob::kDragRangePixels);
    fx.up(20, 20 - 50);
    EXPECT_EQ(fx.recorder.log.front(), "begin 1");
    EXPECT_EQ(fx.recorder.log.back(), "end 1");
    knob->setValue(0.0f);
    fx.down(20, 20, kLButton | kShift);
    fx.move(20, 20 - 50, kLButton | kShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 50.0f / (CAnimKnob::kDragRangePixels * knob->getZoomFactor()));
}

TEST(CMovieBitmap, FrameIsValueTimesFramesMinusOneRounded) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(30, 14, 18));
    auto* ind = fx.add(new CMovieBitmap(CRect(5, 5, 35, 19), nullptr, 39, 18, 14, strip.get()));
    for (int channel = 0; channel < 18; ++channel) {
        ind->setValue(channel / 17.0f);
        EXPECT_EQ(fx.frameShown(ind, 18), channel);
    }
    ind->setValue(0.5f / 17.0f - 0.001f);  // just below half a step rounds down
    EXPECT_EQ(fx.frameShown(ind, 18), 0);
    CPoint p(10, 10);
    EXPECT_EQ(ind->onMouseDown(p, kLButton), kMouseEventNotHandled);
}

TEST(COnOffButton, ClickTogglesAndShowsTheMatchingFrame) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(10, 8, 2));
    auto* b = fx.add(new COnOffButton(CRect(0, 0, 10, 8), &fx.recorder, 4, strip.get()));
    EXPECT_EQ(fx.down(3, 3), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(b->getValue(), 1.0f);
    EXPECT_EQ(fx.frameShown(b, 2), 1);
    fx.down(3, 3);
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 4", "value 4 1", "end 4", "begin 4", "value 4 0", "end 4"}));
    EXPECT_EQ(fx.down(3, 3, kRButton), kMouseEventNotHandled);
}

TEST(CKickButton, PressedWhileHeldOverItReleasedAfter) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(10, 10, 2));
    auto* b = fx.add(new CKickButton(CRect(0, 0, 10, 10), &fx.recorder, 9, strip.get()));
    fx.down(5, 5);
    EXPECT_EQ(fx.frameShown(b, 2), 1);
    fx.move(50, 50, kLButton);
    EXPECT_EQ(b->getValue(), 0.0f);
    fx.move(5, 5, kLButton);
    EXPECT_EQ(b->getValue(), 1.0f);
    fx.up(5, 5);
    EXPECT_EQ(fx.frameShown(b, 2), 0);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 9", "value 9 1", "value 9 0", "end 9"}));
}

TEST(CRockerSwitch, SideOfThePressDecidesTheSignAndReleaseReturnsToRest) {
    OffscreenFixture fx;
    BitmapPtr strip(makeFilmstrip(20, 6, 3));
    auto* r = fx.add(new CRockerSwitch(CRect(0, 0, 20, 6), &fx.recorder, 3, 6, strip.get()));
    fx.down(2, 2);  // left half
    EXPECT_EQ(fx.frameShown(r, 3), 1);
    fx.up(2, 2);
    fx.down(15, 2);
    EXPECT_EQ(fx.frameShown(r, 3), 2);
    fx.up(15, 2);
    EXPECT_EQ(fx.frameShown(r, 3), 0);
    EXPECT_EQ(fx.recorder.values, (std::vector<float>{-1.0f, 0.0f, 1.0f, 0.0f}));
}

bool percentText(float value, char* text, void* userData) {
    std::snprintf(text, kParamDisplayTextSize, "%s%.0f", static_cast<const char*>(userData), value * 100.0f);
    return true;
}

TEST(CParamDisplay, TextComesFromTheValueToTextFunctionWithItsUserData) {
    CParamDisplay d(CRect(0, 0, 50, 12));
    char text[kParamDisplayTextSize];
    d.setValue(0.25f);
    d.getDisplayString(text);
    EXPECT_STREQ(text, "0.25");
    static const char prefix[] = "P";
    d.setValueToStringProc(percentText, const_cast<char*>(prefix));
    EXPECT_EQ(d.getUserData(), prefix);
    d.getDisplayString(text);
    EXPECT_STREQ(text, "P25");
}

TEST(CParamDisplay, DrawsBackgroundFromTheOffsetAndTextOnTop) {
    OffscreenFixture fx(120, 60);
    BitmapPtr bg(makeFilmstrip(120, 60, 1));
    auto* d = new CParamDisplay(CRect(40, 20, 92, 31), bg.get(), kNoFrame);
    d->setBackOffset(CPoint(40, 20));
    d->setFont(kNormalFontVerySmall);
    d->setFontColor(kWhiteCColor);
    d->setValueToStringProc(percentText, const_cast<char*>(""));
    d->setValue(0.5f);
    fx.frame->addView(d);
    fx.frame->idle();
    // The display shows the background's own pixels except where the text's ink lies.
    const int differing = mismatchesAgainstFrame(fx.surface(), d->getViewSize(), 0, 40, 20);
    EXPECT_GT(differing, 10);                          // some text
    EXPECT_LT(differing, d->getWidth() * d->getHeight() / 2);  // mostly background
    EXPECT_EQ(pixelAt(fx.surface(), 40, 20), filmstripPixel(0, 40, 20));
    EXPECT_EQ(pixelAt(fx.surface(), 91, 30), filmstripPixel(0, 91, 30));

    d->setStyle(kNoFrame | kNoTextStyle);
    d->invalid();
    fx.frame->idle();
    EXPECT_EQ(mismatchesAgainstFrame(fx.surface(), d->getViewSize(), 0, 40, 20), 0);
}

}  // namespace
}  // namespace orv::test
