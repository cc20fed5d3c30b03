// The value display under a knob: the part of the editor background under it, then the value
// text centred in white 9-pixel Arial.
#pragma once

#include "toolkit/CParamDisplay.h"

namespace orv {

class CGyrolaParamDisplay : public CParamDisplay {
public:
    // background: the editor background; the display's background offset picks the part shown.
    CGyrolaParamDisplay(const CRect& size, CBitmap* background);
};

}  // namespace orv
