// Message boxes of the editor: while its window is open a message is shown as a modal view
// inside it; otherwise (or while another modal view is up) it goes to the standard error
// stream.
#pragma once

#include "platform/MessageBox.h"
#include "platform/StderrMessageBox.h"

namespace orv {

class CFrame;

class EditorMessageBox : public MessageBox {
public:
    // The frame the messages appear in; null while the editor is closed.
    void setFrame(CFrame* frame) { frame_ = frame; }
    CFrame* getFrame() const { return frame_; }

    void show(const std::string& title, const std::string& text) override;

private:
    CFrame* frame_ = nullptr;
    StderrMessageBox fallback_;
};

}  // namespace orv
