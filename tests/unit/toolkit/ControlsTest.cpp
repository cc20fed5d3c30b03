// Toolkit controls: dirty tracking, the default-value check inside an edit gesture, the
// indicator's frame rounding and the value display's drawing. The knob, buttons and rocker
// are exercised through the editor's controls built on them.
#include <gtest/gtest.h>

#include <cstring>

#include "toolkit/CMovieBitmap.h"
#include "toolkit/CParamDisplay.h"
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

bool percentText(float value, char* text, void* userData) {
    std::snprintf(text, kParamDisplayTextSize, "%s%.0f", static_cast<const char*>(userData), value * 100.0f);
    return true;
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
