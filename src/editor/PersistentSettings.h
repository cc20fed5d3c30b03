// What the panel keeps in the per-user settings store: a default bank, preset and MIDI settings
// that every new instance loads, two memo slots, the file dialogs' current directory and file
// names, and the path of the user manual (written by the installer, only read here).
#pragma once

#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "platform/StderrMessageBox.h"

namespace orv {

class EditorEffect;
class FileImageLoader;
class MessageBox;
class PresetFileDialogs;

class PersistentSettings {
public:
    // Value names.
    static constexpr const char* kDefaultBank = "DefaultBank";
    static constexpr const char* kDefaultPreset = "DefaultPreset";
    static constexpr const char* kDefaultMidi = "DefaultMidi";
    static constexpr const char* kMemoA = "MemoA";
    static constexpr const char* kMemoB = "MemoB";
    static constexpr const char* kCurrDir = "CurrDir";
    static constexpr const char* kCurrBank = "CurrBank";
    static constexpr const char* kCurrPreset = "CurrPreset";
    static constexpr const char* kCurrMidi = "CurrMidi";
    static constexpr const char* kManualPath = "ManualPath";

    // Longest texts kept: the file locations hold at most 255 characters, the manual's path
    // 1024 (what fits the fixed buffers these values are read into, with their terminators).
    static constexpr std::size_t kMaxLocationCharacters = 255;
    static constexpr std::size_t kMaxManualPathCharacters = 1024;

    // Message box titles and texts of openManual.
    static constexpr const char* kNoApplicationTitle = "Could not open manual file";
    static constexpr const char* kNoApplicationText = "Make sure Acrobat Reader is installed";
    static constexpr const char* kOpenFailedTitle = "";
    static constexpr const char* kOpenFailedText = "Could not open user manual";

    // The store is the user's, looked up now.
    PersistentSettings(EditorEffect& effect, FileImageLoader& loader, PresetFileDialogs& dialogs);

    void storeDefaultBank();
    void clearDefaultBank();
    void loadDefaultBank();
    void storeDefaultPreset();
    void clearDefaultPreset();
    void loadDefaultPreset();
    void storeDefaultMidi();
    void clearDefaultMidi();
    void loadDefaultMidi();
    void storeMemoA();
    void storeMemoB();
    void recallMemoA();
    void recallMemoB();
    void saveFileLocations();
    void loadFileLocations();

    // Run once while the effect is built, after the factory programs are written: the default
    // bank (program 0 current), the default preset into program 0, the default MIDI settings and
    // the file locations.
    void loadStartupState();

    // Opens the user manual named by "ManualPath" with the desktop's viewer; tells the user with a
    // message box when that is not possible.
    void openManual();

    // Where messages go: the editor's modal view once its window exists, else the standard
    // error stream. Not owned; null restores the standard error stream.
    void setMessageBox(MessageBox* box);

    SettingsStore& store() { return store_; }

private:
    void storeImage(const char* name, const std::vector<unsigned char>& image);
    void loadImage(const char* name);

    EditorEffect& effect_;
    FileImageLoader& loader_;
    PresetFileDialogs& dialogs_;
    SettingsStore store_;
    StderrMessageBox stderrBox_;
    MessageBox* messageBox_;
};

}  // namespace orv
