// The window side of the preset and MIDI panel: the controls of the two bottom rows of the
// editor (program name, program menu and rocker, bank/preset/MIDI-settings file buttons,
// default buttons, memos A and B, manual, controller display, learn and forget), what each of
// them does when the user touches it, and the controller display's idle update.
#pragma once

#include <cstdint>

#include "params/ProgramRecord.h"

namespace orv {

class CBitmap;
class CControl;
class CControlListener;
class CFrame;
class CMidiParamDisplay;
class CMidiPresetSystemEditor;
class EditorEffect;
class COptionMenu;
class COrvTextEdit;
class COvKickButton;
class COvOnOffButton;
class COvRockerSwitch;
class CSaveLoadButton;

class PresetPanelView {
public:
    // Control tags: consecutive numbers, the panel keeps its controls by tag.
    enum Tag : int {
        kTagNameField = 196,
        kTagProgramRocker,
        kTagLoadBank,
        kTagSaveBank,
        kTagLoadPreset,
        kTagSavePreset,
        kTagMidiDisplay,
        kTagLearn,
        kTagLoadMidi,
        kTagSaveMidi,
        kTagDefaultMidi,
        kTagForget,
        kTagProgramMenu,
        kTagDefaultBank,
        kTagDefaultPreset,
        kTagStoreMemoA,
        kTagStoreMemoB,
        kTagRecallMemoA,
        kTagRecallMemoB,
        kTagManual,
        kFirstTag = kTagNameField,
        kLastTag = kTagManual
    };

    // Bitmap resource ids of the panel's buttons.
    static constexpr int kRockerId = 19997;
    static constexpr int kLoadId = 19998;
    static constexpr int kSaveId = 19999;
    static constexpr int kDefaultBankId = 19990;
    static constexpr int kDefaultPresetId = 19899;
    static constexpr int kDefaultMidiId = 994;
    static constexpr int kLearnId = 998;
    static constexpr int kForgetId = 999;
    static constexpr int kManualId = 989;

    static constexpr int kProgramMenuStyle = 7680;  // includes the no-draw bit: the artwork shows
    static constexpr int kEntriesPerColumn = 8;
    static constexpr std::size_t kMaxTypedName = 24;  // characters kept of a typed name

    explicit PresetPanelView(CMidiPresetSystemEditor& editor);

    // Adds the panel's controls to the frame, in their order, with listener as their listener.
    // The parts of the editor background they stand on come from the frame's background.
    void open(CFrame* frame, CControlListener* listener);
    void close();
    bool isOpen() const { return frame_ != nullptr; }

    // Acts on a change of one of the panel's controls; answers false for other tags.
    bool valueChanged(CControl* control);

    // Each idle: the controller display follows the control under the mouse (or shows the
    // last received controller), and the program menu and name field follow the effect.
    void idle();

    void onLearnEnded();
    void onForgetEnded();
    // Puts a name into the name field and the program menu's current entry.
    void showProgramName(const char* name);

    COrvTextEdit* getNameField() const;
    COptionMenu* getProgramMenu() const;
    CMidiParamDisplay* getMidiDisplay() const;
    COvOnOffButton* getLearnButton() const;
    COvOnOffButton* getForgetButton() const;
    // Any panel control by tag, null when closed.
    CControl* getControl(int tag) const;

private:
    void selectProgram(int program, const char* name);
    void renameFromField();
    void stepProgram(float direction);
    void updateMidiDisplay();
    void followEffect();
    template <class Control>
    Control* controlAs(int tag) const;

    CMidiPresetSystemEditor& editor_;
    EditorEffect* effect_;
    CFrame* frame_ = nullptr;

    // Every control of the panel by tag; the getters above look their control up here.
    CControl* controls_[kLastTag - kFirstTag + 1] = {};
};

}  // namespace orv
