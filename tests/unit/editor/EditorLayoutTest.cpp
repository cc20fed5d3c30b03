// Where the editor puts every control: each one is found under the middle of its rectangle
// with its tag, class and bitmap, carries the knob settings of its row, starts at the effect's
// value, and the offscreen render shows exactly the filmstrip frame that value selects.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "editor/COvRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/MyFrame.h"
#include "editor/OrvMarker.h"
#include "editor/OrvOnOffButton.h"
#include "editor/OrvVerticalSwitch.h"
#include "toolkit/CMovieBitmap.h"
#include "toolkit/COffscreenContext.h"
#include "toolkit/COptionMenu.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

struct KnobExpectation {
    int tag;
    CRect knob;
    int bitmap;
    int frames;
    float defaultValue;
    float wheelStep;
    float dragRange;
    CRect display;
};

// The editor's knob rows as the layout of the window has them.
const KnobExpectation kKnobs[] = {
    {17, {43, 56, 87, 100}, 2002, 101, 0.1f, 0.01f, 0.4f, {39, 105, 91, 116}},
    {18, {88, 56, 132, 100}, 2002, 101, 0.6f, 0.01f, 0.4f, {84, 105, 136, 116}},
    {19, {157, 56, 201, 100}, 2002, 101, 0.349485f, 0.05f, 0.25f, {153, 105, 205, 116}},
    {20, {202, 56, 246, 100}, 2002, 101, 0.349485f, 0.05f, 0.25f, {198, 105, 250, 116}},
    {21, {271, 56, 315, 100}, 2002, 101, 0.5f, 0.05f, 0.25f, {267, 105, 319, 116}},
    {22, {316, 56, 360, 100}, 2002, 101, 0.0f, 0.05f, 0.25f, {312, 105, 364, 116}},
    {23, {361, 56, 405, 100}, 2002, 101, 0.5f, 0.05f, 0.25f, {357, 105, 409, 116}},
    {5, {39, 205, 83, 249}, 2002, 101, 0.5f, 0.05f, 0.25f, {35, 254, 87, 265}},
    {6, {97, 205, 141, 249}, 2002, 101, 0.5f, 0.05f, 0.25f, {93, 254, 145, 265}},
    {7, {142, 205, 186, 249}, 2002, 101, 0.5f, 0.05f, 0.25f, {138, 254, 190, 265}},
    {8, {187, 205, 231, 249}, 2002, 101, 0.5f, 0.05f, 0.25f, {183, 254, 235, 265}},
    {9, {232, 205, 276, 249}, 2002, 101, 0.5f, 0.05f, 0.25f, {228, 254, 280, 265}},
    {10, {292, 205, 336, 249}, 2002, 101, 0.25f, 0.1f, 0.18f, {288, 254, 340, 265}},
    {11, {43, 306, 87, 350}, 2002, 101, 0.5f, 0.05f, 0.25f, {39, 355, 91, 366}},
    {12, {88, 306, 132, 350}, 2002, 101, 0.5f, 0.333334f, 0.125f, {84, 355, 136, 366}},
    {13, {133, 306, 177, 350}, 2002, 101, 0.5f, 0.05f, 0.25f, {129, 355, 181, 366}},
    {14, {201, 306, 245, 350}, 2002, 101, 0.5f, 0.2f, 0.25f, {197, 355, 249, 366}},
    {15, {245, 306, 289, 350}, 2002, 101, 0.5f, 0.05f, 0.25f, {242, 355, 294, 366}},
    {16, {291, 306, 335, 350}, 2002, 101, 0.5f, 0.05f, 0.25f, {287, 355, 339, 366}},
    {24, {43, 448, 87, 492}, 2002, 101, 0.1f, 0.01f, 0.4f, {39, 497, 91, 508}},
    {25, {88, 448, 132, 492}, 2002, 101, 0.6f, 0.01f, 0.4f, {84, 497, 136, 508}},
    {26, {157, 448, 201, 492}, 2002, 101, 0.650514f, 0.05f, 0.25f, {153, 497, 205, 508}},
    {27, {202, 448, 246, 492}, 2002, 101, 0.650514f, 0.05f, 0.25f, {198, 497, 250, 508}},
    {28, {271, 448, 315, 492}, 2002, 101, 0.5f, 0.05f, 0.25f, {267, 497, 319, 508}},
    {29, {316, 448, 360, 492}, 2002, 101, 1.0f, 0.05f, 0.25f, {312, 497, 364, 508}},
    {30, {361, 448, 405, 492}, 2002, 101, 0.5f, 0.05f, 0.25f, {357, 497, 409, 508}},
    {35, {226, 565, 270, 609}, 2002, 101, 0.5f, 0.05f, 0.25f, {222, 614, 274, 625}},
    {36, {271, 565, 315, 609}, 2002, 101, 0.5f, 0.05f, 0.25f, {267, 614, 319, 625}},
    {37, {316, 565, 360, 609}, 2002, 101, 0.5f, 0.05f, 0.25f, {312, 614, 364, 625}},
    {38, {361, 565, 405, 609}, 2002, 101, 0.5f, 0.05f, 0.25f, {357, 614, 409, 625}},
    {31, {52, 572, 80, 600}, 4110, 3, 0.5f, 0.5f, 0.13f, {40, 614, 92, 625}},
    {32, {97, 572, 125, 600}, 4111, 21, 0.5f, 0.05f, 0.25f, {89, 614, 133, 625}},
    {33, {142, 572, 170, 600}, 4111, 21, 0.5f, 0.05f, 0.25f, {130, 614, 174, 625}},
    {34, {187, 572, 215, 600}, 4111, 21, 0.5f, 0.05f, 0.25f, {175, 614, 219, 625}},
};

class EditorLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.open()); }

    template <typename T>
    T* controlAt(const CRect& r, int tag) {
        CView* v = rig.frame()->getViewAt(centreOf(r));
        auto* c = dynamic_cast<T*>(v);
        EXPECT_NE(c, nullptr) << "no control of the expected class at tag " << tag;
        if (c == nullptr) return nullptr;
        EXPECT_EQ(c->getTag(), tag);
        EXPECT_EQ(c->getViewSize(), r) << "tag " << tag;
        EXPECT_EQ(c->getListener(), static_cast<CControlListener*>(rig.editor)) << "tag " << tag;
        return c;
    }

    EditorRig rig;
};

int bitmapIdOf(const CView* v) { return v->getBackground() != nullptr ? v->getBackground()->getResourceId() : -1; }

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

TEST_F(EditorLayoutTest, EveryKnobSitsInItsRectangleWithItsSettingsAndDrawsTheFrameOfItsValue) {
    cairo_surface_t* shown = rig.render();
    for (const KnobExpectation& k : kKnobs) {
        SCOPED_TRACE("tag " + std::to_string(k.tag));
        auto* knob = controlAt<CAnimKnob3>(k.knob, k.tag);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(bitmapIdOf(knob), k.bitmap);
        EXPECT_FLOAT_EQ(knob->getDefaultValue(), k.defaultValue);
        EXPECT_FLOAT_EQ(knob->getWheelStep(), k.wheelStep);
        EXPECT_FLOAT_EQ(knob->getShiftWheelFactor(), 0.2f);
        EXPECT_FLOAT_EQ(knob->getDragRangeFactor(), k.dragRange);
        const float v = rig.effect->getParameter(k.tag);
        EXPECT_EQ(knob->getValue(), v);
        const int frame = static_cast<int>((k.frames - 1) * v + 0.5f);
        EXPECT_EQ(knob->getDrawnFrame(), frame);
        EXPECT_EQ(mismatchesAgainstFilmstrip(shown, k.knob, k.bitmap, frame, k.knob.getHeight()), 0);

        // The value display under it shows the background under itself.
        auto* display = dynamic_cast<CGyrolaParamDisplay*>(rig.frame()->getViewAt(centreOf(k.display)));
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(display->getViewSize(), k.display);
        EXPECT_EQ(display->getTag(), k.tag);
        EXPECT_EQ(display->getBackOffset(), k.display.getTopLeft());
        EXPECT_EQ(bitmapIdOf(display), 4000);
        EXPECT_EQ(display->getValue(), v);
        EXPECT_EQ(display->getUserData(), rig.effect.get());
        EXPECT_EQ(display->getHeight(), 11);
    }
    // The set-up knob has a second line under the first.
    auto* second = dynamic_cast<CGyrolaParamDisplay*>(rig.frame()->getViewAt(CPoint(300, 270)));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getViewSize(), CRect(288, 265, 340, 276));
    EXPECT_EQ(second, rig.editor->getParameterDisplay(10, true));
}

