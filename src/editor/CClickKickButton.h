// The speed button. Momentary mode: value 1 while held, 0 on release (the picture stays
// released). Toggle mode: each press flips the value, and the picture shows pressed while held.
#pragma once

#include "editor/CFilmstripControl.h"
#include "toolkit/CKickButton.h"

namespace orv {

class CClickKickButton : public CFilmstripControl<CClickKickButton, CKickButton> {
public:
    // Two frames (released, pressed) of heightOfOneImage.
    CClickKickButton(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage,
                     CBitmap* background, const CPoint& offset = {});

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    void setMomentary(int momentary) { momentary_ = momentary; }
    int getMomentary() const { return momentary_; }
    float getPressed() const { return pressed_; }
    int getDrawnFrame() const { return static_cast<int>(pressed_ + 0.5f) != 0 ? 1 : 0; }

private:
    float pressed_ = 0.0f;
    int momentary_ = 0;
};

}  // namespace orv
