// The Win32 back end of a frame: a child window of the host's window, painted from the
// frame's backing image on WM_PAINT. Its messages reach the frame through the host's message
// loop and, for hosts that idle without one, through the frame's idle. Every call happens on
// the thread that creates, idles and destroys the frame (the thread that owns the window).
#pragma once

#include <cstdint>

#include "toolkit/IPlatformFrame.h"

namespace orv {

class Win32PlatformFrame : public IPlatformFrame {
public:
    Win32PlatformFrame(CFrame* frame, void* parentWindow);
    ~Win32PlatformFrame() override;
    Win32PlatformFrame(const Win32PlatformFrame&) = delete;
    Win32PlatformFrame& operator=(const Win32PlatformFrame&) = delete;

    bool isValid() const override { return window_ != nullptr; }
    void processEvents() override;
    void processPaintEvents() override;
    void invalidate(const CRect& r) override;
    void flush() override;
    void takeKeyboardFocus() override;
    uintptr_t getWindowId() const override { return reinterpret_cast<uintptr_t>(window_); }
    uintptr_t getTopLevelWindowId() const override;

    // The window procedure's work for this frame's window (an LRESULT).
    intptr_t handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

private:
    void paint();

    CFrame* frame_;
    void* parent_;
    void* window_ = nullptr;  // HWND
    bool trackingLeave_ = false;
    bool hasPending_ = false;
    CRect pending_;
};

}  // namespace orv
