// Generic program and MIDI layer of the effect: the 48-slot program store with its current
// program, reference program and applying flag. Concrete effects answer the hooks.
#pragma once

#include <atomic>

#include "host/AudioEffectX.h"
#include "params/ProgramRecord.h"

namespace orv {

class CMidiPresetSystemEffect : public AudioEffectX {
public:
    CMidiPresetSystemEffect(vst::HostCallback hostCallback, int numParams);
    ~CMidiPresetSystemEffect() override;

    // Host-visible program name requests address the current internal program.
    void getProgramName(char* name) override;
    void setProgramName(char* name) override;
    bool getProgramNameIndexed(int category, int index, char* text) override;

    // Applies internal program i (0..47): every stored value in 0..1 goes through setParameter.
    void selectProgram(int i);
    // Renames the current program like setProgramName; a null name leaves it.
    void renameCurrentProgram(const char* name);
    void storeReferenceIntoProgram(int i);
    void loadReferenceFromFirstProgram();

    int getCurrentProgramIndex() const { return currentProgram.load(std::memory_order_relaxed); }
    const ProgramRecord& getProgramRecord(int i) const { return bank[i]; }
    ProgramRecord& programRecord(int i) { return bank[i]; }
    const ProgramRecord& getReferenceProgram() const { return referenceProgram; }
    bool isApplyingProgram() const { return applying.load(std::memory_order_relaxed); }

    // Hooks answered by the concrete effect.
    virtual bool isGlobalParameter(int index) {
        (void)index;
        return false;
    }
    virtual bool isNotMidiAssignable(int index) {
        (void)index;
        return false;
    }

protected:
    // Everything setParameter does after the value was stored and the engine told: writes the
    // performance parameters into all programs, the value into the current program (unless a
    // program is being applied) and tells the editor.
    void afterParameterStored(int index, float value);
    // Parameters whose value is shared by all programs rather than kept per program.
    virtual bool isPerformanceParameter(int index) {
        (void)index;
        return false;
    }

    ProgramRecord bank[kNumPrograms]{};
    ProgramRecord referenceProgram{};
    std::atomic<int> currentProgram{0};
    std::atomic<bool> applying{false};
};

}  // namespace orv
