// Parameter changes reach the controls (drawn at the next idle, not before), the user's gestures
// reach the effect and the host as automation with begin and end of the gesture, the speed
// button's four pedal modes, the channel rocker, and the markers that follow the rotors.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/OrvMarker.h"
#include "params/ParameterIndex.h"
#include "toolkit/CMovieBitmap.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

class EditorMirroringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.open());
        rig.render();
        EditorRig::clearCalls();
    }
    CControl* control(int tag) const { return rig.editor->getParameterControl(tag); }
    float param(int index) const { return rig.effect->getParameter(index); }

    // Automation the host saw, as (index, value) in order.
    static std::vector<std::pair<int, float>> automated() {
        std::vector<std::pair<int, float>> out;
        for (const HostCall& c : EditorRig::calls(vst::audioMasterAutomate)) out.emplace_back(c.index, c.opt);
        return out;
    }

    EditorRig rig;
};

using Automation = std::vector<std::pair<int, float>>;

TEST_F(EditorMirroringTest, ParameterChangesMoveTheControlsAndAreDrawnAtTheNextIdle) {
    const CRect knobRect{43, 56, 87, 100};
    cairo_surface_t* shown = rig.frame()->getBackingSurface();
    const int before = static_cast<int>(100 * param(17) + 0.5f);

    // setParameter (from any thread) leaves the controls alone; the idle applies the change.
    const float shownBefore = control(17)->getValue();
    rig.effect->setParameter(17, 0.9f);
    EXPECT_EQ(control(17)->getValue(), shownBefore);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, knobRect, 2002, before, 44), 0);
    rig.render();
    EXPECT_FLOAT_EQ(control(17)->getValue(), 0.9f);
    EXPECT_FLOAT_EQ(rig.editor->getParameterDisplay(17)->getValue(), 0.9f);
    EXPECT_EQ(mismatchesAgainstFilmstrip(shown, knobRect, 2002, 90, 44), 0);

    // Both lines of the set-up display follow the set-up knob.
    rig.effect->setParameter(param::kSetup, 0.6f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(rig.editor->getParameterDisplay(param::kSetup)->getValue(), 0.6f);
    EXPECT_FLOAT_EQ(rig.editor->getParameterDisplay(param::kSetup, true)->getValue(), 0.6f);

    for (int tag : {0, 1, 2, 3, 4, 39, 40, 41}) {
        const float v = tag == 40 ? 0.5f : (tag == 41 ? 2.0f / 3.0f : 1.0f);
        rig.effect->setParameter(tag, v);
        rig.editor->idle();
        EXPECT_FLOAT_EQ(control(tag)->getValue(), v) << tag;
    }
    // Hidden parameters and controller bindings have no control; nothing changes for them.
    const float drive = control(param::kDrive)->getValue();
    rig.effect->setParameter(param::kFirstController + param::kDrive, 0.3f);
    rig.effect->setParameter(120, 0.3f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(param::kDrive)->getValue(), drive);
}

TEST_F(EditorMirroringTest, ValuesOutsideTheRangeAreStoredButShownClamped) {
    // (value from a host, what a control shows): not a number and the infinities as 0.
    const std::pair<float, float> kCases[] = {{NAN, 0.0f}, {INFINITY, 0.0f}, {-INFINITY, 0.0f},
                                              {-1e30f, 0.0f}, {-0.5f, 0.0f}, {5.0f, 1.0f}};
    for (const auto& [value, shown] : kCases) {
        for (int tag = 0; tag < kNumUserParams; ++tag) rig.effect->setParameter(tag, value);
        rig.render();  // every knob, switch and display drawn at the clamped value
        for (int tag = 0; tag < kNumUserParams; ++tag) {
            EXPECT_EQ(control(tag)->getValue(), shown) << tag << " " << value;
            EXPECT_EQ(std::isnan(param(tag)) ? 1 : 0, std::isnan(value) ? 1 : 0) << tag;
        }
    }
}

