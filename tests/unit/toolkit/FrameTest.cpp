// The frame: painting dirty views at idle, modal views, and event routing; the controls' dirty
// tracking. The default-value check, knob, buttons, rocker, indicator and value display are
// exercised through the editor's controls built on them and its renders.
#include <gtest/gtest.h>

#include "toolkit/CDrawContext.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

// A view that fills itself with one colour and logs every event it gets.
class ProbeView : public CView {
public:
    ProbeView(const CRect& r, uint32_t rgb, Log* log, const char* name, CMouseEventResult down = kMouseEventHandled)
        : CView(r), rgb_(rgb), log_(log), name_(name), down_(down)
    {}

    void draw(CDrawContext* ctx) override
    {
        ++draws;
        ctx->setFillColor(CColor{uint8_t(rgb_ >> 16), uint8_t(rgb_ >> 8), uint8_t(rgb_), 255});
        ctx->fillRect(size_);
        setDirty(false);
    }
    CMouseEventResult onMouseDown(CPoint& p, const CButtonState&) override { return add("down", p), down_; }
    CMouseEventResult onMouseUp(CPoint& p, const CButtonState&) override { return add("up", p); }
    CMouseEventResult onMouseMoved(CPoint& p, const CButtonState&) override { return add("moved", p); }
    CMouseEventResult onMouseEntered(CPoint& p, const CButtonState&) override { return add("entered", p); }
    CMouseEventResult onMouseExited(CPoint& p, const CButtonState&) override { return add("exited", p); }
    bool onWheel(const CPoint& p, float d, const CButtonState&) override
    {
        return add("wheel" + std::to_string(int(d)), p) == kMouseEventHandled;
    }
    int32_t onKeyDown(VstKeyCode& k) override
    {
        log_->push_back(name_ + " key " + std::to_string(k.virt));
        return keyResult;
    }
    void takeFocus() override { log_->push_back(name_ + " focus"); }
    void looseFocus() override { log_->push_back(name_ + " unfocus"); }

    int draws = 0;
    int32_t keyResult = 1;

private:
    CMouseEventResult add(const std::string& what, const CPoint& p)
    {
        log_->push_back(name_ + " " + what + " " + std::to_string(p.x) + "," + std::to_string(p.y));
        return kMouseEventHandled;
    }
    uint32_t rgb_;
    Log* log_;
    std::string name_;
    CMouseEventResult down_;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : fx(100, 80) {}
    ProbeView* add(const CRect& r, uint32_t rgb, const char* name, CMouseEventResult down = kMouseEventHandled)
    {
        return fx.add(new ProbeView(r, rgb, &log, name, down));
    }
    OffscreenFixture fx;
    Log log;
};

TEST_F(FrameTest, IdlePaintsDirtyViewsAndWhatTheyOverlapAndHiddenOrRemovedViewsLeaveTheBackground)
{
    BitmapPtr bg(makeSolid(100, 80, 0xff102030u));
    fx.frame->setBackground(bg.get());
    ProbeView* a = add(CRect(10, 10, 40, 40), 0xff0000, "a");
    ProbeView* b = add(CRect(30, 30, 60, 60), 0x00ff00, "b");
    ProbeView* c = add(CRect(70, 10, 80, 20), 0x0000ff, "c");
    fx.frame->idle();
    EXPECT_EQ(pixelAt(fx.surface(), 0, 0), 0x102030u);
    EXPECT_EQ(pixelAt(fx.surface(), 15, 15), 0xff0000u);
    EXPECT_EQ(pixelAt(fx.surface(), 35, 35), 0x00ff00u);  // added later: on top
    const int drawsA = a->draws, drawsB = b->draws, drawsC = c->draws;
    fx.frame->idle();  // nothing dirty: nothing drawn
    b->invalid();      // b is repainted, a only because it overlaps b's area
    fx.frame->idle();
    EXPECT_EQ(b->draws, drawsB + 1);
    EXPECT_EQ(a->draws, drawsA + 1);
    EXPECT_EQ(c->draws, drawsC);
    EXPECT_EQ(pixelAt(fx.surface(), 35, 35), 0x00ff00u);
    EXPECT_FALSE(fx.frame->isDirty());

    a->setVisible(false);
    fx.frame->idle();
    EXPECT_EQ(pixelAt(fx.surface(), 15, 15), 0x102030u);
    EXPECT_EQ(fx.frame->getViewAt(CPoint(15, 15)), nullptr);
    EXPECT_TRUE(fx.frame->removeView(c));
    EXPECT_EQ(fx.frame->getNbViews(), 2);
    fx.frame->idle();
    EXPECT_EQ(pixelAt(fx.surface(), 75, 15), 0x102030u);
}

