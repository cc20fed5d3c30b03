// The built-in demo: a short organ-like chord phrase, and the lever moves that let a listener
// hear the rotors speed up and slow down.
#pragma once

#include <vector>

namespace orv {

class DemoPhrase {
public:
    static constexpr double kSampleRate = 48000.0;
    static constexpr double kSeconds = 12.0;
    static constexpr double kTremoloAt = 3.0;  // lever to "Tremolo" here (seconds)
    static constexpr double kChoraleAt = 7.5;  // and back to "Chorale", leaving time to slow down

    // Mono samples at kSampleRate, kSeconds long, peaking at about -6 dBFS.
    static std::vector<float> synthesise();
};

}  // namespace orv
