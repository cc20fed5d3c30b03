// A panel latching button with three frames: off, off under the mouse, on.
#pragma once

#include <cstdint>

#include "editor/CHoverButton.h"
#include "toolkit/COnOffButton.h"

namespace orv {

class COvOnOffButton : public CHoverButton<COnOffButton> {
public:
    using CHoverButton::CHoverButton;

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    int getDrawnFrame() const;
};

}  // namespace orv
