#include "editor/RotaryEditor.h"

#include <algorithm>

#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CClickKickButton.h"
#include "editor/CGyrolaParamDisplay.h"
#include "editor/COrvClickSwitch.h"
#include "editor/COvRockerSwitch.h"
#include "editor/DisplayFormats.h"
#include "editor/EditorEffect.h"
#include "editor/MyFrame.h"
#include "editor/OrvMarker.h"
#include "editor/OrvOnOffButton.h"
#include "editor/OrvVerticalSwitch.h"
#include "params/ParameterIndex.h"
#include "params/ParameterLaws.h"
#include "toolkit/BitmapRef.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CMovieBitmap.h"

namespace orv {

namespace {

using Format = CParamDisplayValueToStringProc;

// One knob with the display under it.
struct KnobRow {
    int tag;
    CRect knob;
    int bitmap;
    float defaultValue;
    float wheelStep;
    float dragRangeFactor;  // pixels for the whole range = factor × 1000
    CRect display;
    Format format;
};

constexpr float kShiftWheelFactor = 0.2f;  // every knob: Shift makes the wheel five times finer
constexpr int kKnobFrames = 101;           // filmstrip 2002: 101 frames of 44 × 44
constexpr int kSelectorFrames = 3;         // filmstrip 4110: 3 frames of 28 × 28
constexpr int kSmallKnobFrames = 21;       // filmstrip 4111: 21 frames of 28 × 28

// In creation order: the horn, motor/equaliser/set-up, amplifier/room and drum rows first,
// the output and cabinet rows (from index kLateRows on) after the lever and the markers.
// clang-format off
constexpr KnobRow kKnobRows[] = {
    {param::kHSlowSpd, {43, 56, 87, 100}, RotaryEditor::kKnobId, 0.1f, 0.01f, 0.4f, {39, 105, 91, 116}, DisplayFormats::speed},
    {param::kHFastSpd, {88, 56, 132, 100}, RotaryEditor::kKnobId, 0.6f, 0.01f, 0.4f, {84, 105, 136, 116}, DisplayFormats::speed},
    {param::kHAccel, {157, 56, 201, 100}, RotaryEditor::kKnobId, 0.349485f, 0.05f, 0.25f, {153, 105, 205, 116}, DisplayFormats::time},
    {param::kHDecel, {202, 56, 246, 100}, RotaryEditor::kKnobId, 0.349485f, 0.05f, 0.25f, {198, 105, 250, 116}, DisplayFormats::time},
    {param::kHDistance, {271, 56, 315, 100}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {267, 105, 319, 116}, DisplayFormats::distance},
    {param::kHHpf, {316, 56, 360, 100}, RotaryEditor::kKnobId, 0.0f, 0.05f, 0.25f, {312, 105, 364, 116}, DisplayFormats::highPass},
    {param::kHGain, {361, 56, 405, 100}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {357, 105, 409, 116}, DisplayFormats::gain},
    {param::kMech, {39, 205, 83, 249}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {35, 254, 87, 265}, DisplayFormats::gain},
    {param::kBottom, {97, 205, 141, 249}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {93, 254, 145, 265}, DisplayFormats::eq},
    {param::kLoMid, {142, 205, 186, 249}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {138, 254, 190, 265}, DisplayFormats::eq},
    {param::kPresence, {187, 205, 231, 249}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {183, 254, 235, 265}, DisplayFormats::eq},
    {param::kTopShlf, {232, 205, 276, 249}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {228, 254, 280, 265}, DisplayFormats::eq},
    {param::kSetup, {292, 205, 336, 249}, RotaryEditor::kKnobId, 0.25f, 0.1f, 0.18f, {288, 254, 340, 265}, DisplayFormats::setupFirstLine},
    {param::kInput, {43, 306, 87, 350}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {39, 355, 91, 366}, DisplayFormats::gain},
    {param::kType, {88, 306, 132, 350}, RotaryEditor::kKnobId, 0.5f, 0.333334f, 0.125f, {84, 355, 136, 366}, DisplayFormats::amplifierType},
    {param::kDrive, {133, 306, 177, 350}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {129, 355, 181, 366}, DisplayFormats::drive},
    {param::kSize, {201, 306, 245, 350}, RotaryEditor::kKnobId, 0.5f, 0.2f, 0.25f, {197, 355, 249, 366}, DisplayFormats::size},
    {param::kColor, {245, 306, 289, 350}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {242, 355, 294, 366}, DisplayFormats::percent},
    {param::kAmount, {291, 306, 335, 350}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {287, 355, 339, 366}, DisplayFormats::gain},
    {param::kDSlowSpd, {43, 448, 87, 492}, RotaryEditor::kKnobId, 0.1f, 0.01f, 0.4f, {39, 497, 91, 508}, DisplayFormats::speed},
    {param::kDFastSpd, {88, 448, 132, 492}, RotaryEditor::kKnobId, 0.6f, 0.01f, 0.4f, {84, 497, 136, 508}, DisplayFormats::speed},
    {param::kDAccel, {157, 448, 201, 492}, RotaryEditor::kKnobId, 0.650514f, 0.05f, 0.25f, {153, 497, 205, 508}, DisplayFormats::time},
    {param::kDDecel, {202, 448, 246, 492}, RotaryEditor::kKnobId, 0.650514f, 0.05f, 0.25f, {198, 497, 250, 508}, DisplayFormats::time},
    {param::kDDistance, {271, 448, 315, 492}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {267, 497, 319, 508}, DisplayFormats::distance},
    {param::kDLpf, {316, 448, 360, 492}, RotaryEditor::kKnobId, 1.0f, 0.05f, 0.25f, {312, 497, 364, 508}, DisplayFormats::lowPass},
    {param::kDGain, {361, 448, 405, 492}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {357, 497, 409, 508}, DisplayFormats::gain},
    {param::kWidth, {226, 565, 270, 609}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {222, 614, 274, 625}, DisplayFormats::widthPercent},
    {param::kBalance, {271, 565, 315, 609}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {267, 614, 319, 625}, DisplayFormats::balance},
    {param::kMix, {316, 565, 360, 609}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {312, 614, 364, 625}, DisplayFormats::percent},
    {param::kOutput, {361, 565, 405, 609}, RotaryEditor::kKnobId, 0.5f, 0.05f, 0.25f, {357, 614, 409, 625}, DisplayFormats::gain},
    {param::kSpkrConf, {52, 572, 80, 600}, RotaryEditor::kSelectorKnobId, 0.5f, 0.5f, 0.13f, {40, 614, 92, 625}, DisplayFormats::speakerConfiguration},
    {param::kBReflex, {97, 572, 125, 600}, RotaryEditor::kSmallKnobId, 0.5f, 0.05f, 0.25f, {89, 614, 133, 625}, DisplayFormats::reflexGain},
    {param::kXTalk, {142, 572, 170, 600}, RotaryEditor::kSmallKnobId, 0.5f, 0.05f, 0.25f, {130, 614, 174, 625}, DisplayFormats::reflexGain},
    {param::kMechRatio, {187, 572, 215, 600}, RotaryEditor::kSmallKnobId, 0.5f, 0.05f, 0.25f, {175, 614, 219, 625}, DisplayFormats::ratio},
};
// clang-format on
constexpr int kNumKnobRows = static_cast<int>(sizeof kKnobRows / sizeof kKnobRows[0]);
constexpr int kLateRows = 26;  // first row created after the markers (Width)

constexpr CRect kSetupSecondLine{288, 265, 340, 276};

constexpr CRect kEditorRect{0, 0, 448, 696};
constexpr CRect kStopRect{382, 351, 408, 387};
constexpr CRect kSpeedRect{353, 352, 380, 388};
constexpr CRect kLeverRect{353, 153, 408, 339};
constexpr CRect kHornMarkerRect{114, 16, 412, 28};
constexpr CRect kDrumMarkerRect{114, 408, 412, 420};
constexpr CRect kAboutRect{35, 160, 210, 182};
constexpr CRect kChannelRockerRect{109, 659, 140, 673};
constexpr CRect kChannelIndicatorRect{77, 659, 107, 673};
constexpr CRect kBypassRect{287, 626, 345, 640};
constexpr CRect kCpuModeRect{65, 626, 205, 640};
constexpr CRect kLeverModeRect{308, 658, 364, 673};
constexpr CRect kSpeedModeRect{364, 658, 446, 673};

constexpr int kLeverZoneTop = 38;  // drag zone of the lever, pixels from its top
constexpr int kLeverZoneBottom = 152;
constexpr float kLeverWheelStep = 0.15f;
constexpr float kLeverShiftWheelFactor = 0.1f;
constexpr CPoint kHandleOffset{-120, 0};  // the handle starts one handle width left of the strip
constexpr CPoint kVersionPosition{281, 184};
constexpr int kChannelFrames = 18;  // OFF, channels 1..16, OMNI
constexpr int kChannelFrameHeight = 14;
constexpr int kLeverModeStates = 3;
constexpr int kSpeedModeStates = 4;
// One rocker step of MIDIchl: 1/18, although the 18 channel positions are 1/17 apart; one
// press in eighteen, half way up, leaves the channel where it is.
constexpr float kChannelStep = 0.055555556f;

// The part of value display r that it paints: where it overlaps another display of the
// layout, the overlap is split in the middle, each display keeping its own side (the text
// stays centred in the whole rectangle; the widest texts reach a pixel or two past the
// neighbour's edge, which the neighbour's background must then leave alone).
CRect displayPaintArea(const CRect& r)
{
    CRect area = r;
    auto split = [&](const CRect& o) {
        if (o == r || o.top >= r.bottom || o.bottom <= r.top || o.left >= r.right || o.right <= r.left) return;
        if (o.left > r.left)
            area.right = std::min(area.right, (o.left + r.right + 1) / 2);
        else
            area.left = std::max(area.left, (r.left + o.right + 1) / 2);
    };
    for (const KnobRow& row : kKnobRows) split(row.display);
    split(kSetupSecondLine);
    return area;
}

// Rotor angle in revolutions folded into the marker's value range.
float markerValue(double angle)
{
    if (angle > 1.0)
        angle -= 1.0;
    else if (angle < 0.0)
        angle += 1.0;
    return static_cast<float>(angle);
}

}  // namespace

RotaryEditor::RotaryEditor(AudioEffect* effect, EditorEffect* access)
    : CMidiPresetSystemEditor(effect, access), rotaryEffect_(access), background_(new CBitmap(kBackgroundId))
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<vst::i16>(background_->getHeight());
    rect.right = static_cast<vst::i16>(background_->getWidth());
}

