#include "toolkit/X11PlatformFrame.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "toolkit/CFrame.h"
#include "toolkit/DrawBackend.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
// For XESetWireToError and xError; it also defines min and max as macros.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace orv {

namespace {

// Errors on the editor's own connection (a parent window destroyed before the editor is
// closed, a shared-memory segment the server cannot attach) are recorded here and dropped
// instead of reaching the host's process-wide error handler, which would usually exit.
thread_local Display* tlErrorDisplay = nullptr;
thread_local int tlErrorCode = 0;

Bool swallowWireError(Display* display, XErrorEvent* event, xError*)
{
    tlErrorDisplay = display;
    tlErrorCode = event->error_code;
    return False;  // handled: not passed on to the error handler
}

void installErrorHooks(Display* display)
{
    constexpr int kFirstCoreError = 1;  // BadRequest
    constexpr int kLastCoreError = 17;  // BadImplementation
    for (int code = kFirstCoreError; code <= kLastCoreError; ++code) XESetWireToError(display, code, swallowWireError);
    int opcode = 0, eventBase = 0, errorBase = 0;
    if (XQueryExtension(display, "MIT-SHM", &opcode, &eventBase, &errorBase))
        XESetWireToError(display, errorBase, swallowWireError);  // BadShmSeg
}

bool takeError(Display* display)
{
    const bool had = tlErrorDisplay == display && tlErrorCode != 0;
    if (tlErrorDisplay == display) tlErrorCode = 0;
    return had;
}

// An X11 state mask and the bit it stands for in our button states or key modifiers.
struct StateBit {
    unsigned int mask;
    uint32_t bit;
};
constexpr StateBit kModifierBits[] = {{ShiftMask, kShift}, {ControlMask, kControl}, {Mod1Mask, kAlt}};
constexpr StateBit kKeyModifierBits[] = {
    {ShiftMask, MODIFIER_SHIFT}, {ControlMask, MODIFIER_CONTROL}, {Mod1Mask, MODIFIER_ALTERNATE}};
constexpr StateBit kHeldButtonBits[] = {{Button1Mask, kLButton}, {Button2Mask, kMButton}, {Button3Mask, kRButton}};

template <std::size_t N>
uint32_t translateState(unsigned int state, const StateBit (&table)[N])
{
    uint32_t bits = 0;
    for (const StateBit& b : table)
        if (state & b.mask) bits |= b.bit;
    return bits;
}

uint32_t modifierBits(unsigned int state) { return translateState(state, kModifierBits); }

// The held buttons and the modifiers of a pointer event's state.
uint32_t pointerState(unsigned int state) { return translateState(state, kHeldButtonBits) | modifierBits(state); }

uint32_t buttonBit(unsigned int button)
{
    switch (button) {
    case Button1: return kLButton;
    case Button2: return kMButton;
    case Button3: return kRButton;
    default: return 0;
    }
}

bool isWheelButton(unsigned int button) { return button >= Button4 && button <= 7; }  // 6, 7: sideways

constexpr unsigned long kDoubleClickTimeMs = 400;  // longest gap between the two presses
constexpr int kDoubleClickDistance = 4;            // largest movement between them, pixels

// The keys that have a virtual key code, each with its keypad or shifted double.
struct NamedKey {
    KeySym sym;
    KeySym alternative;  // NoSymbol where there is none
    uint8_t virt;
};
// clang-format off
constexpr NamedKey kNamedKeys[] = {
    {XK_BackSpace, NoSymbol, VKEY_BACK}, {XK_Tab, XK_ISO_Left_Tab, VKEY_TAB}, {XK_Return, NoSymbol, VKEY_RETURN},
    {XK_KP_Enter, NoSymbol, VKEY_ENTER}, {XK_Escape, NoSymbol, VKEY_ESCAPE}, {XK_space, NoSymbol, VKEY_SPACE},
    {XK_End, XK_KP_End, VKEY_END}, {XK_Home, XK_KP_Home, VKEY_HOME}, {XK_Left, XK_KP_Left, VKEY_LEFT},
    {XK_Up, XK_KP_Up, VKEY_UP}, {XK_Right, XK_KP_Right, VKEY_RIGHT}, {XK_Down, XK_KP_Down, VKEY_DOWN},
    {XK_Page_Up, XK_KP_Page_Up, VKEY_PAGEUP}, {XK_Page_Down, XK_KP_Page_Down, VKEY_PAGEDOWN},
    {XK_Insert, XK_KP_Insert, VKEY_INSERT}, {XK_Delete, XK_KP_Delete, VKEY_DELETE}};
// clang-format on

bool translateKey(XKeyEvent& xkey, VstKeyCode& key)
{
    char text[8] = {};
    KeySym sym = 0;
    const int n = XLookupString(&xkey, text, sizeof text, &sym, nullptr);
    key = VstKeyCode{};
    key.modifier = static_cast<uint8_t>(translateState(xkey.state, kKeyModifierBits));
    for (const NamedKey& k : kNamedKeys) {
        if (sym == NoSymbol || (sym != k.sym && sym != k.alternative)) continue;
        key.virt = k.virt;
        if (sym == XK_space) key.character = ' ';
        return true;
    }
    if (n == 1 && static_cast<unsigned char>(text[0]) >= 32 && text[0] != 127) {
        key.character = static_cast<unsigned char>(text[0]);
        return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<IPlatformFrame> createPlatformFrame(CFrame* frame, void* parentWindow)
{
    return std::make_unique<X11PlatformFrame>(frame,
                                              static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parentWindow)));
}

X11PlatformFrame::X11PlatformFrame(CFrame* frame, unsigned long parentWindow) : frame_(frame), parent_(parentWindow)
{
    width_ = frame->getWidth();
    height_ = frame->getHeight();
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return;
    installErrorHooks(display_);
    takeError(display_);

    XWindowAttributes parentAttributes{};
    if (!XGetWindowAttributes(display_, parent_, &parentAttributes) || takeError(display_)) return;

    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // no server-side clearing: every pixel comes from the image
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
        LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask;
    window_ = XCreateWindow(display_, parent_, 0, 0, static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                            CopyFromParent, InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XSync(display_, False);
    if (window_ == 0 || takeError(display_)) {
        window_ = 0;
        return;
    }
    gc_ = XCreateGC(display_, window_, 0, nullptr);
    if (!createImage(parentAttributes.visual, parentAttributes.depth)) return;
    XMapWindow(display_, window_);
    XSync(display_, False);
    valid_ = !takeError(display_);
}

X11PlatformFrame::~X11PlatformFrame()
{
    if (display_ == nullptr) return;
    destroyImage();
    if (gc_ != nullptr) XFreeGC(display_, gc_);
    // The parent may already be gone (and our window with it); the error is swallowed.
    if (window_ != 0) XDestroyWindow(display_, window_);
    XSync(display_, False);
    takeError(display_);
    XCloseDisplay(display_);
}

bool X11PlatformFrame::createImage(void* visualPtr, int depth)
{
    auto* visual = static_cast<Visual*>(visualPtr);
    // The backing image has 32 bits per pixel, 0x00RRGGBB in native order.
    if (visual == nullptr || (depth != 24 && depth != 32) || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0x00ff00 || visual->blue_mask != 0x0000ff)
        return false;
    forceOpaque_ = depth == 32;

    // ORV_X11_NO_SHM=1 forces the plain path (for diagnosing a display that misbehaves with it).
    const char* noShm = std::getenv("ORV_X11_NO_SHM");
    if ((noShm == nullptr || std::strcmp(noShm, "1") != 0) && XShmQueryExtension(display_)) {
        auto* info = new XShmSegmentInfo{};
        XImage* img = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, info,
                                      static_cast<unsigned>(width_), static_cast<unsigned>(height_));
        if (img != nullptr && img->bits_per_pixel == 32) {
            info->shmid = shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * img->height, IPC_CREAT | 0600);
            if (info->shmid >= 0) {
                info->shmaddr = static_cast<char*>(shmat(info->shmid, nullptr, 0));
                if (info->shmaddr != reinterpret_cast<char*>(-1)) {
                    img->data = info->shmaddr;
                    info->readOnly = False;
                    XShmAttach(display_, info);
                    XSync(display_, False);
                    // Removed now, so the segment goes away with the last detach even if we crash.
                    shmctl(info->shmid, IPC_RMID, nullptr);
                    if (!takeError(display_)) {
                        // The image refers to the segment description: it lives as long as the image.
                        image_ = img;
                        shmInfo_ = info;
                        useShm_ = true;
                        return true;
                    }
                    shmdt(info->shmaddr);
                } else {
                    shmctl(info->shmid, IPC_RMID, nullptr);
                }
            }
        }
        if (img != nullptr) {
            img->data = nullptr;
            XDestroyImage(img);
        }
        delete info;
    }

