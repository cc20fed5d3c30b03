// The editor through the module's ABI under a private Xvfb server, as a host opens it: the
// rectangle from effEditGetRect, effEditOpen into a parent window of the host, idles, a
// screenshot that equals the same editor rendered offscreen in this process, a click that
// reaches the effect and the host as automation, and effEditClose taking the window away.
#include <cairo.h>

// The project's headers come before Xlib's, whose macros (None, Bool, ...) would clash.
#include "editor/RotaryEditor.h"
#include "plugin/RotaryEffect.h"
#include "host/HostTestSupport.h"
#include "support/RecordingHost.h"
#include "support/XvfbServer.h"
#include "toolkit/CFrame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace orv::test {
namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// Pixels of the window's area that differ from the image (0xRRGGBB per pixel).
int mismatches(Display* dpy, Window window, cairo_surface_t* expected)
{
    XImage* shot = XGetImage(dpy, window, 0, 0, 448, 696, AllPlanes, ZPixmap);
    if (shot == nullptr) return -1;
    cairo_surface_flush(expected);
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(expected));
    const int stride = cairo_image_surface_get_stride(expected) / 4;
    int bad = 0;
    for (int y = 0; y < 696; ++y)
        for (int x = 0; x < 448; ++x) bad += (XGetPixel(shot, x, y) & 0xffffff) != (data[y * stride + x] & 0xffffffu);
    XDestroyImage(shot);
    return bad;
}

TEST(EditorWindow, OpensInTheHostWindowLooksLikeTheOffscreenRenderAndCloses)
{
    XvfbServer server;
    const std::string why = server.start(kScreenWidth, kScreenHeight);
    if (!why.empty()) GTEST_SKIP() << why;
    setenv("DISPLAY", server.display().c_str(), 1);
    // One connection for the whole test: Xvfb resets when its last client leaves, and turns
    // away whoever connects during the reset.
    Display* dpy = XOpenDisplay(server.display().c_str());
    ASSERT_NE(dpy, nullptr);
    PluginHost host;
    ASSERT_TRUE(host.start(modulePath())) << host.error();
    const Window parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 448, 696, 0, 0, 0);
    XSelectInput(dpy, parent, StructureNotifyMask);
    XMapWindow(dpy, parent);
    XEvent ev;
    do XNextEvent(dpy, &ev);
    while (ev.type != MapNotify);
    // The pointer leaves the editor, so that nothing shows a hover state.
    const auto movePointerAway = [&] {
        XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, kScreenWidth - 10, kScreenHeight - 10);
        XSync(dpy, False);
    };
    // Host idles as a DAW sends them, a little apart.
    const auto idle = [&](int times) {
        for (int i = 0; i < times; ++i) {
            host.dispatch(vst::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XSync(dpy, False);
    };
    const auto childCount = [&] {
        Window root = 0, up = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(dpy, parent, &root, &up, &children, &count)) return -1;
        if (children != nullptr) XFree(children);
        return static_cast<int>(count);
    };
    movePointerAway();

    vst::ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(std::vector<int>({rect->top, rect->left, rect->bottom, rect->right}), std::vector<int>({0, 0, 696, 448}));
    ASSERT_EQ(childCount(), 0);
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
    ASSERT_EQ(host.dispatch(vst::effEditOpen, 0, 0, window), 1);
    idle(10);
    EXPECT_EQ(childCount(), 1);

    // The same editor, built in this process, rendered without a window.
    RotaryEffect reference(recordingHost);
    auto* editor = static_cast<RotaryEditor*>(reference.getEditor());
    ASSERT_TRUE(editor->openOffscreen());
    editor->idle();
    EXPECT_EQ(mismatches(dpy, parent, editor->getFrame()->getBackingSurface()), 0);

    // A click on Bypass reaches the effect, the host hears of it, and the window shows it.
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) {
        host.clearCalls();
        XTestFakeMotionEvent(dpy, 0, 300, 632, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XSync(dpy, False);
        idle(10);
        EXPECT_FLOAT_EQ(host.getParameter(0), 1.0f);
        bool automated = false;
        for (const PluginHost::Call& c : host.callsWith(vst::audioMasterAutomate))
            automated = automated || (c.index == 0 && c.opt == 1.0f);
        EXPECT_TRUE(automated);
        EXPECT_EQ(host.callCount(vst::audioMasterBeginEdit), 1);
        EXPECT_EQ(host.callCount(vst::audioMasterEndEdit), 1);
        movePointerAway();
        reference.setParameter(0, 1.0f);
        idle(10);
        editor->idle();
        EXPECT_EQ(mismatches(dpy, parent, editor->getFrame()->getBackingSurface()), 0);
    }
    editor->close();

    // Closing takes the window away; idles after it are harmless, and the editor opens again.
    for (int round = 0; round < 2; ++round) {
        host.dispatch(vst::effEditClose);
        XSync(dpy, False);
        EXPECT_EQ(childCount(), 0);
        idle(2);
        if (round == 0) {
            ASSERT_EQ(host.dispatch(vst::effEditOpen, 0, 0, window), 1);
            idle(3);
            EXPECT_EQ(childCount(), 1);
        }
    }
    host.close();
    XDestroyWindow(dpy, parent);
    XCloseDisplay(dpy);
}

}  // namespace
}  // namespace orv::test
