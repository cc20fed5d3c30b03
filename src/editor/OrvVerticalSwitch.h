// A lever turning about a pivot, drawn from a filmstrip (frame 0 = value 1 at the top).
// Dragging inside a vertical zone sets the position along the lever's arc; the arrow keys
// step one frame; the wheel steps like the knob's.
#pragma once

#include "editor/CFilmstripControl.h"
#include "editor/CSteppedWheel.h"
#include "toolkit/CControl.h"
#include "toolkit/IMultiBitmapControl.h"

namespace orv {

class OrvVerticalSwitch : public CFilmstripControl<OrvVerticalSwitch, CSteppedWheel<CControl>>,
                          public IMultiBitmapControl {
public:
    // Frame height = control height; frame count = bitmap height / frame height.
    OrvVerticalSwitch(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    void setDragZone(int top, int bottom)
    {
        zoneTop_ = top;
        zoneBottom_ = bottom;
    }
    int getDrawnFrame() const;

    static constexpr int kDefaultZoneTop = 38;  // pixels from the control's top
    static constexpr int kDefaultZoneBottom = 152;

private:
    int zoneTop_ = kDefaultZoneTop;
    int zoneBottom_ = kDefaultZoneBottom;
};

}  // namespace orv