TEST_F(EditorLayoutTest, SwitchesButtonsLeverAndIndicatorsDrawTheirFrames) {
    cairo_surface_t* shown = rig.render();
    auto value = [&](int tag) { return rig.effect->getParameter(tag); };

    auto* stop = controlAt<OrvOnOffButton>({382, 351, 408, 387}, 4);
    auto* speed = controlAt<CClickKickButton>({353, 352, 380, 388}, 3);
    auto* lever = controlAt<OrvVerticalSwitch>({353, 153, 408, 339}, 2);
    auto* rocker = controlAt<COvRockerSwitch>({109, 659, 140, 673}, 195);
    auto* channel = controlAt<CMovieBitmap>({77, 659, 107, 673}, 39);
    auto* bypass = controlAt<OrvOnOffButton>({287, 626, 345, 640}, 0);
    auto* cpu = controlAt<OrvOnOffButton>({65, 626, 205, 640}, 1);
    auto* leverMode = controlAt<COrvClickSwitch>({308, 658, 364, 673}, 40);
    auto* speedMode = controlAt<COrvClickSwitch>({364, 658, 446, 673}, 41);
    ASSERT_TRUE(stop && speed && lever && rocker && channel && bypass && cpu && leverMode && speedMode);

    EXPECT_EQ(bitmapIdOf(stop), 2003);
    EXPECT_EQ(bitmapIdOf(speed), 2004);
    EXPECT_EQ(bitmapIdOf(lever), 2005);
    EXPECT_EQ(bitmapIdOf(rocker), 19997);
    EXPECT_EQ(bitmapIdOf(channel), 4005);
    EXPECT_EQ(bitmapIdOf(bypass), 4001);
    EXPECT_EQ(bitmapIdOf(cpu), 4002);
    EXPECT_EQ(bitmapIdOf(leverMode), 4200);
    EXPECT_EQ(bitmapIdOf(speedMode), 4201);
    EXPECT_EQ(leverMode->getStates(), 3);
    EXPECT_EQ(speedMode->getStates(), 4);
    EXPECT_FLOAT_EQ(lever->getWheelStep(), 0.15f);
    EXPECT_FLOAT_EQ(lever->getShiftWheelFactor(), 0.1f);

    for (int tag : {0, 1, 2, 3, 4, 39, 40, 41})
        EXPECT_EQ(rig.editor->getParameterControl(tag)->getValue(), value(tag)) << "tag " << tag;

    // Frames: two-frame buttons by value ≥ 0.5; the lever from the top (value 1) down; the
    // channel indicator round(17 v); click switches round((N − 1) v).
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, stop->getViewSize(), 2003, value(4) >= 0.5f ? 1 : 0, 36), 0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, speed->getViewSize(), 2004, 0, 36), 0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, lever->getViewSize(), 2005,
                                         static_cast<int>((1.0f - value(2)) * 64 + 0.5f), 186),
              0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, rocker->getViewSize(), 19997, 0, 14), 0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, channel->getViewSize(), 4005, static_cast<int>(value(39) * 17 + 0.5f), 14),
              0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, bypass->getViewSize(), 4001, value(0) >= 0.5f ? 1 : 0, 14), 0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, cpu->getViewSize(), 4002, value(1) >= 0.5f ? 1 : 0, 14), 0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, leverMode->getViewSize(), 4200, static_cast<int>(2 * value(40) + 0.5f), 15),
              0);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, speedMode->getViewSize(), 4201, static_cast<int>(3 * value(41) + 0.5f), 15),
              0);
}

