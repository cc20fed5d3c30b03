// The rotary effect as its editor sees it: every call goes to the effect's own operation.
#pragma once

#include "editor/EditorEffect.h"

namespace orv {

class RotaryEffect;

class RotaryEditorLink final : public EditorEffect {
public:
    explicit RotaryEditorLink(RotaryEffect& effect) : effect_(effect) {}

    const ParameterSet& parameters() const override;
    float getParameter(int index) override;
    void setParameter(int index, float value) override;
    void setParameterAutomated(int index, float value) override;
    bool isGlobalParameter(int index) override;
    vst::i32 getUniqueId() const override;

    int getCurrentProgramIndex() const override;
    ProgramRecord getProgramRecord(int i) const override;
    ProgramRecord getReferenceProgram() const override;
    ProgramBank& programBank() override;
    const ProgramBank& programBank() const override;
    void selectProgram(int i) override;
    void renameCurrentProgram(const char* name) override;
    void storeReferenceIntoProgram(int i) override;

    const ControllerMap& controllerMap() const override;
    int controllerOfParameter(int parameter) const override;
    bool takeMidiChangedFlag() override;
    void startMidiLearn() override;
    void stopMidiLearn() override;
    void startMidiForget() override;
    void stopMidiForget() override;

    double hornAngle() const override;
    double drumAngle() const override;

private:
    RotaryEffect& effect_;
};

}  // namespace orv
