#include "toolkit/CNewFileSelector.h"

#include "toolkit/CFrame.h"

namespace orv {

const char* CNewFileSelector::getSelectedFile(int index) const
{
    return index >= 0 && index < getNumSelectedFiles() ? selected_[static_cast<size_t>(index)].c_str() : nullptr;
}

void CNewFileSelector::deliver()
{
    CFrame* frame = frame_;
    frame->removeIdleListener(this);
    frame->endModalSession();
    Callback callback = std::move(callback_);
    callback_ = nullptr;
    if (callback) callback(this);
    forget();  // the reference run() took
}

void CNewFileSelector::cancel()
{
    if (!isRunning()) return;
    stopSession();
    if (frame_ != nullptr) {
        frame_->removeIdleListener(this);
        frame_->endModalSession();
    }
    callback_ = nullptr;
    forget();
}

void CNewFileSelector::onFrameClosing()
{
    if (!isRunning()) return;
    stopSession();
    callback_ = nullptr;
    frame_ = nullptr;
    forget();
}

}  // namespace orv
