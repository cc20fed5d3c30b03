// What the frame and its controls ask of the editor that owns them: the begin and end of an
// edit gesture on a tag, and the knob mode.
#pragma once

#include <cstdint>

namespace orv {

class CFrame;

enum CKnobMode { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;
    virtual void beginEdit(int32_t index) { (void)index; }
    virtual void endEdit(int32_t index) { (void)index; }
    virtual int32_t getKnobMode() const { return kCircularMode; }
    virtual CFrame* getFrame() const = 0;
};

}  // namespace orv
