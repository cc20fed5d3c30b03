// Generic program and MIDI layer of the effect: the 48-slot program store with its current
// program, reference program and applying flag; the state chunk; the MIDI controller map with
// learning, forgetting and the channel filter. Concrete effects answer the hooks.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "host/AudioEffectX.h"
#include "params/ByteReader.h"
#include "params/ControllerMap.h"
#include "params/PresetPanel.h"
#include "params/ProgramBank.h"
#include "params/ProgramRecord.h"

namespace orv {

class CMidiPresetSystemEffect : public AudioEffectX {
public:
    // Chunk types (first 32-bit word of a chunk).
    static constexpr std::int32_t kChunkBankImage = 0x01000000;
    static constexpr std::int32_t kChunkOlderState = 0x02000000;
    static constexpr std::int32_t kChunkState = 0x03000000;
    static constexpr std::size_t kChunkHeaderSize = 8;  // type and unique ID
    // The largest type-3 chunk: header, state header, 48 × (program + 42 parameter records),
    // 42 controller records.
    static constexpr std::size_t kChunkSize = 73969;
    static constexpr std::size_t kBankImageSize = 9416;  // type-1 memory image
    static constexpr std::size_t kBankImageProgramsOffset = 32;
    static constexpr std::size_t kBankImageControllersOffset = 9248;

    CMidiPresetSystemEffect(vst::HostCallback hostCallback, int numParams);
    ~CMidiPresetSystemEffect() override;

    // Host-visible program name requests address the current internal program.
    void getProgramName(char* name) override;
    void setProgramName(char* name) override;
    bool getProgramNameIndexed(int category, int index, char* text) override;

    // Applies internal program i (0..47): every stored value in 0..1 goes through setParameter.
    void selectProgram(int i);
    // Renames the current program like setProgramName (a null name leaves it) and asks the host
    // to re-read the names.
    void renameCurrentProgram(const char* name);
    void storeReferenceIntoProgram(int i);
    void loadReferenceFromFirstProgram();
    // Fills the bank with the factory programs and takes slot 0 as the reference program.
    void writeFactoryPrograms();

    int getCurrentProgramIndex() const { return currentProgram.load(std::memory_order_relaxed); }
    // Program i (0..47) whole, as one write left it.
    ProgramRecord getProgramRecord(int i) const { return bank.read(i); }
    ProgramRecord getReferenceProgram() const { return bank.read(ProgramBank::kReference); }
    // The programs and the reference program (slot ProgramBank::kReference), any thread.
    ProgramBank& programBank() { return bank; }
    const ProgramBank& programBank() const { return bank; }
    bool isApplyingProgram() const { return applying.load(std::memory_order_relaxed); }

    // The whole state as a type-3 chunk in the effect's buffer (valid until the next call);
    // isPreset is ignored. Answers its size, 0 without an editor object.
    int getChunk(void** data, bool isPreset) override;
    // Reads a chunk of type 3, 2 or 1 in either byte order; answers 0, or −1 when rejected.
    int setChunk(void* data, int byteSize, bool isPreset) override;

    // MIDI controller map.
    int processEvents(vst::VstEvents* events) override;
    void assignController(int parameter, int controller) { controllers.assignController(parameter, controller); }
    void unassignParameter(int parameter) { controllers.unassignParameter(parameter); }
    void unassignController(int controller) { controllers.unassignController(controller); }
    int controllerOfParameter(int parameter) const { return controllers.controllerOfParameter(parameter); }
    int parameterOfController(int controller) const { return controllers.parameterOfController(controller); }
    bool takeMidiChangedFlag() { return controllers.takeMidiChangedFlag(); }
    void startMidiLearn() { controllers.startMidiLearn(); }
    void stopMidiLearn();
    void setLearnTarget(int parameter) { controllers.setLearnTarget(parameter); }
    void startMidiForget() { controllers.startMidiForget(); }
    void stopMidiForget();
    void resetMidiMap() { controllers.reset(); }
    const ControllerMap& controllerMap() const { return controllers; }
    // getParameter(42 + k).
    float getControllerAssignment(int k) const { return controllers.assignmentValue(k); }

    // The editor object's last-received-controller indicator.
    void showLastController(int controller);
    void resetLastControllerIndicator() { showLastController(-1); }

    // Hooks answered by the concrete effect.
    virtual bool isGlobalParameter(int index)
    {
        (void)index;
        return false;
    }
    virtual bool isNotMidiAssignable(int index)
    {
        (void)index;
        return false;
    }

protected:
    // Makes editor the effect's editor object (owned by the effect) and panel its preset and
    // MIDI panel, which is usually the same object.
    void setPresetEditor(AEffEditor* editorObject, PresetPanel* panelObject);
    template <typename Editor>
    void attachPresetEditor(Editor* e)
    {
        setPresetEditor(e, e);
    }
    PresetPanel* getPresetPanel() const { return panel; }

    // Everything setParameter does after the value was stored and the engine told: writes the
    // performance parameters into all programs, hands the value to the program store (0..41)
    // or the controller map (42..83) unless a program is being applied, and tells the editor.
    void afterParameterStored(int index, float value);
    // Parameters whose value is shared by all programs rather than kept per program.
    virtual bool isPerformanceParameter(int index)
    {
        (void)index;
        return false;
    }
    // A controller bound to parameter moved to value (0..1); the map's changed flag is set.
    // Sets the parameter; effects with special controller handling override it.
    virtual void controllerMoved(int parameter, int controller, float value);

    ProgramBank bank;
    std::atomic<int> currentProgram{0};
    std::atomic<bool> applying{false};
    ControllerMap controllers;

private:
    int loadBankImage(const ByteReader& chunk);

    PresetPanel* panel = nullptr;
    std::unique_ptr<unsigned char[]> chunkBuffer;
};

}  // namespace orv
