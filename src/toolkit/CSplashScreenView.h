// The picture a CSplashScreen shows; any click on it ends the showing.
#pragma once

#include "toolkit/CView.h"

namespace orv {

class CSplashScreen;

class CSplashScreenView : public CView {
public:
    explicit CSplashScreenView(CSplashScreen* owner);
    ~CSplashScreenView() override;

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

private:
    CSplashScreen* owner_;
};

}  // namespace orv
