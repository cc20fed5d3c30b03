// A horizontal rocker with hover feedback and five frames (normal, hover left, hover right,
// pressed left, pressed right). A press reports −1 or +1 once; the release reports nothing.
#pragma once

#include "editor/CFilmstripControl.h"
#include "toolkit/CRockerSwitch.h"

namespace orv {

class COvRockerSwitch : public CFilmstripControl<COvRockerSwitch, CRockerSwitch> {
public:
    // Five frames of a fifth of the bitmap's height each.
    COvRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    int getHoverSide() const { return hoverSide_; }
    int getDrawnFrame() const;

private:
    int hoverSide_ = 0;
};

}  // namespace orv
