// The about picture shown by CAbout: the picture over its rectangle with the version text in
// it. A left click anywhere on it closes it; other buttons leave it shown.
#pragma once

#include "toolkit/CColor.h"
#include "toolkit/CControl.h"

namespace orv {

class CAbout;

class CSplashScreenMyView : public CControl {
public:
    // Takes the owner's picture, target rectangle and version-text position.
    explicit CSplashScreenMyView(CAbout* owner);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    static constexpr const char* kVersionText = "v.2.0.0";
    static constexpr int kVersionWidth = 80;  // pixels of the box the text is left-aligned in
    static constexpr int kVersionHeight = 15;
    static constexpr CColor kVersionColor{160, 159, 157, 255};

    CAbout* getOwner() const { return owner_; }
    const CPoint& getVersionPosition() const { return versionPosition_; }

private:
    CAbout* owner_;  // not owned: the hot area outlives every showing of its view
    CBitmap* picture_;
    CPoint versionPosition_;
};

}  // namespace orv
