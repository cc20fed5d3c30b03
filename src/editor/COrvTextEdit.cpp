#include "editor/COrvTextEdit.h"

namespace orv {

COrvTextEdit::COrvTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* text,
                           CBitmap* background, int32_t style)
    : CTextEdit(size, listener, tag, text, background, style)
{}

}  // namespace orv
