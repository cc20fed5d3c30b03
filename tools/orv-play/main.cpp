// orv-play: plays the rotary cabinet live. Loads the effect module as a host does, opens its
// editor in a window of its own, and runs audio and MIDI through JACK (or, without --audio,
// runs the engine on silence). The effect's state is restored at start and saved at the end.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "hostlib/PluginHost.h"
#include "orv-play/JackAudio.h"
#include "orv-play/LiveProcessor.h"
#include "orv-play/PlayOptions.h"
#include "orv-play/PlayerState.h"
#include "orv-play/PlayerWindow.h"
#include "orv-play/SilentAudio.h"

#ifndef ORV_DEFAULT_MODULE
#define ORV_DEFAULT_MODULE "OrvGyrola2.so"
#endif

namespace {

using namespace orv;
using namespace orv::play;

std::atomic<bool> gQuit{false};

void onSignal(int) { gQuit.store(true); }

int fail(const std::string& message, int status = 1)
{
    std::fprintf(stderr, "orv-play: %s\n", message.c_str());
    return status;
}

constexpr double kSilentRate = 48000.0;  // sample rate of the silent engine
constexpr int kSilentBlock = 256;        // and its block size
constexpr int kIdleMs = 20;              // editor idle period (50 per second)
constexpr int kHeadlessWaitMs = 100;     // how often an audio-only run looks for a signal

// The module of the build the player came from, else the one ./go install puts in ~/.vst.
std::string defaultModule()
{
    if (access(ORV_DEFAULT_MODULE, R_OK) == 0) return ORV_DEFAULT_MODULE;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.vst/OrvGyrola2.so";
}

}  // namespace

int main(int argc, char** argv)
{
    PlayOptions options;
    std::string error;
    if (!parsePlayOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "orv-play: %s\n%s", error.c_str(), playUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(playUsage(), stdout);
        return 0;
    }

    // The JACK server first: without one there is nothing to play through.
    std::unique_ptr<JackAudio> jack;
    if (options.audio) {
        jack = std::make_unique<JackAudio>();
        if (!jack->open(options.clientName, error)) return fail(error);
    }

    PluginHost host;
    host.setRecordingCalls(false);  // the effect calls back from the audio thread
    host.setSampleRate(jack ? jack->sampleRate() : kSilentRate);
    host.setBlockSize(jack ? jack->bufferSize() : kSilentBlock);
    // One input port named: it is the left pin, and the effect takes the right from it.
    if (options.audio && options.inputs.size() == 1) host.setPinConnected(true, 1, false);
    const std::string modulePath = options.module.empty() ? defaultModule() : options.module;
    if (!host.load(modulePath)) return fail(host.error());
    host.open();

    const std::string statePath = playerStatePath();
    const std::vector<uint8_t> saved = readPlayerState(statePath);
    if (!saved.empty() && host.setChunk(saved) != 0)  // 0 means accepted
        std::fprintf(stderr, "orv-play: %s was not accepted; starting from the effect's defaults\n", statePath.c_str());
    host.resume();

    LiveProcessor processor(host.effect(), host.blockSize());
    std::unique_ptr<SilentAudio> silent;
    if (jack) {
        if (!jack->start(&processor, error)) return fail(error);
        if (!jack->connect(options.inputs, options.outputs, options.midiSources, error)) {
            jack->stop();
            host.close();
            return fail(error);
        }
    } else {
        silent = std::make_unique<SilentAudio>(&processor, host.sampleRate());
        silent->start();
    }

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    int status = 0;
    std::unique_ptr<PlayerWindow> window;
    if (options.window) {
        window = std::make_unique<PlayerWindow>(host);
        if (!window->open(error)) {
            std::fprintf(stderr, "orv-play: %s\n", error.c_str());
            window.reset();
            status = 1;
            gQuit.store(true);
        }
    }
    while (!gQuit.load()) {
        if (jack && jack->serverGone()) {
            std::fprintf(stderr, "orv-play: the JACK server went away\n");
            status = 1;
            break;
        }
        if (window) {
            if (!window->idle()) break;
            window->wait(kIdleMs);
        } else {
            struct timespec pause {
                0, kHeadlessWaitMs * 1000000L
            };
            nanosleep(&pause, nullptr);
        }
    }
    if (window) window->close();

    // Audio stops before the state is read, so the saved state is the one last heard.
    if (jack) jack->stop();
    if (silent) silent->stop();
    if (!writePlayerState(statePath, host.getChunk(), error)) {
        std::fprintf(stderr, "orv-play: state not saved: %s\n", error.c_str());
        status = 1;
    }
    host.close();
    return status;
}
