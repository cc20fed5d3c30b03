// The window-system side of a frame: shows the frame's backing image in a window and feeds the
// window's input events back into the frame.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/CRect.h"

namespace orv {

class CFrame;

class IPlatformFrame {
public:
    virtual ~IPlatformFrame() = default;

    // True when the window exists and can be drawn into.
    virtual bool isValid() const = 0;
    // Handles every pending window-system event (input goes to the frame).
    virtual void processEvents() = 0;
    // Handles only pending exposure events.
    virtual void processPaintEvents() = 0;
    // Marks part of the backing image as changed; flush() puts changed and exposed parts on screen.
    virtual void invalidate(const CRect& r) = 0;
    virtual void flush() = 0;
    // Moves the keyboard focus to the frame's window.
    virtual void takeKeyboardFocus() = 0;
    // The native window (an X11 Window id, a Windows HWND), or 0.
    virtual uintptr_t getWindowId() const = 0;
    // The top-level window that contains the frame's window, or 0.
    virtual uintptr_t getTopLevelWindowId() const = 0;
};

// The window back end of the OS the toolkit is built for: a child window of `parentWindow`
// (the host's window, as effEditOpen passes it) that shows `frame`. isValid() tells whether
// the window could be made.
std::unique_ptr<IPlatformFrame> createPlatformFrame(CFrame* frame, void* parentWindow);

}  // namespace orv
