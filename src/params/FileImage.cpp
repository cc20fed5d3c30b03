#include "params/FileImage.h"

namespace orv {

namespace {

StateHeader imageHeader(std::int32_t uniqueId, std::uint8_t marker, std::int32_t records, std::int32_t recordBytes)
{
    StateHeader h;
    h.uniqueId = uniqueId;
    h.marker = marker;
    h.formatWord = TaggedState::kFormatWord;
    h.numParams = kNumUserParams;
    h.numRecords = records;
    h.currentProgram = 0;
    h.recordBytes = recordBytes;
    return h;
}

}  // namespace

FileImage::Kind FileImage::kindOf(std::uint8_t marker)
{
    switch (marker) {
    case kMarkerPresetRaw:
    case kMarkerPresetOlder:
    case kMarkerPreset: return Kind::Preset;
    case kMarkerBankRaw:
    case kMarkerBankOlder:
    case kMarkerBank: return Kind::Bank;
    case kMarkerMidiRaw:
    case kMarkerMidi: return Kind::MidiSettings;
    default: return Kind::None;
    }
}

bool FileImage::open(const void* data, std::size_t size, std::int32_t uniqueId, bool invertOrder, FileImageView& view)
{
    if (data == nullptr || size < kIdAndMarkerSize) return false;
    const ByteReader raw(data, size);
    std::int32_t id = 0;
    std::uint8_t marker = 0;
    if (!raw.readI32(TaggedState::kIdOffset, id) || !raw.readU8(TaggedState::kMarkerOffset, marker)) return false;
    bool reversed;
    if (id == uniqueId)
        reversed = false;
    else if (static_cast<std::uint32_t>(id) == ByteReader::swap32(static_cast<std::uint32_t>(uniqueId)))
        reversed = true;
    else
        return false;
    if (invertOrder) reversed = !reversed;
    if (kindOf(marker) == Kind::None) return false;

    FileImageView v;
    v.marker = marker;
    v.reversed = reversed;
    v.imageSize = size;
    const ByteReader image = raw.withOrder(reversed);
    v.rest = image.from(kIdAndMarkerSize);
    v.tagged = marker == kMarkerPresetOlder || marker == kMarkerPreset || marker == kMarkerBankOlder ||
        marker == kMarkerBank || marker == kMarkerMidi;
    if (v.tagged) {
        if (!TaggedState::readHeader(image, v.header)) return false;
        // The record-size field is taken as an unsigned count, as a byte count read from a file
        // is; the records end there or at the end of the data, whichever comes first.
        const auto recordBytes = static_cast<std::uint32_t>(v.header.recordBytes);
        v.state = image.first(TaggedState::kHeaderSize + static_cast<std::size_t>(recordBytes));
    }
    view = v;
    return true;
}

std::size_t FileImage::writePreset(ByteWriter& out, std::int32_t uniqueId, const ProgramRecord& program)
{
    const std::size_t start = out.size();
    TaggedState::writeHeader(out, imageHeader(uniqueId, kMarkerPreset, kPresetRecords, kPresetRecordBytes));
    char name[kProgramNameSize];
    // The stored name is terminated within its 24 bytes; the copy makes sure of it.
    for (int i = 0; i < kProgramNameSize; ++i) name[i] = program.name[i];
    name[kProgramNameSize - 1] = '\0';
    TaggedState::writeProgramRecord(out, 0, name);
    for (int i = 0; i < kNumUserParams; ++i) TaggedState::writeParameterRecord(out, 0, i, program.values[i]);
    return out.size() - start;
}

std::size_t FileImage::writeMidiSettings(ByteWriter& out, std::int32_t uniqueId,
                                         const float (&assignments)[kNumUserParams])
{
    const std::size_t start = out.size();
    TaggedState::writeHeader(out, imageHeader(uniqueId, kMarkerMidi, kMidiRecords, kMidiRecordBytes));
    for (int i = 0; i < kNumUserParams; ++i) TaggedState::writeControllerRecord(out, i, assignments[i]);
    return out.size() - start;
}

std::int64_t FileImage::rawPresetValueCount(std::size_t imageSize)
{
    constexpr std::int64_t kValueBytes = 4;
    return (static_cast<std::int64_t>(imageSize) - static_cast<std::int64_t>(kRawPresetValuesOffset)) / kValueBytes;
}

std::int64_t FileImage::rawBankValuesPerProgram(std::size_t imageSize)
{
    constexpr std::int64_t kValueBytes = 4;
    const std::int64_t perProgram =
        (static_cast<std::int64_t>(imageSize) - static_cast<std::int64_t>(kIdAndMarkerSize)) / kRawBankPrograms;
    return (perProgram - kProgramNameSize) / kValueBytes;
}

std::int64_t FileImage::rawMidiValueCount(std::size_t imageSize)
{
    constexpr std::int64_t kValueBytes = 4;
    return (static_cast<std::int64_t>(imageSize) - static_cast<std::int64_t>(kIdAndMarkerSize)) / kValueBytes;
}

}  // namespace orv
