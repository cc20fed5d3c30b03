// The X11 back end of a frame: a child window of the host's window on a Display connection of
// its own. The frame's backing image is put on screen with MIT-SHM (or plain XPutImage), and
// the window's events are turned into frame events when the frame is idled. Every call happens
// on the thread that creates, idles and destroys the frame.
#pragma once

#include <vector>

#include "toolkit/CPoint.h"
#include "toolkit/IPlatformFrame.h"

typedef struct _XDisplay Display;
typedef union _XEvent XEvent;
struct _XImage;
struct _XGC;

namespace orv {

class CFrame;

class X11PlatformFrame : public IPlatformFrame {
public:
    X11PlatformFrame(CFrame* frame, unsigned long parentWindow);
    ~X11PlatformFrame() override;
    X11PlatformFrame(const X11PlatformFrame&) = delete;
    X11PlatformFrame& operator=(const X11PlatformFrame&) = delete;

    bool isValid() const override { return valid_; }
    void processEvents() override;
    void processPaintEvents() override;
    void invalidate(const CRect& r) override;
    void flush() override;
    void takeKeyboardFocus() override;
    uintptr_t getWindowId() const override { return window_; }
    uintptr_t getTopLevelWindowId() const override;

    bool usesSharedMemory() const { return useShm_; }

private:
    bool createImage(void* visual, int depth);
    void destroyImage();
    void handleEvent(XEvent& ev);
    void put(const CRect& r);

    CFrame* frame_;
    Display* display_ = nullptr;
    unsigned long parent_;
    unsigned long window_ = 0;
    _XGC* gc_ = nullptr;
    _XImage* image_ = nullptr;
    void* shmInfo_ = nullptr;  // XShmSegmentInfo of the shared image
    bool useShm_ = false;
    bool forceOpaque_ = false;  // 32-bit windows: the unused byte of RGB24 must read as opaque
    bool valid_ = false;
    int width_ = 0;
    int height_ = 0;
    std::vector<CRect> pending_;

    // Double-click detection and the time stamp the focus request needs.
    unsigned long lastEventTime_ = 0;
    unsigned long lastPressTime_ = 0;
    unsigned int lastPressButton_ = 0;
    CPoint lastPressPoint_;
    bool lastPressWasDouble_ = false;
};

}  // namespace orv
