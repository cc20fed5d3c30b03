// Editor object of the program and MIDI system. The effect creates it with itself and keeps it
// for its whole life, window open or not: it writes and reads the state part of chunks and bank
// files, and holds what the preset and MIDI panel shows (program list, name, learn and forget
// state, last received controller).
#pragma once

#include <atomic>
#include <memory>

#include "editor/EditorEffect.h"
#include "editor/EditorMessageBox.h"
#include "editor/FileImageLoader.h"
#include "editor/PersistentSettings.h"
#include "editor/PresetFileDialogs.h"
#include "editor/PresetPanelView.h"
#include "host/AEffGUIEditor.h"
#include "params/PresetPanel.h"
#include "platform/OleLibrary.h"
#include "toolkit/CControlListener.h"

namespace orv {

class CMidiPresetSystemEditor : public AEffGUIEditor, public CControlListener, public PresetPanel {
public:
    // effect is the host-facing object the window glue reports gestures to; access is the
    // same effect as the editor sees it.
    CMidiPresetSystemEditor(AudioEffect* effect, EditorEffect* access);
    ~CMidiPresetSystemEditor() override;

    // Window side: the panel's controls join the frame that the concrete editor created (on
    // top of its own controls) and leave it on close; message boxes appear inside the window
    // while it is open.
    bool open(void* ptr) override;
    void close() override;
    // The learn and forget buttons follow modes that ended since the last idle, then the
    // frame's idle (unless suppressed), then the panel: controller display, program list.
    void idle() override;
    // Acts on the panel's tags (196 to 215) only.
    void valueChanged(CControl* control) override;

    // The panel's buttons follow the effect's learn and forget modes (user-interface thread).
    virtual void onLearnEnded() { panelView_.onLearnEnded(); }
    virtual void onForgetEnded() { panelView_.onForgetEnded(); }
    virtual void showProgramName(const char* name) { panelView_.showProgramName(name); }

    void setIdleSuppressed(bool state) { idleSuppressed_ = state; }
    PresetPanelView& panelView() { return panelView_; }

    // State part of chunks and bank files.
    std::size_t writeBankState(ByteWriter& out) override;
    void loadProgramRecords(const ByteReader& state, RecordLayout layout) override;
    void loadControllerRecords(const ByteReader& state) override;

    // Panel notifications. Names may change on any thread; the panel's program list and name
    // field pick them up at the next idle.
    void programNameChanged() override {}
    void referenceProgramChanged() override {}
    // Any thread: noted here, acted on (onLearnEnded, onForgetEnded) at the next idle.
    void midiLearnEnded() override { learnEnded_.store(true, std::memory_order_release); }
    void midiForgetEnded() override { forgetEnded_.store(true, std::memory_order_release); }

    void setLastController(int controller) override { lastController_.store(controller, std::memory_order_relaxed); }
    int lastController() const override { return lastController_.load(std::memory_order_relaxed); }

    EditorEffect* presetEffect() const { return presetEffect_; }

    // Preset, bank and MIDI-settings files through the file dialogs (while the window is open).
    bool loadPresetDialog(bool endianReversed) { return dialogs_->loadPresetDialog(endianReversed); }
    bool savePresetDialog() { return dialogs_->savePresetDialog(); }
    bool loadBankDialog(bool endianReversed) { return dialogs_->loadBankDialog(endianReversed); }
    bool saveBankDialog() { return dialogs_->saveBankDialog(); }
    bool loadMidiSettingsDialog(bool endianReversed) { return dialogs_->loadMidiSettingsDialog(endianReversed); }
    bool saveMidiSettingsDialog() { return dialogs_->saveMidiSettingsDialog(); }

    // Defaults, memos, file locations and the manual, kept in the per-user settings store.
    void storeDefaultBank() { settings_->storeDefaultBank(); }
    void clearDefaultBank() { settings_->clearDefaultBank(); }
    void loadDefaultBank() { settings_->loadDefaultBank(); }
    void storeDefaultPreset() { settings_->storeDefaultPreset(); }
    void clearDefaultPreset() { settings_->clearDefaultPreset(); }
    void loadDefaultPreset() { settings_->loadDefaultPreset(); }
    void storeDefaultMidi() { settings_->storeDefaultMidi(); }
    void clearDefaultMidi() { settings_->clearDefaultMidi(); }
    void loadDefaultMidi() { settings_->loadDefaultMidi(); }
    void storeMemoA() { settings_->storeMemoA(); }
    void storeMemoB() { settings_->storeMemoB(); }
    void recallMemoA() { settings_->recallMemoA(); }
    void recallMemoB() { settings_->recallMemoB(); }
    void saveFileLocations() { settings_->saveFileLocations(); }
    void loadFileLocations() { settings_->loadFileLocations(); }
    void loadStartupState() { settings_->loadStartupState(); }
    void openManual() { settings_->openManual(); }

    // The readers and writers of file images, the dialogs' current locations, the settings.
    FileImageLoader& fileImages() { return *loader_; }
    PresetFileDialogs& fileDialogs() { return *dialogs_; }
    PersistentSettings& settings() { return *settings_; }

protected:
    // User-interface thread: the learn and forget buttons follow the modes that ended since
    // the last call (on any thread), unless the mode was switched on again meanwhile.
    void applyEndedModes();

    // A program's name or content was loaded: its entry in the panel's program list is stale.
    virtual void programListEntryChanged(int program) { (void)program; }
    // A load made this program current: the panel shows it and its name.
    virtual void currentProgramLoaded(int program) { (void)program; }

    EditorEffect* presetEffect_;

private:
    friend class FileImageLoader;  // keeps the panel in step while it loads

    std::atomic<int> lastController_{-1};
    std::atomic<bool> learnEnded_{false};
    std::atomic<bool> forgetEnded_{false};
    // Held from construction to destruction (released after everything below is gone).
    OleLibrary ole_;
    std::unique_ptr<FileImageLoader> loader_;
    std::unique_ptr<PresetFileDialogs> dialogs_;
    std::unique_ptr<PersistentSettings> settings_;
    PresetPanelView panelView_{*this};
    EditorMessageBox messageBox_;
    bool idleSuppressed_ = false;
};

}  // namespace orv
