// The window-system side of a frame: shows the frame's backing image in a window and feeds the
// window's input events back into the frame.
#pragma once

#include "toolkit/CRect.h"

namespace orv {

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
    // The native window (an X11 Window id), or 0.
    virtual unsigned long getWindowId() const = 0;
    // The top-level window that contains the frame's window, or 0.
    virtual unsigned long getTopLevelWindowId() const = 0;
};

}  // namespace orv
