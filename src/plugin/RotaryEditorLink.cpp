#include "plugin/RotaryEditorLink.h"

#include "plugin/RotaryEffect.h"

namespace orv {

const ParameterSet& RotaryEditorLink::parameters() const { return effect_.parameters(); }
float RotaryEditorLink::getParameter(int index) { return effect_.getParameter(index); }
void RotaryEditorLink::setParameter(int index, float value) { effect_.setParameter(index, value); }
void RotaryEditorLink::setParameterAutomated(int index, float value) { effect_.setParameterAutomated(index, value); }
bool RotaryEditorLink::isGlobalParameter(int index) { return effect_.isGlobalParameter(index); }
vst::i32 RotaryEditorLink::getUniqueId() const { return effect_.getUniqueId(); }

int RotaryEditorLink::getCurrentProgramIndex() const { return effect_.getCurrentProgramIndex(); }
ProgramRecord RotaryEditorLink::getProgramRecord(int i) const { return effect_.getProgramRecord(i); }
ProgramRecord RotaryEditorLink::getReferenceProgram() const { return effect_.getReferenceProgram(); }
ProgramBank& RotaryEditorLink::programBank() { return effect_.programBank(); }
const ProgramBank& RotaryEditorLink::programBank() const { return effect_.programBank(); }
void RotaryEditorLink::selectProgram(int i) { effect_.selectProgram(i); }
void RotaryEditorLink::renameCurrentProgram(const char* name) { effect_.renameCurrentProgram(name); }
void RotaryEditorLink::storeReferenceIntoProgram(int i) { effect_.storeReferenceIntoProgram(i); }

const ControllerMap& RotaryEditorLink::controllerMap() const { return effect_.controllerMap(); }
int RotaryEditorLink::controllerOfParameter(int parameter) const { return effect_.controllerOfParameter(parameter); }
bool RotaryEditorLink::takeMidiChangedFlag() { return effect_.takeMidiChangedFlag(); }
void RotaryEditorLink::startMidiLearn() { effect_.startMidiLearn(); }
void RotaryEditorLink::stopMidiLearn() { effect_.stopMidiLearn(); }
void RotaryEditorLink::startMidiForget() { effect_.startMidiForget(); }
void RotaryEditorLink::stopMidiForget() { effect_.stopMidiForget(); }

double RotaryEditorLink::hornAngle() const { return effect_.hornAngle(); }
double RotaryEditorLink::drumAngle() const { return effect_.drumAngle(); }

}  // namespace orv