TEST_F(EditorMirroringTest, KnobDragIsOneHostGestureWithAutomation) {
    const float start = param(17);
    const CPoint at(65, 78);
    rig.press(at);
    rig.moveTo(CPoint(at.x + 40, at.y), kLButton);  // 40 of 400 pixels for the whole range
    rig.release(CPoint(at.x + 40, at.y));

    EXPECT_NEAR(param(17), start + 0.1f, 1e-6f);
    EXPECT_FLOAT_EQ(control(17)->getValue(), param(17));
    const auto begins = EditorRig::calls(vst::audioMasterBeginEdit);
    const auto ends = EditorRig::calls(vst::audioMasterEndEdit);
    ASSERT_EQ(begins.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(begins[0].index, 17);
    EXPECT_EQ(ends[0].index, 17);
    const Automation a = automated();
    ASSERT_FALSE(a.empty());
    for (const auto& [index, value] : a) EXPECT_EQ(index, 17);
    EXPECT_FLOAT_EQ(a.back().second, param(17));
    // The gesture brackets the automation.
    const auto& calls = hostCalls();
    EXPECT_EQ(calls.front().opcode, vst::audioMasterBeginEdit);
    EXPECT_EQ(calls.back().opcode, vst::audioMasterEndEdit);
}

TEST_F(EditorMirroringTest, DoubleClickOnAKnobRestoresItsDefault) {
    rig.effect->setParameter(param::kDLpf, 0.2f);
    rig.render();  // the knob notifies only when the default differs from what it shows
    rig.click(CPoint(338, 470), kLButton | kDoubleClick);
    EXPECT_FLOAT_EQ(param(param::kDLpf), 1.0f);
    EXPECT_EQ(automated(), (Automation{{param::kDLpf, 1.0f}}));
}

TEST_F(EditorMirroringTest, BypassButtonSendsTheOldValueThenTheNewOne) {
    ASSERT_FLOAT_EQ(param(param::kBypass), 0.0f);
    rig.click(CPoint(300, 632));
    EXPECT_FLOAT_EQ(param(param::kBypass), 1.0f);
    EXPECT_EQ(automated(), (Automation{{0, 0.0f}, {0, 1.0f}}));
}

TEST_F(EditorMirroringTest, SpeedButtonInToggleModesMovesLeverThenSpeed) {
    const CPoint speed(366, 370);
    for (float mode : {0.0f, 1.0f}) {  // m = 0 and m = 3
        rig.effect->setParameter(param::kSpdMode, mode);
        rig.effect->setParameter(param::kSpeed, 0.0f);
        rig.effect->setParameter(param::kLever, 0.0f);
        rig.editor->idle();
        EXPECT_EQ(static_cast<CClickKickButton*>(control(param::kSpeed))->getMomentary(), 0);
        EditorRig::clearCalls();
        rig.press(speed);
        EXPECT_EQ(automated(), (Automation{{param::kLever, 1.0f}, {param::kSpeed, 1.0f}})) << mode;
        rig.release(speed);
        EXPECT_FLOAT_EQ(param(param::kSpeed), 1.0f);  // the release does not toggle back
        EditorRig::clearCalls();
        rig.click(speed);
        EXPECT_EQ(automated(), (Automation{{param::kLever, 0.0f}, {param::kSpeed, 0.0f}})) << mode;
    }
}

TEST_F(EditorMirroringTest, SpeedButtonHeldMeansFastInModeOneAndSlowInModeTwo) {
    const CPoint speed(366, 370);
    rig.effect->setParameter(param::kSpdMode, 1.0f / 3.0f);
    rig.editor->idle();
    EXPECT_EQ(static_cast<CClickKickButton*>(control(param::kSpeed))->getMomentary(), 1);
    rig.press(speed);
    EXPECT_EQ(automated(), (Automation{{param::kLever, 1.0f}, {param::kSpeed, 1.0f}}));
    EditorRig::clearCalls();
    rig.release(speed);
    EXPECT_EQ(automated(), (Automation{{param::kLever, 0.0f}, {param::kSpeed, 0.0f}}));

    rig.effect->setParameter(param::kSpdMode, 2.0f / 3.0f);
    rig.editor->idle();
    EXPECT_EQ(static_cast<CClickKickButton*>(control(param::kSpeed))->getMomentary(), 1);
    EditorRig::clearCalls();
    rig.press(speed);
    EXPECT_EQ(automated(), (Automation{{param::kLever, 0.0f}, {param::kSpeed, 0.0f}}));
    EditorRig::clearCalls();
    rig.release(speed);
    EXPECT_EQ(automated(), (Automation{{param::kLever, 1.0f}, {param::kSpeed, 1.0f}}));
    EXPECT_FLOAT_EQ(param(param::kLever), 1.0f);
}

TEST_F(EditorMirroringTest, ChannelRockerStepsOneEighteenthAndStopsAtTheEnds) {
    auto* indicator = static_cast<CMovieBitmap*>(control(param::kMidiChl));
    const CPoint right(135, 666);
    const CPoint left(113, 666);
    auto channel = [&] { return rig.effect->controllerMap().channelStep(); };

    rig.effect->setParameter(param::kMidiChl, 1.0f);
    rig.click(right);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 1.0f);
    // The rocker's own automation is sent after the change it caused.
    EXPECT_EQ(automated(), (Automation{{param::kMidiChl, 1.0f}, {195, 1.0f}}));

    EditorRig::clearCalls();
    rig.click(left);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 1.0f - 1.0f / 18.0f);
    EXPECT_EQ(channel(), 16);
    rig.editor->idle();
    EXPECT_EQ(static_cast<int>(indicator->getValue() * 17 + 0.5f), 16);
    EXPECT_EQ(automated(), (Automation{{param::kMidiChl, 1.0f - 0.055555556f}, {195, -1.0f}}));

    rig.effect->setParameter(param::kMidiChl, 0.0f);
    EditorRig::clearCalls();
    rig.click(left);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 0.0f);
    EXPECT_EQ(channel(), 0);
    // Eighteen steps of 1/18 cross the seventeen channel intervals: each press moves the
    // channel by one except one press half way, and the last one reaches all channels (17).
    // The indicator shows the effect's channel all along.
    int unchanged = 0;
    for (int n = 1; n <= 18; ++n) {
        const int previous = channel();
        rig.click(right);
        rig.editor->idle();
        EXPECT_EQ(indicator->getValue(), param(param::kMidiChl));
        EXPECT_EQ(static_cast<int>(indicator->getValue() * 17 + 0.5f), channel()) << n;
        const int moved = channel() - previous;
        EXPECT_TRUE(moved == 0 || moved == 1) << n;
        if (moved == 0) {
            ++unchanged;
            EXPECT_TRUE(n == 9 || n == 10) << n;
        }
    }
    EXPECT_EQ(unchanged, 1);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 1.0f);
    EXPECT_EQ(channel(), 17);
    // Releasing the rocker (value 0) changes nothing.
    EditorRig::clearCalls();
    rig.effect->setParameter(195, 0.0f);
    EXPECT_TRUE(automated().empty());
}

