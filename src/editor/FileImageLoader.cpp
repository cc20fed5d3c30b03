#include "editor/FileImageLoader.h"

#include <cstring>
#include <memory>

#include "editor/CMidiPresetSystemEditor.h"
#include "editor/EditorEffect.h"
#include "params/ParameterIndex.h"
#include "params/TaggedRecordReader.h"

namespace orv {

namespace {

constexpr std::size_t kValueBytes = 4;  // one 32-bit value

bool isNormalised(float v) { return v >= 0.0f && v <= 1.0f; }  // false for not-a-number too

}  // namespace

FileImageLoader::FileImageLoader(CMidiPresetSystemEditor& editor) : editor_(editor), effect_(*editor.presetEffect()) {}

FileImage::Kind FileImageLoader::load(const void* data, std::size_t size, bool invertOrder)
{
    FileImageView view;
    if (!FileImage::open(data, size, effect_.getUniqueId(), invertOrder, view)) return FileImage::Kind::None;
    const FileImage::Kind kind = FileImage::kindOf(view.marker);
    switch (kind) {
    case FileImage::Kind::Preset: loadPreset(view); break;
    case FileImage::Kind::Bank: loadBank(view); break;
    case FileImage::Kind::MidiSettings: loadMidiSettings(view); break;
    case FileImage::Kind::None: break;
    }
    return kind;
}

// ---- presets ---------------------------------------------------------------------------------

void FileImageLoader::loadPreset(const FileImageView& view)
{
    const int current = effect_.getCurrentProgramIndex();
    // The program is built from the reference program here and stored whole once it is good.
    const ProgramRecord previous = effect_.getProgramRecord(current);
    ProgramRecord program = effect_.getReferenceProgram();
    // A preset without a name record keeps the name the reference program gave.
    char name[kProgramNameSize];
    std::memcpy(name, program.name, kProgramNameSize);
    name[kProgramNameSize - 1] = '\0';

    const bool ok = view.marker == FileImage::kMarkerPresetRaw ? readRawPreset(view, program, previous, name)
                                                               : readTaggedPreset(view, program, name);
    if (!ok) return;
    effect_.programBank().write(current, program);
    editor_.currentProgramLoaded(current);
    effect_.renameCurrentProgram(name);
    effect_.selectProgram(current);
}

bool FileImageLoader::readTaggedPreset(const FileImageView& view, ProgramRecord& program,
                                       char (&name)[kProgramNameSize])
{
    const bool older = view.marker == FileImage::kMarkerPresetOlder;
    // A preset is loaded whole or not at all: a negative count, or records that end before the
    // count says (truncated data, a length running past the end, the wrong byte order) reject it.
    if (view.header.numRecords < 0) return false;
    TaggedRecordReader records(view.state.from(TaggedState::kHeaderSize), view.header.numRecords);
    TaggedRecord record;
    std::int32_t read = 0;
    while (records.next(record)) {
        ++read;
        if (record.tag == TaggedState::kTagProgram) {
            char stored[TaggedState::kNameSize];
            if (!TaggedState::readName(record.payload, stored)) return false;
            std::memcpy(name, stored, kProgramNameSize);
        } else if (record.tag == TaggedState::kTagParameter) {
            std::int32_t index = 0;
            float value = 0.0f;
            if (!TaggedState::readIndexAndValue(record.payload, index, value)) return false;
            // Every stored value is checked as it stands, before the older layout's translation.
            if (!isNormalised(value)) return false;
            if (older) index = TaggedState::translateLegacyIndex(index, value);
            if (index >= 0 && index < kNumUserParams) program.values[index] = value;
        }
        // Records of other kinds are passed over; the program index field is not used.
    }
    return read == view.header.numRecords;
}

bool FileImageLoader::readRawPreset(const FileImageView& view, ProgramRecord& program, const ProgramRecord& previous,
                                    char (&name)[kProgramNameSize])
{
    if (!view.rest.readBytes(0, name, kProgramNameSize)) return false;
    name[kProgramNameSize - 1] = '\0';
    const std::int64_t count = FileImage::rawPresetValueCount(view.imageSize);
    const int n = count < kNumUserParams ? static_cast<int>(count) : kNumUserParams;
    for (int i = 0; i < kNumUserParams; ++i) {
        // Set-up parameters are not taken from a raw preset: the program keeps its own.
        if (effect_.isGlobalParameter(i)) {
            program.values[i] = previous.values[i];
            continue;
        }
        if (i >= n) continue;
        float value = 0.0f;
        if (!view.rest.readF32(kProgramNameSize + kValueBytes * static_cast<std::size_t>(i), value)) return false;
        if (!isNormalised(value)) return false;
        program.values[i] = value;
    }
    return true;
}

// ---- banks -----------------------------------------------------------------------------------

void FileImageLoader::loadBank(const FileImageView& view)
{
    switch (view.marker) {
    case FileImage::kMarkerBank: editor_.loadProgramRecords(view.state, PresetPanel::RecordLayout::Current); break;
    case FileImage::kMarkerBankOlder: editor_.loadProgramRecords(view.state, PresetPanel::RecordLayout::Older); break;
    default: loadRawBank(view); break;
    }
    // Whatever the image held, the panel shows the whole list again and program 0 is current.
    for (int p = 0; p < kNumPrograms; ++p) editor_.programListEntryChanged(p);
    editor_.currentProgramLoaded(0);
    effect_.selectProgram(0);
}

void FileImageLoader::loadRawBank(const FileImageView& view)
{
    ProgramBank& bank = effect_.programBank();
    auto saved = std::make_unique<ProgramRecord[]>(kNumPrograms);
    for (int p = 0; p < kNumPrograms; ++p) saved[p] = bank.read(p);
    const auto restore = [&] {
        for (int p = 0; p < kNumPrograms; ++p) bank.write(p, saved[p]);
    };

    // The programs are packed with k values each, k taken from the image's size; at most 42 of
    // them are used.
    std::int64_t k = FileImage::rawBankValuesPerProgram(view.imageSize);
    if (k < 0) k = 0;
    const std::size_t stride = kProgramNameSize + kValueBytes * static_cast<std::size_t>(k);
    const int used = k < kNumUserParams ? static_cast<int>(k) : kNumUserParams;

    for (int p = 0; p < kNumPrograms; ++p) {
        const std::size_t at = static_cast<std::size_t>(p) * stride;
        char name[kProgramNameSize];
        // An image too short for all 48 names is damaged: nothing of it stays.
        if (!view.rest.readBytes(at, name, kProgramNameSize)) {
            restore();
            return;
        }
        name[kProgramNameSize - 1] = '\0';
        ProgramRecord program = bank.read(ProgramBank::kReference);
        for (int i = 0; i < kNumUserParams; ++i) {
            // Set-up parameters are not part of a bank: each program keeps its own.
            if (effect_.isGlobalParameter(i)) program.values[i] = saved[p].values[i];
        }
        setProgramRecordName(program, name);
        for (int i = 0; i < used; ++i) {
            if (effect_.isGlobalParameter(i)) continue;
            float value = 0.0f;
            if (!view.rest.readF32(at + kProgramNameSize + kValueBytes * static_cast<std::size_t>(i), value) ||
                !isNormalised(value)) {
                restore();
                return;
            }
            program.values[i] = value;
        }
        bank.write(p, program);
        editor_.programListEntryChanged(p);
    }
}

// ---- MIDI settings ---------------------------------------------------------------------------

void FileImageLoader::loadMidiSettings(const FileImageView& view)
{
    if (view.marker == FileImage::kMarkerMidi)
        editor_.loadControllerRecords(view.state);  // existing bindings are not cleared first
    else
        loadRawMidiSettings(view);
}

void FileImageLoader::loadRawMidiSettings(const FileImageView& view)
{
    const std::int64_t count = FileImage::rawMidiValueCount(view.imageSize);
    const int n = count < kNumUserParams ? static_cast<int>(count) : kNumUserParams;
    for (int i = 0; i < n; ++i) {
        if (effect_.isGlobalParameter(i)) continue;
        float value = 0.0f;
        if (!view.rest.readF32(kValueBytes * static_cast<std::size_t>(i), value) || !isNormalised(value)) return;
        effect_.setParameter(param::kFirstController + i, value);
    }
}

// ---- images of the current state -------------------------------------------------------------

std::vector<unsigned char> FileImageLoader::presetImage() const
{
    std::vector<unsigned char> image(FileImage::kPresetImageSize);
    ByteWriter out(image.data(), image.size());
    FileImage::writePreset(out, effect_.getUniqueId(), effect_.getProgramRecord(effect_.getCurrentProgramIndex()));
    image.resize(out.size());
    return image;
}

std::vector<unsigned char> FileImageLoader::bankImage() const
{
    std::vector<unsigned char> image(FileImage::kBankImageSize);
    ByteWriter out(image.data(), image.size());
    editor_.writeBankState(out);
    image.resize(out.size());
    return image;
}

std::vector<unsigned char> FileImageLoader::midiSettingsImage() const
{
    float assignments[kNumUserParams];
    for (int i = 0; i < kNumUserParams; ++i) assignments[i] = effect_.getParameter(param::kFirstController + i);
    std::vector<unsigned char> image(FileImage::kMidiImageSize);
    ByteWriter out(image.data(), image.size());
    FileImage::writeMidiSettings(out, effect_.getUniqueId(), assignments);
    image.resize(out.size());
    return image;
}

}  // namespace orv
