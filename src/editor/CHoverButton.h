// A toolkit button (or other control) that remembers whether the mouse is over it and
// redraws when that changes, for skins with a hover frame.
#pragma once

#include <cstdint>

#include "toolkit/CButtonState.h"
#include "toolkit/CMouseEventResult.h"
#include "toolkit/CPoint.h"

namespace orv {

template <class Control>
class CHoverButton : public Control {
public:
    using Control::Control;

    CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override
    {
        hover_ = 1;
        this->invalid();
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override
    {
        hover_ = 0;
        this->invalid();
        return kMouseEventHandled;
    }
    bool isHovered() const { return hover_ != 0; }

protected:
    uint8_t hover_ = 0;
};

}  // namespace orv
