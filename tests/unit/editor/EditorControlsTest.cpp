// The editor's own controls on a bare offscreen frame with synthetic filmstrips, each driven by
// its event script stored beside the test (data/control-steps.txt): after each mouse, wheel or
// key event (or a value set by the program) the filmstrip frame drawn at the next idle and what
// was reported, in order. How they look in the editor is held by its stored renders.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "editor/COvRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/OrvMarker.h"
#include "editor/OrvOnOffButton.h"
#include "editor/OrvVerticalSwitch.h"
#include "toolkit/CMovieBitmap.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

// The controls by kind, on the rectangles and tags the editor gives them, with the frame size
// and count of their filmstrips.
struct Kind {
    int width, frameHeight, frames;
    CControl* (*make)(CBitmap*, CControlListener*);
};
#define ORV_MAKE(...) [](CBitmap* b, CControlListener* l) -> CControl* { return new __VA_ARGS__; }
// clang-format off
const std::map<std::string, Kind> kKinds = {
    {"bypass", {26, 36, 2, ORV_MAKE(OrvOnOffButton(CRect(382, 351, 408, 387), l, 4, b))}},
    {"speed", {27, 36, 2, ORV_MAKE(CClickKickButton(CRect(353, 352, 380, 388), l, 3, 36, b))}},
    {"kick", {12, 14, 3, ORV_MAKE(COvKickButton(CRect(320, 679, 332, 693), l, 211, b))}},
    {"onoff", {22, 15, 3, ORV_MAKE(COvOnOffButton(CRect(262, 658, 284, 673), l, 203, b))}},
    {"rocker", {31, 14, 5, ORV_MAKE(COvRockerSwitch(CRect(109, 659, 140, 673), l, 195, b))}},
    {"file", {12, 14, 3, ORV_MAKE(CSaveLoadButton(CRect(56, 679, 68, 693), l, 198, b))}},
    {"knob", {44, 44, 101, ORV_MAKE(CAnimKnob3(CRect(43, 56, 87, 100), l, 17, b))}},
    {"lever", {55, 186, 65, ORV_MAKE(OrvVerticalSwitch(CRect(353, 153, 408, 339), l, 2, b))}},
    {"switch3", {56, 15, 3, ORV_MAKE(COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 3, b))}},
    {"switch4", {56, 15, 4, ORV_MAKE(COrvClickSwitch(CRect(308, 658, 364, 673), l, 40, 4, b))}},
    {"channel", {30, 14, 18, ORV_MAKE(CMovieBitmap(CRect(77, 659, 107, 673), l, 39, 18, 14, b))}},
};
// clang-format on
#undef ORV_MAKE

// Applies the settings that follow the kind.
void configure(CControl* c, std::istringstream& s)
{
    auto* knob = dynamic_cast<CAnimKnob3*>(c);
    float a = 0.0f, b = 0.0f, d = 0.0f;
    auto wheel = [&](auto* w) { w->setWheelStep(a), w->setShiftWheelFactor(b); };
    for (std::string option; s >> option;) {
        if (option == "momentary") static_cast<CClickKickButton*>(c)->setMomentary(1);
        if (option == "quantise") s >> a >> b >> d, knob->setDrawQuantisation(static_cast<int>(a), b, d);
        if (option == "drag") s >> a, knob->setDragRangeFactor(a);
        if (option == "default") s >> a, c->setDefaultValue(a);
        if (option == "alone") c->setListener(nullptr);
        if (option == "wheel") s >> a >> b, knob ? wheel(knob) : wheel(static_cast<OrvVerticalSwitch*>(c));
    }
}

