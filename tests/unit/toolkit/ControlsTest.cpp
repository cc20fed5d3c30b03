// Toolkit controls: dirty tracking and the indicator's frame rounding. The default-value check,
// knob, buttons, rocker and value display are exercised through the editor's controls built on
// them and its stored renders.
#include <gtest/gtest.h>

#include "toolkit/CMovieBitmap.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

TEST(CControl, DirtyWhenTheValueDiffersFromTheOneLastDrawn)
{
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

TEST(CMovieBitmap, FrameIsValueTimesFramesMinusOneRounded)
{
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

}  // namespace
}  // namespace orv::test
