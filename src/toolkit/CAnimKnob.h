// A knob drawn from a filmstrip (frame = round(value × (frames − 1))), dragged linearly:
// right or up increases; Shift drags finer; Ctrl-click restores the default.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/IMultiBitmapControl.h"

namespace orv {

class CAnimKnob : public CControl, public IMultiBitmapControl {
public:
    // Frame height = control height, frame count = bitmap height / frame height.
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = {});
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps, int heightOfOneImage,
              CBitmap* background, const CPoint& offset = {});

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;

    // How many times finer a Shift drag is.
    void setZoomFactor(float factor) { zoomFactor_ = factor; }
    float getZoomFactor() const { return zoomFactor_; }

    // Pixels of drag for the whole range without Shift.
    static constexpr float kDragRangePixels = 200.0f;

private:
    float zoomFactor_ = 10.0f;
    CPoint dragStart_;
    float dragStartValue_ = 0.0f;
    bool dragging_ = false;
};

}  // namespace orv
