// A view with a float value in [min, max], a default value, an integer tag and a listener.
// Values may be set from any thread; everything else happens on the user-interface thread.
#pragma once

#include <atomic>

#include "toolkit/CControlListener.h"
#include "toolkit/CView.h"

namespace orv {

// Style bits of controls and displays.
enum CControlStyle : int32_t {
    kHorizontal = 1 << 0,
    kVertical = 1 << 1,
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,
    kNoFrame = 1 << 14,
};

class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0, CBitmap* background = nullptr);

    virtual void setValue(float value) { value_.store(value, std::memory_order_relaxed); }
    float getValue() const { return value_.load(std::memory_order_relaxed); }
    void setMin(float v) { vmin_ = v; }
    float getMin() const { return vmin_; }
    void setMax(float v) { vmax_ = v; }
    float getMax() const { return vmax_; }
    void setDefaultValue(float v) { default_ = v; }
    float getDefaultValue() const { return default_; }
    // (value − min) / (max − min), or 0 for an empty range.
    float getValueNormalized() const;
    // Clamps the value into [min, max].
    void bounceValue();

    void setTag(int32_t tag) { tag_ = tag; }
    int32_t getTag() const { return tag_; }
    void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }

    void setWheelInc(float inc) { wheelInc_ = inc; }
    float getWheelInc() const { return wheelInc_; }
    void setBackOffset(const CPoint& offset) { backOffset_ = offset; }
    const CPoint& getBackOffset() const { return backOffset_; }

    // Edit gesture: tells the listener and the frame's editor (which turns it into the host's
    // automation begin/end for this control's tag).
    virtual void beginEdit();
    virtual void endEdit();

    // Ctrl + left click: sets the default value, notifies if it changed, inside an edit
    // gesture. True when the button state asked for it.
    bool checkDefaultValue(const CButtonState& buttons);

    // Dirty also when the value differs from the one last drawn.
    bool isDirty() const override;
    void setDirty(bool state = true) override;

protected:
    // Draws frame `index` of a vertical filmstrip background into the control's rectangle,
    // shifted by the background offset.
    void drawFilmstripFrame(CDrawContext* context, int index, int frameHeight) const;

    void notify()
    {
        if (listener_ != nullptr) listener_->valueChanged(this);
    }
    // Redraws and tells the listener of a change the user made, inside one edit gesture.
    void notifyEdit()
    {
        invalid();
        beginEdit();
        notify();
        endEdit();
    }
    // The same after a wheel turn, and only when it moved the value.
    void notifyWheelEdit()
    {
        if (isDirty() && listener_ != nullptr) notifyEdit();
    }
    // Wheel distance counted in whole notches: a notch (beyond 0.1) is one step either way,
    // smaller smooth-scrolling distances count as they are.
    static float notches(float distance)
    {
        constexpr float kNotch = 0.1f;
        return distance > kNotch ? 1.0f : (distance < -kNotch ? -1.0f : distance);
    }

    CControlListener* listener_;
    int32_t tag_;
    float vmin_ = 0.0f;
    float vmax_ = 1.0f;
    float default_ = 0.5f;
    float wheelInc_ = 0.1f;
    CPoint backOffset_;

private:
    std::atomic<float> value_{0.0f};
    float lastDrawnValue_ = -1.0f;
};

}  // namespace orv
