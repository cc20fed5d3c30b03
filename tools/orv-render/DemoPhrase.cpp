#include "orv-render/DemoPhrase.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeak = 0.5;              // target peak, about -6 dBFS
constexpr double kAttack = 0.008;          // seconds, key contact
constexpr double kRelease = 0.045;         // seconds
constexpr double kPercussionDecay = 0.25;  // seconds, time constant of the percussion tone
constexpr double kPercussionLevel = 0.5;   // relative to the fundamental
constexpr double kPercussionRatio = 3.0;   // the percussion sounds the third harmonic
constexpr int kNotesPerChord = 5;

// Tone-wheel style stops: frequency ratios to the note and their levels.
struct Partial {
    double ratio;
    double level;
};
// clang-format off
constexpr Partial kPartials[] = {
    {0.5, 0.55},  // sub-octave
    {1.0, 1.00},  // fundamental
    {1.5, 0.45},  // fifth above
    {2.0, 0.60},  // octave
    {3.0, 0.20},  // twelfth
    {4.0, 0.30},  // two octaves: the upper stops give the horn something to throw around
    {6.0, 0.16},
    {8.0, 0.12},
};
// clang-format on

struct Chord {
    double start;  // seconds
    double end;
    int notes[kNotesPerChord];  // MIDI note numbers
};
// C major, A minor, F major, G seventh, C major: struck with a short gap so each chord speaks.
// clang-format off
constexpr Chord kChords[] = {
    {0.05, 2.55, {48, 55, 60, 64, 67}},
    {2.60, 5.15, {45, 52, 57, 60, 64}},
    {5.20, 7.75, {41, 48, 53, 57, 60}},
    {7.80, 9.75, {43, 50, 55, 59, 65}},
    {9.80, 11.80, {48, 55, 60, 64, 72}},
};
// clang-format on

double noteFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }  // A4 = 440 Hz

// Raised-cosine attack and release: no clicks at the key edges.
double envelope(double t, double length)
{
    if (t < 0.0 || t > length + kRelease) return 0.0;
    double g = 1.0;
    if (t < kAttack) g = 0.5 - 0.5 * std::cos(M_PI * t / kAttack);
    if (t > length) g *= 0.5 + 0.5 * std::cos(M_PI * (t - length) / kRelease);
    return g;
}

}  // namespace

std::vector<float> DemoPhrase::synthesise()
{
    const size_t frames = static_cast<size_t>(kSeconds * kSampleRate);
    std::vector<double> mix(frames, 0.0);
    int voice = 0;
    for (const Chord& chord : kChords) {
        const double length = chord.end - chord.start;
        const size_t first = static_cast<size_t>(chord.start * kSampleRate);
        const size_t last = std::min(frames, static_cast<size_t>((chord.end + kRelease) * kSampleRate) + 1);
        for (int note : chord.notes) {
            const double f = noteFrequency(note);
            // Fixed, different starting phases keep the summed partials from peaking together.
            const double phase0 = 0.37 * ++voice;
            for (size_t n = first; n < last; ++n) {
                const double t = static_cast<double>(n) / kSampleRate - chord.start;
                const double env = envelope(t, length);
                if (env == 0.0) continue;
                double s = 0.0;
                for (const Partial& p : kPartials) {
                    s += p.level * std::sin(kTwoPi * f * p.ratio * t + phase0 * p.ratio);
                }
                s += kPercussionLevel * std::exp(-t / kPercussionDecay) * std::sin(kTwoPi * f * kPercussionRatio * t);
                mix[n] += env * s;
            }
        }
    }
    double peak = 0.0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double gain = peak > 0.0 ? kPeak / peak : 0.0;
    std::vector<float> out(frames);
    std::transform(mix.begin(), mix.end(), out.begin(), [gain](double v) { return static_cast<float>(v * gain); });
    return out;
}

}  // namespace orv