TEST_F(FrameTest, PressesGoToTheTopMostViewThatTakesThemAndItGetsTheMovesAndTheRelease)
{
    add(CRect(0, 0, 50, 50), 0, "under");
    add(CRect(20, 20, 50, 50), 0, "over");
    add(CRect(0, 0, 10, 10), 0, "passing", kMouseEventNotHandled);
    CPoint p(30, 30), outside(90, 70), corner(5, 5);
    EXPECT_EQ(fx.frame->onMouseDown(p, kLButton), kMouseEventHandled);
    fx.frame->onMouseMoved(outside, kLButton);
    fx.frame->onMouseUp(outside, kLButton);
    EXPECT_EQ(fx.frame->onMouseDown(corner, kLButton), kMouseEventHandled);  // falls through to the view below
    EXPECT_EQ(log, (Log{"over down 30,30", "over moved 90,70", "over up 90,70", "passing down 5,5", "under down 5,5"}));
}

TEST_F(FrameTest, HoverProducesEnteredAndExitedAndTheCurrentView)
{
    ProbeView* a = add(CRect(0, 0, 20, 20), 0, "a");
    ProbeView* b = add(CRect(15, 0, 60, 20), 0, "b");  // over a's right edge: the later view is on top
    for (auto [p, current] :
         {std::pair{CPoint(5, 5), a}, {CPoint(17, 5), b}, {CPoint(30, 50), nullptr}, {CPoint(46, 6), b}}) {
        fx.frame->onMouseMoved(p, 0);
        EXPECT_EQ(fx.frame->getCurrentView(), current);
    }
    CPoint r(46, 6);
    fx.frame->onMouseExited(r, 0);  // the pointer leaves the window
    EXPECT_EQ(fx.frame->getCurrentView(), nullptr);
    EXPECT_EQ(log,
              (Log{"a entered 5,5", "a moved 5,5", "a exited 17,5", "b entered 17,5", "b moved 17,5", "b exited 30,50",
                   "b entered 46,6", "b moved 46,6", "b exited 46,6"}));
}

TEST_F(FrameTest, KeysGoToTheFocusViewThenToTheViewUnderTheMouse)
{
    ProbeView* a = add(CRect(0, 0, 20, 20), 0, "a");
    ProbeView* b = add(CRect(40, 0, 60, 20), 0, "b");
    a->setWantsFocus(true);
    CPoint p(5, 5), q(45, 5);
    fx.frame->onMouseDown(p, kLButton);
    fx.frame->onMouseUp(p, kLButton);
    EXPECT_EQ(fx.frame->getFocusView(), a);
    fx.frame->onMouseMoved(q, 0);
    log.clear();
    VstKeyCode up{0, VKEY_UP, 0};
    EXPECT_EQ(fx.frame->onKeyDown(up), 1);
    a->keyResult = -1;
    EXPECT_EQ(fx.frame->onKeyDown(up), 1);
    b->keyResult = -1;
    EXPECT_EQ(fx.frame->onKeyDown(up), -1);
    EXPECT_EQ(log, (Log{"a key 12", "a key 12", "b key 12", "a key 12", "b key 12"}));
    // A click on a view that does not want the focus takes it away.
    log.clear();
    fx.frame->onMouseDown(q, kLButton);
    EXPECT_EQ(fx.frame->getFocusView(), nullptr);
    EXPECT_EQ(log.front(), "a unfocus");
}

TEST_F(FrameTest, ModalViewTakesAllInputAndIsDrawnOnTop)
{
    add(CRect(0, 0, 100, 80), 0xff0000, "a");
    auto* modal = new ProbeView(CRect(10, 10, 30, 30), 0x00ff00, &log, "modal");
    ASSERT_TRUE(fx.frame->setModalView(modal));
    auto* second = new ProbeView(CRect(), 0, &log, "second");
    EXPECT_FALSE(fx.frame->setModalView(second));  // one modal view at a time
    second->forget();
    fx.frame->idle();
    EXPECT_EQ(pixelAt(fx.surface(), 20, 20), 0x00ff00u);
    EXPECT_EQ(pixelAt(fx.surface(), 50, 50), 0xff0000u);
    CPoint inside(15, 15), outside(60, 60);
    fx.frame->onMouseDown(inside, kLButton);
    fx.frame->onMouseUp(inside, kLButton);
    fx.frame->onMouseDown(outside, kLButton);  // swallowed
    VstKeyCode k{0, VKEY_ESCAPE, 0};
    fx.frame->onKeyDown(k);
    EXPECT_TRUE(fx.frame->onWheel(CPoint(12, 12), 1.0f, 0));
    EXPECT_EQ(log,
              (Log{"modal down 15,15", "modal up 15,15", "modal entered 15,15", "modal key 6", "modal wheel1 12,12"}));
    // Clearing hands the reference back; the area is repainted without it.
    ASSERT_TRUE(fx.frame->setModalView(nullptr));
    modal->forget();
    fx.frame->idle();
    EXPECT_EQ(pixelAt(fx.surface(), 20, 20), 0xff0000u);
}

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

}  // namespace
}  // namespace orv::test
