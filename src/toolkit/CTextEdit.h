// A one-line text field: a click starts editing (the field takes the keyboard focus), typed
// characters are inserted at the caret, Enter commits and notifies, Escape cancels. Losing
// the focus to another view also commits.
#pragma once

#include <string>

#include "toolkit/CParamDisplay.h"

namespace orv {

class CTextEdit : public CParamDisplay {
public:
    CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* text = "",
              CBitmap* background = nullptr, int32_t style = 0);

    void setText(const char* text);
    const char* getText() const { return text_.c_str(); }
    bool isEditing() const { return editing_; }
    // The text being typed while editing.
    const std::string& getEditText() const { return editText_; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    void looseFocus() override;

    // Longest text kept, in bytes.
    static constexpr size_t kMaxTextLength = kParamDisplayTextSize - 1;

protected:
    void beginEditing();
    void commit();
    void cancel();

private:
    void endEditing();

    std::string text_;
    std::string editText_;
    size_t caret_ = 0;
    bool editing_ = false;
};

}  // namespace orv
