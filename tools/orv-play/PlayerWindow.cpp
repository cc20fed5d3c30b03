#include "orv-play/PlayerWindow.h"

#include <poll.h>

#include <cstdlib>
#include <cstring>

// After the project's headers: Xlib's macros (None, Bool, Status) clash with names there.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace orv::play {

bool PlayerWindow::open(std::string& error)
{
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        const char* name = std::getenv("DISPLAY");
        error = name != nullptr ? std::string("cannot open the X display ") + name
                                : std::string("no X display (DISPLAY is not set)");
        error += "; use --no-window for audio only";
        return false;
    }
    vst::ERect* rect = nullptr;
    host_.dispatch(vst::effEditGetRect, 0, 0, &rect);
    constexpr int kFallbackWidth = 448, kFallbackHeight = 696;  // the editor's size
    const int width = rect != nullptr ? rect->right - rect->left : kFallbackWidth;
    const int height = rect != nullptr ? rect->bottom - rect->top : kFallbackHeight;

    const int screen = DefaultScreen(display_);
    window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, BlackPixel(display_, screen),
                                  BlackPixel(display_, screen));
    // A fixed size: the editor does not resize.
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
    XClassHint* classHint = XAllocClassHint();
    classHint->res_name = const_cast<char*>("orv-play");
    classHint->res_class = const_cast<char*>("orv-play");
    XSetClassHint(display_, window_, classHint);
    XFree(classHint);
    deleteAtom_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    Atom protocols[] = {deleteAtom_};
    XSetWMProtocols(display_, window_, protocols, 1);
    XSelectInput(display_, window_, StructureNotifyMask);
    updateTitle();
    XMapWindow(display_, window_);
    XSync(display_, False);

    editorOpen_ = host_.dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(window_)) != 0;
    if (!editorOpen_) {
        error = "the effect did not open its editor";
        close();
        return false;
    }
    return true;
}

void PlayerWindow::updateTitle()
{
    const std::string name = host_.programName();
    if (name == title_ && !title_.empty()) return;
    title_ = name;
    XStoreName(display_, window_, name.c_str());
    // The UTF-8 title that current window managers show.
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    XChangeProperty(display_, window_, netName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.data()), static_cast<int>(name.size()));
    XFlush(display_);
}

bool PlayerWindow::idle()
{
    if (display_ == nullptr || closed_) return false;
    while (XPending(display_) > 0) {
        XEvent e;
        XNextEvent(display_, &e);
        if (e.type == ClientMessage && static_cast<unsigned long>(e.xclient.data.l[0]) == deleteAtom_) closed_ = true;
        if (e.type == DestroyNotify && e.xdestroywindow.window == window_) closed_ = destroyed_ = true;
    }
    if (closed_) return false;
    host_.dispatch(vst::effEditIdle);
    updateTitle();
    return true;
}

void PlayerWindow::wait(int milliseconds)
{
    if (display_ == nullptr) return;
    pollfd p{ConnectionNumber(display_), POLLIN, 0};
    if (XPending(display_) == 0) poll(&p, 1, milliseconds);
}

void PlayerWindow::close()
{
    if (editorOpen_) host_.dispatch(vst::effEditClose);
    editorOpen_ = false;
    if (display_ != nullptr) {
        if (window_ != 0 && !destroyed_) XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    display_ = nullptr;
    window_ = 0;
}

}  // namespace orv::play
