#include "plugin/CMidiPresetSystemEffect.h"

#include <cstring>

#include "host/AEffEditor.h"
#include "params/ByteWriter.h"
#include "params/FactoryPrograms.h"
#include "params/ParameterIndex.h"
#include "params/ParameterLaws.h"
#include "params/TaggedState.h"

namespace orv {

CMidiPresetSystemEffect::CMidiPresetSystemEffect(vst::HostCallback hostCallback, int params)
    : AudioEffectX(hostCallback, 1, params), chunkBuffer(std::make_unique<unsigned char[]>(kChunkSize))
{
    for (int slot = 0; slot < ProgramBank::kNumSlots; ++slot) bank.setName(slot, "Init");
}

// The editor object goes first, while the program store and the controller map it works on
// still exist.
CMidiPresetSystemEffect::~CMidiPresetSystemEffect() { setPresetEditor(nullptr, nullptr); }

void CMidiPresetSystemEffect::setPresetEditor(AEffEditor* editorObject, PresetPanel* panelObject)
{
    panel = nullptr;
    setEditor(editorObject);
    panel = editorObject != nullptr ? panelObject : nullptr;
}

void CMidiPresetSystemEffect::getProgramName(char* name)
{
    char current[kProgramNameSize];
    bank.readName(getCurrentProgramIndex(), current);
    copyText(name, current, kProgramNameSize);
}

void CMidiPresetSystemEffect::setProgramName(char* name)
{
    bank.setName(getCurrentProgramIndex(), name);
    if (panel != nullptr) panel->programNameChanged();
}

bool CMidiPresetSystemEffect::getProgramNameIndexed(int, int index, char* text)
{
    if (index < 0 || index >= kNumPrograms || text == nullptr) return false;
    char name[kProgramNameSize];
    bank.readName(index, name);
    std::memcpy(text, name, kProgramNameSize);
    return true;
}

void CMidiPresetSystemEffect::selectProgram(int i)
{
    if (i < 0 || i >= kNumPrograms) return;
    applying.store(true, std::memory_order_relaxed);
    curProgram.store(0, std::memory_order_relaxed);
    currentProgram.store(i, std::memory_order_relaxed);
    // Value by value, as each is applied; this never waits for a writer.
    for (int index = 0; index < kNumUserParams; ++index) {
        const float v = bank.value(i, index);
        if (v >= 0.0f && v <= 1.0f) setParameter(index, v);
    }
    updateDisplay();
    beginEdit(0);
    endEdit(0);
    applying.store(false, std::memory_order_relaxed);
}

void CMidiPresetSystemEffect::renameCurrentProgram(const char* name)
{
    if (name != nullptr) {
        bank.setName(getCurrentProgramIndex(), name);
        if (panel != nullptr) panel->programNameChanged();
    }
    curProgram.store(0, std::memory_order_relaxed);
    updateDisplay();
}

void CMidiPresetSystemEffect::storeReferenceIntoProgram(int i)
{
    if (i >= 0 && i < kNumPrograms) bank.write(i, bank.read(ProgramBank::kReference));
}

void CMidiPresetSystemEffect::loadReferenceFromFirstProgram()
{
    bank.write(ProgramBank::kReference, bank.read(0));
    if (panel != nullptr) panel->referenceProgramChanged();
}

void CMidiPresetSystemEffect::writeFactoryPrograms()
{
    ProgramRecord factory[kNumPrograms];
    FactoryPrograms::write(factory);
    for (int p = 0; p < kNumPrograms; ++p) bank.write(p, factory[p]);
    bank.write(ProgramBank::kReference, factory[0]);
}

void CMidiPresetSystemEffect::afterParameterStored(int index, float value)
{
    if (index >= 0 && index < kNumUserParams && isPerformanceParameter(index)) {
        bank.setValueInAll(index, value);
    }
    if (index == param::kMidiChl) {
        // The channel step is MIDIchl's quantity, so it follows every change, applied or not.
        constexpr int kChannelPositions = 18;  // off, channels 1..16, all
        controllers.setChannelStep(switchPosition(sanitiseParameterValue(value), kChannelPositions));
    }
    if (!isApplyingProgram()) {
        if (index >= 0 && index < kNumUserParams) {
            bank.setValue(getCurrentProgramIndex(), index, value);
            if (controllers.isLearning()) controllers.setLearnTarget(index);
            if (controllers.isForgetting()) {
                controllers.unassignParameter(index);
                stopMidiForget();
            }
        } else if (index >= param::kFirstController && index <= param::kLastController) {
            controllers.setAssignmentValue(index - param::kFirstController, value);
        }
    }
    if (editor != nullptr) editor->setParameter(index, value);
}

void CMidiPresetSystemEffect::stopMidiLearn()
{
    controllers.stopMidiLearn();
    if (panel != nullptr) panel->midiLearnEnded();
}

void CMidiPresetSystemEffect::stopMidiForget()
{
    controllers.stopMidiForget();
    if (panel != nullptr) panel->midiForgetEnded();
}

void CMidiPresetSystemEffect::showLastController(int controller)
{
    if (panel != nullptr) panel->setLastController(controller);
}

// ---- MIDI ------------------------------------------------------------------------------------

int CMidiPresetSystemEffect::processEvents(vst::VstEvents* events)
{
    if (events == nullptr) return 1;
    constexpr std::uint8_t kControllerBits = 0xB0;  // control-change status
    constexpr int kMaxDataByte = 127;
    // The record's array is declared with two entries but holds numEvents: index it through a
    // plain pointer, as indexing the declared array past two is undefined.
    vst::VstEvent* const* list = events->events;
    for (int i = 0; i < events->numEvents; ++i) {
        const vst::VstEvent* event = list[i];
        if (event == nullptr || event->type != vst::kVstMidiType) continue;
        if (controllers.channelStep() == ControllerMap::kChannelOff) continue;
        const auto* midi = reinterpret_cast<const vst::VstMidiEvent*>(event);
        const auto status = static_cast<std::uint8_t>(midi->midiData[0]);
        if (!controllers.passesChannel(status)) continue;
        // Every status byte with these bits set counts as a controller message.
        if ((status & kControllerBits) != kControllerBits) continue;
        const int controller = static_cast<std::uint8_t>(midi->midiData[1]);
        int data = static_cast<std::uint8_t>(midi->midiData[2]);
        if (controller > kMaxDataByte) continue;  // not a data byte: no such controller
        if (controllers.isLearning() && controllers.learn(controller)) {
            if (panel != nullptr) panel->midiLearnEnded();
        }
        const int parameter = controllers.targetOfController(controller);
        if (parameter < 0 || parameter >= kNumUserParams) continue;
        controllers.markChanged();
        if (data > kMaxDataByte) data = kMaxDataByte;
        controllerMoved(parameter, controller, static_cast<float>(data) / static_cast<float>(kMaxDataByte));
    }
    return 1;
}

void CMidiPresetSystemEffect::controllerMoved(int parameter, int, float value) { setParameter(parameter, value); }

// ---- chunk -----------------------------------------------------------------------------------

int CMidiPresetSystemEffect::getChunk(void** data, bool)
{
    if (data == nullptr || chunkBuffer == nullptr || panel == nullptr) return 0;
    std::memset(chunkBuffer.get(), 0, kChunkSize);
    ByteWriter out(chunkBuffer.get(), kChunkSize);
    out.putI32(kChunkState);
    out.putI32(getUniqueId());
    panel->writeBankState(out);
    for (int index = 0; index < kNumUserParams; ++index)
        TaggedState::writeControllerRecord(out, index, getParameter(param::kFirstController + index));
    // The record count of the state header now includes the controller records.
    const std::size_t countOffset = kChunkHeaderSize + TaggedState::kNumRecordsOffset;
    std::int32_t count = 0;
    if (ByteReader(chunkBuffer.get(), out.size()).readI32(countOffset, count))
        out.patchI32(countOffset, count + kNumUserParams);
    if (out.overflowed()) return 0;
    *data = chunkBuffer.get();
    return static_cast<int>(out.size());
}

int CMidiPresetSystemEffect::setChunk(void* data, int byteSize, bool)
{
    if (data == nullptr || byteSize < static_cast<int>(kChunkHeaderSize) || chunkBuffer == nullptr) return -1;
    const ByteReader raw(data, static_cast<std::size_t>(byteSize));
    std::int32_t id = 0;
    raw.readI32(4, id);
    bool reversed;
    if (id == getUniqueId())
        reversed = false;
    else if (static_cast<std::uint32_t>(id) == ByteReader::swap32(static_cast<std::uint32_t>(getUniqueId())))
        reversed = true;
    else
        return -1;
    const ByteReader chunk = raw.withOrder(reversed);
    std::int32_t type = 0;
    chunk.readI32(0, type);
    switch (type) {
    case kChunkBankImage: return loadBankImage(chunk);
    case kChunkOlderState:
    case kChunkState: {
        const ByteReader state = chunk.from(kChunkHeaderSize);
        // A tagged chunk too short for its state header is damaged: rejected before anything
        // (the controller map included) changes.
        if (!state.has(0, TaggedState::kHeaderSize)) return -1;
        if (panel == nullptr) return 0;
        if (type == kChunkOlderState) {
            panel->loadProgramRecords(state, PresetPanel::RecordLayout::Older);
        } else {
            resetMidiMap();
            panel->loadControllerRecords(state);
            panel->loadProgramRecords(state, PresetPanel::RecordLayout::Current);
        }
        return 0;
    }
    default: return -1;
    }
}

int CMidiPresetSystemEffect::loadBankImage(const ByteReader& chunk)
{
    constexpr std::size_t kCountOffset = 8;
    constexpr std::size_t kCurrentOffset = 12;
    constexpr std::int64_t kNameBytes = kProgramNameSize;
    constexpr std::int64_t kValueBytes = 4;
    const ByteReader image = chunk.first(kBankImageSize);
    std::int32_t count = 0;
    std::int32_t current = 0;
    if (!image.readI32(kCountOffset, count) || !image.readI32(kCurrentOffset, current)) return -1;
    if (count <= 0) return -1;

    // Values per program, from the chunk's whole size; the programs are packed with that many.
    std::int64_t k =
        ((static_cast<std::int64_t>(chunk.size()) - static_cast<std::int64_t>(kBankImageProgramsOffset)) / count -
         kNameBytes) /
        kValueBytes;
    if (k < 0) k = 0;
    if (k > kNumUserParams) k = kNumUserParams;
    const std::size_t stride = static_cast<std::size_t>(kNameBytes + kValueBytes * k);
    const int programs = count < kNumPrograms ? count : kNumPrograms;

    for (int p = 0; p < programs; ++p) {
        const std::size_t at = kBankImageProgramsOffset + static_cast<std::size_t>(p) * stride;
        char name[kProgramNameSize];
        if (!image.readBytes(at, name, sizeof name)) return -1;  // the image ends early
        name[kProgramNameSize - 1] = '\0';
        // The set-up parameters are not part of a bank: the slot keeps its own, and takes the
        // rest of what the image does not hold from the reference program. The record is built
        // here and stored whole, also when a bad value ends the load half way through it.
        const ProgramRecord previous = bank.read(p);
        ProgramRecord program = bank.read(ProgramBank::kReference);
        for (int i = 0; i < kNumUserParams; ++i) {
            if (isGlobalParameter(i)) program.values[i] = previous.values[i];
        }
        setProgramRecordName(program, name);
        for (int i = 0; i < k; ++i) {
            if (isGlobalParameter(i)) continue;
            float v = 0.0f;
            if (!image.readF32(at + kNameBytes + kValueBytes * i, v) || !(v >= 0.0f && v <= 1.0f)) {
                bank.write(p, program);
                return -1;
            }
            program.values[i] = v;
        }
        bank.write(p, program);
    }
    if (k != 0) {
        // The bindings of the image, applied as setParameter(42 + index) so that the two
        // controller tables follow the stored values.
        for (int i = 0; i < k; ++i) {
            if (isGlobalParameter(i)) continue;
            float v = 0.0f;
            if (!image.readF32(kBankImageControllersOffset + kValueBytes * i, v)) break;
            setParameter(param::kFirstController + i, v);
        }
    }
    selectProgram(current >= 0 && current < kNumPrograms ? current : 0);
    return 0;
}

}  // namespace orv
