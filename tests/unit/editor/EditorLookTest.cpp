// What the editor looks like. Two goldens stored as data beside the test: the view list
// (class, rectangle, bitmap, tag, value and each class's settings, data/layout.txt, written
// with ORV_UPDATE_EDITOR_LAYOUT=1) and renders of the offscreen editor in its states
// (data/screens/*.png, written with ORV_UPDATE_EDITOR_SCREENS=1), each written only when the
// look changes on purpose. Then the editor's close and reopen, and the value displays' texts.
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <map>
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

// The editor as drawn in the states a user sees, each reached by the events stored with its
// name (data/screens.txt).
TEST_F(EditorLookTest, RendersMatchTheStoredScreens)
{
    std::ifstream in(dataFile("screens.txt"));
    int screens = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string name = line.substr(0, line.find(':'));
        SCOPED_TRACE(name);
        rig.reset();
        rig.run(line.substr(std::min(line.size(), name.size() + 2)));
        rig.render();
        expectStoredImage(rig.render(), dataFile("screens/" + name + ".png"), "ORV_UPDATE_EDITOR_SCREENS");
        ++screens;
    }
    EXPECT_EQ(screens, 11);
}

// Closing the editor forgets every control (and an about picture shown); parameter changes and
// idles while it is closed touch nothing, and the reopened editor shows the values.
TEST_F(EditorLookTest, CloseForgetsEveryControlAndReopenBuildsThemAgain)
{
    rig.run("click 120 171");
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
    // clang-format off
#define ORV_FORMAT(f) {#f, DisplayFormats::f}
    const std::map<std::string, CParamDisplayValueToStringProc> formats = {
        ORV_FORMAT(speed), ORV_FORMAT(time), ORV_FORMAT(distance), ORV_FORMAT(highPass), ORV_FORMAT(lowPass),
        ORV_FORMAT(gain), ORV_FORMAT(eq), ORV_FORMAT(drive), ORV_FORMAT(reflexGain), ORV_FORMAT(percent),
        ORV_FORMAT(widthPercent), ORV_FORMAT(balance), ORV_FORMAT(size), ORV_FORMAT(amplifierType),
        ORV_FORMAT(speakerConfiguration), ORV_FORMAT(setupFirstLine), ORV_FORMAT(setupSecondLine), ORV_FORMAT(ratio)};
#undef ORV_FORMAT
    // clang-format on
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
