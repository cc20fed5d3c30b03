// The X11 back end under a private Xvfb server: a frame opened in a child window of a test
// window shows exactly the pixels of its backing image, with or without shared memory and
// after an expose, takes the keyboard focus on a click and gets real key and wheel events
// (XTest). (Clicks, double-clicks and the whole editor's window are tested through the module.)
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "support/TempFolder.h"
#include "support/XvfbServer.h"
#include "toolkit/COnOffButton.h"
#include "toolkit/CParamDisplay.h"
#include "toolkit/CTextEdit.h"
#include "toolkit/IPlatformFrame.h"
#include "toolkit/X11PlatformFrame.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

// A frame that takes the keyboard focus when clicked, as the editor's frame does.
class FocusingFrame : public CFrame {
public:
    using CFrame::CFrame;
    CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons) override
    {
        takeKeyboardFocus();
        return CFrame::platformOnMouseDown(where, buttons);
    }
};

// Logs the wheel.
class WheelProbe : public CView {
public:
    using CView::CView;
    void draw(CDrawContext*) override { setDirty(false); }
    bool onWheel(const CPoint&, float d, const CButtonState&) override
    {
        wheel.push_back(d);
        return true;
    }
    std::vector<float> wheel;
};

constexpr int kWidth = 160;
constexpr int kHeight = 100;

// A test window with a frame's child window in it, and real input through XTest.
struct X11Rig {
    X11Rig()
    {
        if (!(error = server.start(640, 480)).empty()) return;
        setenv("DISPLAY", server.display().c_str(), 1);
        dpy = XOpenDisplay(server.display().c_str());
        int eventBase, errorBase, major, minor;
        if (dpy == nullptr || !XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) return;
        top = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, kWidth + 40, kHeight + 40, 0, 0, 0);
        XSelectInput(dpy, top, StructureNotifyMask);
        XMapWindow(dpy, top);
        XEvent ev;
        do XNextEvent(dpy, &ev);
        while (ev.type != MapNotify);
    }
    ~X11Rig()
    {
        if (dpy != nullptr) XCloseDisplay(dpy);
    }
    void moveTo(int x, int y)
    {
        XTestFakeMotionEvent(dpy, DefaultScreen(dpy), x, y, CurrentTime);
        XSync(dpy, False);
    }
    // A press and release of a pointer button, or of a key if a key symbol is given.
    void tap(unsigned button, KeySym sym = 0)
    {
        for (bool down : {true, false})
            sym != 0 ? XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, sym), down, CurrentTime)
                     : XTestFakeButtonEvent(dpy, button, down, CurrentTime);
        XSync(dpy, False);
    }
    // Idles the frame until cond holds (at most 3 s).
    static bool idleUntil(CFrame* frame, const std::function<bool()>& cond)
    {
        for (int i = 0; i < 300; ++i) {
            frame->idle();
            if (cond()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // Pixels of the frame's window that differ from the offscreen surface.
    int screenMismatches(Window w, cairo_surface_t* reference)
    {
        XImage* img = XGetImage(dpy, w, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (img == nullptr) return -1;
        int bad = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((XGetPixel(img, x, y) & 0xffffff) != pixelAt(reference, x, y)) ++bad;
        XDestroyImage(img);
        return bad;
    }

    XvfbServer server;
    std::string error;  // why there is no server
    Display* dpy = nullptr;
    Window top = 0;  // 0 without a display or XTest
};

// A frame whose parent does not exist stays closed. With shared memory and without (the plain
// path), the window shows the backing image, also after another window covered it and went
// away (the server asks for a repaint). Then a click takes the keyboard focus for the keys
// and the wheel buttons turn the wheel; a parent destroyed before the frame takes the frame's
// window with it, and destroying that again must not end the process (the error is swallowed).
TEST(X11Frame, WindowShowsTheBackingImageTakesKeysAndWheelAndOutlivesItsParent)
{
    X11Rig x;
    if (!x.error.empty()) GTEST_SKIP() << x.error;
    ASSERT_NE(x.top, 0u);
    BitmapPtr strip(makeFilmstrip(30, 20, 2)), bg(makeFilmstrip(kWidth, kHeight, 1));
    auto* closed = new CFrame(CRect(0, 0, 10, 10), reinterpret_cast<void*>(static_cast<uintptr_t>(0x3ffffff)), nullptr);
    EXPECT_FALSE(closed->isOpen());
    closed->idle();
    closed->forget();
    for (bool shm : {false, true}) {
        SCOPED_TRACE(shm);
        ScopedEnv noShm("ORV_X11_NO_SHM", shm ? nullptr : "1");
        Recorder rec;
        auto* frame = new FocusingFrame(CRect(0, 0, kWidth, kHeight), reinterpret_cast<void*>(x.top), &rec);
        rec.frame = frame;
        ASSERT_TRUE(frame->isOpen());
        EXPECT_EQ(dynamic_cast<X11PlatformFrame*>(frame->getPlatformFrame())->usesSharedMemory(), shm);
        EXPECT_EQ(frame->getPlatformFrame()->getTopLevelWindowId(), x.top);
        frame->setBackground(bg.get());
        frame->addView(new COnOffButton(CRect(10, 10, 40, 30), &rec, 4, strip.get()));
        auto* display = new CParamDisplay(CRect(50, 10, 150, 25));
        display->setValue(0.625f);
        auto* edit = new CTextEdit(CRect(10, 50, 110, 65), &rec, 196, "Init");
        auto* probe = new WheelProbe(CRect(120, 50, 150, 90));
        for (CView* v : std::initializer_list<CView*>{display, edit, probe}) frame->addView(v);
        frame->idle();
        const Window child = frame->getPlatformFrame()->getWindowId();
        EXPECT_EQ(x.screenMismatches(child, frame->getBackingSurface()), 0);
        Window cover = XCreateSimpleWindow(x.dpy, DefaultRootWindow(x.dpy), 0, 0, kWidth, kHeight, 0, 0, 0x00ff00);
        XMapRaised(x.dpy, cover);
        XSync(x.dpy, False);
        XDestroyWindow(x.dpy, cover);
        XSync(x.dpy, False);
        EXPECT_TRUE(x.idleUntil(frame, [&] { return x.screenMismatches(child, frame->getBackingSurface()) == 0; }));
        if (!shm) {
            frame->forget();
            continue;
        }
        // Keys typed on the X keyboard reach the text field the click started editing.
        x.moveTo(30, 57);
        x.tap(1);
        ASSERT_TRUE(x.idleUntil(frame, [&] { return edit->isEditing(); }));
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x.dpy, &focus, &revert);
        EXPECT_EQ(focus, child);
        const KeyCode shift = XKeysymToKeycode(x.dpy, XK_Shift_L);
        XTestFakeKeyEvent(x.dpy, shift, True, CurrentTime);
        x.tap(0, XK_o);
        XTestFakeKeyEvent(x.dpy, shift, False, CurrentTime);
        x.tap(0, XK_k);
        x.tap(0, XK_Return);
        ASSERT_TRUE(x.idleUntil(frame, [&] { return !edit->isEditing(); }));
        EXPECT_STREQ(edit->getText(), "InitOk");
        x.moveTo(130, 70);
        x.tap(4);
        x.tap(5);
        ASSERT_TRUE(x.idleUntil(frame, [&] { return probe->wheel.size() == 2; }));
        EXPECT_EQ(probe->wheel, (std::vector<float>{1.0f, -1.0f}));
        XDestroyWindow(x.dpy, x.top);
        XSync(x.dpy, False);
        frame->idle();
        frame->forget();
    }
}

}  // namespace
}  // namespace orv::test
