#pragma once

#include <cstdint>

namespace orv {

// The designs of BiquadFilter: a second-order section from rate, type, frequency, Q and gain in
// dB, normalised and factored into zeros, poles and gain. Remembers its last design with the
// inputs it came from (compared bit for bit); the design is a pure function of them, so a
// redesign with unchanged inputs is skipped, and one with only the gain changed skips the
// frequency-dependent part.
class BiquadDesigner {
public:
    // Root order: zero 1 (re, im), zero 2 (re, im), pole 1 (re, im), pole 2 (re, im), gain.
    enum RootIndex : int {
        kZero1Re, kZero1Im, kZero2Re, kZero2Im, kPole1Re, kPole1Im, kPole2Re, kPole2Im, kGain, kRootCount
    };

    struct Design {
        double a0 = 1.0, a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;  // a1..b2 divided by a0
        double root[kRootCount] = {};
    };

    // The design of type (BiquadFilter's numbering) at the given settings; the identity when
    // enabled is 0 or the type is not 1..10.
    const Design& design(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency, double q,
                         double gainDb);
    // k of the saturation law y / (1 + k |y + bias|) for amount > 0.
    double saturationCoefficient(double amount, double frequency, double q, double sampleRate);

private:
    void compute(std::uint32_t type, std::uint32_t enabled, double sampleRate, double frequency, double q,
                 double gainDb);

    struct Memo {
        // Inputs of the full design; fullValid is false until the first design.
        bool fullValid = false;
        std::uint32_t type = 0, enabled = 0;
        std::uint64_t rate = 0, frequency = 0, q = 0, gain = 0;
        Design design;
        // Frequency-dependent part: valid for shapeType, shapeRate, shapeFrequency, shapeQ.
        bool shapeValid = false;
        std::uint32_t shapeType = 0;
        std::uint64_t shapeRate = 0, shapeFrequency = 0, shapeQ = 0;
        double c = 0.0, s = 0.0, qWarped = 0.0, alpha = 0.0;
        // Gain-dependent part: valid for gainBits.
        bool gainValid = false;
        std::uint64_t gainBits = 0;
        double A = 1.0;
        // Saturation: q^0.75 for satQ.
        bool satValid = false;
        std::uint64_t satQ = 0;
        double qPower = 1.0;
    };
    Memo memo_;
};

}  // namespace orv
