#include "editor/CMessageBoxView.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

namespace orv {

namespace {
constexpr CColor kShade{0, 0, 0, 150};             // dims the editor behind the box
constexpr CColor kBoxColor{38, 33, 28, 255};       // the cabinet's dark brown
constexpr CColor kBorderColor{196, 150, 84, 255};  // brass edge
constexpr CColor kTitleColor{232, 186, 110, 255};
constexpr CColor kTextColor{236, 230, 218, 255};
constexpr CColor kHintColor{160, 159, 157, 255};
constexpr int kMargin = 12;      // pixels between the box edge and its lines
constexpr int kLineHeight = 18;  // one line of text
constexpr const char* kHint = "click to close";
}  // namespace

CMessageBoxView::CMessageBoxView(const CRect& size, const std::string& title, const std::string& text)
    : CView(size), title_(title), text_(text)
{
    setWantsFocus(true);
}

CRect CMessageBoxView::getBoxRect() const
{
    const int left = size_.left + (size_.getWidth() - kBoxWidth) / 2;
    const int top = size_.top + (size_.getHeight() - kBoxHeight) / 2;
    return CRect(left, top, left + kBoxWidth, top + kBoxHeight);
}

void CMessageBoxView::draw(CDrawContext* context)
{
    context->setFillColor(kShade);
    context->fillRect(size_);
    const CRect box = getBoxRect();
    context->setFillColor(kBoxColor);
    context->fillRect(box);
    context->setFrameColor(kBorderColor);
    context->setLineWidth(1);
    context->drawRect(box);

    CRect line(box.left + kMargin, box.top + kMargin, box.right - kMargin, box.top + kMargin + kLineHeight);
    context->setFont(kNormalFont);
    context->setFontColor(kTitleColor);
    context->drawString(title_.c_str(), line, kCenterText);
    line.offset(0, kLineHeight + kMargin / 2);
    context->setFont(kNormalFontSmall);
    context->setFontColor(kTextColor);
    context->drawString(text_.c_str(), line, kCenterText);
    const CRect hint(box.left + kMargin, box.bottom - kMargin - kLineHeight, box.right - kMargin, box.bottom - kMargin);
    context->setFont(kNormalFontVerySmall);
    context->setFontColor(kHintColor);
    context->drawString(kHint, hint, kCenterText);
    setDirty(false);
}

void CMessageBoxView::dismiss()
{
    CFrame* frame = frame_;
    if (frame == nullptr || frame->getModalView() != this) return;
    frame->setModalView(nullptr);
    forget();  // the reference the frame held while this was its modal view
}

CMouseEventResult CMessageBoxView::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    dismiss();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CMessageBoxView::onKeyDown(VstKeyCode& keyCode)
{
    const bool closes = keyCode.virt == VKEY_RETURN || keyCode.virt == VKEY_ENTER || keyCode.virt == VKEY_ESCAPE ||
        keyCode.virt == VKEY_SPACE || keyCode.character == ' ';
    if (!closes) return 1;  // a message box keeps the keys while it is shown
    dismiss();
    return 1;
}

}  // namespace orv