    // No shared memory (a remote display, or the server refused): plain XPutImage.
    const int stride = width_ * 4;
    char* data = static_cast<char*>(std::malloc(static_cast<size_t>(stride) * height_));
    if (data == nullptr) return false;
    XImage* img = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, data,
                               static_cast<unsigned>(width_), static_cast<unsigned>(height_), 32, stride);
    if (img == nullptr) {
        std::free(data);
        return false;
    }
    img->byte_order = LSBFirst;  // the pixels are little-endian words; Xlib swaps for the server
    image_ = img;
    return true;
}

void X11PlatformFrame::destroyImage()
{
    if (image_ == nullptr) return;
    auto* info = static_cast<XShmSegmentInfo*>(shmInfo_);
    if (useShm_ && info != nullptr) {
        XShmDetach(display_, info);
        XSync(display_, False);
        shmdt(info->shmaddr);
        image_->data = nullptr;
    }
    XDestroyImage(image_);  // frees the malloc'ed pixels of the fallback image
    image_ = nullptr;
    delete info;
    shmInfo_ = nullptr;
}

uintptr_t X11PlatformFrame::getTopLevelWindowId() const
{
    if (display_ == nullptr || window_ == 0) return 0;
    Window current = window_;
    for (;;) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, current, &root, &parent, &children, &count)) return 0;
        if (children != nullptr) XFree(children);
        if (parent == 0 || parent == root) return current;
        current = parent;
    }
}

