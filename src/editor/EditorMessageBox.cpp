#include "editor/EditorMessageBox.h"

#include "editor/CMessageBoxView.h"
#include "toolkit/CFrame.h"

namespace orv {

void EditorMessageBox::show(const std::string& title, const std::string& text) {
    if (frame_ != nullptr) {
        auto* view = new CMessageBoxView(frame_->getViewSize(), title, text);
        if (frame_->setModalView(view)) return;  // the frame keeps the view's reference
        view->forget();
    }
    fallback_.show(title, text);
}

}  // namespace orv
