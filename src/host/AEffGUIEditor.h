// Editor glue between the effect's dispatcher and the toolkit: the editor rectangle, the frame
// that exists while the editor is open, idle and key forwarding, the knob mode shared by every
// editor of the module, and the host's automation gestures for the controls' tags.
#pragma once

#include <cstdint>

#include "host/AEffEditor.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace orv {

class CFrame;

class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(vst::ERect** rect) override;
    // Remembers the parent window; subclasses create the frame in it.
    bool open(void* ptr) override;
    // Destroys the frame (and with it every view).
    void close() override;
    // Runs the frame's idle unless the editor is inside its own idle processing.
    void idle() override;
    bool onKeyDown(int character, int virtualKey, int modifiers) override;
    bool onKeyUp(int character, int virtualKey, int modifiers) override;
    bool setKnobMode(int mode) override;
    static int32_t getKnobModeValue() { return knobMode; }

    // VSTGUIEditorInterface: gestures go to the host as audioMasterBeginEdit/EndEdit.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    int32_t getKnobMode() const override { return knobMode; }
    CFrame* getFrame() const override { return frame; }

    // For work that keeps the user-interface thread busy: keeps the editor and the host alive
    // at most every kIdleRate ms, sleeping kIdleRateMin ms when called earlier.
    void doIdleStuff();

    // Milliseconds of a monotonic clock; virtual so that tests can drive time.
    virtual int64_t getTicks() const;
    virtual void wait(int milliseconds);
    // The host's idle (audioMasterIdle), called from doIdleStuff.
    virtual void masterIdle();

    static constexpr int kIdleRate = 100;   // ms between two idle runs of doIdleStuff
    static constexpr int kIdleRateMin = 4;  // ms slept when asked earlier
    static constexpr int kIdleRate2 = 50;   // run anyway when the next one is due within this

protected:
    vst::ERect rect{};
    CFrame* frame = nullptr;
    bool inIdleStuff = false;
    int64_t lastTicks = 0;

    static int32_t knobMode;
};

}  // namespace orv
