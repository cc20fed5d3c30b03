// orv-render: renders sound files through a VST 2.4 effect module, loaded as a DAW loads it.

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "hostlib/PluginHost.h"
#include "orv-render/DemoPhrase.h"
#include "orv-render/MemorySource.h"
#include "orv-render/ProgramSelect.h"
#include "orv-render/ProgressBar.h"
#include "orv-render/RenderOptions.h"
#include "orv-render/Renderer.h"
#include "orv-render/SoundFileSink.h"
#include "orv-render/SoundFileSource.h"
#include "orv-render/SystemCalls.h"

#ifndef ORV_DEFAULT_MODULE
#define ORV_DEFAULT_MODULE "OrvGyrola2.so"
#endif

namespace {

using orv::PluginHost;
using orv::Renderer;
using orv::RenderOptions;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;  // the shell's code for a SIGINT ending
constexpr const char* kLeverName = "Lever";
constexpr float kChorale = 0.0f;  // lever values of the two speeds
constexpr float kTremolo = 1.0f;

volatile std::sig_atomic_t gStop = 0;

void onSignal(int) { gStop = 1; }

int fail(const std::string& message, int code = kExitFailure)
{
    std::fprintf(stderr, "orv-render: %s\n", message.c_str());
    return code;
}

// A parameter by name (exact, then ignoring case) or by its index written as a number.
int resolveParameter(PluginHost& host, const std::string& name)
{
    const int found = host.findParameter(name);
    if (found >= 0) return found;
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos && name.size() < 6) {
        const int index = std::stoi(name);
        if (index < host.numParams()) return index;
    }
    return -1;
}

std::string unknownParameter(const std::string& name)
{
    return "unknown parameter '" + name + "' (orv-render --list-params shows the names)";
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open state file '" + path + "': " + std::strerror(errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read state file '" + path + "'";
        return false;
    }
    return true;
}

bool loadState(PluginHost& host, const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes, error)) return false;
    if (bytes.empty()) {
        error = "state file '" + path + "' is empty";
        return false;
    }
    if ((host.effect()->flags & vst::effFlagsProgramChunks) == 0) {
        error = "the module keeps no state chunk, so '" + path + "' cannot be loaded";
        return false;
    }
    // Effects answer 0 or 1 for a chunk they took; a negative answer is a refusal.
    if (host.setChunk(bytes) < 0) {
        error = "the module refused the state in '" + path + "'";
        return false;
    }
    return true;
}

bool applySets(PluginHost& host, const RenderOptions& opts, std::string& error)
{
    for (const auto& s : opts.sets) {
        const int index = resolveParameter(host, s.name);
        if (index < 0) {
            error = unknownParameter(s.name);
            return false;
        }
        host.setParameter(index, s.value);
    }
    return true;
}

bool applyProgram(PluginHost& host, const RenderOptions& opts, std::string& error)
{
    return opts.program.empty() || orv::ProgramSelect::select(host, opts.program, error);
}

int listPrograms(PluginHost& host)
{
    constexpr int kMaxPrograms = 1024;  // bound on the names asked for
    char name[256];
    for (int i = 0; i < kMaxPrograms; ++i) {
        std::memset(name, 0, sizeof name);
        if (host.dispatch(vst::effGetProgramNameIndexed, i, 0, name) == 0) break;
        std::printf("%4d  %s\n", i, name);
    }
    return 0;
}

int listParameters(PluginHost& host)
{
    std::printf("%s: %d parameters\n", host.effectName().c_str(), host.numParams());
    for (int i = 0; i < host.numParams(); ++i) {
        std::printf("%4d  %-12s %10s %-4s (%.6g)\n", i, host.paramName(i).c_str(), host.paramDisplay(i).c_str(),
                    host.paramLabel(i).c_str(), static_cast<double>(host.getParameter(i)));
    }
    return 0;
}

long frameAt(double seconds, double rate) { return std::lround(seconds * rate); }

