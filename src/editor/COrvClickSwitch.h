// A switch of N states: each click moves to the next state (wrapping to the first), the wheel
// steps up or down.
#pragma once

#include "editor/CFilmstripControl.h"
#include "toolkit/CControl.h"
#include "toolkit/IMultiBitmapControl.h"

namespace orv {

class COrvClickSwitch : public CFilmstripControl<COrvClickSwitch, CControl>, public IMultiBitmapControl {
public:
    // Frame height = bitmap height / states.
    COrvClickSwitch(const CRect& size, CControlListener* listener, int32_t tag, int states, CBitmap* background);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;

    int getStates() const { return states_; }
    int getDrawnFrame() const;

private:
    int states_;
};

}  // namespace orv