TEST_F(EditorLayoutTest, MarkersAndTheAboutHotArea) {
    auto* horn = controlAt<OrvMarker>({114, 16, 412, 28}, 189);
    auto* drum = controlAt<OrvMarker>({114, 408, 412, 420}, 190);
    auto* about = controlAt<CAbout>({35, 160, 210, 182}, 194);
    ASSERT_TRUE(horn && drum && about);
    EXPECT_EQ(bitmapIdOf(horn), 2008);
    EXPECT_EQ(bitmapIdOf(drum), 2013);
    EXPECT_EQ(horn->getHandleOffset(), CPoint(-120, 0));
    EXPECT_EQ(drum->getHandleOffset(), CPoint(-120, 0));
    EXPECT_FLOAT_EQ(horn->getHandleTravel(), 418.0f);  // strip 298 + handle 120
    EXPECT_EQ(bitmapIdOf(about), 3999);
    EXPECT_EQ(about->getToDisplay(), CRect(0, 0, 448, 696));
    EXPECT_EQ(about->getOffset(), CPoint(0, 0));
    EXPECT_EQ(about->getVersionPosition(), CPoint(281, 184));
    // The hot area draws nothing: the logo is the background's.
    EXPECT_EQ(mismatchesAgainstBitmap(rig.render(), about->getViewSize(), 4000, 35, 160), 0);
}

TEST_F(EditorLayoutTest, ControlsAreCreatedInTheirOrderWithThePanelOnTop) {
    std::vector<int> tags;
    for (int i = 0; i < rig.frame()->getNbViews(); ++i) {
        CView* v = rig.frame()->getView(i);
        if (dynamic_cast<CGyrolaParamDisplay*>(v) != nullptr) continue;  // the displays go with their knobs
        tags.push_back(static_cast<CControl*>(v)->getTag());
    }
    const std::vector<int> expected = {
        17, 18, 19, 20, 21, 22, 23, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 24, 25, 26, 27, 28, 29, 30,  // knobs
        4, 3, 2, 189, 190,                                                                                   // up to the markers
        35, 36, 37, 38, 31, 32, 33, 34,                                                                      // last knob rows
        194, 195, 39, 0, 1, 40, 41,                                                                          // the rest
        196, 208, 197, 199, 209, 198, 201, 210, 200, 211, 213, 212, 214, 215, 205, 206, 204, 202, 203, 207,  // panel
    };
    EXPECT_EQ(tags, expected);
    // 34 knobs with a display each, and the set-up knob's second line.
    EXPECT_EQ(rig.frame()->getNbViews(), static_cast<int>(expected.size()) + 35);
}

struct PanelExpectation {
    int tag;
    CRect rect;
    int bitmap;
};

