#include "host/AEffGUIEditor.h"

#include <chrono>
#include <thread>

#include "host/AudioEffect.h"
#include "toolkit/CFrame.h"
#include "toolkit/VstKeyCode.h"

namespace orv {

int32_t AEffGUIEditor::knobMode = kCircularMode;

// The window system needs no per-editor library set-up on this platform (no OLE).
AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {}

AEffGUIEditor::~AEffGUIEditor()
{
    if (frame != nullptr) {
        frame->forget();
        frame = nullptr;
    }
}

bool AEffGUIEditor::getRect(vst::ERect** r)
{
    if (r == nullptr) return false;
    *r = &rect;
    return true;
}

bool AEffGUIEditor::open(void* ptr)
{
    AEffEditor::open(ptr);
    return true;
}

void AEffGUIEditor::close()
{
    if (frame != nullptr) {
        frame->forget();
        frame = nullptr;
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle()
{
    if (inIdleStuff) return;
    AEffEditor::idle();
    if (frame != nullptr) frame->idle();
}

namespace {
VstKeyCode makeKey(int character, int virtualKey, int modifiers)
{
    VstKeyCode key;
    key.character = character;
    key.virt = static_cast<uint8_t>(virtualKey);
    key.modifier = static_cast<uint8_t>(modifiers);
    return key;
}
}  // namespace

bool AEffGUIEditor::onKeyDown(int character, int virtualKey, int modifiers)
{
    if (frame == nullptr) return false;
    VstKeyCode key = makeKey(character, virtualKey, modifiers);
    return frame->onKeyDown(key) == 1;
}

bool AEffGUIEditor::onKeyUp(int character, int virtualKey, int modifiers)
{
    if (frame == nullptr) return false;
    VstKeyCode key = makeKey(character, virtualKey, modifiers);
    return frame->onKeyUp(key) == 1;
}

bool AEffGUIEditor::setKnobMode(int mode)
{
    knobMode = mode;
    return true;
}

void AEffGUIEditor::beginEdit(int32_t index)
{
    if (effect_ != nullptr) effect_->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index)
{
    if (effect_ != nullptr) effect_->endEdit(index);
}

int64_t AEffGUIEditor::getTicks() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void AEffGUIEditor::wait(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void AEffGUIEditor::masterIdle()
{
    if (effect_ != nullptr) effect_->callHost(vst::audioMasterIdle);
}

void AEffGUIEditor::doIdleStuff()
{
    const int64_t now = getTicks();
    if (now < lastTicks) {
        wait(kIdleRateMin);
        if (now < lastTicks - kIdleRate2) return;
    }
    // Pending paints first, so the window is current while the host idles.
    if (frame != nullptr) frame->processPaintEvents();
    idle();
    lastTicks = now + kIdleRate;
    inIdleStuff = true;
    masterIdle();
    inIdleStuff = false;
}

}  // namespace orv
