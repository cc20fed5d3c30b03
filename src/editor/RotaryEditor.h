// The editor window of the rotary effect: a bitmap-skinned panel of 448 × 696 pixels with one
// control per host-visible parameter, a value display under every knob, two markers that
// follow the rotors, the MIDI-channel indicator and rocker, the about hot area, and (from the
// base class) the preset and MIDI panel. It mirrors every parameter change into its controls
// and turns the user's gestures into automated parameter changes of the effect.
#pragma once

#include <atomic>

#include "editor/CMidiPresetSystemEditor.h"
#include "editor/ParameterMirror.h"
#include "params/ProgramRecord.h"

namespace orv {

class CAbout;
class CBitmap;
class CClickKickButton;
class CGyrolaParamDisplay;
class COvRockerSwitch;
class OrvMarker;
class AudioEffect;
class EditorEffect;

class RotaryEditor : public CMidiPresetSystemEditor {
public:
    // Control tags of the editor's own controls (the parameters' controls use their index).
    static constexpr int kTagHornMarker = 189;
    static constexpr int kTagDrumMarker = 190;
    static constexpr int kTagAbout = 194;
    static constexpr int kTagChannelRocker = 195;

    // Bitmap resource ids.
    static constexpr int kBackgroundId = 4000;
    static constexpr int kKnobId = 2002;
    static constexpr int kSelectorKnobId = 4110;
    static constexpr int kSmallKnobId = 4111;
    static constexpr int kStopId = 2003;
    static constexpr int kSpeedId = 2004;
    static constexpr int kLeverId = 2005;
    static constexpr int kHornStripId = 2008;
    static constexpr int kHornHandleId = 2009;
    static constexpr int kDrumHandleId = 2010;
    static constexpr int kDrumStripId = 2013;
    static constexpr int kAboutId = 3999;
    static constexpr int kRockerId = PresetPanelView::kRockerId;  // the panel's rocker artwork
    static constexpr int kChannelId = 4005;
    static constexpr int kBypassId = 4001;
    static constexpr int kCpuModeId = 4002;
    static constexpr int kLeverModeId = 4200;
    static constexpr int kSpeedModeId = 4201;

    RotaryEditor(AudioEffect* effect, EditorEffect* access);
    ~RotaryEditor() override;

    // Opens the editor in the host's parent window (an X11 window id). False, with nothing
    // created, when the background is missing or there is no parent window.
    bool open(void* ptr) override;
    // Opens the same editor on a frame without a window, which paints only into its backing
    // image; tests and screenshots look at the editor this way.
    bool openOffscreen();
    void close() override;
    // Applies the parameter changes mirrored since the last idle to the controls, then runs
    // the panel's idle and moves the markers.
    void idle() override;
    // A parameter changed (any index, any thread): the value goes into the mirror, never into a
    // control; the controls follow at the next idle.
    void setParameter(int index, float value) override;
    void valueChanged(CControl* control) override;

    bool isHornMarkerEnabled() const { return hornMarkerEnabled_.load(std::memory_order_relaxed) != 0; }
    bool isDrumMarkerEnabled() const { return drumMarkerEnabled_.load(std::memory_order_relaxed) != 0; }

    // The control of a user parameter (0..41) or of an own tag (189, 190, 194, 195); null
    // while closed or for tags without a control.
    CControl* getParameterControl(int tag) const;
    // The value display under a parameter's knob (second: the set-up knob's second line).
    CGyrolaParamDisplay* getParameterDisplay(int index, bool second = false) const;
    OrvMarker* getHornMarker() const { return hornMarker_; }
    OrvMarker* getDrumMarker() const { return drumMarker_; }
    CAbout* getAbout() const { return about_; }

private:
    bool openFrame(void* parent);
    void createKnobRow(int first, int last);
    void createSwitchesAndMarkers();
    void createIndicatorsAndButtons();
    void createModeSwitches();
    void forgetControls();
    // Sets the markers from the rotor angles; skipped while the about view is shown.
    void updateMarkers();
    void applySpeakerConfiguration(float value);
    void applySpeedMode(float value);
    // The channel rocker was pressed: MIDIchl one channel up or down.
    void stepMidiChannel();
    // Sets the control(s) of a user parameter; user-interface thread only.
    void showParameter(int index, float value);
    void applyMirroredParameters();
    // Every control takes its parameter's value from the effect again.
    void refreshFromEffect();
    void speedButtonChanged(float value);
    // Puts the control of a user parameter (its tag) on the frame, showing the parameter's value.
    void addSwitch(CControl* control);

    EditorEffect* rotaryEffect_;
    CBitmap* background_;

    // The control of each user parameter: its knob, switch, button or indicator.
    CControl* controls_[kNumUserParams] = {};
    CGyrolaParamDisplay* displays_[kNumUserParams] = {};
    CGyrolaParamDisplay* setupSecondLine_ = nullptr;
    CClickKickButton* speed_ = nullptr;
    OrvMarker* hornMarker_ = nullptr;
    OrvMarker* drumMarker_ = nullptr;
    CAbout* about_ = nullptr;
    COvRockerSwitch* channelRocker_ = nullptr;

    // Written by setParameter on any thread, read at idle.
    ParameterMirror mirror_;
    std::atomic<int> hornMarkerEnabled_{1};
    std::atomic<int> drumMarkerEnabled_{1};
    // The channel rocker's value while its notification is under way (user-interface thread),
    // read when that notification comes back through setParameter; 0 otherwise.
    std::atomic<float> channelRockerValue_{0.0f};
};

}  // namespace orv
