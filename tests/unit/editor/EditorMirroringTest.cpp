// Parameter changes reach the controls (at the next idle, not before), the user's gestures
// reach the effect and the host as automation inside begin and end of the gesture, the speed
// button's four pedal modes, the channel rocker, and the markers that follow the rotors.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/CAbout.h"
#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/OrvMarker.h"
#include "toolkit/CMovieBitmap.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

using EditorMirroringTest = SharedEditorTest;

TEST_F(EditorMirroringTest, ParameterChangesMoveTheControlsAtTheNextIdle)
{
    // setParameter (from any thread) leaves the controls alone; the idle applies the change.
    const float before = control(17)->getValue();
    rig.effect->setParameter(17, 0.9f);
    EXPECT_EQ(control(17)->getValue(), before);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(17)->getValue(), 0.9f);
    EXPECT_FLOAT_EQ(rig.editor->getParameterDisplay(17)->getValue(), 0.9f);
    // Both lines of the set-up display follow the set-up knob.
    rig.effect->setParameter(param::kSetup, 0.6f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(rig.editor->getParameterDisplay(param::kSetup, true)->getValue(), 0.6f);
    // Hidden parameters and controller bindings have no control; nothing changes for them.
    const float drive = control(param::kDrive)->getValue();
    rig.effect->setParameter(param::kFirstController + param::kDrive, 0.3f);
    rig.effect->setParameter(120, 0.3f);
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(param::kDrive)->getValue(), drive);
    // Values from a host outside the range are stored, but shown clamped (not a number and the
    // infinities as 0).
    for (auto [value, shown] :
         {std::pair{NAN, 0.0f}, {INFINITY, 0.0f}, {-INFINITY, 0.0f}, {-0.5f, 0.0f}, {5.0f, 1.0f}}) {
        for (int tag = 0; tag < kNumUserParams; ++tag) rig.effect->setParameter(tag, value);
        rig.render();
        for (int tag = 0; tag < kNumUserParams; ++tag) {
            EXPECT_EQ(control(tag)->getValue(), shown) << tag << " " << value;
            EXPECT_EQ(std::isnan(param(tag)), std::isnan(value)) << tag;
        }
    }
}

TEST_F(EditorMirroringTest, KnobDragIsOneHostGestureWithAutomation)
{
    const float start = param(17);
    rig.press(CPoint(65, 78));
    rig.moveTo(CPoint(105, 78), kLButton);  // 40 of 400 pixels for the whole range
    rig.release(CPoint(105, 78));
    EXPECT_NEAR(param(17), start + 0.1f, 1e-6f);
    EXPECT_FLOAT_EQ(control(17)->getValue(), param(17));
    const auto& calls = hostCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().opcode, vst::audioMasterBeginEdit);
    EXPECT_EQ(calls.back().opcode, vst::audioMasterEndEdit);
    for (const HostCall& c : calls) EXPECT_EQ(c.index, 17);
    EXPECT_EQ(callsWith(vst::audioMasterBeginEdit).size(), 1u);
    EXPECT_FLOAT_EQ(EditorRig::automated().back().second, param(17));
}

TEST_F(EditorMirroringTest, ClicksReachTheHostInOrder)
{
    // A double-click on a knob restores its default (the knob notifies only when the default
    // differs from what it shows).
    rig.effect->setParameter(param::kDLpf, 0.2f);
    rig.render();
    rig.click(CPoint(338, 470), kLButton | kDoubleClick);
    EXPECT_EQ(EditorRig::automated(), (Automation{{param::kDLpf, 1.0f}}));
    // Bypass sends its old value, then the new one.
    hostCalls().clear();
    rig.click(CPoint(300, 632));
    EXPECT_EQ(EditorRig::automated(), (Automation{{0, rig.initial[0]}, {0, 1.0f - rig.initial[0]}}));
    // The about logo sends nothing; MIDI learn its own tag and changes no parameter.
    std::vector<float> before;
    for (int i = 0; i < kNumUserParams; ++i) before.push_back(param(i));
    hostCalls().clear();
    rig.click(CPoint(120, 170));
    rig.click(CPoint(10, 10));
    EXPECT_TRUE(EditorRig::automated().empty());
    rig.click(CPoint(272, 665));
    rig.click(CPoint(272, 665));
    EXPECT_EQ(EditorRig::automated(), (Automation{{203, 1.0f}, {203, 0.0f}}));
    for (int i = 0; i < kNumUserParams; ++i) EXPECT_EQ(param(i), before[static_cast<size_t>(i)]) << i;
}

// The speed button in the four pedal modes: (mode, momentary, (lever, speed) sent on the press
// and on the release of two presses).
TEST_F(EditorMirroringTest, SpeedButtonModes)
{
    const CPoint speed(366, 370);
    struct Mode {
        float mode;
        int momentary;
        float press1, release1, press2, release2;  // lever = speed after each
    };
    for (const Mode& m : {Mode{0.0f, 0, 1, -1, 0, -1}, Mode{1.0f, 0, 1, -1, 0, -1}, Mode{1.0f / 3.0f, 1, 1, 0, 1, 0},
                          Mode{2.0f / 3.0f, 1, 0, 1, 0, 1}}) {
        SCOPED_TRACE(m.mode);
        rig.effect->setParameter(param::kSpdMode, m.mode);
        rig.effect->setParameter(param::kSpeed, 0.0f);
        rig.effect->setParameter(param::kLever, 0.0f);
        rig.editor->idle();
        EXPECT_EQ(static_cast<CClickKickButton*>(control(param::kSpeed))->getMomentary(), m.momentary);
        const float expected[] = {m.press1, m.release1, m.press2, m.release2};
        for (int i = 0; i < 4; ++i) {
            hostCalls().clear();
            if (i % 2 == 0)
                rig.press(speed);
            else
                rig.release(speed);
            // -1: the release of a toggle sends nothing and leaves the speed as it is.
            if (expected[i] < 0) {
                EXPECT_TRUE(EditorRig::automated().empty()) << i;
            } else {
                EXPECT_EQ(EditorRig::automated(),
                          (Automation{{param::kLever, expected[i]}, {param::kSpeed, expected[i]}}))
                    << i;
            }
        }
    }
}

