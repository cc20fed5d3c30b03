// Message boxes of the editor: while its window is open a message is shown in the system's own
// message box where there is one (Windows), else as a modal view inside the window; when the
// window is closed (or another modal view is up) it goes to the standard error stream.
#pragma once

#include "platform/MessageBox.h"
#include "platform/StderrMessageBox.h"

namespace orv {

class CFrame;

class EditorMessageBox : public MessageBox {
public:
    // The frame the messages appear in and the host's window it lives in; null while the
    // editor is closed.
    void setFrame(CFrame* frame, void* hostWindow = nullptr)
    {
        frame_ = frame;
        hostWindow_ = hostWindow;
    }
    CFrame* getFrame() const { return frame_; }

    void show(const std::string& title, const std::string& text) override;

private:
    CFrame* frame_ = nullptr;
    void* hostWindow_ = nullptr;
    StderrMessageBox fallback_;
};

}  // namespace orv
