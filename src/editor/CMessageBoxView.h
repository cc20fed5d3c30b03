// A message shown inside the editor window: the editor is dimmed and a box in its middle shows
// a title and a text. It is the frame's modal view while shown; a left click anywhere, Return,
// Enter, Escape or Space closes it.
#pragma once

#include <string>

#include "toolkit/CView.h"

namespace orv {

class CMessageBoxView : public CView {
public:
    // size: the area the view covers (the whole frame); the box is centred in it.
    CMessageBoxView(const CRect& size, const std::string& title, const std::string& text);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

    const std::string& getTitle() const { return title_; }
    const std::string& getText() const { return text_; }
    // The box inside the view.
    CRect getBoxRect() const;

    static constexpr int kBoxWidth = 320;
    static constexpr int kBoxHeight = 96;

private:
    // Takes the view out of its frame and drops the frame's reference.
    void dismiss();

    std::string title_;
    std::string text_;
};

}  // namespace orv
