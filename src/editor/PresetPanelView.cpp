#include "editor/PresetPanelView.h"

#include <cstring>
#include <string>

#include "editor/CMidiParamDisplay.h"
#include "editor/CMidiPresetSystemEditor.h"
#include "editor/COrvTextEdit.h"
#include "editor/COvKickButton.h"
#include "editor/COvOnOffButton.h"
#include "editor/COvRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/EditorEffect.h"
#include "params/ControllerMap.h"
#include "toolkit/BitmapRef.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"
#include "toolkit/COptionMenu.h"

namespace orv {

namespace {

// The name field is 15 pixels high (11-point font: half-height 11 / 2 + 2) and centred on
// pixel row 686, which makes it rows 679 to 693.
constexpr CRect kNameFieldRect{145, 679, 261, 694};
constexpr CRect kProgramMenuRect{262, 678, 274, 692};
constexpr CRect kProgramRockerRect{277, 679, 308, 693};
constexpr CRect kSaveBankRect{3, 679, 15, 693};
constexpr CRect kDefaultBankRect{18, 678, 54, 693};
constexpr CRect kLoadBankRect{56, 679, 68, 693};
constexpr CRect kSavePresetRect{73, 679, 85, 693};
constexpr CRect kDefaultPresetRect{85, 678, 127, 693};
constexpr CRect kLoadPresetRect{126, 679, 138, 693};
constexpr CRect kStoreMemoARect{320, 679, 332, 693};
constexpr CRect kRecallMemoARect{342, 679, 354, 693};
constexpr CRect kStoreMemoBRect{367, 679, 379, 693};
constexpr CRect kRecallMemoBRect{389, 679, 401, 693};
constexpr CRect kManualRect{420, 678, 438, 693};
constexpr CRect kSaveMidiRect{3, 659, 15, 673};
constexpr CRect kDefaultMidiRect{18, 658, 54, 673};
constexpr CRect kLoadMidiRect{56, 659, 68, 673};
constexpr CRect kMidiDisplayRect{145, 659, 261, 673};
constexpr CRect kLearnRect{262, 658, 284, 673};
constexpr CRect kForgetRect{284, 658, 306, 673};

constexpr float kStoreThreshold = 0.75f;  // a default button's double-click (1) stores, Ctrl (0.5) clears
constexpr float kReversedLoad = 0.5f;     // a load button's plain right click
constexpr int kLastParameterTag = 41;     // tags above belong to the editor's own controls

}  // namespace

PresetPanelView::PresetPanelView(CMidiPresetSystemEditor& editor) : editor_(editor), effect_(editor.presetEffect()) {}

void PresetPanelView::open(CFrame* frame, CControlListener* listener)
{
    if (frame == nullptr || effect_ == nullptr) return;
    frame_ = frame;
    CBitmap* background = frame->getBackground();
    auto add = [&](CControl* control) {
        controls_[control->getTag() - kFirstTag] = control;
        frame->addView(control);
    };
    const int current = effect_->getCurrentProgramIndex();

    nameField_ = new COrvTextEdit(kNameFieldRect, listener, kTagNameField, effect_->getProgramRecord(current).name,
                                  background, 0);
    nameField_->setBackOffset(kNameFieldRect.getTopLeft());
    nameField_->setFont(kNormalFontSmall);
    nameField_->setFontColor(kBlackCColor);
    nameField_->setHoriAlign(kCenterText);
    nameField_->setFrameColor(kBlackCColor);
    nameField_->setBackColor(kWhiteCColor);
    add(nameField_);

    programMenu_ = new COptionMenu(kProgramMenuRect, listener, kTagProgramMenu, background, kProgramMenuStyle);
    programMenu_->setBackOffset(kProgramMenuRect.getTopLeft());
    for (int p = 0; p < kNumPrograms; ++p) programMenu_->addEntry(effect_->getProgramRecord(p).name);
    programMenu_->setNbItemsPerColumn(kEntriesPerColumn);
    programMenu_->setCurrent(current);
    add(programMenu_);

    BitmapRef rocker(kRockerId);
    BitmapRef load(kLoadId);
    BitmapRef save(kSaveId);
    // Save, default and load of one kind of file.
    auto addFileButtons = [&](const CRect(&rects)[3], const int(&tags)[3], int defaultId) {
        add(new CSaveLoadButton(rects[0], listener, tags[0], save.get()));
        add(new COvKickButton(rects[1], listener, tags[1], BitmapRef(defaultId).get(), true));
        add(new CSaveLoadButton(rects[2], listener, tags[2], load.get()));
    };
    programRocker_ = new COvRockerSwitch(kProgramRockerRect, listener, kTagProgramRocker, rocker.get());
    add(programRocker_);
    addFileButtons({kSaveBankRect, kDefaultBankRect, kLoadBankRect}, {kTagSaveBank, kTagDefaultBank, kTagLoadBank},
                   kDefaultBankId);
    addFileButtons({kSavePresetRect, kDefaultPresetRect, kLoadPresetRect},
                   {kTagSavePreset, kTagDefaultPreset, kTagLoadPreset}, kDefaultPresetId);
    add(new COvKickButton(kStoreMemoARect, listener, kTagStoreMemoA, save.get()));
    add(new COvKickButton(kRecallMemoARect, listener, kTagRecallMemoA, load.get()));
    add(new COvKickButton(kStoreMemoBRect, listener, kTagStoreMemoB, save.get()));
    add(new COvKickButton(kRecallMemoBRect, listener, kTagRecallMemoB, load.get()));
    manual_ = new COvKickButton(kManualRect, listener, kTagManual, BitmapRef(kManualId).get());
    add(manual_);
    addFileButtons({kSaveMidiRect, kDefaultMidiRect, kLoadMidiRect}, {kTagSaveMidi, kTagDefaultMidi, kTagLoadMidi},
                   kDefaultMidiId);

    midiDisplay_ = new CMidiParamDisplay(kMidiDisplayRect, background);
    midiDisplay_->setBackOffset(kMidiDisplayRect.getTopLeft());
    midiDisplay_->setTag(kTagMidiDisplay);
    add(midiDisplay_);
    {
        BitmapRef bitmap(kLearnId);
        learn_ = new COvOnOffButton(kLearnRect, listener, kTagLearn, bitmap.get());
        learn_->setValue(effect_->controllerMap().isLearning() ? 1.0f : 0.0f);
        add(learn_);
    }
    {
        BitmapRef bitmap(kForgetId);
        forget_ = new COvOnOffButton(kForgetRect, listener, kTagForget, bitmap.get());
        forget_->setValue(effect_->controllerMap().isForgetting() ? 1.0f : 0.0f);
        add(forget_);
    }
}

void PresetPanelView::close()
{
    frame_ = nullptr;
    nameField_ = nullptr;
    programMenu_ = nullptr;
    programRocker_ = nullptr;
    midiDisplay_ = nullptr;
    learn_ = nullptr;
    forget_ = nullptr;
    manual_ = nullptr;
    for (CControl*& c : controls_) c = nullptr;
}

CControl* PresetPanelView::getControl(int tag) const
{
    return tag >= kFirstTag && tag <= kLastTag ? controls_[tag - kFirstTag] : nullptr;
}

bool PresetPanelView::valueChanged(CControl* control)
{
    if (control == nullptr || effect_ == nullptr) return false;
    const int tag = control->getTag();
    if (tag < kFirstTag || tag > kLastTag) return false;
    const float value = control->getValue();
    switch (tag) {
    case kTagNameField: renameFromField(); break;
    case kTagProgramMenu: {
        const int index = static_cast<int>(value + 0.5f);
        if (programMenu_ != nullptr && programMenu_->setCurrent(index))
            selectProgram(index, programMenu_->getEntry(index));
        break;
    }
    case kTagProgramRocker: stepProgram(value); break;
    case kTagSaveBank: editor_.saveBankDialog(); break;
    case kTagDefaultBank:
        if (value >= kStoreThreshold)
            editor_.storeDefaultBank();
        else
            editor_.clearDefaultBank();
        break;
    case kTagLoadBank: editor_.loadBankDialog(value == kReversedLoad); break;
    case kTagSavePreset: editor_.savePresetDialog(); break;
    case kTagDefaultPreset:
        if (value >= kStoreThreshold)
            editor_.storeDefaultPreset();
        else
            editor_.clearDefaultPreset();
        break;
    case kTagLoadPreset: editor_.loadPresetDialog(value == kReversedLoad); break;
    case kTagStoreMemoA: editor_.storeMemoA(); break;
    case kTagRecallMemoA: editor_.recallMemoA(); break;
    case kTagStoreMemoB: editor_.storeMemoB(); break;
    case kTagRecallMemoB: editor_.recallMemoB(); break;
    case kTagManual:
        editor_.openManual();
        if (manual_ != nullptr) {
            manual_->setPressed(false);
            manual_->invalid();
        }
        break;
    case kTagSaveMidi: editor_.saveMidiSettingsDialog(); break;
    case kTagDefaultMidi:
        if (value >= kStoreThreshold)
            editor_.storeDefaultMidi();
        else
            editor_.clearDefaultMidi();
        break;
    case kTagLoadMidi: editor_.loadMidiSettingsDialog(value == kReversedLoad); break;
    case kTagLearn:
        // Learn and forget exclude each other: switching one stops the other first.
        effect_->stopMidiForget();
        if (value != 0.0f)
            effect_->startMidiLearn();
        else
            effect_->stopMidiLearn();
        break;
    case kTagForget:
        effect_->stopMidiLearn();
        if (value != 0.0f)
            effect_->startMidiForget();
        else
            effect_->stopMidiForget();
        break;
    default: break;  // the controller display only shows
    }
    return true;
}

void PresetPanelView::renameFromField()
{
    if (nameField_ == nullptr) return;
    std::string name = nameField_->getText();
    if (name.size() > kMaxTypedName) name.resize(kMaxTypedName);
    nameField_->setText(name.c_str());
    if (programMenu_ != nullptr) programMenu_->setEntry(programMenu_->getCurrentIndex(), name.c_str());
    effect_->renameCurrentProgram(name.c_str());
}

void PresetPanelView::selectProgram(int program, const char* name)
{
    // The name is copied first: selecting and renaming may rewrite the entry it comes from.
    const std::string title = name != nullptr ? name : "";
    effect_->selectProgram(program);
    effect_->renameCurrentProgram(title.c_str());
    if (nameField_ != nullptr) nameField_->setText(title.c_str());
}

void PresetPanelView::stepProgram(float direction)
{
    int p = effect_->getCurrentProgramIndex();
    if (direction > 0.0f)
        p = p + 1 < kNumPrograms ? p + 1 : kNumPrograms - 1;
    else if (direction < 0.0f)
        p = p > 0 ? p - 1 : 0;
    else
        return;
    const std::string name = effect_->getProgramRecord(p).name;
    if (programMenu_ != nullptr) programMenu_->setCurrent(p);
    if (nameField_ != nullptr) nameField_->setText(name.c_str());
    effect_->selectProgram(p);
    effect_->renameCurrentProgram(name.c_str());
}

void PresetPanelView::onLearnEnded()
{
    if (learn_ != nullptr) learn_->setValue(0.0f);
}

void PresetPanelView::onForgetEnded()
{
    if (forget_ != nullptr) forget_->setValue(0.0f);
}

void PresetPanelView::showProgramName(const char* name)
{
    if (nameField_ != nullptr) nameField_->setText(name);
    if (programMenu_ != nullptr) programMenu_->setEntry(programMenu_->getCurrentIndex(), name);
}

void PresetPanelView::idle()
{
    if (frame_ == nullptr || effect_ == nullptr) return;
    followEffect();
    updateMidiDisplay();
}

void PresetPanelView::followEffect()
{
    // Programs change from many places (host, chunk, files, memos, this panel); the menu and the
    // name field are brought to the effect's state here, on the user-interface thread.
    if (programMenu_ == nullptr) return;
    char name[kProgramNameSize];
    for (int p = 0; p < kNumPrograms; ++p) {
        effect_->programBank().readName(p, name);
        const char* entry = programMenu_->getEntry(p);
        if (entry == nullptr || std::strncmp(entry, name, kProgramNameSize) != 0) programMenu_->setEntry(p, name);
    }
    const int current = effect_->getCurrentProgramIndex();
    if (programMenu_->getCurrentIndex() != current) programMenu_->setCurrent(current);
    if (nameField_ != nullptr && !nameField_->isEditing()) {
        effect_->programBank().readName(current, name);
        if (std::strncmp(nameField_->getText(), name, kProgramNameSize) != 0) nameField_->setText(name);
    }
}

void PresetPanelView::updateMidiDisplay()
{
    if (midiDisplay_ == nullptr) return;
    CPoint where;
    CView* view = nullptr;
    if (frame_->getCurrentMouseLocation(where) && frame_->getModalView() == nullptr) view = frame_->getViewAt(where);
    auto* control = dynamic_cast<CControl*>(view);
    if (control != nullptr) {
        midiDisplay_->setShowingReceived(false);
        const int tag = control->getTag();
        if (tag > kLastParameterTag || tag < 0) {
            midiDisplay_->showText(CMidiParamDisplay::kEmpty);
        } else {
            const int c = effect_->controllerOfParameter(tag);
            midiDisplay_->showText(c == ControllerMap::kNone || c < 0 || c >= ControllerMap::kNumControllers
                                       ? CMidiParamDisplay::kNotAssigned
                                       : c);
        }
        editor_.setLastController(-1);
        return;
    }
    const int last = editor_.lastController();
    if (last == -1) {
        midiDisplay_->showText(CMidiParamDisplay::kEmpty);
        midiDisplay_->setShowingReceived(false);
    } else {
        midiDisplay_->setShowingReceived(true);
        midiDisplay_->showText(last);
    }
}

}  // namespace orv
