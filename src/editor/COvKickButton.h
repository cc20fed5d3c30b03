// A panel push button with three frames (normal, hover, pressed). It reports 1 on the press;
// in double-click-only mode it reacts to double-clicks alone and reports 0.5 with Ctrl.
#pragma once

#include <cstdint>

#include "editor/CFilmstripControl.h"
#include "editor/CHoverButton.h"
#include "toolkit/CKickButton.h"

namespace orv {

class COvKickButton : public CFilmstripControl<COvKickButton, CHoverButton<CKickButton>> {
public:
    // Three frames of a third of the bitmap's height each.
    COvKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                  bool doubleClickOnly = false);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    void setDoubleClickOnly(bool state) { doubleClickOnly_ = state ? 1 : 0; }
    bool isDoubleClickOnly() const { return doubleClickOnly_ != 0; }
    bool isPressed() const { return pressed_ != 0; }
    // Clears the pressed state (used after an action that took over the mouse).
    void setPressed(bool state) { pressed_ = state ? 1 : 0; }
    int getDrawnFrame() const { return pressed_ ? 2 : (hover_ ? 1 : 0); }

private:
    uint8_t doubleClickOnly_ = 0;
    uint8_t pressed_ = 0;
};

}  // namespace orv
