// What the editor asks of the effect it belongs to: the parameter values and their changes,
// the internal program store, the MIDI controller map and the rotor angles for the markers.
// The plug-in layer answers it for the concrete effect, so the editor needs neither the
// effect's class chain nor the engine.
#pragma once

#include "host/vst2.h"
#include "params/ControllerMap.h"
#include "params/ParameterSet.h"
#include "params/ProgramBank.h"
#include "params/ProgramRecord.h"

namespace orv {

class EditorEffect {
public:
    virtual ~EditorEffect() = default;

    // Parameters: values as stored, changes as from any other source; automated changes are
    // also recorded by the host.
    virtual const ParameterSet& parameters() const = 0;
    virtual float getParameter(int index) = 0;
    virtual void setParameter(int index, float value) = 0;
    virtual void setParameterAutomated(int index, float value) = 0;
    virtual bool isGlobalParameter(int index) = 0;
    virtual vst::i32 getUniqueId() const = 0;

    // The 48 internal programs and the reference program.
    virtual int getCurrentProgramIndex() const = 0;
    virtual ProgramRecord getProgramRecord(int i) const = 0;
    virtual ProgramRecord getReferenceProgram() const = 0;
    virtual ProgramBank& programBank() = 0;
    virtual const ProgramBank& programBank() const = 0;
    virtual void selectProgram(int i) = 0;
    virtual void renameCurrentProgram(const char* name) = 0;
    virtual void storeReferenceIntoProgram(int i) = 0;

    // The MIDI controller map, its learn and forget modes.
    virtual const ControllerMap& controllerMap() const = 0;
    virtual int controllerOfParameter(int parameter) const = 0;
    virtual bool takeMidiChangedFlag() = 0;
    virtual void startMidiLearn() = 0;
    virtual void stopMidiLearn() = 0;
    virtual void startMidiForget() = 0;
    virtual void stopMidiForget() = 0;

    // Current angles of horn model 1 and of the drum model in revolutions.
    virtual double hornAngle() const = 0;
    virtual double drumAngle() const = 0;
};

}  // namespace orv