void X11PlatformFrame::invalidate(const CRect& r) { pending_.push_back(r); }

void X11PlatformFrame::put(const CRect& area)
{
    CRect r = area;
    r.bound(CRect(0, 0, width_, height_));
    if (r.isEmpty() || image_ == nullptr) return;
    const SurfacePixels backing = readSurfacePixels(frame_->getBackingSurface());
    const unsigned char* src = backing.data;
    const int srcStride = backing.stride;
    for (int y = r.top; y < r.bottom; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(src + static_cast<ptrdiff_t>(y) * srcStride) + r.left;
        auto* d =
            reinterpret_cast<uint32_t*>(image_->data + static_cast<ptrdiff_t>(y) * image_->bytes_per_line) + r.left;
        if (forceOpaque_) {
            for (int x = 0; x < r.getWidth(); ++x) d[x] = s[x] | 0xff000000u;
        } else {
            std::memcpy(d, s, static_cast<size_t>(r.getWidth()) * 4);
        }
    }
    if (useShm_)
        XShmPutImage(display_, window_, gc_, image_, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.getWidth()),
                     static_cast<unsigned>(r.getHeight()), False);
    else
        XPutImage(display_, window_, gc_, image_, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.getWidth()),
                  static_cast<unsigned>(r.getHeight()));
}

void X11PlatformFrame::flush()
{
    if (!valid_ || pending_.empty()) return;
    // One bounding box per flush: fewer requests, and the image is copied only once per pixel.
    CRect all;
    for (const CRect& r : pending_) all.unite(r);
    pending_.clear();
    put(all);
    // The server has read the shared image before anyone writes into it again.
    XSync(display_, False);
    takeError(display_);
}

void X11PlatformFrame::processPaintEvents()
{
    if (!valid_) return;
    XEvent ev;
    while (XCheckTypedWindowEvent(display_, window_, Expose, &ev))
        pending_.push_back(
            CRect(ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width, ev.xexpose.y + ev.xexpose.height));
    flush();
}

