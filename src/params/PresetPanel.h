// What the program and MIDI layer of the effect asks of its editor object, which holds the
// preset and MIDI panel: it builds and reads the state part of chunks and bank files, and keeps
// the panel's program list, name display, learn and forget buttons and last-controller
// indicator in step. The editor object exists for the effect's whole life, window or not.
#pragma once

#include <cstddef>

#include "params/ByteReader.h"
#include "params/ByteWriter.h"

namespace orv {

class PresetPanel {
public:
    // Parameter layouts of tagged program records.
    enum class RecordLayout {
        Current,  // type-3 chunk, 0x39 bank: programs 0..47, indices as they are
        Older,    // type-2 chunk, 0x38 bank: programs 0..31, older parameter layout
    };

    virtual ~PresetPanel() = default;

    // Writes the state part: the state header (marker 0x39, the current program) and, for each
    // program 0..47, its program record and 42 parameter records, values clamped to 0..1 with a
    // message on the standard error stream. Answers the bytes written.
    virtual std::size_t writeBankState(ByteWriter& out) = 0;
    // Loads program and parameter records from a state (header first, records after it) and
    // applies the program the header names.
    virtual void loadProgramRecords(const ByteReader& state, RecordLayout layout) = 0;
    // Applies the controller records of a state as setParameter(42 + index, value).
    virtual void loadControllerRecords(const ByteReader& state) = 0;

    // Notifications of the program store and the controller map.
    virtual void programNameChanged() = 0;
    virtual void referenceProgramChanged() = 0;
    virtual void midiLearnEnded() = 0;
    virtual void midiForgetEnded() = 0;

    // Last received controller, shown by the panel; −1 for none. Written on the audio thread.
    virtual void setLastController(int controller) = 0;
    virtual int lastController() const = 0;
};

}  // namespace orv
