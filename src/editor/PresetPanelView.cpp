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

    auto* nameField = new COrvTextEdit(kNameFieldRect, listener, kTagNameField, effect_->getProgramRecord(current).name,
                                       background, 0);
    nameField->setBackOffset(kNameFieldRect.getTopLeft());
    nameField->setFont(kNormalFontSmall);
    nameField->setFontColor(kBlackCColor);
    nameField->setHoriAlign(kCenterText);
    nameField->setFrameColor(kBlackCColor);
    nameField->setBackColor(kWhiteCColor);
    add(nameField);

    auto* programMenu = new COptionMenu(kProgramMenuRect, listener, kTagProgramMenu, background, kProgramMenuStyle);
    programMenu->setBackOffset(kProgramMenuRect.getTopLeft());
    for (int p = 0; p < kNumPrograms; ++p) programMenu->addEntry(effect_->getProgramRecord(p).name);
    programMenu->setNbItemsPerColumn(kEntriesPerColumn);
    programMenu->setCurrent(current);
    add(programMenu);

    BitmapRef rocker(kRockerId);
    BitmapRef load(kLoadId);
    BitmapRef save(kSaveId);
    // Save, default and load of one kind of file.
    auto addFileButtons = [&](const CRect(&rects)[3], const int(&tags)[3], int defaultId) {
        add(new CSaveLoadButton(rects[0], listener, tags[0], save.get()));
        add(new COvKickButton(rects[1], listener, tags[1], BitmapRef(defaultId).get(), true));
        add(new CSaveLoadButton(rects[2], listener, tags[2], load.get()));
    };
    auto* programRocker = new COvRockerSwitch(kProgramRockerRect, listener, kTagProgramRocker, rocker.get());
    add(programRocker);
    addFileButtons({kSaveBankRect, kDefaultBankRect, kLoadBankRect}, {kTagSaveBank, kTagDefaultBank, kTagLoadBank},
                   kDefaultBankId);
    addFileButtons({kSavePresetRect, kDefaultPresetRect, kLoadPresetRect},
                   {kTagSavePreset, kTagDefaultPreset, kTagLoadPreset}, kDefaultPresetId);
    add(new COvKickButton(kStoreMemoARect, listener, kTagStoreMemoA, save.get()));
    add(new COvKickButton(kRecallMemoARect, listener, kTagRecallMemoA, load.get()));
    add(new COvKickButton(kStoreMemoBRect, listener, kTagStoreMemoB, save.get()));
    add(new COvKickButton(kRecallMemoBRect, listener, kTagRecallMemoB, load.get()));
    auto* manual = new COvKickButton(kManualRect, listener, kTagManual, BitmapRef(kManualId).get());
    add(manual);
    addFileButtons({kSaveMidiRect, kDefaultMidiRect, kLoadMidiRect}, {kTagSaveMidi, kTagDefaultMidi, kTagLoadMidi},
                   kDefaultMidiId);

    auto* midiDisplay = new CMidiParamDisplay(kMidiDisplayRect, background);
    midiDisplay->setBackOffset(kMidiDisplayRect.getTopLeft());
    midiDisplay->setTag(kTagMidiDisplay);
    add(midiDisplay);
    {
        BitmapRef bitmap(kLearnId);
        auto* learn = new COvOnOffButton(kLearnRect, listener, kTagLearn, bitmap.get());
        learn->setValue(effect_->controllerMap().isLearning() ? 1.0f : 0.0f);
        add(learn);
    }
    {
        BitmapRef bitmap(kForgetId);
        auto* forget = new COvOnOffButton(kForgetRect, listener, kTagForget, bitmap.get());
        forget->setValue(effect_->controllerMap().isForgetting() ? 1.0f : 0.0f);
        add(forget);
    }
}

void PresetPanelView::close()
{
    frame_ = nullptr;
    for (CControl*& c : controls_) c = nullptr;
}

CControl* PresetPanelView::getControl(int tag) const
{
    return tag >= kFirstTag && tag <= kLastTag ? controls_[tag - kFirstTag] : nullptr;
}

template <class Control>
Control* PresetPanelView::controlAs(int tag) const
{
    return static_cast<Control*>(getControl(tag));
}

COrvTextEdit* PresetPanelView::getNameField() const { return controlAs<COrvTextEdit>(kTagNameField); }

COptionMenu* PresetPanelView::getProgramMenu() const { return controlAs<COptionMenu>(kTagProgramMenu); }

CMidiParamDisplay* PresetPanelView::getMidiDisplay() const { return controlAs<CMidiParamDisplay>(kTagMidiDisplay); }

COvOnOffButton* PresetPanelView::getLearnButton() const { return controlAs<COvOnOffButton>(kTagLearn); }

