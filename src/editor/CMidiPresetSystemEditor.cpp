#include "editor/CMidiPresetSystemEditor.h"

#include <cstdio>

#include "host/AudioEffect.h"
#include "params/ParameterIndex.h"
#include "params/TaggedRecordReader.h"
#include "params/TaggedState.h"

namespace orv {

namespace {

constexpr int kOlderLayoutPrograms = 32;  // programs 0..31 in the older layout

// Keeps a stored value inside 0..1; values below 0 or not a number become 0. Reports what it
// changed on the standard error stream, followed by the program's name.
float clampStoredValue(float value, int index, int program, const char* name, const char* operation)
{
    float clamped = value;
    if (!(value >= 0.0f))
        clamped = 0.0f;
    else if (value > 1.0f)
        clamped = 1.0f;
    else
        return value;
    std::fprintf(stderr, "Invalid parameter %d value %f on %s of preset %d ", index, static_cast<double>(value),
                 operation, program);
    std::fputs(name, stderr);
    std::fputc('\n', stderr);
    return clamped;
}

}  // namespace

CMidiPresetSystemEditor::CMidiPresetSystemEditor(AudioEffect* effect, EditorEffect* access)
    : AEffGUIEditor(effect), presetEffect_(access), loader_(std::make_unique<FileImageLoader>(*this)),
      dialogs_(std::make_unique<PresetFileDialogs>(*loader_, [this] { return getFrame(); })),
      settings_(std::make_unique<PersistentSettings>(*access, *loader_, *dialogs_))
{}

// The file dialogs' locations are kept for the next use of the effect.
CMidiPresetSystemEditor::~CMidiPresetSystemEditor() { settings_->saveFileLocations(); }

bool CMidiPresetSystemEditor::open(void* ptr)
{
    AEffGUIEditor::open(ptr);
    if (frame == nullptr || presetEffect_ == nullptr) return true;
    panelView_.open(frame, this);
    messageBox_.setFrame(frame, systemWindow_);
    settings_->setMessageBox(&messageBox_);
    return true;
}

void CMidiPresetSystemEditor::close()
{
    panelView_.close();
    settings_->setMessageBox(nullptr);
    messageBox_.setFrame(nullptr);
    AEffGUIEditor::close();
}

void CMidiPresetSystemEditor::idle()
{
    applyEndedModes();
    if (!idleSuppressed_) AEffGUIEditor::idle();
    panelView_.idle();
}

void CMidiPresetSystemEditor::applyEndedModes()
{
    if (presetEffect_ == nullptr) return;
    const ControllerMap& map = presetEffect_->controllerMap();
    if (learnEnded_.exchange(false, std::memory_order_acquire) && !map.isLearning()) onLearnEnded();
    if (forgetEnded_.exchange(false, std::memory_order_acquire) && !map.isForgetting()) onForgetEnded();
}

// A gesture that ends a mode (learn pressed while forgetting) shows it at once.
void CMidiPresetSystemEditor::valueChanged(CControl* control)
{
    panelView_.valueChanged(control);
    applyEndedModes();
}

std::size_t CMidiPresetSystemEditor::writeBankState(ByteWriter& out)
{
    const std::size_t start = out.size();
    StateHeader header;
    header.uniqueId = presetEffect_->getUniqueId();
    header.marker = TaggedState::kMarkerBank;
    header.formatWord = TaggedState::kFormatWord;
    header.numParams = kNumUserParams;
    header.numRecords = kNumPrograms * (1 + kNumUserParams);
    header.currentProgram = presetEffect_->getCurrentProgramIndex();
    header.recordBytes = static_cast<std::int32_t>(
        kNumPrograms * (TaggedState::kProgramRecordSize + kNumUserParams * TaggedState::kValueRecordSize));
    TaggedState::writeHeader(out, header);
    for (int p = 0; p < kNumPrograms; ++p) {
        // Each record as one write left it, even while other threads write the bank.
        const ProgramRecord program = presetEffect_->getProgramRecord(p);
        char name[kProgramNameSize];
        copyText(name, program.name, kProgramNameSize);
        TaggedState::writeProgramRecord(out, p, name);
        for (int i = 0; i < kNumUserParams; ++i)
            TaggedState::writeParameterRecord(out, p, i, clampStoredValue(program.values[i], i, p, name, "save"));
    }
    return out.size() - start;
}

void CMidiPresetSystemEditor::loadProgramRecords(const ByteReader& state, RecordLayout layout)
{
    StateHeader header;
    if (!TaggedState::readHeader(state, header)) return;
    if (header.numRecords < 0) return;
    const bool older = layout == RecordLayout::Older;
    const int programs = older ? kOlderLayoutPrograms : kNumPrograms;
    const int current = header.currentProgram >= 0 && header.currentProgram < programs ? header.currentProgram : 0;

    // Every value is clamped into 0..1 on the way in, so a load never has to be rolled back.
    TaggedRecordReader records(state.from(TaggedState::kHeaderSize), header.numRecords);
    TaggedRecord record;
    while (records.next(record)) {
        if (record.program < 0 || record.program >= programs) continue;
        ProgramBank& bank = presetEffect_->programBank();
        if (record.tag == TaggedState::kTagProgram) {
            char name[TaggedState::kNameSize];
            if (!TaggedState::readName(record.payload, name)) continue;
            presetEffect_->storeReferenceIntoProgram(record.program);
            bank.setName(record.program, name);
            programListEntryChanged(record.program);
        } else if (record.tag == TaggedState::kTagParameter) {
            std::int32_t index = 0;
            float value = 0.0f;
            if (!TaggedState::readIndexAndValue(record.payload, index, value)) continue;
            char name[kProgramNameSize];
            bank.readName(record.program, name);
            value = clampStoredValue(value, index, record.program, name, "load");
            if (older) index = TaggedState::translateLegacyIndex(index, value);
            if (index >= 0 && index < kNumUserParams) bank.setValue(record.program, index, value);
        }
    }
    currentProgramLoaded(current);
    presetEffect_->selectProgram(current);
}

void CMidiPresetSystemEditor::loadControllerRecords(const ByteReader& state)
{
    StateHeader header;
    if (!TaggedState::readHeader(state, header)) return;
    TaggedRecordReader records(state.from(TaggedState::kHeaderSize), header.numRecords);
    TaggedRecord record;
    while (records.next(record)) {
        if (record.tag != TaggedState::kTagController) continue;
        std::int32_t index = 0;
        float value = 0.0f;
        if (!TaggedState::readIndexAndValue(record.payload, index, value)) continue;
        if (index < 0 || index >= kNumUserParams || !(value >= 0.0f && value <= 1.0f)) continue;
        presetEffect_->setParameter(param::kFirstController + index, value);
    }
}

}  // namespace orv
