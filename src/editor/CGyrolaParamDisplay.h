// The value display under a knob: the part of the editor background under it, then the value
// text centred in white 9-pixel Arial.
#pragma once

#include "toolkit/CParamDisplay.h"

namespace orv {

class CGyrolaParamDisplay : public CParamDisplay {
public:
    // background: the editor background; the display's background offset picks the part shown.
    CGyrolaParamDisplay(const CRect& size, CBitmap* background);

    // The part of the rectangle the display paints (all of it unless set). Neighbouring
    // displays overlap by a few pixels; each paints only its side of the overlap, so that a
    // redraw of one never wipes the edge of the other's text.
    void setPaintArea(const CRect& area) { paintArea_ = area; }
    const CRect& getPaintArea() const { return paintArea_; }

    void draw(CDrawContext* context) override;

private:
    CRect paintArea_;
};

}  // namespace orv
