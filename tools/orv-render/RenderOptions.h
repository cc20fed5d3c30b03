// The command line of orv-render.
#pragma once

#include <string>
#include <vector>

namespace orv {

class RenderOptions {
public:
    struct ParamSet {
        std::string name;
        float value;
    };
    struct TimedSet {
        double seconds;
        std::string name;
        float value;
    };
    struct TimedControlChange {
        double seconds;
        int channel;  // 1..16
        int controller;
        int value;
    };

    static constexpr int kDefaultBlock = 1024;  // frames per process call
    static constexpr int kMaxBlock = 65536;

    std::string input;
    std::string output;
    std::string modulePath;
    std::string loadState;
    std::string saveState;
    std::string program;  // internal program to apply, by name or number
    bool demo = false;
    bool listParams = false;
    bool listPrograms = false;
    bool useDouble = false;
    bool help = false;
    int blockSize = kDefaultBlock;
    std::vector<ParamSet> sets;
    std::vector<TimedSet> timedSets;
    std::vector<TimedControlChange> controlChanges;

    // Reads the arguments after the program name. A bad command line answers false with a
    // one-line reason in error.
    bool parse(const std::vector<std::string>& args, std::string& error);

    static const char* usage();
};

}  // namespace orv
