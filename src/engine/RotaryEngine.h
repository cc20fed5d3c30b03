// The audio engine behind RotaryEffect: mono input through the amplifier and equaliser,
// decimation to the internal rate, the rotary cabinet (five rotor models, cross paths, early
// reflections), interpolation back, the mute cross-fade and the output stage; the
// re-initialisation state machine that hides expensive changes behind a short fade; the
// engine side of every parameter.
//
// Threads: process(), the jobs and the rotor models run on the audio thread. parameterChanged()
// may run on any thread; it only writes atomics (targets, pending-job bits, the engine state,
// dirty flags) that the audio thread picks up at the start of its next block.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "dsp/AmpDrive.h"
#include "dsp/BiquadFilter.h"
#include "dsp/EarlyReflections.h"
#include "dsp/OversampledDrive.h"
#include "dsp/VoicingBanks.h"
#include "engine/CrossPaths.h"
#include "engine/EngineHost.h"
#include "engine/LightRotorModel.h"
#include "engine/RotorModel.h"

namespace orv {

class ParameterSet;

class RotaryEngine {
public:
    enum EngineState : int { kRunning = 0, kFadingToDry = 1, kReinitialising = 2, kFadingToWet = 3 };

    // Pending jobs; lower bits run first.
    enum Job : std::uint32_t {
        kJobSampleRate = 1u << 0,
        kJobFullReset = 1u << 1,
        kJobMicSetup = 1u << 2,
        kJobRoomGeometry = 1u << 3,
        kJobHornMic1 = 1u << 4,
        kJobHornMic2 = 1u << 5,
        kJobCrossHorn = 1u << 6,
        kJobDrumMic = 1u << 7,
        kJobCrossDrum = 1u << 8,
        kJobDecimation = 1u << 9,
        kJobCrossPaths = 1u << 10,
        kAllJobs = (1u << 11) - 1,
    };

    static constexpr int kFirTaps = 32;
    static constexpr int kCrossLineLength = 1024;            // per cross-path delay line, a power of two
    static constexpr double kMinConstructionRate = 22050.0;  // Hz

    // Reads values from params and calls back into its owner for the parameters the engine
    // sets itself (set-up presets, "Size", the lever's brake) and for the host's sample rate.
    RotaryEngine(EngineHost& effect, const ParameterSet& params);
    ~RotaryEngine();
    RotaryEngine(const RotaryEngine&) = delete;
    RotaryEngine& operator=(const RotaryEngine&) = delete;

    // Engine side of setParameter, after the value was stored; changed tells whether the
    // stored value differs from the previous one.
    void parameterChanged(int index, float value, bool changed);

    // Runs every job once, then suspend, resume, suspend: the first blocks fade in.
    void finishConstruction();
    void suspend();
    void resume();

    // One block. inR may equal inL; outR null means a mono output, which gets the left result.
    template <typename Sample>
    void process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int frames);

    // Current angles of horn model 1 and of the drum model in revolutions, for the editor.
    double hornAngle() const { return hornAngle_.load(std::memory_order_relaxed); }
    double drumAngle() const { return drumAngle_.load(std::memory_order_relaxed); }

    // Observers for tests and benchmarks.
    int engineState() const { return state_.load(std::memory_order_relaxed); }
    double muteAmount() const { return mute_; }
    std::uint32_t pendingJobs() const { return pending_.load(std::memory_order_relaxed); }
    int decimation() const { return decimation_; }
    double hostRate() const { return fs_; }
    double internalRate() const { return fsInt_; }
    const RotorModel& hornModel(int i) const { return i == 0 ? horn1_ : (i == 1 ? horn2_ : hornLeak_); }
    const LightRotorModel& drumModel(bool leak = false) const { return leak ? drumLeak_ : drum_; }
    const float* firTable() const { return fir_; }

private:
    enum Smoothed : int {
        smInGain,
        smPostGain,
        smHornGain,
        smDrumGain,
        smHGain,
        smDGain,
        smHornMic2Gain,
        smSetupLevel,
        smDrumToTube,
        smBrToTube,
        smHornToDrum,
        smBrToDrum,
        smPan1L,
        smPan1R,
        smPan2L,
        smPan2R,
        smPanDL,
        smPanDR,
        smNoiseSend,
        smHpOn,
        smLpOn,
        smWidth,
        smBalL,
        smBalR,
        smWet,
        smDry,
        smOut,
        smCrossGain1,
        smCrossGain2,
        smCrossGain3,
        smCrossGain4,
        smCrossGain5,
        smCrossDelay1,
        smCrossDelay2,
        smCrossDelay3,
        smCrossDelay4,
        smCrossDelay5,
        kGeneralCount,
        // The rotors' on/off factors follow their own short S-shaped ramp (switchStage_).
        smHornOn = kGeneralCount,
        smDrumOn,
        kSmoothedCount
    };
    static constexpr int kSwitchCount = kSmoothedCount - kGeneralCount;

