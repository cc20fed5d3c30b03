// Synthesises the motor-noise recordings that are compiled into the module and writes each as
// raw little-endian 32-bit floats into the folder given as the only argument.
//
// Everything is deterministic (own random generator, fixed seeds). Loops are built only from
// parts that repeat exactly over the loop: tones and modulations with a whole number of
// cycles per loop, and noise filtered circularly (the filter runs over the loop twice and the
// second pass is kept, so its state at the start is the state at the end). A memoryless
// compander then sets the crest factor and a gain sets the RMS, so peak and RMS land on their
// targets without breaking the loop.

#include "dsp/Recordings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Signal = std::vector<double>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kFs = orv::kRecordingRate;

// xoshiro256** seeded through splitmix64: the same numbers on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed)
    {
        for (auto& s : state_) {
            seed += 0x9e3779b97f4a7c15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            s = z ^ (z >> 31);
        }
    }
    double uniform()
    {  // in (0, 1)
        return (static_cast<double>(next() >> 11) + 0.5) * (1.0 / 9007199254740992.0);
    }
    double gaussian()
    {  // Box-Muller, one value per call
        const double u1 = uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(kTwoPi * u2);
    }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t next()
    {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }
    std::uint64_t state_[4];
};

// Second-order section with the usual cookbook designs.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    static Biquad make(double b0, double b1, double b2, double a0, double a1, double a2)
    {
        Biquad f;
        f.b0 = b0 / a0;
        f.b1 = b1 / a0;
        f.b2 = b2 / a0;
        f.a1 = a1 / a0;
        f.a2 = a2 / a0;
        return f;
    }
    static Biquad lowPass(double freq, double q)
    {
        const double w = kTwoPi * freq / kFs, c = std::cos(w), al = std::sin(w) / (2 * q);
        return make((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + al, -2 * c, 1 - al);
    }
    static Biquad highPass(double freq, double q)
    {
        const double w = kTwoPi * freq / kFs, c = std::cos(w), al = std::sin(w) / (2 * q);
        return make((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + al, -2 * c, 1 - al);
    }
    static Biquad bandPass(double freq, double q)
    {  // 0 dB at the centre
        const double w = kTwoPi * freq / kFs, c = std::cos(w), al = std::sin(w) / (2 * q);
        return make(al, 0, -al, 1 + al, -2 * c, 1 - al);
    }
    double process(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Filters a loop as if it repeated for ever: the first pass only warms the state up.
void filterCircular(Signal& s, Biquad f)
{
    for (double v : s) f.process(v);
    for (double& v : s) v = f.process(v);
}

Signal noise(std::size_t n, std::uint64_t seed)
{
    Random r(seed);
    Signal s(n);
    for (double& v : s) v = r.gaussian();
    return s;
}

// Noise shaped by a chain of filters, circularly, normalised to unit RMS.
Signal bandNoise(std::size_t n, std::uint64_t seed, std::initializer_list<Biquad> chain)
{
    Signal s = noise(n, seed);
    for (const Biquad& f : chain) filterCircular(s, f);
    double sum = 0;
    for (double v : s) sum += v * v;
    const double g = 1.0 / std::sqrt(sum / static_cast<double>(n));
    for (double& v : s) v *= g;
    return s;
}

// Angle in radians of `cycles` whole cycles per loop at sample i, computed from the exact
// integer phase so that sample N equals sample 0.
double loopAngle(std::int64_t cycles, std::size_t i, std::size_t n)
{
    const std::int64_t nn = static_cast<std::int64_t>(n);
    const std::int64_t k = (cycles * static_cast<std::int64_t>(i)) % nn;
    return kTwoPi * static_cast<double>(k) / static_cast<double>(n);
}

// Whole number of cycles per loop closest to `hz` at the recording rate.
std::int64_t cyclesFor(double hz, std::size_t n) { return std::llround(hz * static_cast<double>(n) / kFs); }

// A motor tone: harmonics of `cycles` per loop with the given amplitudes, all frequency
// modulated by a flutter of `flutterCycles` per loop with deviation `deviationHz` on the
// fundamental.
void addMotorTone(Signal& s, std::int64_t cycles, const std::vector<double>& harmonics, std::int64_t flutterCycles,
                  double deviationHz, double phaseSeed)
{
    const std::size_t n = s.size();
    const double flutterHz = static_cast<double>(flutterCycles) * kFs / static_cast<double>(n);
    const double beta = flutterCycles > 0 ? deviationHz / flutterHz : 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double wobble = beta * std::sin(loopAngle(flutterCycles, i, n));
        for (std::size_t h = 0; h < harmonics.size(); ++h) {
            const double hn = static_cast<double>(h + 1);
            const double ph = loopAngle(cycles * static_cast<std::int64_t>(h + 1), i, n);
            s[i] += harmonics[h] * std::sin(ph + hn * wobble + phaseSeed * hn * hn);
        }
    }
}

// Adds a decaying low resonance (a bump of the rotor or the belt joint) `count` times per
// loop, wrapped around the loop end.
void addBumps(Signal& s, int count, double amplitude, double freq, double decaySeconds, double startFraction,
              Random& jitter)
{
    const std::size_t n = s.size();
    const std::size_t len = static_cast<std::size_t>(decaySeconds * kFs * 8.0);  // to e^-8
    for (int b = 0; b < count; ++b) {
        const double a = amplitude * (0.8 + 0.4 * jitter.uniform());
        const auto start =
            static_cast<std::size_t>((static_cast<double>(b) + startFraction) * static_cast<double>(n) / count);
        for (std::size_t k = 0; k < len; ++k) {
            const double t = static_cast<double>(k) / kFs;
            s[(start + k) % n] += a * std::exp(-t / decaySeconds) * std::sin(kTwoPi * freq * t);
        }
    }
}

double rms(const Signal& s)
{
    double sum = 0;
    for (double v : s) sum += v * v;
    return std::sqrt(sum / static_cast<double>(s.size()));
}

double peak(const Signal& s)
{
    double m = 0;
    for (double v : s) m = std::max(m, std::fabs(v));
    return m;
}

// Memoryless compander with one parameter c: c > 0 squashes peaks (tanh), c < 0 raises them
// (added cube); c = 0 leaves the signal alone. Input normalised to a peak of 1.
double compand(double x, double c)
{
    if (c > 0) return std::tanh(c * x) / std::tanh(c);
    if (c < 0) return x * (1.0 - c * x * x) / (1.0 - c);
    return x;
}

// Reshapes s to the crest factor peakTarget/rmsTarget, then scales it to rmsTarget.
bool fitLevels(Signal& s, double peakTarget, double rmsTarget, const char* name)
{
    const double wantCrest = peakTarget / rmsTarget;
    const double p = peak(s);
    Signal work(s.size());
    auto crestFor = [&](double c) {
        for (std::size_t i = 0; i < s.size(); ++i) work[i] = compand(s[i] / p, c);
        return peak(work) / rms(work);
    };
    double lo = -60.0, hi = 60.0;  // crest falls as c rises
    if (crestFor(lo) < wantCrest || crestFor(hi) > wantCrest) {
        std::fprintf(stderr, "%s: crest factor %.3f out of reach\n", name, wantCrest);
        return false;
    }
    for (int it = 0; it < 60; ++it) {
        const double mid = 0.5 * (lo + hi);
        (crestFor(mid) > wantCrest ? lo : hi) = mid;
    }
    const double c = 0.5 * (lo + hi);
    if (std::getenv("ORV_RECORDINGS_VERBOSE")) {
        std::fprintf(stderr, "%s: natural crest %.2f, compander %.3f\n", name, crestFor(0.0), c);
    }
    crestFor(c);
    const double g = rmsTarget / rms(work);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = work[i] * g;
    return true;
}

bool writeFloats(const std::string& path, const std::vector<float>& data)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::vector<unsigned char> bytes(data.size() * 4);
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::uint32_t u;
        std::memcpy(&u, &data[i], 4);
        for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<unsigned char>(u >> (8 * b));
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Stores a loop of n samples followed by its first three samples again.
bool writeLoop(const std::string& dir, const char* file, const Signal& s, double peakTarget, double rmsTarget)
{
    std::vector<float> out(s.size() + orv::kLoopGuardSamples);
    for (std::size_t i = 0; i < s.size(); ++i) out[i] = static_cast<float>(s[i]);
    for (int g = 0; g < orv::kLoopGuardSamples; ++g) out[s.size() + g] = out[g];
    Signal check(out.begin(), out.end() - orv::kLoopGuardSamples);
    const double p = peak(check), r = rms(check);
    if (std::fabs(p / peakTarget - 1) > 0.02 || std::fabs(r / rmsTarget - 1) > 0.02) {
        std::fprintf(stderr, "%s: levels %g / %g missed\n", file, p, r);
        return false;
    }
    return writeFloats(dir + "/" + file, out);
}

// Drum at slow speed: low rumble of the big rotor swelling once per turn, a bump of the
// rotor once per turn, belt flutter, and the slow motor's hum.
Signal drumSlow()
{
    const std::size_t n = orv::kDrumSlowLoopLength;
    const int turns = orv::kDrumSlowTurns;
    const std::int64_t belt = 12;  // belt passes per loop: 2.4 per rotor turn
    Signal rumble =
        bandNoise(n, 101, {Biquad::highPass(28, 0.7), Biquad::lowPass(170, 0.7), Biquad::lowPass(260, 0.6)});
    Signal flutter = bandNoise(n, 102, {Biquad::bandPass(420, 1.5)});
    Signal s(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double rot = loopAngle(turns, i, n);
        const double env = 1.0 + 0.4 * std::cos(rot) + 0.15 * std::cos(2 * rot + 1.1);
        const double beltEnv = 1.0 + 0.5 * std::cos(loopAngle(belt, i, n) + 0.3);
        s[i] = rumble[i] * env + 0.25 * flutter[i] * beltEnv * env;
    }
    addMotorTone(s, cyclesFor(98, n), {0.35, 0.2, 0.12, 0.05}, belt, 0.4, 0.7);
    Random jitter(103);
    addBumps(s, turns, 3.0, 52.0, 0.05, 0.3, jitter);
    return s;
}

// Drum at fast speed: louder air and rumble swelling once per turn, the belt flapping at
// 2.4 times the rotor rate, the motor's hum and its slot whine.
Signal drumFast()
{
    const std::size_t n = orv::kDrumFastLoopLength;
    const int turns = orv::kDrumFastTurns;
    const std::int64_t belt = 211;  // 2.398 belt passes per rotor turn
    Signal rumble = bandNoise(n, 201, {Biquad::highPass(40, 0.7), Biquad::lowPass(520, 0.7)});
    Signal air = bandNoise(n, 202, {Biquad::bandPass(900, 0.8)});
    Signal s(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double rot = loopAngle(turns, i, n);
        const double env = 1.0 + 0.45 * std::cos(rot) + 0.2 * std::cos(2 * rot + 0.7);
        const double beltEnv = 1.0 + 0.25 * std::cos(loopAngle(belt, i, n));
        s[i] = rumble[i] * env * beltEnv + 0.35 * air[i] * env;
    }
    addMotorTone(s, cyclesFor(141, n), {0.3, 0.22, 0.1, 0.08, 0.04, 0.03}, belt, 1.2, 0.3);
    addMotorTone(s, cyclesFor(1128, n), {0.06}, belt, 9.6, 1.9);  // slot whine, 8th harmonic
    Random jitter(203);
    addBumps(s, turns, 1.6, 75.0, 0.02, 0.6, jitter);
    return s;
}

// Horn at fast speed: whoosh of the mouth sweeping past once per turn, broadband air
// turbulence, and the motor's whine with the belt's flutter on it.
Signal hornFast()
{
    const std::size_t n = orv::kHornFastLoopLength;
    const int turns = orv::kHornFastTurns;
    const std::int64_t belt = 55;  // 1.62 belt passes per rotor turn
    Signal whoosh =
        bandNoise(n, 301, {Biquad::highPass(350, 0.7), Biquad::lowPass(3800, 0.7), Biquad::bandPass(1300, 0.6)});
    Signal turbulence = bandNoise(n, 302, {Biquad::highPass(1800, 0.7), Biquad::lowPass(9000, 0.7)});
    Signal low = bandNoise(n, 303, {Biquad::highPass(60, 0.7), Biquad::lowPass(300, 0.7)});
    Signal s(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double rot = loopAngle(turns, i, n);
        const double sweep = 0.5 + 0.5 * std::cos(rot);
        const double whooshEnv = 0.4 + 1.4 * sweep * sweep;
        const double airEnv = 1.0 + 0.3 * std::cos(rot + 0.9);
        s[i] = whoosh[i] * whooshEnv + 0.45 * turbulence[i] * airEnv + 0.3 * low[i] * airEnv;
    }
    addMotorTone(s, cyclesFor(415, n), {0.16, 0.1, 0.05}, belt, 3.0, 0.4);
    addMotorTone(s, cyclesFor(1870, n), {0.07}, belt, 11.0, 2.2);
    return s;
}

// The horn motor idling at slow speed: a quiet hum (mostly twice the mains frequency),
// a little mechanical noise and a slow sway. The two takes differ in balance, noise and
// a faint brush tick.
Signal hornSlow(int take)
{
    const std::size_t n = orv::kHornSlowLoopLength;
    const std::uint64_t seed = 400 + 10 * static_cast<std::uint64_t>(take);
    Signal mech = bandNoise(n, seed + 1, {Biquad::highPass(90, 0.7), Biquad::lowPass(1400, 0.7)});
    Signal s(n, 0.0);
    const double noiseLevel = take == 0 ? 0.35 : 0.5;
    for (std::size_t i = 0; i < n; ++i) {
        const double sway = 1.0 + (take == 0 ? 0.15 : 0.25) * std::cos(loopAngle(1, i, n) + take);
        s[i] = noiseLevel * mech[i] * sway;
    }
    const std::int64_t mains = cyclesFor(60, n);
    if (take == 0) {
        addMotorTone(s, mains, {0.35, 1.0, 0.3, 0.25, 0.08, 0.12}, 2, 0.05, 0.2);
    } else {
        addMotorTone(s, mains, {0.5, 0.8, 0.45, 0.15, 0.15, 0.05, 0.06}, 3, 0.08, 1.3);
        Random jitter(seed + 2);
        addBumps(s, 7, 0.9, 330.0, 0.004, 0.15, jitter);
    }
    return s;
}

// The clunk of a speed change: the relay clicks, then the belt takes up the load with a low
// thump whose crest falls on sample 328, a short slip squeal and a weaker rebound, all
// dying away to silence at the last sample.
bool transient(const std::string& dir)
{
    constexpr int total = orv::kTransientStored;
    constexpr int peakAt = 328;
    constexpr double peakValue = 0.24;
    Signal s(total, 0.0);
    Random r(501);

    // Relay click: a few milliseconds of bright noise from sample 40, gone before the thump.
    Biquad clickFilter = Biquad::bandPass(3200, 1.2);
    for (int i = 40; i < 240; ++i) {
        const double t = (i - 40) / kFs;
        const double taper = 1.0 - (i - 40) / 200.0;
        s[i] += 0.8 * taper * taper * std::exp(-t / 0.0012) * clickFilter.process(r.gaussian());
    }
    // Belt thump: a 118 Hz resonance under a gamma envelope; both reach 1 only at peakAt.
    constexpr int onset = 250;
    const double rise = peakAt - onset;
    for (int i = onset; i < total; ++i) {
        const double u = (i - onset) / rise;
        const double env = std::pow(u, 2.0) * std::exp(2.0 * (1.0 - u));
        s[i] += env * std::cos(kTwoPi * 118.0 * (i - peakAt) / kFs);
    }
    // Belt slip squeal, kept away from the thump's crest.
    Biquad squealFilter = Biquad::bandPass(1150, 3.0);
    for (int i = 380; i < total; ++i) {
        const double t = (i - 380) / kFs;
        const double attack = std::min(1.0, t / 0.004);
        s[i] += 0.12 * attack * std::exp(-t / 0.012) * squealFilter.process(r.gaussian());
    }
    // Rebound of the rotor on the belt.
    for (int i = 1300; i < total; ++i) {
        const double t = (i - 1300) / kFs;
        s[i] += 0.3 * std::sin(kTwoPi * 96.0 * t) * (1 - std::exp(-t / 0.004)) * std::exp(-t / 0.018);
    }
    // The drum's mass swaying on the belt as the load settles.
    for (int i = 420; i < total; ++i) {
        const double t = (i - 420) / kFs;
        s[i] += 0.1 * std::sin(kTwoPi * 61.0 * t) * (1 - std::exp(-t / 0.006)) * std::exp(-t / 0.03);
    }
    // Fade the tail to exactly 0 over its last quarter.
    constexpr int fadeStart = total * 3 / 4;
    for (int i = fadeStart; i < total; ++i) {
        const double u = static_cast<double>(i - fadeStart) / (total - 1 - fadeStart);
        s[i] *= 0.5 + 0.5 * std::cos(kPi * u);
    }
    s[total - 1] = 0.0;

    const double g = peakValue / s[peakAt];
    std::vector<float> out(total);
    for (int i = 0; i < total; ++i) out[i] = static_cast<float>(s[i] * g);
    for (int i = 0; i < total; ++i) {
        if (i != peakAt && std::fabs(out[i]) >= out[peakAt]) {
            std::fprintf(stderr, "transient: sample %d (%g) rivals the crest\n", i, out[i]);
            return false;
        }
    }
    return writeFloats(dir + "/transient.f32", out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    struct Loop {
        const char* file;
        std::function<Signal()> make;
        double peak, rms;  // target levels
    };
    const Loop loops[] = {
        {"drum_slow.f32", drumSlow, 0.0021, 0.00043},
        {"drum_fast.f32", drumFast, 0.026, 0.0052},
        {"horn_slow0.f32", [] { return hornSlow(0); }, 0.0088, 0.0025},
        {"horn_slow1.f32", [] { return hornSlow(1); }, 0.0117, 0.0026},
        {"horn_fast.f32", hornFast, 0.12, 0.027},
    };
    for (const Loop& loop : loops) {
        Signal s = loop.make();
        if (!fitLevels(s, loop.peak, loop.rms, loop.file)) return 1;
        if (!writeLoop(dir, loop.file, s, loop.peak, loop.rms)) return 1;
    }
    return transient(dir) ? 0 : 1;
}
