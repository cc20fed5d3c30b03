// An indicator drawn from a filmstrip: frame = (int)(value × (frames − 1) + 0.5). Not clickable.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/IMultiBitmapControl.h"

namespace orv {

class CMovieBitmap : public CControl, public IMultiBitmapControl {
public:
    CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, int subPixmaps, int heightOfOneImage,
                 CBitmap* background, const CPoint& offset = {});

    void draw(CDrawContext* context) override;
};

}  // namespace orv