void X11PlatformFrame::processEvents()
{
    if (!valid_) return;
    while (valid_ && XPending(display_) > 0) {
        XEvent ev;
        XNextEvent(display_, &ev);
        // Runs of motion events collapse into the last one; anything in between keeps its order.
        if (ev.type == MotionNotify) {
            while (XPending(display_) > 0) {
                XEvent next;
                XPeekEvent(display_, &next);
                if (next.type != MotionNotify || next.xmotion.window != ev.xmotion.window) break;
                XNextEvent(display_, &ev);
            }
        }
        handleEvent(ev);
    }
    takeError(display_);
}

void X11PlatformFrame::takeKeyboardFocus()
{
    if (!valid_) return;
    XSetInputFocus(display_, window_, RevertToParent, lastEventTime_ != 0 ? lastEventTime_ : CurrentTime);
    XFlush(display_);
}

void X11PlatformFrame::handleEvent(XEvent& ev)
{
    if (ev.xany.window != window_) return;
    switch (ev.type) {
    case Expose:
        pending_.push_back(
            CRect(ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width, ev.xexpose.y + ev.xexpose.height));
        break;
    case ButtonPress: {
        XButtonEvent& b = ev.xbutton;
        lastEventTime_ = b.time;
        CPoint where(b.x, b.y);
        const uint32_t mods = modifierBits(b.state);
        if (isWheelButton(b.button)) {
            if (b.button == Button4 || b.button == Button5)
                frame_->onWheel(where, b.button == Button4 ? 1.0f : -1.0f, CButtonState(pointerState(b.state)));
            break;
        }
        uint32_t bits = buttonBit(b.button) | mods;
        const bool isDouble = !lastPressWasDouble_ && b.button == lastPressButton_ &&
            b.time - lastPressTime_ <= kDoubleClickTimeMs &&
            std::abs(b.x - lastPressPoint_.x) <= kDoubleClickDistance &&
            std::abs(b.y - lastPressPoint_.y) <= kDoubleClickDistance;
        if (isDouble) bits |= kDoubleClick;
        // A third quick press starts a new pair rather than being another double-click.
        lastPressWasDouble_ = isDouble;
        lastPressTime_ = b.time;
        lastPressButton_ = b.button;
        lastPressPoint_ = where;
        frame_->platformOnMouseDown(where, CButtonState(bits));
        break;
    }
    case ButtonRelease: {
        XButtonEvent& b = ev.xbutton;
        lastEventTime_ = b.time;
        if (isWheelButton(b.button)) break;
        CPoint where(b.x, b.y);
        frame_->onMouseUp(where, CButtonState(buttonBit(b.button) | modifierBits(b.state)));
        break;
    }
    case MotionNotify: {
        XMotionEvent& m = ev.xmotion;
        lastEventTime_ = m.time;
        CPoint where(m.x, m.y);
        frame_->onMouseMoved(where, CButtonState(pointerState(m.state)));
        break;
    }
    case EnterNotify:
    case LeaveNotify: {
        XCrossingEvent& c = ev.xcrossing;
        if (c.mode != NotifyNormal) break;
        CPoint where(c.x, c.y);
        const CButtonState buttons(pointerState(c.state));
        if (ev.type == EnterNotify)
            frame_->onMouseMoved(where, buttons);
        else
            frame_->onMouseExited(where, buttons);
        break;
    }
    case KeyPress:
    case KeyRelease: {
        lastEventTime_ = ev.xkey.time;
        VstKeyCode key;
        if (!translateKey(ev.xkey, key)) break;
        if (ev.type == KeyRelease) {
            frame_->onKeyUp(key);
            break;
        }
        const int32_t used = frame_->onKeyDown(key);
        // An Escape nobody wanted hands the keyboard back to the host's window.
        if (used == -1 && key.virt == VKEY_ESCAPE) {
            XSetInputFocus(display_, parent_, RevertToParent, ev.xkey.time);
            XFlush(display_);
        }
        break;
    }
    case DestroyNotify:
        valid_ = false;
        window_ = 0;
        break;
    default: break;
    }
}

}  // namespace orv
