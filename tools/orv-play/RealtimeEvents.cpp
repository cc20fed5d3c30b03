#include "orv-play/RealtimeEvents.h"

namespace orv::play {

namespace {
constexpr uint8_t kStatusBit = 0x80;
constexpr uint8_t kSystemMessages = 0xF0;  // status bytes from here on are not channel messages
}  // namespace

RealtimeEvents::RealtimeEvents()
{
    for (int i = 0; i < kCapacity; ++i)
        words_[static_cast<size_t>(2 + i)] = reinterpret_cast<vst::iptr>(&events_[static_cast<size_t>(i)]);
}

bool RealtimeEvents::add(int deltaFrames, const uint8_t* bytes, size_t size)
{
    if (count_ == kCapacity || size == 0 || size > 3) return false;
    if ((bytes[0] & kStatusBit) == 0 || bytes[0] >= kSystemMessages) return false;
    vst::VstMidiEvent& e = events_[static_cast<size_t>(count_++)];
    e = vst::VstMidiEvent{};
    e.type = vst::kVstMidiType;
    e.byteSize = sizeof(vst::VstMidiEvent);
    e.deltaFrames = deltaFrames;
    for (size_t i = 0; i < size; ++i) e.midiData[i] = static_cast<char>(bytes[i]);
    return true;
}

vst::VstEvents* RealtimeEvents::record(int lastFrame)
{
    for (int i = 0; i < count_; ++i) {
        vst::VstMidiEvent& e = events_[static_cast<size_t>(i)];
        if (e.deltaFrames > lastFrame) e.deltaFrames = lastFrame;
    }
    auto* rec = reinterpret_cast<vst::VstEvents*>(words_.data());
    rec->numEvents = count_;
    rec->reserved = 0;
    return rec;
}

}  // namespace orv::play
