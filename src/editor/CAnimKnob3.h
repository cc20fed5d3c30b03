// The editor's knob: filmstrip knob with an adjustable drag range, a fine drag with Shift that
// never makes the value jump, wheel steps, default on Ctrl-click or double-click, and optional
// quantised drawing.
#pragma once

#include "editor/CFilmstripControl.h"
#include "editor/CSteppedWheel.h"
#include "toolkit/CAnimKnob.h"

namespace orv {

class CAnimKnob3 : public CFilmstripControl<CAnimKnob3, CSteppedWheel<CAnimKnob>> {
public:
    using CFilmstripControl::CFilmstripControl;

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // Pixels for the whole range = factor × 1000.
    void setDragRangeFactor(float factor) { dragRangeFactor_ = factor; }
    float getDragRangeFactor() const { return dragRangeFactor_; }
    void setFineDragMultiplier(float m) { fineMultiplier_ = m; }
    float getFineDragMultiplier() const { return fineMultiplier_; }
    // steps ≤ 0: no quantisation; otherwise the drawn value snaps to `steps` points in [low, high].
    void setDrawQuantisation(int steps, float low = 0.0f, float high = 1.0f)
    {
        quantSteps_ = steps;
        quantLow_ = low;
        quantHigh_ = high;
    }
    // The filmstrip frame the current value draws.
    int getDrawnFrame() const;

    static constexpr float kPixelsPerRangeFactor = 1000.0f;

private:
    float pixelsForRange(const CButtonState& buttons) const;

    float dragRangeFactor_ = 1.0f;
    float fineMultiplier_ = 5.0f;
    int quantSteps_ = 0;
    float quantLow_ = 0.0f;
    float quantHigh_ = 1.0f;

    // Drag state.
    CPoint start_;
    float entryValue_ = 0.0f;
    float valuePerPixel_ = 0.0f;
    float rangePixels_ = 0.0f;
    CButtonState lastButtons_;
    bool fine_ = false;
};

}  // namespace orv