int run(const RenderOptions& opts)
{
    const std::string modulePath = opts.modulePath.empty() ? ORV_DEFAULT_MODULE : opts.modulePath;
    PluginHost host;
    host.setBlockSize(opts.blockSize);
    std::string error;

    if (opts.listParams || opts.listPrograms) {
        if (!host.start(modulePath)) return fail(host.error());
        if (!opts.loadState.empty() && !loadState(host, opts.loadState, error)) return fail(error);
        if (opts.listPrograms) return listPrograms(host);
        if (!applyProgram(host, opts, error)) return fail(error);
        if (!applySets(host, opts, error)) return fail(error);
        return listParameters(host);
    }

    std::unique_ptr<orv::AudioSource> source;
    int inputFormat = 0;
    if (opts.demo) {
        source = std::make_unique<orv::MemorySource>(orv::DemoPhrase::synthesise(), 1, orv::DemoPhrase::kSampleRate);
    } else {
        auto file = std::make_unique<orv::SoundFileSource>();
        if (!file->open(opts.input, error)) return fail(error);
        inputFormat = file->format();
        source = std::move(file);
    }
    const double rate = source->sampleRate();
    if (source->channels() > Renderer::kOutputChannels) {
        std::fprintf(stderr, "orv-render: note: the input has %d channels; the first two are used\n",
                     source->channels());
    }

    host.setSampleRate(rate);
    if (!host.start(modulePath)) return fail(host.error());
    if (host.effect()->numOutputs < 1) return fail("module " + modulePath + " has no audio outputs");
    if (opts.useDouble && !host.supportsDouble())
        return fail("module " + modulePath + " cannot process in double precision");
    if (!opts.loadState.empty() && !loadState(host, opts.loadState, error)) return fail(error);
    if (!applyProgram(host, opts, error)) return fail(error);
    if (!applySets(host, opts, error)) return fail(error);

    Renderer renderer(host, opts.useDouble);
    const long total = source->frames();
    auto warnLate = [&](const char* what, double seconds) {
        if (total > 0 && frameAt(seconds, rate) >= total) {
            std::fprintf(stderr,
                         "orv-render: note: %s at %.3f s comes after the end of the input (%.3f s) and is ignored\n",
                         what, seconds, static_cast<double>(total) / rate);
        }
    };
    for (const auto& t : opts.timedSets) {
        const int index = resolveParameter(host, t.name);
        if (index < 0) return fail(unknownParameter(t.name));
        warnLate(("--at " + t.name).c_str(), t.seconds);
        renderer.addParameterChange(frameAt(t.seconds, rate), index, t.value);
    }
    for (const auto& c : opts.controlChanges) {
        warnLate("--cc", c.seconds);
        renderer.addControlChange(frameAt(c.seconds, rate), c.channel, c.controller, c.value);
    }
    if (opts.demo) {
        const int lever = host.findParameter(kLeverName);
        if (lever < 0)
            return fail(std::string("module ") + modulePath + " has no parameter '" + kLeverName + "' for the demo");
        // The lever starts at "Chorale" unless --set chose otherwise, speeds up, then slows down.
        bool leverSet = false;
        for (const auto& s : opts.sets) leverSet = leverSet || resolveParameter(host, s.name) == lever;
        if (!leverSet) host.setParameter(lever, kChorale);
        renderer.addParameterChange(frameAt(orv::DemoPhrase::kTremoloAt, rate), lever, kTremolo);
        renderer.addParameterChange(frameAt(orv::DemoPhrase::kChoraleAt, rate), lever, kChorale);
    }

    orv::SoundFileSink sink;
    if (!sink.create(opts.output, Renderer::kOutputChannels, static_cast<int>(rate), inputFormat, error))
        return fail(error);

    orv::catchInterrupts(onSignal);

    orv::ProgressBar progress(total, rate, orv::ProgressBar::wanted(total, rate));
    if (!renderer.run(*source, sink, progress, gStop, error)) {
        progress.finish();
        sink.discard();
        return fail(error, gStop ? kExitInterrupted : kExitFailure);
    }

    if (!opts.saveState.empty()) {
        const std::vector<uint8_t> state = host.getChunk();
        if (state.empty()) {
            sink.discard();
            return fail("module " + modulePath + " gave no state chunk to save");
        }
        if (!orv::writeFileAtomically(opts.saveState, state, error)) {
            sink.discard();
            return fail(error);
        }
    }
    if (!sink.commit(error)) return fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    RenderOptions opts;
    std::string error;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(RenderOptions::usage(), stderr);
        return kExitUsage;
    }
    const bool parsed = opts.parse(args, error);
    if (opts.help) {
        std::fputs(RenderOptions::usage(), stdout);
        return 0;
    }
    if (!parsed) return fail(error, kExitUsage);
    return run(opts);
}
