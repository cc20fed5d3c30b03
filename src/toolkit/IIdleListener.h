// Something that needs the frame's idle time (a running file selector, a timer).
#pragma once

namespace orv {

class IIdleListener {
public:
    virtual ~IIdleListener() = default;
    virtual void onIdle() = 0;
    // The frame is going away; the listener must stop using it.
    virtual void onFrameClosing() = 0;
};

}  // namespace orv
