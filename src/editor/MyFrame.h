// The editor's frame: a toolkit frame that, when enabled, moves the keyboard focus to its
// window on every mouse-down from the window system before handling the press, so that the
// name field and the keys reach the editor even in hosts that keep the focus elsewhere.
#pragma once

#include "toolkit/CFrame.h"

namespace orv {

class MyFrame : public CFrame {
public:
    MyFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);

    CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) override;

    void setFocusOnClick(int enabled) { focusOnClick_ = enabled; }
    int getFocusOnClick() const { return focusOnClick_; }

private:
    int focusOnClick_ = 0;
};

}  // namespace orv
