// Base of the editor chain: what the dispatcher asks of an editor object.
#pragma once

#include "host/vst2.h"

namespace orv {

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect_(effect) {}
    virtual ~AEffEditor() = default;

    AudioEffect* getEffect() const { return effect_; }

    // Writes the address of an editor-owned rectangle into *rect; true on success.
    virtual bool getRect(vst::ERect** rect)
    {
        if (rect != nullptr) *rect = nullptr;
        return false;
    }
    // ptr is the host's parent window (an X11 Window id on Linux).
    virtual bool open(void* ptr)
    {
        systemWindow_ = ptr;
        return false;
    }
    virtual void close() { systemWindow_ = nullptr; }
    virtual void idle() {}
    // Key from the host: ASCII character, virtual key, modifier bits. True when consumed.
    virtual bool onKeyDown(int character, int virtualKey, int modifiers)
    {
        (void)character, (void)virtualKey, (void)modifiers;
        return false;
    }
    virtual bool onKeyUp(int character, int virtualKey, int modifiers)
    {
        (void)character, (void)virtualKey, (void)modifiers;
        return false;
    }
    virtual bool setKnobMode(int mode)
    {
        (void)mode;
        return false;
    }
    // Called by the effect whenever parameter `index` took `value` (any thread).
    virtual void setParameter(int index, float value) { (void)index, (void)value; }

    bool isOpen() const { return systemWindow_ != nullptr; }

protected:
    AudioEffect* effect_;
    void* systemWindow_ = nullptr;
};

}  // namespace orv
