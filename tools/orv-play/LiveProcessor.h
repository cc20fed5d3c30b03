// Runs the effect's audio entries for a live source, on that source's audio thread: the
// block's MIDI events through effProcessEvents first, then processReplacing, split into
// pieces of at most the block size the effect was told. Allocates nothing and takes no lock.
#pragma once

#include "host/vst2.h"
#include "orv-play/RealtimeEvents.h"

namespace orv::play {

class LiveProcessor {
public:
    LiveProcessor(vst::AEffect* effect, int maxBlock) : effect_(effect), maxBlock_(maxBlock) {}

    int maxBlock() const { return maxBlock_; }
    // The events of the coming block (frame offsets inside it); cleared by process().
    RealtimeEvents& events() { return events_; }
    // in and out hold two channel pointers each.
    void process(float* const* in, float* const* out, int frames);

private:
    vst::AEffect* effect_;
    int maxBlock_;
    RealtimeEvents events_;
};

}  // namespace orv::play