COvOnOffButton* PresetPanelView::getForgetButton() const { return controlAs<COvOnOffButton>(kTagForget); }

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
        COptionMenu* menu = getProgramMenu();
        if (menu != nullptr && menu->setCurrent(index)) selectProgram(index, menu->getEntry(index));
        break;
    }
    case kTagProgramRocker: stepProgram(value); break;
    case kTagSaveBank: editor_.saveBankDialog(); break;
    case kTagDefaultBank: value >= kStoreThreshold ? editor_.storeDefaultBank() : editor_.clearDefaultBank(); break;
    case kTagLoadBank: editor_.loadBankDialog(value == kReversedLoad); break;
    case kTagSavePreset: editor_.savePresetDialog(); break;
    case kTagDefaultPreset:
        value >= kStoreThreshold ? editor_.storeDefaultPreset() : editor_.clearDefaultPreset();
        break;
    case kTagLoadPreset: editor_.loadPresetDialog(value == kReversedLoad); break;
    case kTagStoreMemoA: editor_.storeMemoA(); break;
    case kTagRecallMemoA: editor_.recallMemoA(); break;
    case kTagStoreMemoB: editor_.storeMemoB(); break;
    case kTagRecallMemoB: editor_.recallMemoB(); break;
    case kTagManual:
        editor_.openManual();
        if (COvKickButton* manual = controlAs<COvKickButton>(kTagManual)) {
            manual->setPressed(false);
            manual->invalid();
        }
        break;
    case kTagSaveMidi: editor_.saveMidiSettingsDialog(); break;
    case kTagDefaultMidi: value >= kStoreThreshold ? editor_.storeDefaultMidi() : editor_.clearDefaultMidi(); break;
    case kTagLoadMidi: editor_.loadMidiSettingsDialog(value == kReversedLoad); break;
    case kTagLearn:
        // Learn and forget exclude each other: switching one stops the other first.
        effect_->stopMidiForget();
        value != 0.0f ? effect_->startMidiLearn() : effect_->stopMidiLearn();
        break;
    case kTagForget:
        effect_->stopMidiLearn();
        value != 0.0f ? effect_->startMidiForget() : effect_->stopMidiForget();
        break;
    default: break;  // the controller display only shows
    }
    return true;
}

void PresetPanelView::renameFromField()
{
    COrvTextEdit* field = getNameField();
    if (field == nullptr) return;
    std::string name = field->getText();
    if (name.size() > kMaxTypedName) name.resize(kMaxTypedName);
    showProgramName(name.c_str());
    effect_->renameCurrentProgram(name.c_str());
}

void PresetPanelView::selectProgram(int program, const char* name)
{
    // The name is copied first: selecting and renaming may rewrite the entry it comes from.
    const std::string title = name != nullptr ? name : "";
    effect_->selectProgram(program);
    effect_->renameCurrentProgram(title.c_str());
    if (COrvTextEdit* field = getNameField()) field->setText(title.c_str());
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
    if (COptionMenu* menu = getProgramMenu()) menu->setCurrent(p);
    if (COrvTextEdit* field = getNameField()) field->setText(name.c_str());
    effect_->selectProgram(p);
    effect_->renameCurrentProgram(name.c_str());
}

void PresetPanelView::onLearnEnded()
{
    if (COvOnOffButton* learn = getLearnButton()) learn->setValue(0.0f);
}

void PresetPanelView::onForgetEnded()
{
    if (COvOnOffButton* forget = getForgetButton()) forget->setValue(0.0f);
}

void PresetPanelView::showProgramName(const char* name)
{
    if (COrvTextEdit* field = getNameField()) field->setText(name);
    if (COptionMenu* menu = getProgramMenu()) menu->setEntry(menu->getCurrentIndex(), name);
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
    COptionMenu* menu = getProgramMenu();
    if (menu == nullptr) return;
    char name[kProgramNameSize];
    for (int p = 0; p < kNumPrograms; ++p) {
        effect_->programBank().readName(p, name);
        const char* entry = menu->getEntry(p);
        if (entry == nullptr || std::strncmp(entry, name, kProgramNameSize) != 0) menu->setEntry(p, name);
    }
    const int current = effect_->getCurrentProgramIndex();
    if (menu->getCurrentIndex() != current) menu->setCurrent(current);
    COrvTextEdit* field = getNameField();
    if (field != nullptr && !field->isEditing()) {
        effect_->programBank().readName(current, name);
        if (std::strncmp(field->getText(), name, kProgramNameSize) != 0) field->setText(name);
    }
}

void PresetPanelView::updateMidiDisplay()
{
    CMidiParamDisplay* display = getMidiDisplay();
    if (display == nullptr) return;
    CPoint where;
    CView* view = nullptr;
    if (frame_->getCurrentMouseLocation(where) && frame_->getModalView() == nullptr) view = frame_->getViewAt(where);
    auto* control = dynamic_cast<CControl*>(view);
    if (control != nullptr) {
        display->setShowingReceived(false);
        const int tag = control->getTag();
        if (tag > kLastParameterTag || tag < 0) {
            display->showText(CMidiParamDisplay::kEmpty);
        } else {
            const int c = effect_->controllerOfParameter(tag);
            display->showText(c == ControllerMap::kNone || c < 0 || c >= ControllerMap::kNumControllers
                                  ? CMidiParamDisplay::kNotAssigned
                                  : c);
        }
        editor_.setLastController(-1);
        return;
    }
    const int last = editor_.lastController();
    if (last == -1) {
        display->showText(CMidiParamDisplay::kEmpty);
        display->setShowingReceived(false);
    } else {
        display->setShowingReceived(true);
        display->showText(last);
    }
}

}  // namespace orv
