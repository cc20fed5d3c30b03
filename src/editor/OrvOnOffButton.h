// A latching two-frame button that reports each click twice: first with the old value, then
// with the new one.
#pragma once

#include "toolkit/COnOffButton.h"

namespace orv {

class OrvOnOffButton : public COnOffButton {
public:
    // The bitmap holds two frames of half its height: off above, on below.
    using COnOffButton::COnOffButton;

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

}  // namespace orv
