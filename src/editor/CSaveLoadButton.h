// A panel file button with three frames (normal, hover, active). A left click reports 1, a
// right click alone 0.5 (the editor's byte-reversed load), then the value returns to 0.
#pragma once

#include <cstdint>

#include "editor/CFilmstripControl.h"
#include "editor/CHoverButton.h"
#include "toolkit/CKickButton.h"

namespace orv {

class CSaveLoadButton : public CFilmstripControl<CSaveLoadButton, CHoverButton<CKickButton>> {
public:
    CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

    int getDrawnFrame() const { return getValue() != 0.0f ? 2 : (hover_ ? 1 : 0); }
};

}  // namespace orv
