#include "hostlib/MidiEventList.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {
constexpr uint8_t kControlChange = 0xB0;  // status nibble of a control change
constexpr int kHeaderWords = 2;           // numEvents (padded to 8 bytes) and reserved
}  // namespace

void MidiEventList::add(int deltaFrames, uint8_t status, uint8_t data1, uint8_t data2)
{
    vst::VstMidiEvent e{};
    e.type = vst::kVstMidiType;
    e.byteSize = sizeof(vst::VstMidiEvent);
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1 & 0x7F);
    e.midiData[2] = static_cast<char>(data2 & 0x7F);
    events_.push_back(e);
}

void MidiEventList::addControlChange(int deltaFrames, int channel, int controller, int value)
{
    add(deltaFrames, static_cast<uint8_t>(kControlChange | ((channel - 1) & 0x0F)), static_cast<uint8_t>(controller),
        static_cast<uint8_t>(value));
}

vst::VstEvents* MidiEventList::record()
{
    std::stable_sort(events_.begin(), events_.end(), [](const vst::VstMidiEvent& a, const vst::VstMidiEvent& b) {
        return a.deltaFrames < b.deltaFrames;
    });
    words_.assign(kHeaderWords + std::max<size_t>(events_.size(), 2), 0);
    auto* rec = reinterpret_cast<vst::VstEvents*>(words_.data());
    rec->numEvents = static_cast<vst::i32>(events_.size());
    rec->reserved = 0;
    vst::iptr* slots = words_.data() + kHeaderWords;
    for (size_t i = 0; i < events_.size(); ++i) {
        slots[i] = reinterpret_cast<vst::iptr>(&events_[i]);
    }
    return rec;
}

}  // namespace orv
