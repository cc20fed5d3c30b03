// The texts of the value displays under the editor's knobs. Each function turns a normalised
// value (0..1) into the display's text and has the toolkit's value-to-text signature, so a
// display uses it directly. These texts are the editor's own; the host's texts come from the
// effect's parameter set.
#pragma once

#include "toolkit/CParamDisplay.h"

namespace orv {

class DisplayFormats {
public:
    static bool speed(float value, char* text, void* userData);            // "1.00 Hz"
    static bool time(float value, char* text, void* userData);             // "500 ms", "2.0 s"
    static bool distance(float value, char* text, void* userData);         // "65 cm", "1.30 m"
    static bool highPass(float value, char* text, void* userData);         // "Off", "120 Hz", "1.05 kHz"
    static bool lowPass(float value, char* text, void* userData);          // "2.00 kHz", "Off"
    static bool gain(float value, char* text, void* userData);             // "0.0 dB", "-oo dB"
    static bool eq(float value, char* text, void* userData);               // −12..12 dB
    static bool drive(float value, char* text, void* userData);            // −20..20 dB
    static bool reflexGain(float value, char* text, void* userData);       // "0.0 dB" at 0.5
    static bool percent(float value, char* text, void* userData);          // "50.0 %"
    static bool widthPercent(float value, char* text, void* userData);     // "100.0 %" at 0.5
    static bool balance(float value, char* text, void* userData);          // "L", "12L", "C", "R"
    static bool size(float value, char* text, void* userData);             // "1".."5"
    static bool amplifierType(float value, char* text, void* userData);    // "Thru", "Tube", "Solid"
    static bool setupFirstLine(float value, char* text, void* userData);   // "Front", ...
    static bool setupSecondLine(float value, char* text, void* userData);  // "Side", ...
    static bool speakerConfiguration(float value, char* text, void* userData);
    static bool ratio(float value, char* text, void* userData);  // "50:50"
};

}  // namespace orv
