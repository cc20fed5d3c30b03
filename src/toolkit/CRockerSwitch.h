// A three-position rocker: value −1 while one side is held, +1 for the other, 0 at rest.
// Frames: 0 at rest, 1 left (or top) held, 2 right (or bottom) held.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/IMultiBitmapControl.h"

namespace orv {

class CRockerSwitch : public CControl, public IMultiBitmapControl {
public:
    CRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage, CBitmap* background,
                  const CPoint& offset = {}, int32_t style = kHorizontal);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    int32_t getStyle() const { return style_; }

protected:
    // −1 for the left (horizontal) or lower (vertical) half, +1 otherwise.
    float sideOf(const CPoint& where) const;

    // Whether a press opens an edit gesture that the release reports and closes; without it
    // only the press is reported.
    bool reportsRelease_ = true;

    int32_t style_;
};

}  // namespace orv