    // setParameter side helpers (any thread).
    void setTarget(int k, double v) { target_[k].store(v, std::memory_order_relaxed); }
    void fadedChange(std::uint32_t jobs);
    void schedule(std::uint32_t jobs);
    void leverChanged(float lever);
    void stopChanged(float stop);
    void requestTransient() { transientRequests_.fetch_add(1, std::memory_order_relaxed); }
    void recomputeNoiseBase(int index);

    // Block start (audio thread).
    void applyRequests();
    void applyMotion();
    void applyNoise();
    void applyHornSettings();
    void applyDrumSettings();
    void applyFilterFrequencies();
    void applyEqualiser();
    void loadTargets();
    void runStateMachineBeforeBlock(int& state);
    void finishStateMachineAfterBlock(int state);
    std::uint32_t claim(std::uint32_t jobs);
    void runJobGroup(int& state);

    // Jobs.
    void sampleRateJob(bool atConstruction);
    // modelsConfiguredNext: the caller configures every rotor model before the next sample.
    void decimationJob(bool modelsConfiguredNext = false);
    void chooseDecimation();
    void filterRateSetup();
    void clearFilterStates();
    void clearDecimator();
    void clearCrossLines();
    // Filters, one-poles, cross-path lines, colouration banks, dry states, amplifier, decimator.
    void clearPathState();
    // After a block whose wet signal was not finite: every signal state back to silence.
    void recoverSignalState();
    void fullReset();
    void setupPresetJob();
    void roomGeometryJob();
    void hornModelJob(RotorModel& model, bool second);
    void hornLeakJob();
    void drumJob(LightRotorModel& model);
    void crossPathJob(bool snap);
    void snapSmoothers();
    void reloadRecordings();

    // Per chunk of host samples: the chain up to the rotor models' inputs, then each model
    // over all its samples of the chunk (their inputs never depend on their outputs).
    template <typename Sample>
    int prepareChunk(const Sample* inL, const Sample* inR, int begin, int frames);
    inline void cabinetInput(double d, const double* gains, int j);
    void runModels(int n);

    // Per sample.
    inline void advanceSmoothers();
    // e is the host sample's equaliser output from prepareChunk().
    inline void runSample(double xL, double xR, double& yL, double& yR, double e);
    inline void runCabinet(int j, double& cL, double& cR);
    inline double readCross(const double* line, double delay) const;

    EngineHost& effect_;
    const ParameterSet& params_;

    // Rotor models.
    RotorModel horn1_{RotorModel::Kind::Mic1};
    RotorModel horn2_{RotorModel::Kind::Mic2};
    RotorModel hornLeak_{RotorModel::Kind::Leak};
    LightRotorModel drum_{LightRotorModel::Kind::Mic};
    LightRotorModel drumLeak_{LightRotorModel::Kind::Leak};
    CrossPaths crossPaths_;

    // Filters and blocks.
    AmpDrive amp_;
    OversampledDrive ampOversampled_;  // the amplifier's curves in "Brilliant"
    bool antiAliasedDrive_ = false;    // "Brilliant": the curves run oversampled
    BiquadFilter eq_[4];               // "Presence", "LoMid", "TopShlf", "Bottom" in series
    BiquadFilter hornHighPass_[2];
    BiquadFilter drumShelf_;
    BiquadFilter reflexBandPass_;
    BiquadFilter colourPeak_[2];
    BiquadFilter colourShelf_[2];
    BiquadFilter decimationLowPass_[2];
    ColourationBankA colourA_;
    ColourationBankB colourB_;
    EarlyReflections reflections_;

    // Rates.
    double fs_ = 44100.0;
    double invFs_ = 1.0 / 44100.0;
    double halfFs_ = 22050.0;
    int decimation_ = 1;
    double fsInt_ = 44100.0;
    double invFsInt_ = 1.0 / 44100.0;
    std::uint32_t sampleMask_ = 0;
    const float* fir_ = nullptr;

