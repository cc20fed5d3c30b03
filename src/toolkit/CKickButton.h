// A momentary button: value = max while pressed (inside), min after release; two frames.
#pragma once

#include "toolkit/CControl.h"

namespace orv {

class CKickButton : public CControl {
public:
    // Frame height = control height.
    CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                const CPoint& offset = {});
    CKickButton(const CRect& size, CControlListener* listener, int32_t tag, int heightOfOneImage, CBitmap* background,
                const CPoint& offset = {});

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    int getHeightOfOneImage() const { return heightOfOneImage_; }

protected:
    int heightOfOneImage_;

private:
    bool tracking_ = false;
};

}  // namespace orv
