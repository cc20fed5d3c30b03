// A hot area that, when clicked, shows a picture over the frame (a modal view) until the
// picture is clicked. Value 1 while shown, 0 otherwise. The hot area itself draws nothing.
#pragma once

#include "toolkit/CControl.h"

namespace orv {

class CSplashScreen : public CControl {
public:
    // background: the picture to show; toDisplay: where in the frame; offset: which part.
    CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                  const CRect& toDisplay, const CPoint& offset = {});

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // Ends the showing: the value returns to its minimum.
    virtual void unSplash();

    const CRect& getToDisplay() const { return toDisplay_; }
    const CPoint& getOffset() const { return offset_; }

protected:
    CRect toDisplay_;
    CPoint offset_;
};

}  // namespace orv
