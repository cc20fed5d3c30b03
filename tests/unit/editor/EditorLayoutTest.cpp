// Where the editor puts every control: the whole view list (class, rectangle, bitmap, tag,
// value and each class's settings) against a stored layout (data/layout.txt, written with
// ORV_UPDATE_EDITOR_LAYOUT=1 when the layout changes on purpose), and the offscreen render
// showing exactly the filmstrip frame that each value selects.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvKickButton.h"
#include "editor/MyFrame.h"
#include "editor/OrvMarker.h"
#include "editor/OrvVerticalSwitch.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/COptionMenu.h"
#include "support/StoredLines.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

class EditorLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.open()); }
    EditorRig rig;
};

int bitmapIdOf(const CView* v) { return v->getBackground() != nullptr ? v->getBackground()->getResourceId() : -1; }

std::ostream& operator<<(std::ostream& s, const CRect& r) {
    return s << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
}
std::ostream& operator<<(std::ostream& s, const CPoint& p) { return s << p.x << ',' << p.y; }
std::ostream& operator<<(std::ostream& s, CFontRef f) { return s << f->getName() << ' ' << f->getSize(); }

// One line per view with what the layout fixes about it.
std::string describe(CView* v, const EditorRig& rig) {
    std::ostringstream s;
    s << typeid(*v).name() << " rect " << v->getViewSize() << " bitmap " << bitmapIdOf(v);
    if (auto* c = dynamic_cast<CControl*>(v)) {
        s << " tag " << c->getTag() << " value " << c->getValue();
        s << " listener " << (c->getListener() == static_cast<CControlListener*>(rig.editor));
    }
    if (auto* k = dynamic_cast<CAnimKnob3*>(v))
        s << " default " << k->getDefaultValue() << " wheel " << k->getWheelStep() << " shift "
          << k->getShiftWheelFactor() << " drag " << k->getDragRangeFactor();
    if (auto* d = dynamic_cast<CGyrolaParamDisplay*>(v))
        s << " back " << d->getBackOffset() << " height " << d->getHeight() << " effect "
          << (d->getUserData() == rig.effect.get());
    if (auto* d = dynamic_cast<CMidiParamDisplay*>(v)) s << " back " << d->getBackOffset() << " font " << d->getFont();
    if (auto* w = dynamic_cast<COrvClickSwitch*>(v)) s << " states " << w->getStates();
    if (auto* l = dynamic_cast<OrvVerticalSwitch*>(v)) s << " wheel " << l->getWheelStep() << " shift " << l->getShiftWheelFactor();
    if (auto* m = dynamic_cast<OrvMarker*>(v)) s << " handle " << m->getHandleOffset() << " travel " << m->getHandleTravel();
    if (auto* a = dynamic_cast<CAbout*>(v))
        s << " shows " << a->getToDisplay() << " offset " << a->getOffset() << " version " << a->getVersionPosition();
    if (auto* k = dynamic_cast<COvKickButton*>(v)) s << " doubleClickOnly " << k->isDoubleClickOnly();
    if (auto* t = dynamic_cast<COrvTextEdit*>(v))
        s << " back " << t->getBackOffset() << " align " << t->getHoriAlign() << " font " << t->getFont();
    if (auto* m = dynamic_cast<COptionMenu*>(v))
        s << " style " << m->getStyle() << " entries " << m->getNbEntries() << " perColumn " << m->getNbItemsPerColumn();
    return s.str();
}

