// A panel file button with three frames (normal, hover, active). A left click reports 1, a
// right click alone 0.5 (the editor's byte-reversed load), then the value returns to 0.
#pragma once

#include <cstdint>

#include "toolkit/CKickButton.h"

namespace orv {

class CSaveLoadButton : public CKickButton {
public:
    CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

    bool isHovered() const { return hover_ != 0; }
    int getDrawnFrame() const { return getValue() != 0.0f ? 2 : (hover_ ? 1 : 0); }

private:
    uint8_t hover_ = 0;
};

}  // namespace orv
