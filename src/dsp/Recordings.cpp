#include "dsp/Recordings.h"

#include "platform/SymbolVisibility.h"

// Symbols of the embedded sample arrays, defined by the generated assembly file of the
// recordings resource (hidden, read-only, 16-byte aligned).
#define ORV_RECORDING_SYMBOL(name) extern "C" ORV_HIDDEN const float name[]
ORV_RECORDING_SYMBOL(orv_recording_drum_slow);
ORV_RECORDING_SYMBOL(orv_recording_drum_fast);
ORV_RECORDING_SYMBOL(orv_recording_horn_slow0);
ORV_RECORDING_SYMBOL(orv_recording_horn_slow1);
ORV_RECORDING_SYMBOL(orv_recording_horn_fast);
ORV_RECORDING_SYMBOL(orv_recording_transient);
#undef ORV_RECORDING_SYMBOL

namespace orv {

Recording findRecording(RecordingId id)
{
    constexpr int g = kLoopGuardSamples;
    switch (id) {
    case RecordingId::DrumSlowLoop: return {orv_recording_drum_slow, kDrumSlowLoopLength + g, kDrumSlowLoopLength};
    case RecordingId::DrumFastLoop: return {orv_recording_drum_fast, kDrumFastLoopLength + g, kDrumFastLoopLength};
    case RecordingId::HornSlowLoop0: return {orv_recording_horn_slow0, kHornSlowLoopLength + g, kHornSlowLoopLength};
    case RecordingId::HornSlowLoop1: return {orv_recording_horn_slow1, kHornSlowLoopLength + g, kHornSlowLoopLength};
    case RecordingId::HornFastLoop: return {orv_recording_horn_fast, kHornFastLoopLength + g, kHornFastLoopLength};
    case RecordingId::Transient: return {orv_recording_transient, kTransientStored, kTransientLength};
    }
    return {nullptr, 0, 0};
}

}  // namespace orv
