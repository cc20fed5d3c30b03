// Editor object of the program and MIDI system. The effect creates it with itself and keeps it
// for its whole life, window open or not: it writes and reads the state part of chunks and bank
// files, and holds what the preset and MIDI panel shows (program list, name, learn and forget
// state, last received controller).
#pragma once

#include <atomic>

#include "host/AEffGUIEditor.h"
#include "params/PresetPanel.h"

namespace orv {

class CMidiPresetSystemEffect;

class CMidiPresetSystemEditor : public AEffGUIEditor, public PresetPanel {
public:
    explicit CMidiPresetSystemEditor(CMidiPresetSystemEffect* effect);
    ~CMidiPresetSystemEditor() override;

    // State part of chunks and bank files.
    std::size_t writeBankState(ByteWriter& out) override;
    void loadProgramRecords(const ByteReader& state, RecordLayout layout) override;
    void loadControllerRecords(const ByteReader& state) override;

    // Panel notifications; the panel's controls follow them once the window exists.
    void programNameChanged() override {}
    void referenceProgramChanged() override {}
    void midiLearnEnded() override {}
    void midiForgetEnded() override {}

    void setLastController(int controller) override { lastController_.store(controller, std::memory_order_relaxed); }
    int lastController() const override { return lastController_.load(std::memory_order_relaxed); }

    CMidiPresetSystemEffect* presetEffect() const { return presetEffect_; }

protected:
    // A program's name or content was loaded: its entry in the panel's program list is stale.
    virtual void programListEntryChanged(int program) { (void)program; }
    // A load made this program current: the panel shows it and its name.
    virtual void currentProgramLoaded(int program) { (void)program; }

    CMidiPresetSystemEffect* presetEffect_;

private:
    std::atomic<int> lastController_{-1};
};

}  // namespace orv