RotaryEditor::~RotaryEditor()
{
    // The frame (and every control) goes before the bitmap they share.
    if (frame != nullptr) close();
    background_->forget();
}

bool RotaryEditor::open(void* ptr)
{
    if (!background_->isLoaded() || ptr == nullptr) return false;
    return openFrame(ptr);
}

bool RotaryEditor::openOffscreen()
{
    if (!background_->isLoaded()) return false;
    return openFrame(nullptr);
}

bool RotaryEditor::openFrame(void* parent)
{
    if (frame != nullptr) close();
    auto* myFrame = new MyFrame(kEditorRect, parent, this);
    if (!myFrame->isOpen()) {
        myFrame->forget();
        return false;
    }
    myFrame->setFocusOnClick(1);
    myFrame->setBackground(background_);
    frame = myFrame;
    setKnobMode(kLinearMode);
    // The controls start from the effect's values; changes from now on reach them at idle.
    mirror_.takeDirty();

    hornMarkerEnabled_.store(1, std::memory_order_relaxed);
    drumMarkerEnabled_.store(1, std::memory_order_relaxed);
    createKnobRow(0, kLateRows);
    createSwitchesAndMarkers();
    createKnobRow(kLateRows, kNumKnobRows);
    createIndicatorsAndButtons();
    createModeSwitches();

    // The preset and MIDI panel goes on top of the controls.
    CMidiPresetSystemEditor::open(parent);
    return true;
}

