// Golden output of the five rotor models: scripted runs (speed changes, motor-noise transients,
// saturation and geometry changes, resets, rate changes, stopped rotors, every ray variant and
// several model rates) compared sample by sample with the stored output of the plain
// implementation in data/model_golden.txt. Faster code must give the same samples within 1e-6
// relative (or 1e-9 of the run's RMS, near zero crossings). A deliberate change of the sound
// regenerates the file with ORV_UPDATE_MODEL_GOLDEN=1 (and says so in its commit message).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dsp/VoicingBanks.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv::test {
namespace {

constexpr int kSamples = 6144;        // per run
constexpr int kCheckpointStep = 32;   // every 32nd sample of each output is stored
constexpr double kRelTolerance = 1e-6;
// Samples near a zero crossing compare against the run's level instead: a last-bit difference
// anywhere upstream is a large fraction of a sample that happens to be nearly 0.
constexpr double kLevelTolerance = 1e-9;  // of the run's RMS
constexpr double kAbsFloor = 1e-15;       // for silent runs

std::filesystem::path dataFile() {
    return std::filesystem::path(ORV_DEFAULT_SOURCE_DIR) / "tests/unit/radiation/data/model_golden.txt";
}

// A chord with a slow sweep and some noise from a fixed generator, about 0.3 peak.
std::vector<double> testInput(double rate) {
    std::vector<double> v(kSamples);
    std::uint32_t seed = 2024u;
    double sweep = 0.0;
    for (int n = 0; n < kSamples; ++n) {
        const double t = n / rate;
        seed = seed * 1664525u + 1013904223u;  // linear congruential generator
        const double white = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
        sweep += 2.0 * M_PI * (300.0 + 4000.0 * n / kSamples) / rate;
        v[n] = 0.12 * std::sin(2.0 * M_PI * 220.0 * t) + 0.08 * std::sin(sweep) + 0.1 * white;
    }
    return v;
}

// The three signals a model offers per sample.
struct Outputs {
    std::vector<double> y, noise, low;
};

template <class Model>
void common(Model& m, double theta, double distance, double rate, int decimation, double speedHz) {
    m.motion().setSlowSpeed(0.8f);
    m.motion().setFastSpeed(static_cast<float>(speedHz));
    m.motion().setSpeed(0.0f);  // fast
    m.motion().setAccelTime(1.2);
    m.motion().setDecelTime(0.9);
    m.setMicAngle(theta);
    m.setMicDistance(distance);
    m.setAmRadius(0.18);
    m.setFmRadius(0.21);
    m.setAttenuation(1.3);
    m.setAttenuationDistance(0.9);
    m.setDecayExponent(1.1);
    m.setRate(rate, decimation);
    m.setGeometry();
    m.reset();
    m.loadRecordings();
    m.setNoiseBaseGain(0.7);
    m.setNoiseLevels(3.5, 6.3, 2.0);
    m.setNoiseBalance(0.4f);
}

void hornSettings(RotorModel& m, double saturation) {
    const double gains[RotorModel::kRayGainCount] = {0.9, 0.6, 0.5, 0.45, 0.4, 0.35, 0.3};
    for (int k = 0; k < RotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
    m.setZAxisGain(0.6);
    m.setStaticRayGain(0.35);
    m.setReflectionCoefficient(0.62);
    m.setReflectionLpf(0.8);
    m.setStaticCutoff(3000.0);
    m.setAmplitudeClip(0.25);
    m.setFilterSaturation(saturation);
}

void drumSettings(LightRotorModel& m, double saturation) {
    const double gains[LightRotorModel::kRayGainCount] = {0.95, 0.55, 0.5, 0.45};
    for (int k = 0; k < LightRotorModel::kRayGainCount; ++k) m.setRayGain(k, gains[k]);
    m.setStaticRayGain(0.3);
    m.setReflectionCoefficient(0.58);
    m.setReflectionLpf(0.3);
    m.setStaticCutoff(6000.0);
    m.setSplitterFrequency(120.0);
    m.setLowStaticGain(0.6);
    m.setFilterSaturation(saturation);
}

// A scripted run: `setUp` configures the model, `event` runs before the sample of each index
// it is called with and may change anything.
template <class Model>
Outputs runModel(Model& m, double rate, const std::function<void(Model&, int)>& event) {
    const std::vector<double> in = testInput(rate);
    Outputs o;
    for (int n = 0; n < kSamples; ++n) {
        event(m, n);
        o.y.push_back(m.process(in[n]));
        o.noise.push_back(m.noiseOutput());
        if constexpr (std::is_same_v<Model, LightRotorModel>)
            o.low.push_back(m.staticLowBand());
        else
            o.low.push_back(0.0);
    }
    return o;
}

Outputs hornRun(RotorModel::Kind kind, double theta, double distance, double rate, int decimation,
                double speedHz, double saturation, const std::function<void(RotorModel&, int)>& event) {
    auto m = std::make_unique<RotorModel>(kind);
    m->setOpenBackMode(1);
    common(*m, theta, distance, rate, decimation, speedHz);
    hornSettings(*m, saturation);
    return runModel<RotorModel>(*m, rate / decimation, event);
}

Outputs drumRun(LightRotorModel::Kind kind, double theta, double distance, double rate, int decimation,
                double speedHz, double saturation, const std::function<void(LightRotorModel&, int)>& event) {
    auto m = std::make_unique<LightRotorModel>(kind);
    common(*m, theta, distance, rate, decimation, speedHz);
    drumSettings(*m, saturation);
    return runModel<LightRotorModel>(*m, rate / decimation, event);
}

const double kHornSat = filterSaturationAmount(0.5f);
const double kDrumSat = filterSaturationAmount(0.3f);

template <class Model>
void nothing(Model&, int) {}

// Every run, by name.
std::map<std::string, std::function<Outputs()>> runs() {
    using H = RotorModel;
    using D = LightRotorModel;
    std::map<std::string, std::function<Outputs()>> r;
    r["horn_mic1_front_48k"] = [] {
        return hornRun(H::Kind::Mic1, 0.0, 0.8, 48000.0, 1, 6.7, kHornSat, [](H& m, int n) {
            if (n == 2000) m.startNoiseTransient(1.0);
            if (n == 3500) m.motion().setSpeed(1.0f);  // run down to the slow speed
        });
    };
    r["horn_mic2_side_22k_runup"] = [] {
        return hornRun(H::Kind::Mic2, 0.2, 1.1, 44100.0, 2, 6.8, filterSaturationAmount(0.9f), [](H& m, int n) {
            if (n == 0) {
                m.motion().setSpeed(1.0f);
                m.reset();
            }
            if (n == 500) m.motion().setSpeed(0.0f);  // run up through the noise cross-fade
            if (n == 3000) m.startNoiseTransient(0.6);
        });
    };
    r["horn_mic1_other_side_11k"] = [] {
        // 11025 Hz model rate: the filters fall back to 44.1 kHz designs.
        return hornRun(H::Kind::Mic1, -0.3, 1.5, 44100.0, 4, 3.0, kHornSat, nothing<H>);
    };
    r["horn_mic1_no_saturation_96k"] = [] {
        return hornRun(H::Kind::Mic1, 0.05, 0.6, 96000.0, 1, 7.1, 0.0, nothing<H>);
    };
    r["horn_leak_24k"] = [] {
        return hornRun(H::Kind::Leak, 0.3, 0.5, 96000.0, 4, 6.0, kHornSat, nothing<H>);
    };
    r["horn_mic1_stopped"] = [] {
        return hornRun(H::Kind::Mic1, 0.1, 0.9, 48000.0, 1, 6.0, kHornSat, [](H& m, int n) {
            if (n == 0) {
                m.motion().setStop(1.0f);
                m.reset();
                m.motion().setAngle(0.37);
            }
            if (n == 4000) m.motion().setStop(0.0f);  // released: runs up again
        });
    };
    r["horn_mic2_changes"] = [] {
        return hornRun(H::Kind::Mic2, 0.0, 1.0, 48000.0, 1, 6.5, kHornSat, [](H& m, int n) {
            if (n == 1000) m.setFilterSaturation(filterSaturationAmount(0.8f));
            if (n == 1500) m.setReflectionCoefficient(0.4);
            if (n == 2000) {  // microphone moved aside: another variant, rebuilt and reset
                m.setMicAngle(0.22);
                m.setGeometry();
                m.reset();
            }
            if (n == 3000) {
                m.setRate(44100.0, 1);
                m.setGeometry();
                m.reset();
            }
            if (n == 4000) m.setDirection(-1.0);
            if (n == 5000) {  // back to the front without a reset
                m.setMicAngle(0.0);
                m.setGeometry();
            }
        });
    };
    r["drum_mic_48k"] = [] {
        return drumRun(D::Kind::Mic, -0.2, 0.9, 48000.0, 1, 6.0, kDrumSat, [](D& m, int n) {
            if (n == 1500) m.startNoiseTransient(0.8);
            if (n == 3000) m.motion().setSpeed(1.0f);
        });
    };
    r["drum_mic_runup_44k"] = [] {
        return drumRun(D::Kind::Mic, 0.15, 1.2, 44100.0, 1, 6.5, kDrumSat, [](D& m, int n) {
            if (n == 0) {
                m.motion().setSpeed(1.0f);
                m.reset();
            }
            if (n == 300) m.motion().setSpeed(0.0f);
            if (n == 2500) m.setStaticCutoff(2500.0);  // taken over at the next re-tune
            if (n == 3500) m.setSplitterFrequency(90.0);
        });
    };
    r["drum_mic_stopped_96k"] = [] {
        return drumRun(D::Kind::Mic, 0.3, 0.7, 96000.0, 1, 6.0, 0.0, [](D& m, int n) {
            if (n == 0) {
                m.motion().setStop(1.0f);
                m.reset();
            }
        });
    };
    r["drum_mic_changes_24k"] = [] {
        return drumRun(D::Kind::Mic, 0.0, 1.0, 48000.0, 2, 6.3, kDrumSat, [](D& m, int n) {
            if (n == 1000) m.setFilterSaturation(filterSaturationAmount(0.7f));
            if (n == 2000) {
                m.setMicAngle(-0.25);
                m.setGeometry();
                m.reset();
            }
            if (n == 3000) m.setDirection(-1.0);
            if (n == 4000) {
                m.setRate(48000.0, 1);
                m.setGeometry();
                m.reset();
            }
        });
    };
    r["drum_leak_22k"] = [] {
        return drumRun(D::Kind::Leak, 0.25, 0.8, 44100.0, 2, 5.5, kDrumSat, nothing<D>);
    };
    return r;
}

struct Stored {
    std::vector<double> y, noise, low;  // checkpoints
    double energy[3] = {0.0, 0.0, 0.0};  // sum of squares of every sample of each output
};

Stored reduce(const Outputs& o) {
    Stored s;
    const std::vector<double>* src[3] = {&o.y, &o.noise, &o.low};
    std::vector<double>* dst[3] = {&s.y, &s.noise, &s.low};
    for (int c = 0; c < 3; ++c) {
        for (int n = 0; n < kSamples; n += kCheckpointStep) dst[c]->push_back((*src[c])[n]);
        for (double v : *src[c]) s.energy[c] += v * v;
    }
    return s;
}

// Largest deviations seen: relative to the sample itself, and relative to the run's RMS.
struct Deviation {
    double sample = 0.0;
    double level = 0.0;
};

bool close(double measured, double stored, double rms, Deviation& worst) {
    const double d = std::fabs(measured - stored);
    if (std::fabs(stored) > kAbsFloor) worst.sample = std::max(worst.sample, d / std::fabs(stored));
    if (rms > 0.0) worst.level = std::max(worst.level, d / rms);
    return d <= kRelTolerance * std::fabs(stored) + kLevelTolerance * rms + kAbsFloor;
}

TEST(ModelGolden, EveryRunMatchesTheStoredSamples) {
    const auto all = runs();
    std::map<std::string, Stored> now;
    for (const auto& [name, run] : all) now[name] = reduce(run());

    if (const char* update = std::getenv("ORV_UPDATE_MODEL_GOLDEN"); update != nullptr && *update == '1') {
        std::filesystem::create_directories(dataFile().parent_path());
        std::ofstream out(dataFile());
        out << "# run, output (y, noise, low), energy, then every " << kCheckpointStep << "nd sample\n";
        char buf[40];
        for (const auto& [name, s] : now) {
            const std::vector<double>* v[3] = {&s.y, &s.noise, &s.low};
            const char* label[3] = {"y", "noise", "low"};
            for (int c = 0; c < 3; ++c) {
                std::snprintf(buf, sizeof buf, "%.17g", s.energy[c]);
                out << name << ' ' << label[c] << ' ' << buf;
                for (double x : *v[c]) {
                    std::snprintf(buf, sizeof buf, "%.17g", x);
                    out << ' ' << buf;
                }
                out << '\n';
            }
        }
        GTEST_SKIP() << "golden output written to " << dataFile();
    }

    std::ifstream in(dataFile());
    ASSERT_TRUE(in.good()) << "missing " << dataFile();
    std::string line;
    int checked = 0;
    Deviation worst;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string name, label;
        double energy = 0.0;
        s >> name >> label >> energy;
        ASSERT_TRUE(now.count(name)) << "unknown run " << name;
        const Stored& m = now[name];
        const int c = label == "y" ? 0 : (label == "noise" ? 1 : 2);
        const std::vector<double>& v = c == 0 ? m.y : (c == 1 ? m.noise : m.low);
        const double rms = std::sqrt(energy / kSamples);
        Deviation ignored;
        EXPECT_TRUE(close(m.energy[c], energy, 0.0, ignored)) << name << ' ' << label << " energy " << m.energy[c] << " vs " << energy;
        std::size_t i = 0;
        double x;
        int failures = 0;
        while (s >> x) {
            ASSERT_LT(i, v.size()) << name << ' ' << label;
            if (!close(v[i], x, rms, worst) && ++failures <= 3)
                ADD_FAILURE() << name << ' ' << label << " sample " << i * kCheckpointStep << ": " << v[i] << " vs " << x;
            ++i;
        }
        EXPECT_EQ(failures, 0) << name << ' ' << label;
        EXPECT_EQ(i, v.size()) << name << ' ' << label;
        ++checked;
    }
    EXPECT_EQ(checked, 3 * static_cast<int>(all.size()));
    std::printf("largest deviation from the stored samples: %.3g of the sample, %.3g of the run's RMS\n",
                worst.sample, worst.level);
}

// The runs are deterministic and really exercise the models: two renders agree exactly, every
// microphone model produces sound and motor noise, the drum model its low band.
TEST(ModelGolden, RunsAreRepeatableAndAudible) {
    const auto all = runs();
    for (const char* name : {"horn_mic2_changes", "drum_mic_runup_44k"}) {
        const Outputs a = all.at(name)(), b = all.at(name)();
        EXPECT_EQ(a.y, b.y) << name;
        EXPECT_EQ(a.noise, b.noise) << name;
        EXPECT_EQ(a.low, b.low) << name;
    }
    for (const auto& [name, run] : all) {
        const Stored s = reduce(run());
        EXPECT_GT(s.energy[0], 1e-3) << name;
        // A motor at rest is silent; the leak models have no motor.
        const bool quiet = name.find("leak") != std::string::npos || name == "drum_mic_stopped_96k";
        if (!quiet) {
            EXPECT_GT(s.energy[1], 1e-12) << name;
        }
        if (name.rfind("drum_mic", 0) == 0) {
            EXPECT_GT(s.energy[2], 1e-6) << name;
        }
    }
}

}  // namespace
}  // namespace orv::test
