#include "params/TaggedState.h"

#include <cstring>

#include "params/ParameterIndex.h"

namespace orv {

void TaggedState::writeHeader(ByteWriter& out, const StateHeader& h)
{
    out.putI32(h.uniqueId);
    out.putU8(h.marker);
    out.putI32(h.formatWord);
    out.putI32(h.numParams);
    out.putI32(h.numRecords);
    out.putI32(h.currentProgram);
    out.putI32(h.recordBytes);
    out.putZeros(kHeaderZeroBytes);
}

bool TaggedState::readHeader(const ByteReader& state, StateHeader& h)
{
    if (!state.has(0, kHeaderSize)) return false;
    return state.readI32(kIdOffset, h.uniqueId) && state.readU8(kMarkerOffset, h.marker) &&
        state.readI32(kFormatOffset, h.formatWord) && state.readI32(kNumParamsOffset, h.numParams) &&
        state.readI32(kNumRecordsOffset, h.numRecords) && state.readI32(kCurrentProgramOffset, h.currentProgram) &&
        state.readI32(kRecordBytesOffset, h.recordBytes);
}

void TaggedState::writeProgramRecord(ByteWriter& out, int program, const char* name)
{
    char padded[kNameSize] = {};
    if (name != nullptr) std::memcpy(padded, name, strnlen(name, kNameSize - 1));
    out.putI32(kTagProgram);
    out.putI32(kProgramPayload);
    out.putI32(program);
    out.putBytes(padded, kNameSize);
    out.putZeros(kProgramPayload - kNameSize);
}

namespace {

void writeValueRecord(ByteWriter& out, std::int32_t tag, int program, int index, float value)
{
    out.putI32(tag);
    out.putI32(TaggedState::kValuePayload);
    out.putI32(program);
    out.putI32(index);
    out.putZeros(8);  // reserved
    out.putF32(value);
    out.putZeros(4);  // reserved
}

}  // namespace

void TaggedState::writeParameterRecord(ByteWriter& out, int program, int index, float value)
{
    writeValueRecord(out, kTagParameter, program, index, value);
}

void TaggedState::writeControllerRecord(ByteWriter& out, int index, float value)
{
    writeValueRecord(out, kTagController, 0, index, value);
}

bool TaggedState::readName(const ByteReader& payload, char (&name)[kNameSize])
{
    if (!payload.readBytes(0, name, kNameSize)) return false;
    name[kNameSize - 1] = '\0';
    return true;
}

bool TaggedState::readIndexAndValue(const ByteReader& payload, std::int32_t& index, float& value)
{
    return payload.readI32(0, index) && payload.readF32(kValueOffsetInPayload, value);
}

int TaggedState::translateLegacyIndex(int index, float& value)
{
    constexpr int kLegacyMidiChannel = 35;
    constexpr float kNeutral = 0.5f;  // the value those set-up parameters take
    if (index >= param::kSpkrConf && index <= param::kMechRatio) {
        value = kNeutral;
        return index;
    }
    if (index == kLegacyMidiChannel) return param::kMidiChl;
    return index;
}

}  // namespace orv