void RotaryEditor::createKnobRow(int first, int last)
{
    for (int i = first; i < last; ++i) {
        const KnobRow& row = kKnobRows[i];
        BitmapRef strip(row.bitmap);
        const int frames = row.bitmap == kKnobId ? kKnobFrames
            : row.bitmap == kSelectorKnobId      ? kSelectorFrames
                                                 : kSmallKnobFrames;
        auto* knob = new CAnimKnob3(row.knob, this, row.tag, frames, row.knob.getHeight(), strip.get());
        knob->setValue(rotaryEffect_->parameters().lawValue(row.tag));
        knob->setDefaultValue(row.defaultValue);
        knob->setWheelStep(row.wheelStep);
        knob->setShiftWheelFactor(kShiftWheelFactor);
        knob->setDragRangeFactor(row.dragRangeFactor);
        knob->setDrawQuantisation(0);
        frame->addView(knob);
        controls_[row.tag] = knob;

        auto makeDisplay = [&](const CRect& r, Format format) {
            auto* display = new CGyrolaParamDisplay(r, background_);
            // The display carries its knob's tag, so that pointing at the readout shows the
            // knob's controller in the MIDI panel; a display never notifies.
            display->setTag(row.tag);
            display->setBackOffset(r.getTopLeft());
            display->setPaintArea(displayPaintArea(r));
            display->setValueToStringProc(format, getEffect());  // the effect itself, as user data
            display->setValue(rotaryEffect_->parameters().lawValue(row.tag));
            frame->addView(display);
            return display;
        };
        displays_[row.tag] = makeDisplay(row.display, row.format);
        if (row.tag == param::kSetup) setupSecondLine_ = makeDisplay(kSetupSecondLine, DisplayFormats::setupSecondLine);
    }
}

