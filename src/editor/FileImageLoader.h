// Loads preset, bank and MIDI-settings images into the effect and builds the images that the
// panel saves: the readers and writers behind the file dialogs, the defaults and the memos.
// Images come from files or the settings store; the loaders keep the program store and the
// panel in step (program list, name display, current program).
#pragma once

#include <cstddef>
#include <vector>

#include "params/FileImage.h"
#include "params/ProgramRecord.h"

namespace orv {

class CMidiPresetSystemEditor;
class EditorEffect;

class FileImageLoader {
public:
    explicit FileImageLoader(CMidiPresetSystemEditor& editor);

    // Loads an image of any of the eight kinds, chosen by its marker: presets into the current
    // program, banks into all programs (program 0 current afterwards), MIDI settings into the
    // controller map (bindings the image does not name stay). invertOrder swaps the byte-order
    // decision made from the ID. Answers the kind handed to its loader, None when the image was
    // rejected before (too short, foreign ID, unknown marker); the loaders' own value checks
    // may still have loaded nothing.
    FileImage::Kind load(const void* data, std::size_t size, bool invertOrder);

    // Images of the current state: the current program (1553 bytes), all programs with the
    // current one named (72617 bytes) and the controller bindings (1385 bytes).
    std::vector<unsigned char> presetImage() const;
    std::vector<unsigned char> bankImage() const;
    std::vector<unsigned char> midiSettingsImage() const;

private:
    void loadPreset(const FileImageView& view);
    bool readTaggedPreset(const FileImageView& view, ProgramRecord& program, char (&name)[kProgramNameSize]);
    bool readRawPreset(const FileImageView& view, ProgramRecord& program, const ProgramRecord& previous,
                       char (&name)[kProgramNameSize]);
    void loadBank(const FileImageView& view);
    void loadRawBank(const FileImageView& view);
    void loadMidiSettings(const FileImageView& view);
    void loadRawMidiSettings(const FileImageView& view);

    CMidiPresetSystemEditor& editor_;
    EditorEffect& effect_;
};

}  // namespace orv
