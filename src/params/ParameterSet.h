// Current values of all parameters and the quantities the engine derives from them, with the
// names, labels and value texts shown to the host and the editor. Values may be stored and read
// from any thread; each value and each quantity is a single relaxed atomic.
#pragma once

#include <atomic>

#include "params/ParameterIndex.h"
#include "params/ParameterTable.h"

namespace orv {

class ParameterSet {
public:
    static constexpr int kNumIndices = param::kNumIndices;
    static constexpr int kTextSize = 64;  // longest text written: 63 characters and the terminator

    // User parameters take the "Default" program's values, internal ones their construction values.
    ParameterSet();

    // Stores the value of index (0..41, 84..166) as given and computes its quantities from its
    // sanitised form; other indices are ignored. Answers whether the value differs from the previous one. A "HDistance" or
    // "DDistance" value equal to the previous one changes nothing; a new "HDistance" also sets
    // "Horn Amplitude Clip".
    bool store(int index, float value);

    // The value getParameter answers: the stored value of a named parameter and of index 126,
    // 0 for "Drum Open Back Mode", the controller bindings and unnamed or out-of-range indices.
    float value(int index) const;

    // The stored value whatever the index answers to getParameter (0 when out of range).
    float storedValue(int index) const;
    // The stored value as the laws see it: inside 0..1 whatever a host stored (see
    // sanitiseParameterValue). Everything derived from a value reads this one.
    float lawValue(int index) const;

    // Quantities computed by the index's law (see Law); 0 when out of range.
    double quantity(int index) const;
    double secondaryQuantity(int index) const;

    // Position selected by a switch-like parameter, round((n − 1)·v).
    int position(int index) const { return static_cast<int>(quantity(index)); }

    // Texts, up to 63 characters and a terminator. Unnamed and out-of-range indices get an empty
    // name and value text; indices without a unit get the label " ".
    void getName(int index, char* text) const;
    void getLabel(int index, char* text) const;
    void getDisplay(int index, char* text) const;

    static bool isNamed(int index);
    // Set-up parameters (31..38, 40, 41) and negative indices.
    static bool isGlobalParameter(int index);
    // Bypass, CPUmode, Lever, Speed, Stop and MIDIchl: shared by all programs.
    static bool isPerformanceParameter(int index);
    static float initialValue(int index);

private:
    static bool inRange(int index) { return index >= 0 && index < kNumIndices; }
    void compute(int index, float value);
    // Writes the value text and the label chosen by the text form (or the fixed label).
    void format(int index, char* display, char* label) const;

    std::atomic<float> values[kNumIndices];
    std::atomic<double> primary[kNumIndices];
    std::atomic<double> secondary[kNumIndices];
};

}  // namespace orv