    // Smoothing.
    std::atomic<double> target_[kSmoothedCount];
    double tgt_[kSmoothedCount] = {};
    double cur_[kSmoothedCount] = {};
    double cGeneral_ = 0.0, cDrive_ = 0.0, cBypass_ = 0.0, cMuteUp_ = 0.0, cMuteDown_ = 0.0, cSwitch_ = 0.0;
    double switchStage_[kSwitchCount] = {};  // first of the two one-poles of each on/off ramp
    std::atomic<double> bypassTarget_{0.0};
    double bypass_ = 0.0;
    std::atomic<double> reflectionLevelTarget_{0.0};

    // Re-initialisation.
    std::atomic<int> state_{kRunning};
    std::atomic<std::uint32_t> pending_{0};
    double mute_ = 0.0;
    double muteTarget_ = 0.0;

    // Requests handed from parameterChanged (or suspend/resume) to the audio thread.
    std::atomic<bool> motionDirty_{true};
    std::atomic<bool> noiseDirty_{true};
    std::atomic<bool> hornDirty_{true};
    std::atomic<bool> drumDirty_{true};
    std::atomic<bool> saturationDirty_{true};
    std::atomic<bool> filterFreqDirty_{true};
    std::atomic<bool> eqDirty_{true};
    std::atomic<bool> ampDirty_{true};
    std::atomic<bool> snapOutputRequest_{false};
    std::atomic<bool> snapBypassRequest_{false};
    std::atomic<std::uint32_t> transientRequests_{0};
    std::uint32_t transientsSeen_ = 0;

    // Lever, brake and noise state kept by parameterChanged.
    std::atomic<float> leverApplied_{-1.0f};  // no lever applied yet
    std::atomic<float> rotorLever_{1.0f};     // value given to setSpeed (1 slow, 0 fast)
    std::atomic<float> rotorBrake_{0.0f};     // value given to setStop
    std::atomic<int> stopPosition_{0};
    std::atomic<int> speedPosition_{0};
    std::atomic<int> setupPosition_{-1};  // no set-up applied yet
    std::atomic<int> cpuModePosition_{-1};
    std::atomic<int> sizePosition_{-1};
    std::atomic<double> hornNoiseBase_{0.0};
    std::atomic<double> drumNoiseBase_{0.0};
    std::atomic<double> drumNoiseLevel_{0.0};
    std::atomic<bool> ampOnly_{false};

    // Set-up level and motor-noise pan (audio thread).
    double noisePanA_;
    double noisePanB_;

    // Per-sample state.
    bool ampOnlyNow_ = false;
    bool hornEnabled_ = true;  // the rotor's models run: its factor or its target is not 0
    bool drumEnabled_ = true;
    alignas(64) float decIn_[2 * kFirTaps] = {};
    alignas(64) float decOutL_[2 * kFirTaps] = {};
    alignas(64) float decOutR_[2 * kFirTaps] = {};
    int decIndex_ = kFirTaps - 1;
    std::uint32_t sampleCounter_ = 0;  // host samples since construction; picks the model samples
    // One chunk: the equaliser output of each host sample, and per model sample the cabinet
    // input, the models' inputs and their outputs (j counts the chunk's model samples).
    static constexpr int kChunk = 64;
    struct Chunk {
        double dryL[kChunk], dryR[kChunk];  // the input pins as the engine takes them (finite)
        double hostIn[kChunk];
        double cabinetIn[kChunk];
        double hornIn[kChunk], hornLeakIn[kChunk], drumIn[kChunk];
        double horn1[kChunk], horn2[kChunk], hornNoise1[kChunk], hornNoise2[kChunk];
        double drum[kChunk], drumLow[kChunk], drumNoise[kChunk];
        double hornLeak[kChunk], drumLeak[kChunk];
    };
    Chunk chunk_{};
    int chunkSample_ = 0;  // the next model sample of the chunk to mix
    double hornHpPole_ = 0.0, hornHpState_ = 0.0, hornHpPrev_ = 0.0;
    double drumLpCoeff_ = 1.0, drumLpState_ = 0.0;
    double drumLeakPole_ = 0.0, drumLeakState_ = 0.0;
    double hornLeakPole_ = 0.0, hornLeakState_ = 0.0;
    double dryPole_ = 0.0, dryL_ = 0.0, dryR_ = 0.0;
    std::vector<double> crossLines_;  // three mirrored lines, allocated once
    double* crossDrumLeak_;
    double* crossHornLeak_;
    double* crossReflex_;
    int crossWrite_ = 0;
    double faultCheck_ = 0.0;  // 0 while every wet sample of the block has been finite

    std::atomic<double> hornAngle_{0.0};
    std::atomic<double> drumAngle_{0.0};
};

}  // namespace orv
