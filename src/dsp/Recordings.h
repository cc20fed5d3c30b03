#pragma once

// The motor-noise recordings compiled into the module: mono single-precision arrays, read in
// place. A loop stores its loop length plus three guard samples that repeat its first three;
// the one-shot transient stores n + 1 samples and is read with n.

namespace orv {

enum class RecordingId {
    DrumSlowLoop,   // drum motor and rotor at slow speed; one loop = 5 rotor turns
    DrumFastLoop,   // drum at fast speed; one loop = 88 rotor turns
    HornSlowLoop0,  // horn motor hum, first take; plays at 44,100 samples per second
    HornSlowLoop1,  // horn motor hum, second take
    HornFastLoop,   // horn at fast speed; one loop = 34 rotor turns
    Transient,      // relay-and-belt clunk of a speed change; plays at 44,100 samples per second
};
inline constexpr int kRecordingCount = 6;

// Samples per second at which the recordings were made.
inline constexpr double kRecordingRate = 44100.0;
// Guard samples at the end of every loop.
inline constexpr int kLoopGuardSamples = 3;

inline constexpr int kDrumSlowLoopLength = 270144;
inline constexpr int kDrumFastLoopLength = 627298;
inline constexpr int kHornSlowLoopLength = 63884;
inline constexpr int kHornFastLoopLength = 219418;
inline constexpr int kTransientStored = 3956;
inline constexpr int kTransientLength = kTransientStored - 1;  // n passed to the one-shot read

inline constexpr int kDrumSlowTurns = 5;   // rotor turns per drum slow loop
inline constexpr int kDrumFastTurns = 88;  // rotor turns per drum fast loop
inline constexpr int kHornFastTurns = 34;  // rotor turns per horn fast loop

struct Recording {
    const float* samples;
    int stored;  // entries in `samples`
    int length;  // n given to the read: the loop length, or the transient's last index
};

// The recording compiled in under `id`.
Recording findRecording(RecordingId id);

}  // namespace orv
