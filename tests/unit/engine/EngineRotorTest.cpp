// Rotor speeds through the effect's parameters: speeds, run-up and run-down times at several
// rates and in both CPU modes, the lever modes, "Speed", "Stop", and that the output's
// modulation follows the speed parameters (the Doppler and amplitude physics are checked on
// the models themselves).

#include <gtest/gtest.h>

#include "EngineRig.h"

namespace orv::test {
namespace {

using namespace param;

double hornHz(const EngineRig& rig) { return rig.engine().hornModel(0).motion().speedHz(); }
double drumHz(const EngineRig& rig) { return rig.engine().drumModel().motion().speedHz(); }

void runSilence(EngineRig& rig, double seconds) {
    std::vector<float> z(static_cast<size_t>(seconds * rig.rate()), 0.0f);
    rig.render(z, z);
}

// Time (s) at which a speed sampled every `dt` first crosses `level`, linearly interpolated.
double crossing(const std::vector<double>& speed, double dt, double level, bool rising) {
    for (size_t i = 1; i < speed.size(); ++i) {
        const bool crossed = rising ? speed[i] >= level : speed[i] <= level;
        if (crossed) {
            const double f = (level - speed[i - 1]) / (speed[i] - speed[i - 1]);
            return (static_cast<double>(i - 1) + f) * dt;
        }
    }
    return -1.0;
}

// Speed samples after every block while `seconds` of silence run.
std::vector<double> track(EngineRig& rig, double seconds, double (*speed)(const EngineRig&)) {
    std::vector<double> v{speed(rig)};
    std::vector<float> z(static_cast<size_t>(rig.block()), 0.0f), l(z), r(z);
    const int blocks = static_cast<int>(seconds * rig.rate() / rig.block());
    for (int b = 0; b < blocks; ++b) {
        rig.processBlock(z.data(), z.data(), l.data(), r.data(), rig.block());
        v.push_back(speed(rig));
    }
    return v;
}

TEST(EngineRotors, SettledSpeedsAreTheSlowSpeedParameters) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    EXPECT_NEAR(hornHz(rig), 10.0 * rig.fx().getParameter(kHSlowSpd), 1e-4);
    EXPECT_NEAR(drumHz(rig), 10.0 * rig.fx().getParameter(kDSlowSpd), 1e-4);
    rig.set(kLever, 1.0f);  // "Tremolo"
    EXPECT_GT(rig.settle(), 0);
    runSilence(rig, 0.2);
    EXPECT_NEAR(rig.engine().hornModel(1).motion().targetHz(), 10.0f * rig.fx().getParameter(kHFastSpd), 1e-4);
    EXPECT_NEAR(rig.engine().drumModel(true).motion().targetHz(), 10.0f * rig.fx().getParameter(kDFastSpd), 1e-4);
}

struct RunUpCase {
    double rate;
    float cpuMode;
};

TEST(EngineRotors, RunUpTakesTheAccelerationTimeAtAnyRateAndCpuMode) {
    for (const RunUpCase& c : {RunUpCase{44100.0, 0.0f}, RunUpCase{44100.0, 1.0f}, RunUpCase{96000.0, 0.0f},
                               RunUpCase{96000.0, 1.0f}}) {
        EngineRig rig(c.rate, 32);
        rig.set(kCpuMode, c.cpuMode);
        rig.set(kHAccel, 0.5f);   // 1 s
        rig.set(kDAccel, 0.25f);  // 0.316 s
        ASSERT_GT(rig.settle(), 0);
        const double hornSlow = hornHz(rig), drumSlow = drumHz(rig);
        rig.set(kLever, 1.0f);
        std::vector<double> horn{hornSlow}, drum{drumSlow};
        std::vector<float> z(32, 0.0f), l(z), r(z);
        const int blocks = static_cast<int>(1.6 * c.rate / 32);  // past the 90 % points
        for (int b = 0; b < blocks; ++b) {
            rig.processBlock(z.data(), z.data(), l.data(), r.data(), 32);
            horn.push_back(hornHz(rig));
            drum.push_back(drumHz(rig));
        }
        const double dt = 32.0 / c.rate;
        const double hornFast = 10.0 * rig.fx().getParameter(kHFastSpd);
        const double drumFast = 10.0 * rig.fx().getParameter(kDFastSpd);
        const double h10 = crossing(horn, dt, hornSlow + 0.1 * (hornFast - hornSlow), true);
        const double h90 = crossing(horn, dt, hornSlow + 0.9 * (hornFast - hornSlow), true);
        const double d10 = crossing(drum, dt, drumSlow + 0.1 * (drumFast - drumSlow), true);
        const double d90 = crossing(drum, dt, drumSlow + 0.9 * (drumFast - drumSlow), true);
        EXPECT_NEAR(h90 - h10, 1.0, 0.002) << c.rate << " mode " << c.cpuMode;
        EXPECT_NEAR(d90 - d10, std::pow(100.0, 0.25) * 0.1, 0.002) << c.rate << " mode " << c.cpuMode;
    }
}

TEST(EngineRotors, StopRunsTheRotorsDownWithTheDecelerationTimeAndReleaseRestarts) {
    EngineRig rig(44100.0, 32);
    rig.set(kHDecel, 0.5f);  // 1 s
    rig.set(kDDecel, 0.5f);
    ASSERT_GT(rig.settle(), 0);
    const double slow = hornHz(rig);
    rig.set(kStop, 1.0f);
    const std::vector<double> horn = track(rig, 3.0, hornHz);
    const double dt = 32.0 / rig.rate();
    EXPECT_NEAR(crossing(horn, dt, 0.1 * slow, false) - crossing(horn, dt, 0.9 * slow, false), 1.0, 0.002);
    runSilence(rig, 12.0);  // 26 time constants
    EXPECT_LT(hornHz(rig), 1e-12);
    EXPECT_LT(drumHz(rig), 1e-12);
    const double rest = rig.engine().hornModel(0).motion().angle();
    runSilence(rig, 0.1);
    EXPECT_EQ(rig.engine().hornModel(0).motion().angle(), rest);

    rig.set(kStop, 0.0f);
    runSilence(rig, 0.001);  // parameter changes reach the rotors at the next block
    EXPECT_DOUBLE_EQ(rig.engine().hornModel(0).motion().targetHz(), 10.0f * rig.fx().getParameter(kHSlowSpd));
    runSilence(rig, 0.05);
    EXPECT_GT(hornHz(rig), 0.0);
}

TEST(EngineRotors, SpeedAloneLeavesTheRotorsAlone) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    const double target = rig.engine().hornModel(0).motion().targetHz();
    rig.set(kSpeed, 1.0f);
    runSilence(rig, 0.5);
    EXPECT_EQ(rig.engine().hornModel(0).motion().targetHz(), target);
    EXPECT_NEAR(hornHz(rig), target, 1e-9);
}

