// A panel latching button with three frames: off, off under the mouse, on.
#pragma once

#include <cstdint>

#include "toolkit/COnOffButton.h"

namespace orv {

class COvOnOffButton : public COnOffButton {
public:
    COvOnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

    bool isHovered() const { return hover_ != 0; }
    int getDrawnFrame() const;

private:
    uint8_t hover_ = 0;
};

}  // namespace orv
