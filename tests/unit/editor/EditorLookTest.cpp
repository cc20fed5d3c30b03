// What the editor looks like. Two goldens stored as data beside the test: the view list
// (class, rectangle, bitmap, tag, value and each class's settings, data/layout.txt, written
// with ORV_UPDATE_EDITOR_LAYOUT=1) and renders of the offscreen editor in its states
// (data/screens/*.png, written with ORV_UPDATE_EDITOR_SCREENS=1), each written only when the
// look changes on purpose. Then the editor's close and reopen, and the value displays' texts.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/CMidiParamDisplay.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvKickButton.h"
#include "editor/CSplashScreenMyView.h"
#include "editor/DisplayFormats.h"
#include "editor/MyFrame.h"
#include "editor/OrvMarker.h"
#include "editor/OrvVerticalSwitch.h"
#include "support/StoredLines.h"
#include "toolkit/COptionMenu.h"
#include "unit/editor/EditorRig.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

std::string dataFile(const std::string& name)
{
    return std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/" + name;
}

std::ostream& operator<<(std::ostream& s, const CRect& r)
{
    return s << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
}
std::ostream& operator<<(std::ostream& s, const CPoint& p) { return s << p.x << ',' << p.y; }
std::ostream& operator<<(std::ostream& s, CFontRef f) { return s << f->getName() << ' ' << f->getSize(); }

// One line per view with what the layout fixes about it.
std::string describe(CView* v, const EditorRig& rig)
{
    std::ostringstream s;
    s << typeid(*v).name() << " rect " << v->getViewSize() << " bitmap "
      << (v->getBackground() != nullptr ? v->getBackground()->getResourceId() : -1);
    if (auto* c = dynamic_cast<CControl*>(v))
        s << " tag " << c->getTag() << " value " << c->getValue() << " listener "
          << (c->getListener() == static_cast<CControlListener*>(rig.editor));
    if (auto* k = dynamic_cast<CAnimKnob3*>(v))
        s << " default " << k->getDefaultValue() << " wheel " << k->getWheelStep() << " shift "
          << k->getShiftWheelFactor() << " drag " << k->getDragRangeFactor();
    if (auto* d = dynamic_cast<CGyrolaParamDisplay*>(v))
        s << " back " << d->getBackOffset() << " height " << d->getHeight() << " effect "
          << (d->getUserData() == rig.effect.get());
    if (auto* d = dynamic_cast<CMidiParamDisplay*>(v)) s << " back " << d->getBackOffset() << " font " << d->getFont();
    if (auto* w = dynamic_cast<COrvClickSwitch*>(v)) s << " states " << w->getStates();
    if (auto* l = dynamic_cast<OrvVerticalSwitch*>(v))
        s << " wheel " << l->getWheelStep() << " shift " << l->getShiftWheelFactor();
    if (auto* m = dynamic_cast<OrvMarker*>(v))
        s << " handle " << m->getHandleOffset() << " travel " << m->getHandleTravel();
    if (auto* a = dynamic_cast<CAbout*>(v))
        s << " shows " << a->getToDisplay() << " offset " << a->getOffset() << " version " << a->getVersionPosition();
    if (auto* k = dynamic_cast<COvKickButton*>(v)) s << " doubleClickOnly " << k->isDoubleClickOnly();
    if (auto* t = dynamic_cast<COrvTextEdit*>(v))
        s << " back " << t->getBackOffset() << " align " << t->getHoriAlign() << " font " << t->getFont();
    if (auto* m = dynamic_cast<COptionMenu*>(v))
        s << " style " << m->getStyle() << " entries " << m->getNbEntries() << " perColumn "
          << m->getNbItemsPerColumn();
    return s.str();
}

class EditorLookTest : public SharedEditorTest {};

TEST_F(EditorLookTest, EveryViewMatchesTheStoredLayoutInCreationOrder)
{
    auto* frame = dynamic_cast<MyFrame*>(rig.frame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getFocusOnClick(), 1);
    EXPECT_EQ(rig.editor->getKnobMode(), kLinearMode);
    std::vector<std::string> now;
    for (int i = 0; i < frame->getNbViews(); ++i) now.push_back(describe(frame->getView(i), rig));
    expectStoredLines(dataFile("layout.txt"), now, "ORV_UPDATE_EDITOR_LAYOUT");
}