TEST_F(EditorMirroringTest, SpeakerConfigurationChoosesWhichMarkersMove) {
    struct Case {
        float value;
        bool horn;
        bool drum;
    };
    for (const Case& c : {Case{0.0f, false, true}, Case{0.5f, true, true}, Case{1.0f, true, false}}) {
        rig.effect->setParameter(param::kSpkrConf, c.value);
        EXPECT_EQ(rig.editor->isHornMarkerEnabled(), c.horn) << c.value;
        EXPECT_EQ(rig.editor->isDrumMarkerEnabled(), c.drum) << c.value;
    }
}

// Folds an angle in turns into the marker's range as the editor does.
float folded(double a) {
    if (a > 1.0) return static_cast<float>(a - 1.0);
    if (a < 0.0) return static_cast<float>(a + 1.0);
    return static_cast<float>(a);
}

TEST_F(EditorMirroringTest, MarkersFollowTheRotorAnglesAtIdle) {
    rig.effect->setParameter(param::kSpkrConf, 0.5f);
    rig.effect->setParameter(param::kLever, 1.0f);  // fast
    rig.effect->resume();
    OrvMarker* horn = rig.editor->getHornMarker();
    OrvMarker* drum = rig.editor->getDrumMarker();
    std::vector<float> hornSeen;
    for (int i = 0; i < 6; ++i) {
        rig.runAudio(8);
        rig.editor->idle();
        EXPECT_FLOAT_EQ(horn->getValue(), folded(rig.effect->hornAngle()));
        EXPECT_FLOAT_EQ(drum->getValue(), folded(rig.effect->drumAngle()));
        hornSeen.push_back(horn->getValue());
    }
    // The rotors turn, so the markers move.
    EXPECT_NE(hornSeen.front(), hornSeen.back());

    // A disabled rotor's handle goes out of sight (value 0.5).
    rig.effect->setParameter(param::kSpkrConf, 1.0f);
    rig.runAudio(2);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(drum->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(horn->getValue(), folded(rig.effect->hornAngle()));

    // Amplifier only: both out of sight whatever the speaker configuration says.
    rig.effect->setParameter(param::kSpkrConf, 0.5f);
    rig.effect->setParameter(param::kBypassSpeakers, 1.0f);
    rig.runAudio(2);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(horn->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(drum->getValue(), 0.5f);
}

TEST_F(EditorMirroringTest, MarkersStandStillWhileTheAboutViewIsShown) {
    rig.effect->setParameter(param::kLever, 1.0f);
    rig.effect->resume();
    rig.runAudio(4);
    rig.editor->idle();
    OrvMarker* horn = rig.editor->getHornMarker();
    rig.click(CPoint(120, 170));  // the logo
    ASSERT_FLOAT_EQ(rig.editor->getAbout()->getValue(), 1.0f);
    const float frozen = horn->getValue();
    rig.runAudio(16);
    rig.editor->idle();
    EXPECT_NE(folded(rig.effect->hornAngle()), frozen);
    EXPECT_EQ(horn->getValue(), frozen);
    rig.click(CPoint(10, 10));  // anywhere on the picture closes it
    ASSERT_FLOAT_EQ(rig.editor->getAbout()->getValue(), 0.0f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(horn->getValue(), folded(rig.effect->hornAngle()));
}

TEST_F(EditorMirroringTest, AControllerMovingParametersRefreshesEveryControl) {
    rig.effect->setParameter(param::kMidiChl, 1.0f);  // all channels
    rig.effect->assignController(param::kDrive, 20);
    // A control out of step with its parameter (as after a missed notification).
    control(param::kColor)->setValue(0.123f);
    vst::VstMidiEvent cc{};
    cc.type = vst::kVstMidiType;
    cc.byteSize = sizeof cc;
    cc.midiData[0] = static_cast<char>(0xB0);
    cc.midiData[1] = 20;
    cc.midiData[2] = 127;
    struct {
        vst::i32 numEvents;
        vst::iptr reserved;
        vst::VstEvent* events[1];
    } list{1, 0, {reinterpret_cast<vst::VstEvent*>(&cc)}};
    const float driveShown = control(param::kDrive)->getValue();
    rig.effect->processEvents(reinterpret_cast<vst::VstEvents*>(&list));
    EXPECT_EQ(control(param::kDrive)->getValue(), driveShown);  // nothing before the idle
    EXPECT_FLOAT_EQ(control(param::kColor)->getValue(), 0.123f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(param::kDrive)->getValue(), 1.0f);
    EXPECT_FLOAT_EQ(control(param::kColor)->getValue(), param(param::kColor));
    EXPECT_FALSE(rig.effect->takeMidiChangedFlag());  // the editor took it
}

TEST_F(EditorMirroringTest, PanelAndOwnTagsGoToTheHostButChangeNoParameter) {
    std::vector<float> before;
    for (int i = 0; i < kNumUserParams; ++i) before.push_back(param(i));
    rig.click(CPoint(120, 170));  // about: no notification of its own
    EXPECT_TRUE(automated().empty());
    rig.click(CPoint(10, 10));
    rig.click(CPoint(272, 665));  // MIDI learn
    const Automation a = automated();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0], (std::pair<int, float>{203, 1.0f}));
    for (int i = 0; i < kNumUserParams; ++i) EXPECT_EQ(param(i), before[static_cast<size_t>(i)]) << i;
}

}  // namespace
}  // namespace orv::test
