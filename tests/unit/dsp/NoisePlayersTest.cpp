#include "dsp/DrumNoisePlayer.h"
#include "dsp/HornNoisePlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace orv {
namespace {

// A player ready to run the way its owner sets it up: rate, recordings, distance, levels.
template <class Player>
void prepare(Player& p, double fs, double slowLevel, double fastLevel) {
    p.setSampleRate(fs);
    p.loadRecordings();
    p.setMicDistance(0.8);
    p.slowLevel = slowLevel;
    p.fastLevel = fastLevel;
    p.outputGain = 1.0;
    p.micAngle = 0.0;
}

std::unique_ptr<DrumNoisePlayer> drum(double fs, double slowLevel, double fastLevel) {
    auto p = std::make_unique<DrumNoisePlayer>();
    prepare(*p, fs, slowLevel, fastLevel);
    return p;
}

std::unique_ptr<HornNoisePlayer> horn(int variant, double fs, double slowLevel, double fastLevel) {
    auto p = std::make_unique<HornNoisePlayer>(variant);
    prepare(*p, fs, slowLevel, fastLevel);
    return p;
}

template <class Player>
std::vector<double> run(Player& p, double rate, int samples) {
    std::vector<double> out(samples);
    for (double& y : out) {
        p.rate = rate;
        y = p.process();
    }
    return out;
}

double rms(const std::vector<double>& x, std::size_t from = 0) {
    double s = 0;
    for (std::size_t i = from; i < x.size(); ++i) s += x[i] * x[i];
    return std::sqrt(s / (x.size() - from));
}

// Largest |a[i + shiftA] - b[i + shiftB]| over `count` samples, relative to the RMS of a.
double mismatch(const std::vector<double>& a, std::size_t shiftA, const std::vector<double>& b,
                std::size_t shiftB, std::size_t count) {
    double worst = 0;
    for (std::size_t i = 0; i < count; ++i) worst = std::max(worst, std::fabs(a[i + shiftA] - b[i + shiftB]));
    return worst / rms(a, shiftA);
}

TEST(NoisePlayers, SpeedLimitsFollowTheSampleRate) {
    // At 96 kHz: 0.78 and 7.5 turns per second, 3956 recorded samples at 44.1 kHz, 80 ms.
    DrumNoisePlayer d;
    d.setSampleRate(96000.0);
    EXPECT_NEAR(d.slowLimit, 8.125e-6, 1e-12);
    EXPECT_NEAR(d.fastLimit, 7.8125e-5, 1e-12);
    EXPECT_NEAR(d.transientStep, 1.1612108e-4, 1e-11);
    EXPECT_NEAR(d.followFactor, 0.9998698, 1e-6);  // held in single precision
    DrumNoisePlayer low;
    low.setSampleRate(8000.0);  // raised to 11,025
    EXPECT_EQ(low.sampleRate, 11025.0);
    EXPECT_EQ(low.lowPass.sampleRate, 44100.0);  // filters outside 20..400 kHz design at 44.1 kHz
    EXPECT_EQ(low.bandPass.glideLength, 132u);
}

TEST(NoisePlayers, MicDistanceSetsCompensationAndBandWidth) {
    DrumNoisePlayer d;
    d.setMicDistance(1.2);
    EXPECT_NEAR(d.compensation, 0.8705505633, 1e-9);  // 0.25^0.1
    EXPECT_NEAR(d.bandPass.q, 0.149, 1e-12);
    d.setSampleRate(48000.0);  // leaves the compensation at 1 until the owner passes its distance again
    EXPECT_EQ(d.compensation, 1.0);
    HornNoisePlayer h(0);
    h.setMicDistance(1.2);
    h.setSampleRate(48000.0);
    EXPECT_NEAR(h.compensation, 0.7071067812, 1e-9);  // 0.25^0.25
    EXPECT_NEAR(h.bandPass.q, 0.35, 1e-12);
}

TEST(NoisePlayers, BalanceLaw) {
    // Hand-worked points of the parabolic law: with u = 1 - m and s = |2u - 1|, the side
    // that grows gets 1 + (2s - s^2), the other 1 - (2s - s^2).
    struct Point {
        float m;
        double loops, transient;
    };
    const Point points[] = {{0.5f, 1.0, 1.0}, {1.0f, 2.0, 0.0}, {0.0f, 0.0, 2.0},
                            {0.75f, 1.75, 0.25}, {0.25f, 0.25, 1.75}, {0.6f, 1.36, 0.64}};
    for (const Point& p : points) {
        DrumNoisePlayer d;
        HornNoisePlayer h(1);
        d.setBalance(p.m);
        h.setBalance(p.m);
        EXPECT_NEAR(d.loopGainTarget, p.loops, 1e-6) << p.m;
        EXPECT_NEAR(d.transientGainTarget, p.transient, 1e-6) << p.m;
        EXPECT_NEAR(h.loopGainTarget, p.loops, 1e-6) << p.m;
        EXPECT_NEAR(h.transientGainTarget, p.transient, 1e-6) << p.m;
    }
    // The followed gains reach a new target within a few samples.
    auto d = drum(44100.0, 1.0, 1.0);
    d->setBalance(1.0f);
    run(*d, 0.0, 4);
    EXPECT_NEAR(d->loopGain, 2.0, 1e-9);
    EXPECT_NEAR(d->transientGainFollow, 0.0, 1e-9);
}

TEST(NoisePlayers, StandingRotorIsSilentWithoutTransient) {
    auto d = drum(44100.0, 1.0, 1.0);
    auto h = horn(0, 44100.0, 1.0, 1.0);
    for (double y : run(*d, 0.0, 2000)) ASSERT_EQ(y, 0.0);
    for (double y : run(*h, 0.0, 2000)) ASSERT_EQ(y, 0.0);
    EXPECT_EQ(d->slowPhase, 0.0);  // the drum's loops stand still
    EXPECT_GT(h->slowPhase, 0.0);  // the horn's slow take keeps running, silently
}

// First output sample of a fresh player: filters start from rest, phases at 0, so the
// output is linear in the loop gains.
template <class MakePlayer>
double firstSample(MakePlayer make, double rate) {
    auto p = make();
    p->rate = rate;
    return p->process();
}

TEST(NoisePlayers, DrumCrossFadeEnds) {
    const double fs = 44100.0;
    const double slow = 0.78 / fs, fast = 7.5 / fs;
    auto slowOnly = [&] { return drum(fs, 1.0, 0.0); };
    auto fastOnly = [&] { return drum(fs, 0.0, 1.0); };
    // Up to the slow limit the slow loop rises with the square of the speed.
    const double atLimit = firstSample(slowOnly, slow);
    ASSERT_NE(atLimit, 0.0);
    EXPECT_NEAR(firstSample(slowOnly, slow / 2) / atLimit, 0.25, 1e-9);
    EXPECT_NEAR(firstSample(slowOnly, -slow / 2) / atLimit, 0.25, 1e-9);  // reversed rotor
    EXPECT_EQ(firstSample(fastOnly, slow), 0.0);
    // From the fast limit only the fast loop sounds, at full gain.
    const double fastAtLimit = firstSample(fastOnly, fast);
    ASSERT_NE(fastAtLimit, 0.0);
    EXPECT_EQ(firstSample(fastOnly, 3 * fast), fastAtLimit);
    EXPECT_EQ(firstSample(slowOnly, fast), 0.0);
    // Just above the slow limit both loops sound.
    EXPECT_NE(firstSample(fastOnly, slow * 1.01), 0.0);
    EXPECT_NE(firstSample(slowOnly, slow * 1.01), 0.0);
}

TEST(NoisePlayers, HornCrossFadeLaw) {
    const double fs = 44100.0;
    const double slow = 0.78 / fs, fast = 7.5 / fs;
    auto at = [&](double t) { return slow + t * (fast - slow); };
    auto slowOnly = [&] { return horn(0, fs, 1.0, 0.0); };
    auto fastOnly = [&] { return horn(0, fs, 0.0, 1.0); };
    const double slowFull = firstSample(slowOnly, slow);
    const double fastFull = firstSample(fastOnly, fast);
    ASSERT_NE(slowFull, 0.0);
    ASSERT_NE(fastFull, 0.0);
    // In the fade zone: slow (1 - 2.5 t)^2 up to t = 0.4, fast t^4.
    for (double t : {0.1, 0.2, 0.3, 0.5, 0.8}) {
        const double expectSlow = t < 0.4 ? (1 - 2.5 * t) * (1 - 2.5 * t) : 0.0;
        EXPECT_NEAR(firstSample(slowOnly, at(t)) / slowFull, expectSlow, 1e-9) << t;
        EXPECT_NEAR(firstSample(fastOnly, at(t)) / fastFull, t * t * t * t, 1e-9) << t;
    }
    EXPECT_NEAR(firstSample(slowOnly, slow / 4) / slowFull, 1.0 / 16, 1e-9);
}

TEST(NoisePlayers, DrumFiltersHoldTheirSettingsOutsideTheFadeZone) {
    const double fs = 44100.0;
    auto d = drum(fs, 1.0, 1.0);
    run(*d, 3.0 / fs, 10);  // inside the fade zone
    const double lowPassHz = d->lowPass.frequency, shelfHz = d->highShelf.frequency, shelfDb = d->highShelf.gainDb;
    const double t = (3.0 - 0.78) / (7.5 - 0.78);
    EXPECT_NEAR(lowPassHz, 18000.0 - 18000.0 * std::pow(t, 0.06), 1e-6);
    EXPECT_NEAR(shelfHz, 9500.0 * t * t + 3500.0, 1e-6);
    EXPECT_NEAR(shelfDb, 12.0 * t * t - 12.0, 1e-9);
    run(*d, 20.0 / fs, 100);
    run(*d, 0.1 / fs, 100);
    EXPECT_EQ(d->lowPass.frequency, lowPassHz);
    EXPECT_EQ(d->highShelf.frequency, shelfHz);
    EXPECT_EQ(d->highShelf.gainDb, shelfDb);
}

TEST(NoisePlayers, DrumFastLoopIsLockedToEightyEightTurns) {
    const double fs = 44100.0;
    // 88 turns per 65,536 samples: the per-sample phase step of the fast loop is 2^-16, so
    // the phase is exact and one loop lasts exactly 65,536 samples.
    const double rate = 88.0 / 65536.0;
    auto d = drum(fs, 0.0, 1.0);
    const std::vector<double> y = run(*d, rate, 3000 + 65536 + 4000);
    // With constant speed the filters are fixed, so after they settle the output repeats
    // every 88 turns ...
    EXPECT_LT(mismatch(y, 3000, y, 3000 + 65536, 4000), 1e-9);
    // ... and not after a slightly different span.
    EXPECT_GT(mismatch(y, 3000, y, 3000 + 65000, 4000), 0.1);
}

TEST(NoisePlayers, MicAngleShiftsTheFastLoopByThatMuchOfATurn) {
    const double fs = 44100.0;
    // Exact phase steps again (see above); 128 samples of rotation = 88 * 128 / 65536 turns.
    const double drumRate = 88.0 / 65536.0;
    auto a = drum(fs, 0.0, 1.0);
    auto b = drum(fs, 0.0, 1.0);
    b->micAngle = 88.0 * 128.0 / 65536.0;
    const std::vector<double> ya = run(*a, drumRate, 12000);
    const std::vector<double> yb = run(*b, drumRate, 12000);
    EXPECT_LT(mismatch(yb, 3000, ya, 3128, 8000), 1e-9);

    const double hornRate = 34.0 / 65536.0;
    auto h = horn(0, fs, 0.0, 1.0);
    auto g = horn(0, fs, 0.0, 1.0);
    g->micAngle = -34.0 * 100.0 / 65536.0;  // 100 samples of rotation back
    const std::vector<double> yh = run(*h, hornRate, 12000);
    const std::vector<double> yg = run(*g, hornRate, 12000);
    EXPECT_LT(mismatch(yg, 3100, yh, 3000, 8000), 1e-9);
    EXPECT_GT(mismatch(yg, 3000, yh, 3000, 8000), 0.1);
}

TEST(NoisePlayers, HornVariantsFastLoopsAreEightTurnsApart) {
    const double fs = 44100.0;
    const double rate = 1.0 / 400.0;  // 34 turns = 13,600 samples
    auto h0 = horn(0, fs, 0.0, 1.0);
    auto h1 = horn(1, fs, 0.0, 1.0);
    const std::vector<double> y0 = run(*h0, rate, 3200 + 8 * 400 + 6000);
    const std::vector<double> y1 = run(*h1, rate, 3200 + 6000);
    // Variant 1 is variant 0 eight turns later. The phase step 1/13,600 is not exact, so the
    // two phases drift apart by rounding; allow for that.
    EXPECT_LT(mismatch(y1, 3200, y0, 3200 + 8 * 400, 6000), 1e-3);
    EXPECT_GT(mismatch(y1, 3200, y0, 3200, 6000), 0.1);
    EXPECT_GT(mismatch(y1, 3200, y0, 3200 + 7 * 400, 6000), 0.1);
}

TEST(NoisePlayers, HornVariantsSoundDifferent) {
    const double fs = 44100.0;
    for (double rate : {0.5 / fs, 3.0 / fs}) {
        auto h0 = horn(0, fs, 1.0, 1.0);
        auto h1 = horn(1, fs, 1.0, 1.0);
        const std::vector<double> y0 = run(*h0, rate, 20000);
        const std::vector<double> y1 = run(*h1, rate, 20000);
        EXPECT_GT(mismatch(y0, 1000, y1, 1000, 19000), 0.5) << rate;
    }
}

TEST(NoisePlayers, HornSlowTakeRunsAtItsOwnSpeed) {
    // Below the slow limit only the gain depends on the rotor speed: the slow take plays at
    // its recorded rate, so two speeds give the same signal scaled by (r1 / r2)^2.
    const double fs = 48000.0;
    auto a = horn(1, fs, 1.0, 1.0);
    auto b = horn(1, fs, 1.0, 1.0);
    const std::vector<double> ya = run(*a, 0.78 / fs, 5000);
    const std::vector<double> yb = run(*b, 0.39 / fs, 5000);
    for (int i = 100; i < 5000; i += 37) EXPECT_NEAR(yb[i], 0.25 * ya[i], 1e-9 * rms(ya)) << i;
    // One pass of the 63,884-sample take lasts 63,884 / 44,100 s at any rate.
    EXPECT_NEAR(a->slowPhase, 5000.0 * 44100.0 / fs / 63884.0, 1e-9);
}

TEST(NoisePlayers, ReversedRotorRunsTheLoopsBackwards) {
    auto d = drum(44100.0, 1.0, 1.0);
    const double r = 0.5 / 44100.0;
    run(*d, -r, 1000);
    EXPECT_NEAR(d->slowPhase, 1.0 - 1000 * 0.2 * r, 1e-9);
    EXPECT_NEAR(d->fastPhase, 1.0 - 1000 * r / 88.0, 1e-9);
    auto h = horn(0, 44100.0, 1.0, 1.0);
    run(*h, -10.0 / 44100.0, 1000);
    EXPECT_NEAR(h->fastPhase, 1.0 - 1000 * (10.0 / 44100.0) / 34.0, 1e-9);
}

// Number of samples during which the transient is playing.
template <class Player>
int transientSamples(Player& p) {
    p.startTransient(1.0);
    int n = 0;
    while (p.transientPlaying && n < 1000000) {
        p.rate = 0.0;
        p.process();
        ++n;
    }
    return n;
}

TEST(NoisePlayers, TransientLastsNinetyMillisecondsAtAnyRate) {
    for (double fs : {44100.0, 96000.0}) {
        auto d = drum(fs, 0.0, 0.0);
        auto h = horn(0, fs, 0.0, 0.0);
        // 3,956 recorded samples at 44.1 kHz, plus the sample at which the position passes 1.
        const double seconds = 3956.0 / 44100.0;
        EXPECT_NEAR(transientSamples(*d) / fs, seconds, 2.5 / fs) << fs;
        EXPECT_NEAR(transientSamples(*h) / fs, seconds, 2.5 / fs) << fs;
        EXPECT_GE(d->transientPosition, 1.0);
    }
}

TEST(NoisePlayers, TransientSoundsAndBalanceCanSilenceIt) {
    const double fs = 44100.0;
    auto loud = drum(fs, 0.0, 0.0);
    loud->startTransient(0.5);
    const double level = rms(run(*loud, 0.0, 4000));
    EXPECT_GT(level, 1e-4);

    // Loading snaps the followed gains to the balance targets.
    auto twice = drum(fs, 0.0, 0.0);
    twice->setBalance(0.0f);  // transient x2
    twice->loadRecordings();
    twice->startTransient(0.5);
    EXPECT_NEAR(rms(run(*twice, 0.0, 4000)), 2.0 * level, 1e-9);

    auto muted = drum(fs, 0.0, 0.0);
    muted->setBalance(1.0f);  // transient x0
    muted->loadRecordings();
    muted->startTransient(0.5);
    for (double y : run(*muted, 0.0, 4000)) ASSERT_EQ(y, 0.0);
}

}  // namespace
}  // namespace orv
