#include "editor/PersistentSettings.h"

#include <vector>

#include "editor/EditorEffect.h"
#include "editor/FileImageLoader.h"
#include "editor/PresetFileDialogs.h"
#include "platform/ShellOpen.h"

namespace orv {

namespace {

struct LocationValue {
    const char* name;
    bool isDirectory;
    PresetFileDialogs::FileKind kind;
};

constexpr LocationValue kLocations[] = {
    {PersistentSettings::kCurrDir, true, PresetFileDialogs::FileKind::Preset},
    {PersistentSettings::kCurrBank, false, PresetFileDialogs::FileKind::Bank},
    {PersistentSettings::kCurrPreset, false, PresetFileDialogs::FileKind::Preset},
    {PersistentSettings::kCurrMidi, false, PresetFileDialogs::FileKind::MidiSettings},
};

}  // namespace

PersistentSettings::PersistentSettings(EditorEffect& effect, FileImageLoader& loader, PresetFileDialogs& dialogs)
    : effect_(effect), loader_(loader), dialogs_(dialogs), messageBox_(&stderrBox_)
{}

void PersistentSettings::setMessageBox(MessageBox* box) { messageBox_ = box != nullptr ? box : &stderrBox_; }

void PersistentSettings::storeImage(const char* name, const std::vector<unsigned char>& image)
{
    store_.setBinary(name, image.data(), image.size());  // a failed write is not reported
}

void PersistentSettings::loadImage(const char* name)
{
    std::vector<unsigned char> image;
    if (!store_.getBinary(name, image)) return;
    // Stored images are taken in the order their ID names; the loaders ignore short or foreign
    // ones.
    loader_.load(image.data(), image.size(), false);
}

void PersistentSettings::storeDefaultBank() { storeImage(kDefaultBank, loader_.bankImage()); }
void PersistentSettings::clearDefaultBank() { store_.remove(kDefaultBank); }
void PersistentSettings::loadDefaultBank() { loadImage(kDefaultBank); }
void PersistentSettings::storeDefaultPreset() { storeImage(kDefaultPreset, loader_.presetImage()); }
void PersistentSettings::clearDefaultPreset() { store_.remove(kDefaultPreset); }
void PersistentSettings::loadDefaultPreset() { loadImage(kDefaultPreset); }
void PersistentSettings::storeDefaultMidi() { storeImage(kDefaultMidi, loader_.midiSettingsImage()); }
void PersistentSettings::clearDefaultMidi() { store_.remove(kDefaultMidi); }
void PersistentSettings::loadDefaultMidi() { loadImage(kDefaultMidi); }
void PersistentSettings::storeMemoA() { storeImage(kMemoA, loader_.presetImage()); }
void PersistentSettings::storeMemoB() { storeImage(kMemoB, loader_.presetImage()); }
void PersistentSettings::recallMemoA() { loadImage(kMemoA); }
void PersistentSettings::recallMemoB() { loadImage(kMemoB); }

void PersistentSettings::saveFileLocations()
{
    for (const LocationValue& v : kLocations) {
        const std::string& text = v.isDirectory ? dialogs_.currentDirectory() : dialogs_.currentFileName(v.kind);
        store_.setString(v.name, SettingsStore::firstCharacters(text, kMaxLocationCharacters));
    }
}

void PersistentSettings::loadFileLocations()
{
    for (const LocationValue& v : kLocations) {
        std::string text;
        if (!store_.getString(v.name, text)) continue;  // a missing value leaves the current one
        text = SettingsStore::firstCharacters(text, kMaxLocationCharacters);
        if (v.isDirectory)
            dialogs_.setCurrentDirectory(text);
        else
            dialogs_.setCurrentFileName(v.kind, text);
    }
}

void PersistentSettings::loadStartupState()
{
    loadDefaultBank();
    effect_.selectProgram(0);
    loadDefaultPreset();
    loadDefaultMidi();
    loadFileLocations();
}

void PersistentSettings::openManual()
{
    std::string path;
    if (store_.getString(kManualPath, path)) path = SettingsStore::firstCharacters(path, kMaxManualPathCharacters);
    switch (ShellOpen::openDocument(path)) {
    case ShellOpen::Result::Opened: break;
    case ShellOpen::Result::NoApplication: messageBox_->show(kNoApplicationTitle, kNoApplicationText); break;
    case ShellOpen::Result::Failed: messageBox_->show(kOpenFailedTitle, kOpenFailedText); break;
    }
}

}  // namespace orv