void RotaryEditor::createSwitchesAndMarkers()
{
    addSwitch(new OrvOnOffButton(kStopRect, this, param::kStop, BitmapRef(kStopId).get()));
    {
        BitmapRef bitmap(kSpeedId);
        constexpr int kSpeedFrames = 2;  // released, pressed
        speed_ = new CClickKickButton(kSpeedRect, this, param::kSpeed, bitmap.get()->getHeight() / kSpeedFrames,
                                      bitmap.get());
        addSwitch(speed_);
    }
    {
        auto* lever = new OrvVerticalSwitch(kLeverRect, this, param::kLever, BitmapRef(kLeverId).get());
        lever->setDragZone(kLeverZoneTop, kLeverZoneBottom);
        lever->setWheelStep(kLeverWheelStep);
        lever->setShiftWheelFactor(kLeverShiftWheelFactor);
        addSwitch(lever);
    }
    {
        BitmapRef strip(kHornStripId);
        BitmapRef handle(kHornHandleId);
        hornMarker_ = new OrvMarker(kHornMarkerRect, this, kTagHornMarker, strip.get(), handle.get(), kHandleOffset);
        frame->addView(hornMarker_);
    }
    {
        BitmapRef strip(kDrumStripId);
        BitmapRef handle(kDrumHandleId);
        drumMarker_ = new OrvMarker(kDrumMarkerRect, this, kTagDrumMarker, strip.get(), handle.get(), kHandleOffset);
        frame->addView(drumMarker_);
    }
    applySpeakerConfiguration(rotaryEffect_->parameters().lawValue(param::kSpkrConf));
    updateMarkers();
}

void RotaryEditor::createIndicatorsAndButtons()
{
    {
        BitmapRef picture(kAboutId);
        about_ = new CAbout(kAboutRect, this, kTagAbout, picture.get(), kEditorRect, CPoint(0, 0), kVersionPosition);
        frame->addView(about_);
    }
    {
        BitmapRef bitmap(kRockerId);
        channelRocker_ = new COvRockerSwitch(kChannelRockerRect, this, kTagChannelRocker, bitmap.get());
        frame->addView(channelRocker_);
    }
    // The indicator starts at the effect's channel like every other control (its row of the
    // layout names only the frame rule).
    addSwitch(new CMovieBitmap(kChannelIndicatorRect, this, param::kMidiChl, kChannelFrames, kChannelFrameHeight,
                               BitmapRef(kChannelId).get()));
    addSwitch(new OrvOnOffButton(kBypassRect, this, param::kBypass, BitmapRef(kBypassId).get()));
    addSwitch(new OrvOnOffButton(kCpuModeRect, this, param::kCpuMode, BitmapRef(kCpuModeId).get()));
}

