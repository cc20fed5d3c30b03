// The hot area over the logo: a left click shows the about picture over the whole editor as
// the frame's modal view (value 1 while it is shown, 0 otherwise). It draws nothing itself;
// the logo is part of the editor background.
#pragma once

#include "toolkit/CSplashScreen.h"

namespace orv {

class CAbout : public CSplashScreen {
public:
    // background: the about picture; toDisplay: where it is shown in the frame; offset: the
    // part of the picture shown; versionPosition: the version text's top-left corner inside
    // the shown picture.
    CAbout(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, const CRect& toDisplay,
           const CPoint& offset, const CPoint& versionPosition);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    const CPoint& getVersionPosition() const { return versionPosition_; }

private:
    CPoint versionPosition_;
};

}  // namespace orv
