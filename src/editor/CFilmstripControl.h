// A control that draws the frame of its filmstrip that Derived::getDrawnFrame() names, frames
// being getHeightOfOneImage() pixels high. Derived is the control class itself.
#pragma once

namespace orv {

class CDrawContext;

template <class Derived, class Control>
class CFilmstripControl : public Control {
public:
    using Control::Control;

    void draw(CDrawContext* context) override
    {
        const Derived& self = static_cast<const Derived&>(*this);
        this->drawFilmstripFrame(context, self.getDrawnFrame(), self.getHeightOfOneImage());
        this->setDirty(false);
    }
};

}  // namespace orv
