#include "editor/EditorMessageBox.h"

#include "editor/CMessageBoxView.h"
#include "platform/NativeMessageBox.h"
#include "toolkit/CFrame.h"

namespace orv {

void EditorMessageBox::show(const std::string& title, const std::string& text)
{
    if (frame_ != nullptr) {
        // The system's own box where there is one, owned by the host's window; else a modal
        // view drawn in the editor.
        if (showNativeMessageBox(hostWindow_, title, text)) return;
        auto* view = new CMessageBoxView(frame_->getViewSize(), title, text);
        if (frame_->setModalView(view)) return;  // the frame keeps the view's reference
        view->forget();
    }
    fallback_.show(title, text);
}

}  // namespace orv
