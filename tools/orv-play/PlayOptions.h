// Command line of orv-play.
#pragma once

#include <string>
#include <vector>

namespace orv::play {

struct PlayOptions {
    std::string module;  // the effect module to load
    bool audio = false;  // run live through JACK; otherwise a silent engine
    bool window = true;  // open the editor (--no-window: audio only)
    std::string clientName = "orv-play";
    std::vector<std::string> inputs;       // ports to connect to in_1, in_2 (one: left only)
    std::vector<std::string> outputs;      // ports out_1, out_2 connect to
    std::vector<std::string> midiSources;  // ports to connect to midi_in
    bool help = false;
};

// Parses argv; on a mistake answers false with the reason in error.
bool parsePlayOptions(int argc, char** argv, PlayOptions& options, std::string& error);

const char* playUsage();

}  // namespace orv::play
