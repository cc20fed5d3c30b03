// The editor against the other threads: while one thread changes parameters, sends controller
// messages and processes audio (as a host's automation and audio threads do), another opens,
// idles and closes the editor. Nothing the first thread does may reach the controls that close
// deletes; the second picks every change up at its idle.

#include <atomic>
#include <thread>

#include "editor/RotaryEditor.h"
#include "params/ParameterIndex.h"
#include "plugin/RotaryEffect.h"
#include "toolkit/CControl.h"
#include "unit/programs/EffectUnderTest.h"

namespace orv::test {
namespace {

using namespace param;

TEST(EditorThreads, OpenIdleCloseWhileParametersAndControllersArrive)
{
    RotaryEffect fx(nullptr);
    auto* editor = static_cast<RotaryEditor*>(fx.getEditor());
    fx.setParameter(kMidiChl, 1.0f);  // all channels
    fx.assignController(kDrive, 20);

    // Controls of every kind: knobs (one with two displays), switches, the speed mode that
    // reconfigures a button, the speaker configuration that switches markers.
    static constexpr int kIndices[] = {kHSlowSpd, kSetup, kBypass, kLever, kStop, kSpdMode, kSpkrConf, kLvrMode, kMix};
    std::atomic<bool> stop{false};
    std::atomic<unsigned> rounds{0};
    auto change = [&](unsigned n) {
        for (int index : kIndices) fx.setParameter(index, static_cast<float>((n * 7u + index) % 11u) / 10.0f);
    };
    std::thread automation([&] {
        for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) change(n);
    });
    // The audio thread: controller messages (one moves Drive, or completes learning while it is
    // on), parameter changes and blocks.
    std::thread audio([&] {
        std::vector<float> in(32, 0.0f), outL(32), outR(32);
        float* ins[] = {in.data(), in.data()};
        float* outs[] = {outL.data(), outR.data()};
        MidiBlock controller;
        controller.controlChange(1, 20, 64);
        for (unsigned n = 0; !stop.load(std::memory_order_relaxed); ++n) {
            fx.processEvents(controller.record());
            change(n + 5);
            if (n % 16 == 0) fx.processReplacing(ins, outs, 32);
            rounds.store(n, std::memory_order_relaxed);
        }
    });

    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_TRUE(editor->openOffscreen());
        // The panel's learn and forget modes end on the other threads (a controller message, a
        // touched parameter).
        fx.startMidiLearn();
        fx.startMidiForget();
        if (cycle % 8 == 0) editor->idle();
        editor->close();
    }
    // Open while the last changes arrive: after the threads stop, one idle brings every
    // control to the value its parameter was left at.
    ASSERT_TRUE(editor->openOffscreen());
    while (rounds.load() < 50) std::this_thread::yield();
    stop.store(true);
    automation.join();
    audio.join();
    editor->idle();
    for (int index : kIndices)
        EXPECT_FLOAT_EQ(editor->getParameterControl(index)->getValue(), fx.getParameter(index)) << index;
    EXPECT_FLOAT_EQ(editor->getParameterControl(kDrive)->getValue(), fx.getParameter(kDrive));
    editor->close();
}

}  // namespace
}  // namespace orv::test