TEST(EngineRotors, SnapLeverPicksOneOfTwoSpeedsAroundTheMiddle) {
    EngineRig rig;
    rig.set(kLvrMode, 0.5f);  // "Snap"
    ASSERT_GT(rig.settle(), 0);
    const double slow = 10.0f * rig.fx().getParameter(kHSlowSpd);
    const double fast = 10.0f * rig.fx().getParameter(kHFastSpd);
    rig.set(kLever, 0.49f);
    runSilence(rig, 0.01);
    EXPECT_DOUBLE_EQ(rig.engine().hornModel(0).motion().targetHz(), slow);
    rig.set(kLever, 0.51f);
    runSilence(rig, 0.01);
    EXPECT_DOUBLE_EQ(rig.engine().hornModel(0).motion().targetHz(), fast);

    // The continuous lever puts both near the middle of the range instead.
    rig.set(kLvrMode, 0.0f);
    rig.set(kLever, 0.49f);
    runSilence(rig, 0.01);
    const double a = rig.engine().hornModel(0).motion().targetHz();
    rig.set(kLever, 0.51f);
    runSilence(rig, 0.01);
    const double b = rig.engine().hornModel(0).motion().targetHz();
    EXPECT_NEAR(a, slow + 0.49 * (fast - slow), 1e-5);
    EXPECT_NEAR(b - a, 0.02 * (fast - slow), 1e-5);
}

TEST(EngineRotors, OrigLeverMiddleBrakesAndTremoloReleases) {
    EngineRig rig;
    rig.set(kLvrMode, 1.0f);  // "Orig"
    ASSERT_GT(rig.settle(), 0);
    rig.set(kLever, 0.5f);
    EXPECT_EQ(rig.fx().getParameter(kStop), 0.5f);  // the brake took the lever's value
    runSilence(rig, 0.01);
    EXPECT_EQ(rig.engine().hornModel(0).motion().mode(), RotorMotion::kStopped);
    EXPECT_EQ(rig.engine().drumModel().motion().targetHz(), 0.0);
    rig.set(kLever, 1.0f);
    EXPECT_EQ(rig.fx().getParameter(kStop), 0.0f);
    runSilence(rig, 0.01);
    EXPECT_EQ(rig.engine().hornModel(0).motion().mode(), RotorMotion::kFast);
    EXPECT_DOUBLE_EQ(rig.engine().drumModel().motion().targetHz(), 10.0f * rig.fx().getParameter(kDFastSpd));
}

