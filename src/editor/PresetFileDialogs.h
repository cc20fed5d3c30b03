// The panel's file dialogs: load and save presets, banks and MIDI settings through the toolkit's
// file selector, with the current directory and a current file name per kind. A dialog runs
// while the editor's frame idles; its answer is acted on once it closes, and only when exactly
// one file was chosen.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class CFrame;
class CNewFileSelector;
class FileImageLoader;

class PresetFileDialogs {
public:
    enum class FileKind { Preset, Bank, MidiSettings };

    // Files larger than this are not taken for images (the largest written image is a bank of
    // 72617 bytes).
    static constexpr std::size_t kMaxFileBytes = 16 << 20;

    // frameSource answers the frame the dialogs belong to: the editor's while its window is
    // open, else null, and then the dialog operations do nothing.
    PresetFileDialogs(FileImageLoader& loader, std::function<CFrame*()> frameSource);
    ~PresetFileDialogs();

    // Each answers whether its dialog was started. endianReversed: the user's choice to read the
    // file in the byte order its ID does not name.
    bool loadPresetDialog(bool endianReversed);
    bool savePresetDialog();
    bool loadBankDialog(bool endianReversed);
    bool saveBankDialog();
    bool loadMidiSettingsDialog(bool endianReversed);
    bool saveMidiSettingsDialog();

    const std::string& currentDirectory() const { return directory_; }
    void setCurrentDirectory(const std::string& directory) { directory_ = directory; }
    const std::string& currentFileName(FileKind kind) const { return names_[static_cast<int>(kind)]; }
    void setCurrentFileName(FileKind kind, const std::string& name) { names_[static_cast<int>(kind)] = name; }

    // What a dialog does with the one chosen file: the path becomes the current directory and
    // file name of the kind, then the file is loaded (any image kind, by its marker) or written.
    // Answer whether the file could be read or written.
    bool loadFile(FileKind kind, const std::string& path, bool endianReversed);
    bool saveFile(FileKind kind, const std::string& path);

    // Splits a path at its last separator into directory and file name; a path without one
    // leaves the directory empty.
    static void splitPath(const std::string& path, std::string& directory, std::string& name);

private:
    bool runDialog(FileKind kind, bool save, bool endianReversed);
    std::vector<unsigned char> imageOf(FileKind kind) const;

    FileImageLoader& loader_;
    std::function<CFrame*()> frameSource_;
    CNewFileSelector* running_ = nullptr;  // the last dialog started, until its answer is handled
    std::string directory_;
    std::string names_[3];
};

}  // namespace orv
