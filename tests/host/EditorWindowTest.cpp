// The editor through the module's ABI under a private Xvfb server, as a host opens it: the
// rectangle from effEditGetRect, effEditOpen into a parent window of the host, idles, a
// screenshot that equals the same editor rendered offscreen in this process, a click that
// reaches the effect and the host as automation, and effEditClose taking the window away.
#include <cairo.h>
#include <gtest/gtest.h>

// The project's headers come before Xlib's, whose macros (None, Bool, ...) would clash.
#include "editor/RotaryEditor.h"
#include "plugin/RotaryEffect.h"
#include "host/HostTestSupport.h"
#include "support/XvfbServer.h"
#include "toolkit/CFrame.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace orv::test {
namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

vst::iptr offscreenHost(vst::AEffect*, vst::i32 opcode, vst::i32, vst::iptr, void*, float)
{
    return opcode == vst::audioMasterVersion ? vst::kVstVersion : 0;
}

class EditorWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        serverError = server.start(kScreenWidth, kScreenHeight);
        if (serverError.empty()) setenv("DISPLAY", server.display().c_str(), 1);
        // Held for the whole suite: Xvfb resets when its last client leaves, and turns away
        // whoever connects during the reset (the next test).
        if (serverError.empty()) keeper = XOpenDisplay(server.display().c_str());
    }
    static void TearDownTestSuite()
    {
        if (keeper != nullptr) XCloseDisplay(keeper);
        keeper = nullptr;
        server.stop();
    }

    void SetUp() override
    {
        if (!serverError.empty()) GTEST_SKIP() << serverError;
        ASSERT_FALSE(modulePath().empty()) << "ORV_MODULE names no module";
        ASSERT_TRUE(host.start(modulePath())) << host.error();
        dpy = XOpenDisplay(server.display().c_str());
        ASSERT_NE(dpy, nullptr);
        parent = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 448, 696, 0, 0, 0);
        XSelectInput(dpy, parent, StructureNotifyMask);
        XMapWindow(dpy, parent);
        XEvent ev;
        do XNextEvent(dpy, &ev);
        while (ev.type != MapNotify);
        movePointerAway();
    }
    // The pointer leaves the editor, so that nothing shows a hover state.
    void movePointerAway()
    {
        XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, kScreenWidth - 10, kScreenHeight - 10);
        XSync(dpy, False);
    }
    void TearDown() override
    {
        if (host.isLoaded()) host.close();
        if (dpy != nullptr) {
            XDestroyWindow(dpy, parent);
            XCloseDisplay(dpy);
        }
    }

    // Host idles as a DAW sends them, a little apart.
    void idle(int times)
    {
        for (int i = 0; i < times; ++i) {
            host.dispatch(vst::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XSync(dpy, False);
    }

    int childCount()
    {
        Window root = 0, up = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(dpy, parent, &root, &up, &children, &count)) return -1;
        if (children != nullptr) XFree(children);
        return static_cast<int>(count);
    }

    // Pixels of the parent window's area that differ from the image (0xRRGGBB per pixel).
    int mismatchesAgainst(cairo_surface_t* expected)
    {
        XImage* shot = XGetImage(dpy, parent, 0, 0, 448, 696, AllPlanes, ZPixmap);
        if (shot == nullptr) return -1;
        cairo_surface_flush(expected);
        const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(expected));
        const int stride = cairo_image_surface_get_stride(expected) / 4;
        int bad = 0;
        for (int y = 0; y < 696; ++y)
            for (int x = 0; x < 448; ++x)
                if ((XGetPixel(shot, x, y) & 0xffffff) != (data[y * stride + x] & 0xffffffu)) ++bad;
        XDestroyImage(shot);
        return bad;
    }

    void clickAt(int x, int y)
    {
        XTestFakeMotionEvent(dpy, 0, x, y, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
        XSync(dpy, False);
    }

    static XvfbServer server;
    static std::string serverError;
    static Display* keeper;
    PluginHost host;
    Display* dpy = nullptr;
    Window parent = 0;
};

XvfbServer EditorWindowTest::server;
std::string EditorWindowTest::serverError;
Display* EditorWindowTest::keeper = nullptr;

TEST_F(EditorWindowTest, OpensInTheHostWindowLooksLikeTheOffscreenRenderAndCloses)
{
    vst::ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 448);
    EXPECT_EQ(rect->bottom - rect->top, 696);

    ASSERT_EQ(childCount(), 0);
    void* window = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
    ASSERT_EQ(host.dispatch(vst::effEditOpen, 0, 0, window), 1);
    idle(10);
    EXPECT_EQ(childCount(), 1);

    // The same editor, built in this process, rendered without a window.
    RotaryEffect reference(offscreenHost);
    auto* editor = static_cast<RotaryEditor*>(reference.getEditor());
    ASSERT_TRUE(editor->openOffscreen());
    editor->idle();
    EXPECT_EQ(mismatchesAgainst(editor->getFrame()->getBackingSurface()), 0);

    // A click on Bypass reaches the effect, the host hears of it, and the window shows it.
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XTestQueryExtension(dpy, &eventBase, &errorBase, &major, &minor)) {
        host.clearCalls();
        clickAt(300, 632);
        idle(10);
        EXPECT_FLOAT_EQ(host.getParameter(0), 1.0f);
        bool automated = false;
        for (const PluginHost::Call& c : host.callsWith(vst::audioMasterAutomate))
            if (c.index == 0 && c.opt == 1.0f) automated = true;
        EXPECT_TRUE(automated);
        EXPECT_EQ(host.callCount(vst::audioMasterBeginEdit), 1);
        EXPECT_EQ(host.callCount(vst::audioMasterEndEdit), 1);
        movePointerAway();
        reference.setParameter(0, 1.0f);
        idle(10);
        editor->idle();
        EXPECT_EQ(mismatchesAgainst(editor->getFrame()->getBackingSurface()), 0);
    }
    editor->close();

    host.dispatch(vst::effEditClose);
    XSync(dpy, False);
    EXPECT_EQ(childCount(), 0);
    // Idles after closing are harmless, and the editor opens again.
    idle(2);
    ASSERT_EQ(host.dispatch(vst::effEditOpen, 0, 0, window), 1);
    idle(3);
    EXPECT_EQ(childCount(), 1);
    host.dispatch(vst::effEditClose);
    XSync(dpy, False);
    EXPECT_EQ(childCount(), 0);
}

}  // namespace
}  // namespace orv::test