TEST(EngineRotors, EditorAnglesFollowHornOneAndTheDrumInOppositeSenses) {
    EngineRig rig;
    ASSERT_GT(rig.settle(), 0);
    rig.set(kLever, 1.0f);
    runSilence(rig, 5.0);
    const double h0 = rig.fx().hornAngle(), d0 = rig.fx().drumAngle();
    EXPECT_EQ(h0, rig.engine().hornModel(0).motion().angle());
    EXPECT_EQ(d0, rig.engine().drumModel().motion().angle());
    std::vector<float> z(256, 0.0f), l(z), r(z);
    rig.processBlock(z.data(), z.data(), l.data(), r.data(), 256);
    const double dh = RotorMotion::wrap(rig.fx().hornAngle() - h0 + 0.5) - 0.5;
    const double dd = RotorMotion::wrap(rig.fx().drumAngle() - d0 + 0.5) - 0.5;
    EXPECT_NEAR(dh, -hornHz(rig) * 256 / rig.rate(), 1e-4);
    EXPECT_NEAR(dd, drumHz(rig) * 256 / rig.rate(), 1e-4);
}

// Dominant period of the amplitude envelope of v (short-window RMS), by autocorrelation.
double envelopeFrequency(const std::vector<float>& v, double rate, double lowHz, double highHz) {
    const size_t hop = static_cast<size_t>(rate / 1000.0);  // 1 ms
    std::vector<double> env;
    for (size_t i = 0; i + hop <= v.size(); i += hop) env.push_back(rms(v, i, i + hop));
    double mean = 0.0;
    for (double e : env) mean += e;
    mean /= env.size();
    for (double& e : env) e -= mean;
    const size_t minLag = static_cast<size_t>(1000.0 / highHz), maxLag = static_cast<size_t>(1000.0 / lowHz);
    double best = -1e300;
    size_t bestLag = 0;
    std::vector<double> corr(maxLag + 2, 0.0);
    for (size_t lag = minLag - 1; lag <= maxLag + 1; ++lag) {
        double c = 0.0;
        for (size_t i = 0; i + lag < env.size(); ++i) c += env[i] * env[i + lag];
        corr[lag] = c / (env.size() - lag);
    }
    for (size_t lag = minLag; lag <= maxLag; ++lag) {
        if (corr[lag] > best) {
            best = corr[lag];
            bestLag = lag;
        }
    }
    // Parabolic refinement of the peak.
    const double a = corr[bestLag - 1], b = corr[bestLag], c = corr[bestLag + 1];
    const double shift = 0.5 * (a - c) / (a - 2.0 * b + c);
    return 1000.0 / (static_cast<double>(bestLag) + shift);
}

struct ModulationCase {
    float spkrConf;
    int speedIndex;
    float speedValue;
    double toneHz;
};

TEST(EngineRotors, OutputModulationRepeatsAtTheRotorSpeed) {
    // Horn alone, then drum alone, each at a fixed lever position with a 2 s steady tone.
    const ModulationCase cases[] = {{1.0f, kHSlowSpd, 0.25f, 2000.0},
                                    {1.0f, kHFastSpd, 0.677088f, 2000.0},
                                    {0.0f, kDSlowSpd, 0.3f, 300.0},
                                    {0.0f, kDFastSpd, 0.65282f, 300.0}};
    for (const ModulationCase& c : cases) {
        EngineRig rig;
        rig.set(kSpkrConf, c.spkrConf);
        rig.set(c.speedIndex, c.speedValue);
        const bool fast = c.speedIndex == kHFastSpd || c.speedIndex == kDFastSpd;
        rig.set(kLever, fast ? 1.0f : 0.0f);
        rig.set(kMech, 0.0f);  // no motor noise in the envelope
        rig.set(kHAccel, 0.0f);  // 0.1 s run-ups
        rig.set(kDAccel, 0.0f);
        ASSERT_GT(rig.settle(), 0);
        runSilence(rig, 1.0);  // run-up finished
        const auto tone = sine(c.toneHz, rig.rate(), static_cast<long>(2.0 * rig.rate()), 0.3);
        const StereoBuffer out = rig.render(tone, tone);
        const double hz = 10.0 * c.speedValue;
        const double measured = envelopeFrequency(out.left, rig.rate(), 0.6 * hz, 1.6 * hz);
        EXPECT_NEAR(measured, hz, 0.03 * hz) << "parameter " << c.speedIndex;
    }
}

}  // namespace
}  // namespace orv::test
