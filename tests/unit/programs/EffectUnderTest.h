// A RotaryEffect created directly (white box) with a host callback that records what the
// effect tells the host, and helpers to hand it MIDI events.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "plugin/RotaryEffect.h"
#include "host/vst2.h"
#include "support/RecordingHost.h"

namespace orv::test {

// Three-byte MIDI messages laid out as the VstEvents record of one block.
class MidiBlock {
public:
    MidiBlock& controlChange(int channel, int controller, int value)
    {
        return message(0xB0 | ((channel - 1) & 0x0F), controller, value);
    }
    MidiBlock& message(int status, int data1, int data2)
    {
        vst::VstMidiEvent& e = events_.emplace_back();
        e.type = vst::kVstMidiType;
        e.byteSize = sizeof e;
        e.midiData[0] = static_cast<char>(status);
        e.midiData[1] = static_cast<char>(data1);
        e.midiData[2] = static_cast<char>(data2);
        return *this;
    }
    vst::VstEvents* record()
    {
        words_.assign(2 + events_.size(), 0);
        words_[0] = static_cast<vst::iptr>(events_.size());
        for (size_t i = 0; i < events_.size(); ++i) words_[2 + i] = reinterpret_cast<vst::iptr>(&events_[i]);
        return reinterpret_cast<vst::VstEvents*>(words_.data());
    }

private:
    std::vector<vst::VstMidiEvent> events_;
    std::vector<vst::iptr> words_;
};

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostCalls().clear();
        effect = std::make_unique<RotaryEffect>(recordingHost);
        hostCalls().clear();
    }
    void send(MidiBlock& block) { EXPECT_EQ(effect->processEvents(block.record()), 1); }

    std::unique_ptr<RotaryEffect> effect;
};

}  // namespace orv::test