TEST_F(EditorLayoutTest, PanelButtonsSitInTheirRectanglesWithTheirBitmaps) {
    const PanelExpectation saveLoad[] = {
        {199, {3, 679, 15, 693}, 19999},  {198, {56, 679, 68, 693}, 19998},  {201, {73, 679, 85, 693}, 19999},
        {200, {126, 679, 138, 693}, 19998}, {205, {3, 659, 15, 673}, 19999}, {204, {56, 659, 68, 673}, 19998},
    };
    const PanelExpectation kick[] = {
        {209, {18, 678, 54, 693}, 19990},   {210, {85, 678, 127, 693}, 19899}, {211, {320, 679, 332, 693}, 19999},
        {213, {342, 679, 354, 693}, 19998}, {212, {367, 679, 379, 693}, 19999}, {214, {389, 679, 401, 693}, 19998},
        {215, {420, 678, 438, 693}, 989},   {206, {18, 658, 54, 673}, 994},
    };
    const PanelExpectation onOff[] = {{203, {262, 658, 284, 673}, 998}, {207, {284, 658, 306, 673}, 999}};
    cairo_surface_t* shown = rig.render();
    // Load preset (200) is drawn over the last column of default preset (210): that column
    // shows both, so each is compared without it.
    auto visible = [](const PanelExpectation& e) {
        CRect r = e.rect;
        if (e.tag == 200) r.left += 1;
        if (e.tag == 210) r.right -= 1;
        return r;
    };
    auto mismatches = [&](const PanelExpectation& e) {
        const CRect r = visible(e);
        return mismatchesAgainstBitmap(shown, r, e.bitmap, r.left - e.rect.left, 0);
    };
    for (const auto& e : saveLoad) {
        auto* c = controlAt<CSaveLoadButton>(e.rect, e.tag);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(bitmapIdOf(c), e.bitmap);
        EXPECT_EQ(mismatches(e), 0) << e.tag;
    }
    for (const auto& e : kick) {
        auto* c = controlAt<COvKickButton>(e.rect, e.tag);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(bitmapIdOf(c), e.bitmap);
        EXPECT_EQ(c->isDoubleClickOnly(), e.tag == 209 || e.tag == 210 || e.tag == 206) << e.tag;
        EXPECT_EQ(mismatches(e), 0) << e.tag;
    }
    for (const auto& e : onOff) {
        auto* c = controlAt<COvOnOffButton>(e.rect, e.tag);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(bitmapIdOf(c), e.bitmap);
        EXPECT_EQ(mismatches(e), 0) << e.tag;
    }
    auto* rocker = controlAt<COvRockerSwitch>({277, 679, 308, 693}, 197);
    ASSERT_NE(rocker, nullptr);
    EXPECT_EQ(bitmapIdOf(rocker), 19997);
}

TEST_F(EditorLayoutTest, NameFieldProgramMenuAndControllerDisplay) {
    auto* name = controlAt<COrvTextEdit>({145, 679, 261, 694}, 196);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name->getText(), rig.effect->getProgramRecord(rig.effect->getCurrentProgramIndex()).name);
    EXPECT_EQ(name->getFont(), kNormalFontSmall);
    EXPECT_EQ(name->getFontColor(), kBlackCColor);
    EXPECT_EQ(name->getFrameColor(), kBlackCColor);
    EXPECT_EQ(name->getBackColor(), kWhiteCColor);
    EXPECT_EQ(name->getHoriAlign(), kCenterText);
    EXPECT_EQ(name->getBackOffset(), CPoint(145, 679));

    auto* menu = controlAt<COptionMenu>({262, 678, 274, 692}, 208);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getStyle(), 7680);
    EXPECT_EQ(menu->getNbEntries(), 48);
    EXPECT_EQ(menu->getNbItemsPerColumn(), 8);
    for (int p = 0; p < 48; ++p) EXPECT_STREQ(menu->getEntry(p), rig.effect->getProgramRecord(p).name);
    EXPECT_EQ(menu->getCurrentIndex(), rig.effect->getCurrentProgramIndex());
    // It draws nothing: the artwork under it shows.
    EXPECT_EQ(mismatchesAgainstBitmap(rig.render(), menu->getViewSize(), 4000, 262, 678), 0);

    auto* display = dynamic_cast<CMidiParamDisplay*>(rig.frame()->getViewAt(CPoint(200, 665)));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->getTag(), 202);
    EXPECT_EQ(display->getViewSize(), CRect(145, 659, 261, 673));
    EXPECT_EQ(display->getFont(), kNormalFontVerySmall);
    EXPECT_EQ(display->getBackOffset(), CPoint(145, 659));
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