void RotaryEditor::createModeSwitches()
{
    addSwitch(
        new COrvClickSwitch(kLeverModeRect, this, param::kLvrMode, kLeverModeStates, BitmapRef(kLeverModeId).get()));
    addSwitch(
        new COrvClickSwitch(kSpeedModeRect, this, param::kSpdMode, kSpeedModeStates, BitmapRef(kSpeedModeId).get()));
    applySpeedMode(rotaryEffect_->parameters().lawValue(param::kSpdMode));
}

void RotaryEditor::addSwitch(CControl* control)
{
    const int index = control->getTag();
    control->setValue(rotaryEffect_->parameters().lawValue(index));
    frame->addView(control);
    controls_[index] = control;
}

void RotaryEditor::forgetControls()
{
    std::fill(std::begin(controls_), std::end(controls_), nullptr);
    std::fill(std::begin(displays_), std::end(displays_), nullptr);
    setupSecondLine_ = nullptr;
    speed_ = nullptr;
    hornMarker_ = nullptr;
    drumMarker_ = nullptr;
    about_ = nullptr;
    channelRocker_ = nullptr;
}

void RotaryEditor::close()
{
    forgetControls();
    channelRockerValue_.store(0.0f, std::memory_order_relaxed);
    // The panel forgets its controls, then the glue releases the frame with every view.
    CMidiPresetSystemEditor::close();
}

void RotaryEditor::idle()
{
    if (frame == nullptr) return;
    applyMirroredParameters();
    // A controller moved parameters: bring every control up to date with the effect.
    if (rotaryEffect_->takeMidiChangedFlag()) refreshFromEffect();
    CMidiPresetSystemEditor::idle();
    if (frame == nullptr) return;  // the idle's event handling may have closed the editor
    updateMarkers();
}

void RotaryEditor::updateMarkers()
{
    if (about_ != nullptr && about_->getValue() != 0.0f) return;
    const bool ampOnly = rotaryEffect_->parameters().position(param::kBypassSpeakers) == 1;
    constexpr float kOutOfSight = 0.5f;  // puts the handle just beyond the strip's right edge
    if (hornMarker_ != nullptr) {
        const bool hidden = ampOnly || hornMarkerEnabled_.load(std::memory_order_relaxed) == 0;
        hornMarker_->setValue(hidden ? kOutOfSight : markerValue(rotaryEffect_->hornAngle()));
    }
    if (drumMarker_ != nullptr) {
        const bool hidden = ampOnly || drumMarkerEnabled_.load(std::memory_order_relaxed) == 0;
        drumMarker_->setValue(hidden ? kOutOfSight : markerValue(rotaryEffect_->drumAngle()));
    }
}

void RotaryEditor::applySpeakerConfiguration(float value)
{
    // Drum only, drum and horn, horn only.
    const int n = static_cast<int>(value * 2.0f + 0.5f);
    hornMarkerEnabled_.store(n == 0 ? 0 : 1, std::memory_order_relaxed);
    drumMarkerEnabled_.store(n == 0 || n == 1 ? 1 : 0, std::memory_order_relaxed);
}

void RotaryEditor::applySpeedMode(float value)
{
    // Pedal modes 1 and 2 hold the speed while the button is held; 0 and 3 toggle it.
    const int m = static_cast<int>(value * 3.0f + 0.5f);
    if (speed_ != nullptr) speed_->setMomentary(m == 1 || m == 2 ? 1 : 0);
}

void RotaryEditor::stepMidiChannel()
{
    const float r = channelRockerValue_.load(std::memory_order_relaxed);
    const float channel = rotaryEffect_->parameters().lawValue(param::kMidiChl);
    float next;
    if (r > 0.0f)
        next = std::min(channel + kChannelStep, 1.0f);
    else if (r < 0.0f)
        next = std::max(channel - kChannelStep, 0.0f);
    else
        return;
    rotaryEffect_->setParameterAutomated(param::kMidiChl, next);
}

