#pragma once

#include <cstdint>
#include <vector>

#include "dsp/LazyClear.h"

namespace orv {

// The first reflections of the room around the cabinet: twelve delayed, attenuated and
// low-passed copies of the left send and twelve of the right send, laid out from fixed
// distance tables scaled by the room size. Each side hears only its own send.
class EarlyReflections {
public:
    static constexpr int kTapsPerSide = 12;
    static constexpr int kTaps = 2 * kTapsPerSide;  // 0..11 left, 12..23 right
    static constexpr int kLineLength = 65536;       // per delay line, a power of two
    static constexpr int kLineMask = kLineLength - 1;

    // Distances in metres at room scale 1, and the cutoff factor of each tap's low-pass.
    // clang-format off
    static constexpr double kLeftDistances[kTapsPerSide] = {3.1, 4.3, 5.7, 6.3, 7.8, 8.3,
                                                            8.7, 9.3, 9.6, 10.5, 11.1, 11.7};
    static constexpr double kRightDistances[kTapsPerSide] = {3.0, 4.0, 4.8, 7.5, 8.1, 8.5,
                                                             9.1, 9.5, 9.9, 10.3, 10.9, 11.3};
    // Far distances: only their maximum matters, as the distance at which a tap would lie
    // at -20 dB.
    static constexpr double kFarDistancesC[kTapsPerSide] = {3.15, 4.08, 5.48, 6.8, 8.9, 10.5,
                                                            12.3, 12.9, 13.3, 13.7, 14.1, 14.9};
    static constexpr double kFarDistancesD[kTapsPerSide] = {3.05, 4.47, 4.87, 7.4, 8.2, 11.4,
                                                            11.2, 11.8, 12.1, 12.9, 13.5, 14.6};
    static constexpr double kLeftCutoffFactors[kTapsPerSide] = {0.93, 0.91, 0.8, 0.7, 0.7, 0.65,
                                                                0.6, 0.55, 0.5, 0.35, 0.0, 0.0};
    static constexpr double kRightCutoffFactors[kTapsPerSide] = {0.97, 0.9, 0.8, 0.7, 0.7, 0.65,
                                                                 0.6, 0.55, 0.5, 0.35, 0.0, 0.0};

    // "Size" positions 1..5: values of "Early Refl. Room Size" and "Early Refl. Virtual Room
    // Size" that the position sets.
    struct SizePreset {
        double roomSize;
        double virtualRoomSize;
    };
    static constexpr int kSizePositions = 5;
    static constexpr SizePreset kSizePresets[kSizePositions] = {
        {0.193426, 0.371357}, {0.306573, 0.441384}, {0.386852, 0.5},
        {0.449122, 0.462},    {0.5, 0.419518}};
    // clang-format on
    // The preset of "Size" position 1..5 (positions outside are clamped).
    static SizePreset sizePreset(int position);

    // Parameter laws, p = parameter value 0..1.
    static double roomScaleFromParameter(double p);      // "Early Refl. Room Size": 0.5 .. 4.0
    static double virtualScaleFromParameter(double p);   // "Early Refl. Virtual Room Size": 0.25 .. 4.0
    static double extraDistanceFromParameter(double p);  // "Early Refl. LR Delay": 0.15 .. 1.5 m
    static double cutoffScaleFromParameter(double p);    // "Early Refl. Main Cutoff": 200 .. 20000 Hz
    static double outputGainFromLevel(double level);     // levelCurve("Amount") -> output gain (-30 dB)

    // The room, in the units of the laws above.
    struct Room {
        double roomScale = 1.0;        // s
        double virtualScale = 1.0;     // v
        double extraDistance = 0.15;   // o, metres
        double cutoffScale = 20000.0;  // m, Hz
    };

    EarlyReflections();

    // The processing rate and the room; both take effect at the next setupReflections().
    void prepare(double sampleRate) { sampleRate_ = sampleRate; }
    void setRoom(const Room& room) { room_ = room; }
    // The level the output gain follows (see advanceOutputGain) and jumps to on clearReflections().
    void setOutputGainTarget(double gain) { outputGainTarget_ = gain; }
    double outputGain() const { return outputGain_; }

    // Recomputes the tap tables from the settings.
    void setupReflections();
    // Snaps the output gain, recomputes the taps and zeroes the delay lines and tap states.
    void clearReflections();
    // Zeroes the delay lines (as far back as the taps reach; see LazyClear) and tap states only.
    void clearLines();
    // One sample in, one sample out per side.
    void processReflections(double inL, double inR, double& outL, double& outR);

    // Moves outputGain one sample towards its target with smoothing coefficient c.
    void advanceOutputGain(double c) { outputGain_ += (outputGainTarget_ - outputGain_) * c; }

    // Derived tap tables, read-only.
    double tapGain(int k) const { return gain_[k]; }
    std::int32_t tapDelay(int k) const { return delay_[k]; }
    float tapFraction(int k) const { return fraction_[k]; }
    double tapCoefficient(int k) const { return coefficient_[k]; }

private:
    double sampleRate_ = 44100.0;
    Room room_;
    double outputGainTarget_ = 0.0;
    double outputGain_ = 0.0;
    double gain_[kTaps];
    std::int32_t delay_[kTaps];
    float fraction_[kTaps];
    double coefficient_[kTaps];
    // The taps again in pairs, left tap k at 2k and right tap k at 2k + 1, so that one left
    // and one right tap run per instruction; the fraction as a double.
    alignas(16) double pairGain_[kTaps];
    alignas(16) double pairFraction_[kTaps];
    alignas(16) double pairCoefficient_[kTaps];
    alignas(16) double pairState_[kTaps];
    std::int32_t pairDelay_[kTaps];
    std::vector<double> left_;
    std::vector<double> right_;
    LazyClear leftClean_{kLineLength};
    LazyClear rightClean_{kLineLength};
    int reach_ = kLineLength;  // offsets behind the write position the taps read
    std::int32_t write_ = 0;
};

}  // namespace orv
