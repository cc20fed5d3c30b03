// The MIDI events a host hands to an effect before one audio block, laid out as the
// variable-length VstEvents record that effProcessEvents expects.
#pragma once

#include <cstdint>
#include <vector>

#include "host/vst2.h"

namespace orv {

class MidiEventList {
public:
    // Adds a three-byte channel message at a frame offset inside the coming block.
    void add(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2);
    // A control change; channel counts from 1 (1..16), controller and value are 0..127.
    void addControlChange(int deltaFrames, int channel, int controller, int value);

    bool empty() const { return events_.empty(); }
    int size() const { return static_cast<int>(events_.size()); }
    void clear() { events_.clear(); }

    // Builds the VstEvents record (events sorted by frame offset, stable for equal offsets).
    // The record points into this list and stays valid until the list changes.
    vst::VstEvents* record();

private:
    std::vector<vst::VstMidiEvent> events_;
    // Header (numEvents, reserved) followed by one pointer per event; held as pointer-sized
    // words so the record is correctly aligned.
    std::vector<vst::iptr> words_;
};

}  // namespace orv
