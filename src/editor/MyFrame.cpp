#include "editor/MyFrame.h"

namespace orv {

MyFrame::MyFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CFrame(size, systemWindow, editor)
{}

CMouseEventResult MyFrame::platformOnMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (focusOnClick_ != 0) takeKeyboardFocus();
    return CFrame::platformOnMouseDown(where, buttons);
}

}  // namespace orv