TEST(EditorControls, FramesAndReportsFollowTheirScripts)
{
    const std::map<std::string, int> results = {{"handled", kMouseEventHandled},
                                                {"not", kMouseEventNotHandled},
                                                {"once", kMouseDownEventHandledButDontNeedMovedOrUpEvents}};
    std::map<std::string, BitmapPtr> strips;  // one per kind, made once
    std::unique_ptr<OffscreenFixture> fx;
    CControl* control = nullptr;
    const Kind* kind = nullptr;
    std::string name;
    int cases = 0, step = 0;
    std::ifstream in(std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/editor/data/control-steps.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            const size_t end = line.find(']');
            name = line.substr(1, end - 1);
            std::istringstream make(line.substr(std::min(line.size(), end + 2)));
            std::string kindName;
            make >> kindName;
            kind = &kKinds.at(kindName);
            BitmapPtr& strip = strips[kindName];
            if (!strip) strip.reset(makeFilmstrip(kind->width, kind->frameHeight, kind->frames));
            fx = std::make_unique<OffscreenFixture>(448, 700);
            control = fx->add(kind->make(strip.get(), &fx->recorder));
            configure(control, make);
            ++cases, step = 0;
            continue;
        }
        SCOPED_TRACE(name + ", step " + std::to_string(++step));
        char event = 0;
        int x = 0, y = 0, result = -9;
        float value = 0.0f;
        std::string names, wantResult, wantFrame, log;
        std::istringstream(line) >> event >> x >> y >> names >> wantResult >> wantFrame >> value;
        uint32_t buttons = 0;
        for (auto [n, flag] : {std::pair{"L", kLButton},
                               {"R", kRButton},
                               {"M", kMButton},
                               {"shift", kShift},
                               {"ctrl", kControl},
                               {"double", kDoubleClick}})
            if (("+" + names + "+").find("+" + std::string(n) + "+") != std::string::npos) buttons |= flag;
        fx->frame->idle();
        fx->recorder.clear();
        VstKeyCode key{0, static_cast<uint8_t>(x), static_cast<uint8_t>(y)};
        CPoint at(x, y);
        switch (event) {
        case 'd': result = fx->frame->onMouseDown(at, buttons); break;
        case 'u': fx->frame->onMouseUp(at, buttons); break;
        case 'm': fx->frame->onMouseMoved(at, buttons); break;
        case 'w': result = fx->frame->onWheel(at, value, buttons); break;
        case 'k': result = control->onKeyDown(key); break;
        case 'v': control->setValue(value); break;
        }
        if (wantResult != "any") {
            EXPECT_EQ(result, results.count(wantResult) != 0 ? results.at(wantResult) : std::stoi(wantResult));
        }
        for (const std::string& e : fx->recorder.log) log += (log.empty() ? "" : "; ") + e;
        if (const size_t bar = line.find('|'); bar != std::string::npos) {
            EXPECT_EQ(log, line.substr(std::min(line.size(), bar + 2)));
        }
        if (wantFrame != "any") {
            EXPECT_EQ(fx->frameShown(control, kind->frames), std::stoi(wantFrame));
        }
    }
    EXPECT_EQ(cases, 22);
}

TEST(OrvMarker, TheHandleFollowsTheRotorAngle)
{
    constexpr uint32_t kStrip = 0x204060, kHandle = 0xf0c040;
    OffscreenFixture fx(448, 60);
    BitmapPtr background(makeSolid(298, 12, 0xff000000u | kStrip)), handle(makeSolid(120, 14, 0xff000000u | kHandle));
    auto* marker = fx.add(
        new OrvMarker(CRect(114, 16, 412, 28), &fx.recorder, 189, background.get(), handle.get(), CPoint(-120, 0)));
    // Left edge x = floor(p × 418) − 120 with p = 1.5 − v wrapped into (−1, 1]: the handle
    // covers columns x .. x + 119 of the strip's 298 (row 6).
    for (auto [v, left] : {std::pair{0.0f, 89}, {1.0f, 89}, {0.25f, -16}, {0.75f, 193}, {0.5f, 298}}) {
        marker->setValue(v);
        fx.frame->idle();
        for (int x = 0; x < 298; ++x)
            EXPECT_EQ(pixelAt(fx.surface(), 114 + x, 22), x >= left && x < left + 120 ? kHandle : kStrip)
                << v << " " << x;
    }
}

}  // namespace
}  // namespace orv::test