void RotaryEditor::setParameter(int index, float value)
{
    if (index == kTagChannelRocker) {
        stepMidiChannel();
        return;
    }
    // The marker flags are atomics of their own; the idle reads them.
    if (index == param::kSpkrConf) applySpeakerConfiguration(sanitiseParameterValue(value));
    mirror_.markChanged(index);
}

void RotaryEditor::applyMirroredParameters()
{
    std::uint64_t dirty = mirror_.takeDirty();
    for (int index = 0; dirty != 0; ++index, dirty >>= 1) {
        // Controls show the value the engine works from, whatever a host stored.
        if ((dirty & 1u) != 0) showParameter(index, sanitiseParameterValue(rotaryEffect_->getParameter(index)));
    }
}

void RotaryEditor::showParameter(int index, float value)
{
    if (index < 0 || index >= kNumUserParams) return;
    if (controls_[index] != nullptr) controls_[index]->setValue(value);
    if (displays_[index] != nullptr) displays_[index]->setValue(value);
    if (index == param::kSetup && setupSecondLine_ != nullptr) setupSecondLine_->setValue(value);
    if (index == param::kSpdMode) applySpeedMode(value);
}

void RotaryEditor::refreshFromEffect()
{
    for (int index = 0; index < kNumUserParams; ++index)
        showParameter(index, rotaryEffect_->parameters().lawValue(index));
}

void RotaryEditor::valueChanged(CControl* control)
{
    CMidiPresetSystemEditor::valueChanged(control);
    const int tag = control->getTag();
    if (tag == param::kSpeed) {
        speedButtonChanged(control->getValue());
        control->invalid();
        applyEndedModes();
        return;
    }
    // Every other tag goes to the effect: parameters change, the rocker's tag comes back
    // through setParameter as a channel step, and the panel's tags are left alone there.
    // The rocker's value is non-zero only while its press is being notified; its release sets
    // it back to 0 without a notification.
    if (tag == kTagChannelRocker) channelRockerValue_.store(control->getValue(), std::memory_order_relaxed);
    rotaryEffect_->setParameterAutomated(tag, control->getValue());
    if (tag == kTagChannelRocker) channelRockerValue_.store(0.0f, std::memory_order_relaxed);
    control->invalid();
    // Touching a control while forgetting ends the forget mode: its button goes off now.
    applyEndedModes();
}

void RotaryEditor::speedButtonChanged(float b)
{
    const int m = static_cast<int>(rotaryEffect_->parameters().lawValue(param::kSpdMode) * 3.0f + 0.5f);
    const int k = static_cast<int>(b + 0.5f);
    switch (m) {
    case 0:
    case 3:  // toggling: the lever follows the button
        rotaryEffect_->setParameterAutomated(param::kLever, static_cast<float>(k));
        rotaryEffect_->setParameterAutomated(param::kSpeed, b);
        break;
    case 1:  // held = fast
        rotaryEffect_->setParameterAutomated(param::kLever, static_cast<float>(k));
        rotaryEffect_->setParameterAutomated(param::kSpeed, static_cast<float>(k));
        break;
    case 2:  // held = slow
        rotaryEffect_->setParameterAutomated(param::kLever, static_cast<float>(1 - k));
        rotaryEffect_->setParameterAutomated(param::kSpeed, static_cast<float>(1 - k));
        break;
    default: break;
    }
}

CControl* RotaryEditor::getParameterControl(int tag) const
{
    if (tag >= 0 && tag < kNumUserParams) return controls_[tag];
    switch (tag) {
    case kTagHornMarker: return hornMarker_;
    case kTagDrumMarker: return drumMarker_;
    case kTagAbout: return about_;
    case kTagChannelRocker: return channelRocker_;
    default: return nullptr;
    }
}

CGyrolaParamDisplay* RotaryEditor::getParameterDisplay(int index, bool second) const
{
    if (second) return index == param::kSetup ? setupSecondLine_ : nullptr;
    return index >= 0 && index < kNumUserParams ? displays_[index] : nullptr;
}

}  // namespace orv
