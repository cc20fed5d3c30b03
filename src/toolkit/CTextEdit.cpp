#include "toolkit/CTextEdit.h"

#include <cmath>

#include "toolkit/CFrame.h"

namespace orv {

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* text, CBitmap* background,
                     int32_t style)
    : CParamDisplay(size, background, style)
{
    listener_ = listener;
    tag_ = tag;
    setText(text);
}

void CTextEdit::setText(const char* text)
{
    text_ = text != nullptr ? text : "";
    if (text_.size() > kMaxTextLength) text_.resize(kMaxTextLength);
    setDirty(true);
}

void CTextEdit::draw(CDrawContext* context)
{
    const std::string& shown = editing_ ? editText_ : text_;
    drawWithText(context, shown.c_str());
    if (editing_) {
        // Caret: where the text before it ends, laid out as drawString lays out the line.
        context->setFont(font_);
        const double full = context->getStringWidth(shown.c_str());
        const double before = context->getStringWidth(shown.substr(0, caret_).c_str());
        double x = size_.left;
        if (align_ == kCenterText)
            x = size_.left + (size_.getWidth() - full) * 0.5;
        else if (align_ == kRightText)
            x = size_.right - full;
        const int cx = static_cast<int>(std::floor(x + 0.5) + std::floor(before + 0.5));
        context->setFrameColor(fontColor_);
        context->setLineWidth(1);
        context->drawLine(CPoint(cx, size_.top + 2), CPoint(cx, size_.bottom - 3));
    }
    setDirty(false);
}

void CTextEdit::beginEditing()
{
    if (editing_) return;
    editing_ = true;
    editText_ = text_;
    caret_ = editText_.size();
    if (frame_ != nullptr) frame_->setFocusView(this);
    invalid();
}

void CTextEdit::endEditing()
{
    editing_ = false;
    if (frame_ != nullptr && frame_->getFocusView() == this) frame_->setFocusView(nullptr);
    invalid();
}

void CTextEdit::commit()
{
    if (!editing_) return;
    text_ = editText_;
    endEditing();
    beginEdit();
    notify();
    endEdit();
}

void CTextEdit::cancel()
{
    if (!editing_) return;
    endEditing();
}

void CTextEdit::looseFocus() { commit(); }

CMouseEventResult CTextEdit::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEditing();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CTextEdit::onKeyDown(VstKeyCode& key)
{
    if (!editing_) return -1;
    switch (key.virt) {
    case VKEY_RETURN:
    case VKEY_ENTER: commit(); return 1;
    case VKEY_ESCAPE: cancel(); return 1;
    case VKEY_BACK:
        if (caret_ > 0) editText_.erase(--caret_, 1);
        break;
    case VKEY_DELETE:
        if (caret_ < editText_.size()) editText_.erase(caret_, 1);
        break;
    case VKEY_LEFT:
        if (caret_ > 0) --caret_;
        break;
    case VKEY_RIGHT:
        if (caret_ < editText_.size()) ++caret_;
        break;
    case VKEY_HOME: caret_ = 0; break;
    case VKEY_END: caret_ = editText_.size(); break;
    default: {
        // ASCII only: one byte per character keeps the caret arithmetic simple.
        const bool printable =
            key.character >= 32 && key.character < 127 && !(key.modifier & (MODIFIER_CONTROL | MODIFIER_COMMAND));
        if (printable && editText_.size() < kMaxTextLength) {
            editText_.insert(caret_, 1, static_cast<char>(key.character));
            ++caret_;
        }
        break;
    }
    }
    invalid();
    return 1;  // an editing field keeps every key
}

}  // namespace orv
