#include "orv-play/PlayOptions.h"

#include <cstring>

namespace orv::play {

namespace {
constexpr size_t kAudioPorts = 2;  // in_1/in_2 and out_1/out_2
}  // namespace

const char* playUsage()
{
    return "usage: orv-play [--audio] [--in PORT]... [--out PORT]... [--midi PORT]...\n"
           "                [--client NAME] [--module FILE] [--no-window]\n"
           "Plays the rotary cabinet live: the editor in a window of its own and, with --audio,\n"
           "audio and MIDI through JACK (ports in_1, in_2, out_1, out_2, midi_in).\n"
           "  --audio        run through a JACK server (without it the engine runs on silence)\n"
           "  --in PORT      connect PORT to in_1, a second --in to in_2 (one --in: mono input)\n"
           "  --out PORT     connect out_1 to PORT, a second --out connects out_2\n"
           "  --midi PORT    connect PORT (a keyboard or pedal's MIDI output) to midi_in\n"
           "  --client NAME  JACK client name (default orv-play)\n"
           "  --module FILE  the effect module to load\n"
           "  --no-window    no editor window (audio only)\n"
           "The state is kept in ${XDG_CONFIG_HOME:-$HOME/.config}/Orvaline/ORVGYR2/PlayerState.\n";
}

bool parsePlayOptions(int argc, char** argv, PlayOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--audio") {
            options.audio = true;
        } else if (arg == "--no-window") {
            options.window = false;
        } else if (arg == "--in" || arg == "--out" || arg == "--midi") {
            if (!value(v)) return false;
            auto& list = arg == "--in" ? options.inputs : arg == "--out" ? options.outputs : options.midiSources;
            if (arg != "--midi" && list.size() == kAudioPorts) {
                error = arg + " given more than twice";
                return false;
            }
            list.push_back(v);
        } else if (arg == "--client") {
            if (!value(options.clientName)) return false;
        } else if (arg == "--module") {
            if (!value(options.module)) return false;
        } else {
            error = "unknown argument " + arg;
            return false;
        }
    }
    if (!options.audio && !(options.inputs.empty() && options.outputs.empty() && options.midiSources.empty())) {
        error = "--in, --out and --midi need --audio";
        return false;
    }
    if (!options.audio && !options.window) {
        error = "--no-window needs --audio";
        return false;
    }
    return true;
}

}  // namespace orv::play
