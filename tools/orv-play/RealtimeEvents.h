// MIDI events for one block, gathered on the audio thread: a fixed number of event slots and
// the VstEvents record pointing at them, all allocated up front.
#pragma once

#include <array>
#include <cstdint>

#include "host/vst2.h"

namespace orv::play {

class RealtimeEvents {
public:
    static constexpr int kCapacity = 512;  // events per block; more are dropped

    RealtimeEvents();

    void clear() { count_ = 0; }
    // Adds a channel message of one to three bytes at a frame of the block; false when full
    // or when the bytes are not a channel message (system messages are not forwarded).
    bool add(int deltaFrames, const uint8_t* bytes, size_t size);
    int size() const { return count_; }
    // The record for effProcessEvents, valid until the next clear or add; frame offsets are
    // limited to lastFrame.
    vst::VstEvents* record(int lastFrame);

private:
    std::array<vst::VstMidiEvent, kCapacity> events_{};
    // VstEvents header (numEvents padded to a pointer, reserved) then one pointer per event.
    std::array<vst::iptr, 2 + kCapacity> words_{};
    int count_ = 0;
};

}  // namespace orv::play
