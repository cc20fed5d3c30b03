#include "orv-render/RenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace orv {

namespace {

constexpr int kMidiChannels = 16;
constexpr int kMidiDataMax = 127;

bool parseDouble(const std::string& text, double& out)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return errno == 0 && end != nullptr && *end == '\0' && std::isfinite(out);
}

bool parseInt(const std::string& text, long lo, long hi, int& out)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// NAME=VALUE with VALUE a normalised parameter value.
bool parseAssignment(const std::string& text, std::string& name, float& value, std::string& error)
{
    const size_t eq = text.rfind('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expected NAME=VALUE, got '" + text + "'";
        return false;
    }
    name = text.substr(0, eq);
    const std::string valueText = text.substr(eq + 1);
    double v = 0.0;
    if (!parseDouble(valueText, v)) {
        error = "value '" + valueText + "' for '" + name + "' is not a number";
        return false;
    }
    if (v < 0.0 || v > 1.0) {
        error = "value " + valueText + " for '" + name + "' is outside 0..1";
        return false;
    }
    value = static_cast<float>(v);
    return true;
}

bool parseSeconds(const std::string& text, double& seconds, std::string& error)
{
    if (!parseDouble(text, seconds) || seconds < 0.0) {
        error = "time '" + text + "' is not a number of seconds >= 0";
        return false;
    }
    return true;
}

}  // namespace

const char* RenderOptions::usage()
{
    return "usage: orv-render IN OUT [options]     render IN through the effect into OUT\n"
           "       orv-render --demo OUT [options] render the built-in organ demo\n"
           "       orv-render --list-params [--module PATH] [--load-state FILE] [--program NAME] [--set ...]\n"
           "       orv-render --list-programs [--module PATH] [--load-state FILE]\n"
           "options:\n"
           "  --set NAME=VALUE           set a parameter (normalised 0..1) before rendering\n"
           "  --at SECONDS NAME=VALUE    set a parameter at a time in the file\n"
           "  --cc SECONDS CH CC VALUE   send a MIDI control change (channel 1..16, 0..127)\n"
           "  --block N                  frames per process call (default 1024)\n"
           "  --double                   process in double precision\n"
           "  --module PATH              the VST 2 module to load\n"
           "  --load-state FILE          restore the effect's state chunk from FILE first\n"
           "  --save-state FILE          store the effect's state chunk after rendering\n"
           "  --program NAME             apply the effect's internal program NAME (or number)\n"
           "                             after --load-state and before --set\n"
           "  --list-programs            print the effect's internal programs and exit\n"
           "  --list-params              print the parameters with their values and exit\n"
           "IN and OUT may be any format libsndfile knows; OUT's extension picks its format.\n"
           "A parameter NAME may also be its index.\n";
}

bool RenderOptions::parse(const std::vector<std::string>& args, std::string& error)
{
    std::vector<std::string> positional;
    auto need = [&](size_t i, size_t count, const std::string& opt) {
        if (i + count >= args.size()) {
            error = opt + " needs " + std::to_string(count) + (count == 1 ? " argument" : " arguments");
            return false;
        }
        return true;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--set") {
            if (!need(i, 1, a)) return false;
            ParamSet s{};
            if (!parseAssignment(args[++i], s.name, s.value, error)) return false;
            sets.push_back(s);
        } else if (a == "--at") {
            if (!need(i, 2, a)) return false;
            TimedSet t{};
            if (!parseSeconds(args[i + 1], t.seconds, error)) return false;
            if (!parseAssignment(args[i + 2], t.name, t.value, error)) return false;
            timedSets.push_back(t);
            i += 2;
        } else if (a == "--cc") {
            if (!need(i, 4, a)) return false;
            TimedControlChange c{};
            if (!parseSeconds(args[i + 1], c.seconds, error)) return false;
            if (!parseInt(args[i + 2], 1, kMidiChannels, c.channel)) {
                error = "MIDI channel '" + args[i + 2] + "' is not 1..16";
                return false;
            }
            if (!parseInt(args[i + 3], 0, kMidiDataMax, c.controller)) {
                error = "controller '" + args[i + 3] + "' is not 0..127";
                return false;
            }
            if (!parseInt(args[i + 4], 0, kMidiDataMax, c.value)) {
                error = "controller value '" + args[i + 4] + "' is not 0..127";
                return false;
            }
            controlChanges.push_back(c);
            i += 4;
        } else if (a == "--block") {
            if (!need(i, 1, a)) return false;
            if (!parseInt(args[++i], 1, kMaxBlock, blockSize)) {
                error = "block size '" + args[i] + "' is not 1.." + std::to_string(kMaxBlock);
                return false;
            }
        } else if (a == "--double") {
            useDouble = true;
        } else if (a == "--module") {
            if (!need(i, 1, a)) return false;
            modulePath = args[++i];
        } else if (a == "--load-state") {
            if (!need(i, 1, a)) return false;
            loadState = args[++i];
        } else if (a == "--save-state") {
            if (!need(i, 1, a)) return false;
            saveState = args[++i];
        } else if (a == "--program") {
            if (!need(i, 1, a)) return false;
            program = args[++i];
        } else if (a == "--list-params") {
            listParams = true;
        } else if (a == "--list-programs") {
            listPrograms = true;
        } else if (a == "--demo") {
            if (!need(i, 1, a)) return false;
            demo = true;
            output = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option '" + a + "'";
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (help || listParams || listPrograms) {
        if (!positional.empty() || demo) {
            error = listPrograms ? "--list-programs takes no files" : "--list-params takes no files";
            return help;
        }
        return true;
    }
    if (demo) {
        if (!positional.empty()) {
            error = "--demo takes only the output file";
            return false;
        }
    } else if (positional.size() != 2) {
        error = positional.size() < 2 ? "missing input or output file (see --help)" : "too many file names";
        return false;
    } else {
        input = positional[0];
        output = positional[1];
    }
    if (output.empty()) {
        error = "the output file name is empty";
        return false;
    }
    return true;
}

}  // namespace orv