// The editor as drawn, in the states a user sees: the first values, every user parameter at
// 0 and at 1, the about picture, the panel with learn on, with forget on and a hovered memo
// button, with the manual's message box, with a received controller shown in its own colour,
// and with the program menu open, where the widest name a program can have shows whole.
TEST_F(EditorLookTest, RendersMatchTheStoredScreens)
{
    auto all = [&](float v) {
        for (int tag = 0; tag < kNumUserParams; ++tag) rig.effect->setParameter(tag, v);
    };
    auto widest = [&](float setup) {
        // clang-format off
        for (auto [tag, v] : {std::pair{17, 1.0f}, {18, 1.0f}, {19, 0.0f}, {20, 0.0f}, {21, 0.7655f}, {22, 1.0f},
                              {23, 0.0005f}, {5, 0.0005f}, {6, 0.0f}, {7, 0.0f}, {8, 0.0f}, {9, 0.0f}, {10, setup},
                              {11, 0.0005f}, {12, 0.25f}, {13, 0.0f}, {14, 0.0f}, {15, 1.0f}, {16, 0.0005f},
                              {24, 1.0f}, {25, 1.0f}, {26, 0.0f}, {27, 0.0f}, {28, 0.7655f}, {29, 0.8495f},
                              {30, 0.0005f}, {35, 0.5f}, {36, 0.548f}, {37, 1.0f}, {38, 0.0005f}, {31, 0.25f},
                              {32, 0.0005f}, {33, 0.0005f}, {34, 0.0f}})
            rig.effect->setParameter(tag, v);
        // clang-format on
    };
    // The process's settings folder is empty: opening the manual fails and shows the message box.
    const std::pair<const char*, std::function<void()>> screens[] = {
        {"defaults", [] {}},
        {"all0", [&] { all(0.0f); }},
        {"all1", [&] { all(1.0f); }},
        {"about", [&] { rig.click(CPoint(120, 171)); }},
        {"message", [&] { rig.click(CPoint(429, 686)); }},
        {"learn", [&] { rig.click(CPoint(272, 665)); }},
        {"forget",
         [&] {  // forget replaces learn; a memo button hovered
             rig.click(CPoint(295, 665));
             rig.moveTo(CPoint(326, 686));
         }},
        {"received",
         [&] {
             rig.click(CPoint(295, 665));  // forget off again
             rig.effect->setParameter(param::kMidiChl, 1.0f);
             rig.effect->assignController(param::kColor, 1);
             rig.moveTo(EditorRig::kNowhere);
             rig.controlChange(1, 10);
         }},
        // Every value display at the value of its widest text (the set-up display: each line's
        // widest). The displays' rectangles overlap and the widest texts reach past the
        // neighbour's edge: they must stay whole.
        {"widest", [&] { widest(0.7005f); }},
        {"widest2", [&] { widest(0.3f); }},
        {"menu",
         [&] {
             rig.effect->unassignParameter(param::kColor);
             rig.effect->selectProgram(2);
             char widest[] = "WWWWWWWWWWWWWWWWWWWWWWW";
             rig.effect->setProgramName(widest);
             rig.render();
             rig.click(CPoint(268, 685));
         }},
    };
    for (const auto& [name, prepare] : screens) {
        SCOPED_TRACE(name);
        rig.reset();
        prepare();
        rig.render();
        expectStoredImage(rig.render(), dataFile(std::string("screens/") + name + ".png"), "ORV_UPDATE_EDITOR_SCREENS");
    }
}

// Closing the editor forgets every control (and an about picture shown); parameter changes and
// idles while it is closed touch nothing, and the reopened editor shows the values.
TEST_F(EditorLookTest, CloseForgetsEveryControlAndReopenBuildsThemAgain)
{
    rig.click(CPoint(120, 171));
    ASSERT_NE(dynamic_cast<CSplashScreenMyView*>(rig.frame()->getModalView()), nullptr);
    rig.editor->close();
    EXPECT_EQ(rig.editor->getFrame(), nullptr);
    for (int tag : {0, 2, 3, 17, 39, 41, 189, 190, 194, 195}) EXPECT_EQ(rig.editor->getParameterControl(tag), nullptr);
    EXPECT_EQ(rig.editor->panelView().getNameField(), nullptr);
    rig.effect->setParameter(17, 0.9f);
    rig.editor->idle();
    ASSERT_TRUE(rig.open());
    EXPECT_FLOAT_EQ(control(17)->getValue(), 0.9f);
    EXPECT_EQ(rig.editor->getAbout()->getValue(), 0.0f);
    EXPECT_EQ(rig.frame()->getModalView(), nullptr);
}

// The value displays' texts against values worked out by hand (data/display-texts-by-hand.txt).
TEST(DisplayFormats, TextsWorkedOutByHand)
{
#define ORV_FORMAT(f)                                                                                                  \
    {                                                                                                                  \
#f, DisplayFormats::f                                                                                          \
    }
    // clang-format off
    const std::map<std::string, CParamDisplayValueToStringProc> formats = {
        ORV_FORMAT(speed), ORV_FORMAT(time), ORV_FORMAT(distance), ORV_FORMAT(highPass), ORV_FORMAT(lowPass),
        ORV_FORMAT(gain), ORV_FORMAT(eq), ORV_FORMAT(drive), ORV_FORMAT(reflexGain), ORV_FORMAT(percent),
        ORV_FORMAT(widthPercent), ORV_FORMAT(balance), ORV_FORMAT(size), ORV_FORMAT(amplifierType),
        ORV_FORMAT(speakerConfiguration), ORV_FORMAT(setupFirstLine), ORV_FORMAT(setupSecondLine), ORV_FORMAT(ratio)};
    // clang-format on
#undef ORV_FORMAT
    std::ifstream in(dataFile("display-texts-by-hand.txt"));
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string name, value, text;
        ASSERT_TRUE(s >> name >> value >> std::quoted(text)) << line;
        char buffer[kParamDisplayTextSize] = {};
        EXPECT_TRUE(formats.at(name)(std::strtof(value.c_str(), nullptr), buffer, nullptr)) << line;
        EXPECT_EQ(buffer, text) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 80);
}

}  // namespace
}  // namespace orv::test
