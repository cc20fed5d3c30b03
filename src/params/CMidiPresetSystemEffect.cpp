#include "params/CMidiPresetSystemEffect.h"

#include <cstring>

#include "host/AEffEditor.h"

namespace orv {

void setProgramRecordName(ProgramRecord& record, const char* src) {
    copyText(record.name, src, kProgramNameSize);
}

CMidiPresetSystemEffect::CMidiPresetSystemEffect(vst::HostCallback hostCallback, int params)
    : AudioEffectX(hostCallback, 1, params) {
    for (ProgramRecord& p : bank) setProgramRecordName(p, "Init");
    setProgramRecordName(referenceProgram, "Init");
}

CMidiPresetSystemEffect::~CMidiPresetSystemEffect() = default;

void CMidiPresetSystemEffect::getProgramName(char* name) {
    copyText(name, bank[getCurrentProgramIndex()].name, kProgramNameSize);
}

void CMidiPresetSystemEffect::setProgramName(char* name) { setProgramRecordName(bank[getCurrentProgramIndex()], name); }

bool CMidiPresetSystemEffect::getProgramNameIndexed(int, int index, char* text) {
    if (index < 0 || index >= kNumPrograms || text == nullptr) return false;
    std::memcpy(text, bank[index].name, kProgramNameSize);
    return true;
}

void CMidiPresetSystemEffect::selectProgram(int i) {
    if (i < 0 || i >= kNumPrograms) return;
    applying.store(true, std::memory_order_relaxed);
    curProgram = 0;
    currentProgram.store(i, std::memory_order_relaxed);
    for (int index = 0; index < kNumUserParams; ++index) {
        const float v = bank[i].values[index];
        if (v >= 0.0f && v <= 1.0f) setParameter(index, v);
    }
    updateDisplay();
    beginEdit(0);
    endEdit(0);
    applying.store(false, std::memory_order_relaxed);
}

void CMidiPresetSystemEffect::renameCurrentProgram(const char* name) {
    if (name != nullptr) setProgramRecordName(bank[getCurrentProgramIndex()], name);
    curProgram = 0;
    updateDisplay();
}

void CMidiPresetSystemEffect::storeReferenceIntoProgram(int i) {
    if (i >= 0 && i < kNumPrograms) bank[i] = referenceProgram;
}

void CMidiPresetSystemEffect::loadReferenceFromFirstProgram() { referenceProgram = bank[0]; }

void CMidiPresetSystemEffect::afterParameterStored(int index, float value) {
    if (index >= 0 && index < kNumUserParams && isPerformanceParameter(index)) {
        for (ProgramRecord& p : bank) p.values[index] = value;
    }
    if (!isApplyingProgram() && index >= 0 && index < kNumUserParams) {
        bank[getCurrentProgramIndex()].values[index] = value;
    }
    if (editor != nullptr) editor->setParameter(index, value);
}

}  // namespace orv