TEST_F(EditorMirroringTest, ChannelRockerStepsOneEighteenthAndStopsAtTheEnds)
{
    auto* indicator = static_cast<CMovieBitmap*>(control(param::kMidiChl));
    const CPoint right(135, 666), left(113, 666);
    auto channel = [&] { return rig.effect->controllerMap().channelStep(); };
    rig.effect->setParameter(param::kMidiChl, 1.0f);
    rig.click(right);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 1.0f);
    // The rocker's own automation is sent after the change it caused.
    EXPECT_EQ(EditorRig::automated(), (Automation{{param::kMidiChl, 1.0f}, {195, 1.0f}}));
    rig.effect->setParameter(param::kMidiChl, 0.0f);
    rig.click(left);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 0.0f);
    // Eighteen steps of 1/18 cross the seventeen channel intervals: each press moves the
    // channel by one except one press half way, and the last reaches all channels (17). The
    // indicator shows the effect's channel all along.
    std::vector<int> seen;
    for (int n = 1; n <= 18; ++n) {
        rig.click(right);
        rig.editor->idle();
        EXPECT_EQ(indicator->getValue(), param(param::kMidiChl));
        EXPECT_EQ(static_cast<int>(indicator->getValue() * 17 + 0.5f), channel()) << n;
        seen.push_back(channel());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
    hostCalls().clear();
    rig.click(left);
    EXPECT_FLOAT_EQ(param(param::kMidiChl), 1.0f - 1.0f / 18.0f);
    EXPECT_EQ(channel(), 16);
    // Releasing the rocker (value 0) changes nothing.
    hostCalls().clear();
    rig.effect->setParameter(195, 0.0f);
    EXPECT_TRUE(EditorRig::automated().empty());
}

// Folds an angle in turns into the marker's range as the editor does.
float folded(double a) { return static_cast<float>(a > 1.0 ? a - 1.0 : (a < 0.0 ? a + 1.0 : a)); }

TEST_F(EditorMirroringTest, MarkersFollowTheRotorsThatTheConfigurationUses)
{
    OrvMarker* horn = rig.editor->getHornMarker();
    OrvMarker* drum = rig.editor->getDrumMarker();
    rig.effect->setParameter(param::kLever, 1.0f);  // fast
    rig.effect->resume();
    // (speaker configuration, amplifier only, horn shown, drum shown); out of sight is 0.5.
    struct Case {
        float config, ampOnly;
        bool horn, drum;
    };
    for (const Case& c : {Case{0.5f, 0, true, true}, Case{0.0f, 0, false, true}, Case{1.0f, 0, true, false},
                          Case{0.5f, 1, false, false}}) {
        rig.effect->setParameter(param::kSpkrConf, c.config);
        rig.effect->setParameter(param::kBypassSpeakers, c.ampOnly);
        if (c.ampOnly == 0) {
            EXPECT_EQ(rig.editor->isHornMarkerEnabled(), c.horn) << c.config;
            EXPECT_EQ(rig.editor->isDrumMarkerEnabled(), c.drum) << c.config;
        }
        const float hornBefore = horn->getValue();
        rig.runAudio(8);
        rig.editor->idle();
        EXPECT_FLOAT_EQ(horn->getValue(), c.horn ? folded(rig.effect->hornAngle()) : 0.5f) << c.config;
        EXPECT_FLOAT_EQ(drum->getValue(), c.drum ? folded(rig.effect->drumAngle()) : 0.5f) << c.config;
        EXPECT_TRUE(!c.horn || horn->getValue() != hornBefore) << c.config;  // the rotors turn, the markers move
    }
    // They stand still while the about picture is shown.
    rig.effect->setParameter(param::kBypassSpeakers, 0.0f);
    rig.click(CPoint(120, 170));
    ASSERT_FLOAT_EQ(rig.editor->getAbout()->getValue(), 1.0f);
    const float frozen = horn->getValue();
    rig.runAudio(16);
    rig.editor->idle();
    EXPECT_NE(folded(rig.effect->hornAngle()), frozen);
    EXPECT_EQ(horn->getValue(), frozen);
    rig.click(CPoint(10, 10));
    rig.editor->idle();
    EXPECT_FLOAT_EQ(horn->getValue(), folded(rig.effect->hornAngle()));
}

TEST_F(EditorMirroringTest, AControllerMovingParametersRefreshesEveryControl)
{
    rig.effect->setParameter(param::kMidiChl, 1.0f);  // all channels
    rig.effect->assignController(param::kDrive, 20);
    control(param::kColor)->setValue(0.123f);  // out of step, as after a missed notification
    const float driveShown = control(param::kDrive)->getValue();
    rig.controlChange(20, 127);
    EXPECT_EQ(control(param::kDrive)->getValue(), driveShown);  // nothing before the idle
    rig.editor->idle();
    EXPECT_FLOAT_EQ(control(param::kDrive)->getValue(), 1.0f);
    EXPECT_FLOAT_EQ(control(param::kColor)->getValue(), param(param::kColor));
    EXPECT_FALSE(rig.effect->takeMidiChangedFlag());  // the editor took it
    rig.effect->unassignParameter(param::kDrive);
}

}  // namespace
}  // namespace orv::test
