// A latching button: each click switches between min and max; frame 0 off, frame 1 on.
#pragma once

#include "toolkit/CControl.h"

namespace orv {

class COnOffButton : public CControl {
public:
    // Frame height = control height.
    COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

}  // namespace orv