std::string layoutFile() { return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/layout.txt"; }

TEST(EditorRectangle, IsTheBackgroundsSizeThroughTheDispatcherAndOpenNeedsAParent) {
    EditorRig rig;
    vst::ERect* r = nullptr;
    vst::AEffect* record = rig.effect->getAeffect();
    ASSERT_EQ(record->dispatcher(record, vst::effEditGetRect, 0, 0, &r, 0.0f), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->bottom, 696);
    EXPECT_EQ(r->right, 448);
    EXPECT_TRUE(record->flags & vst::effFlagsHasEditor);
    // No parent window: nothing is created.
    EXPECT_EQ(record->dispatcher(record, vst::effEditOpen, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(rig.editor->getFrame(), nullptr);
}

TEST_F(EditorLayoutTest, FrameIsAMyFrameWithTheBackgroundLinearKnobsAndFocusOnClick) {
    auto* frame = dynamic_cast<MyFrame*>(rig.frame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 448, 696));
    EXPECT_EQ(bitmapIdOf(frame), 4000);
    EXPECT_EQ(frame->getFocusOnClick(), 1);
    EXPECT_EQ(rig.editor->getKnobMode(), kLinearMode);
}

TEST_F(EditorLayoutTest, EveryViewMatchesTheStoredLayoutInCreationOrder) {
    std::vector<std::string> now;
    for (int i = 0; i < rig.frame()->getNbViews(); ++i) now.push_back(describe(rig.frame()->getView(i), rig));
    expectStoredLines(layoutFile(), now, "ORV_UPDATE_EDITOR_LAYOUT");
    // Each view is the one found under the middle of its rectangle, except where the panel's
    // load button is drawn over the default button's last column.
    for (int i = 0; i < rig.frame()->getNbViews(); ++i) {
        CView* v = rig.frame()->getView(i);
        if (auto* c = dynamic_cast<CControl*>(v); c != nullptr && c->getTag() == 210) continue;
        EXPECT_EQ(rig.frame()->getViewAt(centreOf(v->getViewSize())), v) << describe(v, rig);
    }
}

// Every knob draws the filmstrip frame round((frames - 1) v) of its value, its display shows
// the background under itself, and the set-up knob has a second display line.
TEST_F(EditorLayoutTest, EveryKnobDrawsTheFrameOfItsValue) {
    cairo_surface_t* shown = rig.render();
    int knobs = 0;
    for (int i = 0; i < rig.frame()->getNbViews(); ++i) {
        auto* knob = dynamic_cast<CAnimKnob3*>(rig.frame()->getView(i));
        if (knob == nullptr) continue;
        ++knobs;
        const CRect r = knob->getViewSize();
        const int frames = knob->getBackground()->getHeight() / r.getHeight();
        const float v = rig.effect->getParameter(knob->getTag());
        EXPECT_EQ(knob->getValue(), v);
        const int frame = static_cast<int>((frames - 1) * v + 0.5f);
        EXPECT_EQ(knob->getDrawnFrame(), frame) << knob->getTag();
        EXPECT_EQ(mismatchesAgainstFilmstrip(shown, r, bitmapIdOf(knob), frame, r.getHeight()), 0) << knob->getTag();
        EXPECT_EQ(rig.editor->getParameterDisplay(knob->getTag(), false)->getValue(), v) << knob->getTag();
    }
    EXPECT_EQ(knobs, 34);
    EXPECT_EQ(rig.editor->getParameterDisplay(10, true)->getViewSize(), CRect(288, 265, 340, 276));
}

TEST_F(EditorLayoutTest, SwitchesButtonsLeverAndIndicatorsDrawTheirFrames) {
    cairo_surface_t* shown = rig.render();
    auto value = [&](int tag) { return rig.effect->getParameter(tag); };
    for (int tag : {0, 1, 2, 3, 4, 39, 40, 41})
        EXPECT_EQ(rig.editor->getParameterControl(tag)->getValue(), value(tag)) << "tag " << tag;

    // Two-frame buttons by value >= 0.5; the lever from the top (value 1) down; the channel
    // indicator round(17 v); click switches round((N - 1) v).
    struct Strip {
        int tag, frame, height;
    };
    const Strip strips[] = {
        {4, value(4) >= 0.5f ? 1 : 0, 36}, {3, 0, 36}, {2, static_cast<int>((1.0f - value(2)) * 64 + 0.5f), 186},
        {195, 0, 14}, {39, static_cast<int>(value(39) * 17 + 0.5f), 14}, {0, value(0) >= 0.5f ? 1 : 0, 14},
        {1, value(1) >= 0.5f ? 1 : 0, 14}, {40, static_cast<int>(2 * value(40) + 0.5f), 15},
        {41, static_cast<int>(3 * value(41) + 0.5f), 15},
    };
    for (const Strip& s : strips) {
        const CControl* c = rig.editor->getParameterControl(s.tag);
        ASSERT_NE(c, nullptr) << s.tag;
        EXPECT_EQ(mismatchesAgainstFilmstrip(shown, c->getViewSize(), bitmapIdOf(c), s.frame, s.height), 0) << s.tag;
    }
}

// The panel's buttons show their bitmaps; the about hot area and the program menu draw nothing,
// so the background shows under them.
TEST_F(EditorLayoutTest, PanelButtonsShowTheirBitmapsAndHotAreasShowTheBackground) {
    cairo_surface_t* shown = rig.render();
    int buttons = 0;
    for (int i = 0; i < rig.frame()->getNbViews(); ++i) {
        auto* c = dynamic_cast<CControl*>(rig.frame()->getView(i));
        if (c == nullptr || c->getTag() < 198 || c->getTag() == 202 || c->getTag() == 208 || c->getTag() == 196) continue;
        CRect r = c->getViewSize();
        // Load preset (200) is drawn over the last column of default preset (210): that column
        // shows both, so each is compared without it.
        if (c->getTag() == 200) r.left += 1;
        if (c->getTag() == 210) r.right -= 1;
        EXPECT_EQ(mismatchesAgainstBitmap(shown, r, bitmapIdOf(c), r.left - c->getViewSize().left, 0), 0) << c->getTag();
        ++buttons;
    }
    EXPECT_EQ(buttons, 16);
    EXPECT_EQ(mismatchesAgainstBitmap(shown, CRect(35, 160, 210, 182), 4000, 35, 160), 0);   // about
    EXPECT_EQ(mismatchesAgainstBitmap(shown, CRect(262, 678, 274, 692), 4000, 262, 678), 0);  // menu
    auto* name = rig.editor->panelView().getNameField();
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name->getText(), rig.effect->getProgramRecord(rig.effect->getCurrentProgramIndex()).name);
}

TEST(EditorLifecycle, CloseForgetsEveryControlAndReopenBuildsThemAgain) {
    EditorRig rig;
    ASSERT_TRUE(rig.open());
    EXPECT_NE(rig.editor->getParameterControl(17), nullptr);
    rig.editor->close();
    EXPECT_EQ(rig.editor->getFrame(), nullptr);
    for (int tag : {0, 2, 3, 17, 39, 41, 189, 190, 194, 195}) EXPECT_EQ(rig.editor->getParameterControl(tag), nullptr);
    EXPECT_EQ(rig.editor->panelView().getNameField(), nullptr);
    // Closed: parameter changes and idles touch nothing.
    rig.effect->setParameter(17, 0.9f);
    rig.editor->idle();
    ASSERT_TRUE(rig.open());
    EXPECT_FLOAT_EQ(rig.editor->getParameterControl(17)->getValue(), 0.9f);
}


// Every text a value display can show (values in steps of 1/2000) stays whole in the editor:
// the displays' rectangles overlap by a few pixels and the widest texts reach past the
// neighbour's edge, so the text with the leftmost and the one with the rightmost ink, drawn on
// the display alone, must look the same in the whole editor after all displays redrew.
TEST(EditorDisplayText, TheWidestTextsStayWholeWhenTheNeighboursRedraw) {
    EditorRig rig;
    ASSERT_TRUE(rig.open());
    std::vector<CGyrolaParamDisplay*> displays;
    for (int i = 0; i < rig.frame()->getNbViews(); ++i)
        if (auto* d = dynamic_cast<CGyrolaParamDisplay*>(rig.frame()->getView(i))) displays.push_back(d);
    ASSERT_EQ(displays.size(), 35u);  // one per knob, two for the set-up knob

    CBitmap background(RotaryEditor::kBackgroundId);
    COffscreenContext alone(448, 696);
    auto drawAlone = [&](CGyrolaParamDisplay* d, float v) {
        d->setValue(v);
        const CRect r = d->getViewSize();
        alone.setClipRect(r);
        background.draw(&alone, r, r.getTopLeft());
        d->draw(&alone);
    };
    auto isInk = [&](int x, int y) { return rgbAt(alone.getSurface(), x, y) != rgbAt(background.getSurface(), x, y); };
    for (CGyrolaParamDisplay* d : displays) {
        const CRect r = d->getViewSize();
        int first = r.right, last = r.left - 1;
        float firstValue = 0, lastValue = 0;
        std::set<std::string> seen;
        for (int k = 0; k <= 2000; ++k) {
            const float v = static_cast<float>(k) / 2000.0f;
            char text[kParamDisplayTextSize];
            d->setValue(v);
            d->getDisplayString(text);
            if (!seen.insert(text).second) continue;
            drawAlone(d, v);
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    if (isInk(x, y)) {
                        if (x < first) first = x, firstValue = v;
                        if (x > last) last = x, lastValue = v;
                    }
        }
        for (float v : {firstValue, lastValue}) {
            drawAlone(d, v);
            for (CGyrolaParamDisplay* other : displays) other->setDirty(true);
            cairo_surface_t* shown = rig.render();
            int cut = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    if (isInk(x, y) && rgbAt(shown, x, y) != rgbAt(alone.getSurface(), x, y)) ++cut;
            char text[kParamDisplayTextSize];
            d->getDisplayString(text);
            EXPECT_EQ(cut, 0) << "tag " << d->getTag() << " \"" << text << "\" at " << r.left << ".." << r.right;
        }
    }
}

}  // namespace
}  // namespace orv::test
