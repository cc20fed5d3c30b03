#include "toolkit/windows/Win32PlatformFrame.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "toolkit/CFrame.h"
#include "toolkit/DrawBackend.h"
#include "toolkit/VstKeyCode.h"

namespace orv {

namespace {

HINSTANCE moduleInstance()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&moduleInstance), &self);
    return self;
}

LRESULT CALLBACK frameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32PlatformFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
        const LRESULT result = self->handleMessage(message, wParam, lParam);
        if (result != -1) return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// One window class per loaded copy of the module (the name carries its address), registered
// on first use; it stays registered while the module is loaded.
const wchar_t* windowClassName()
{
    static const std::wstring name = [] {
        wchar_t text[64];
        wsprintfW(text, L"OrvGyrola2Frame%p", static_cast<void*>(moduleInstance()));
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;  // double-clicks arrive as their own messages
        wc.lpfnWndProc = frameWindowProc;
        wc.hInstance = moduleInstance();
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = text;
        RegisterClassExW(&wc);
        return std::wstring(text);
    }();
    return name.c_str();
}

uint32_t modifierBits(WPARAM wParam)
{
    uint32_t bits = 0;
    if (wParam & MK_SHIFT) bits |= kShift;
    if (wParam & MK_CONTROL) bits |= kControl;
    if (GetKeyState(VK_MENU) < 0) bits |= kAlt;
    return bits;
}

uint32_t heldButtons(WPARAM wParam)
{
    uint32_t bits = 0;
    if (wParam & MK_LBUTTON) bits |= kLButton;
    if (wParam & MK_MBUTTON) bits |= kMButton;
    if (wParam & MK_RBUTTON) bits |= kRButton;
    return bits;
}

uint8_t keyModifiers()
{
    uint8_t bits = 0;
    if (GetKeyState(VK_SHIFT) < 0) bits |= MODIFIER_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) bits |= MODIFIER_CONTROL;
    if (GetKeyState(VK_MENU) < 0) bits |= MODIFIER_ALTERNATE;
    return bits;
}

// The keys that come as virtual keys; everything else arrives as a character (WM_CHAR).
uint8_t virtualKey(WPARAM vk, LPARAM lParam)
{
    const bool extended = (lParam & (1 << 24)) != 0;
    switch (vk) {
    case VK_BACK: return VKEY_BACK;
    case VK_TAB: return VKEY_TAB;
    case VK_RETURN: return extended ? VKEY_ENTER : VKEY_RETURN;
    case VK_ESCAPE: return VKEY_ESCAPE;
    case VK_SPACE: return VKEY_SPACE;
    case VK_END: return VKEY_END;
    case VK_HOME: return VKEY_HOME;
    case VK_LEFT: return VKEY_LEFT;
    case VK_UP: return VKEY_UP;
    case VK_RIGHT: return VKEY_RIGHT;
    case VK_DOWN: return VKEY_DOWN;
    case VK_PRIOR: return VKEY_PAGEUP;
    case VK_NEXT: return VKEY_PAGEDOWN;
    case VK_INSERT: return VKEY_INSERT;
    case VK_DELETE: return VKEY_DELETE;
    default: return 0;
    }
}

}  // namespace

std::unique_ptr<IPlatformFrame> createPlatformFrame(CFrame* frame, void* parentWindow)
{
    return std::make_unique<Win32PlatformFrame>(frame, parentWindow);
}

Win32PlatformFrame::Win32PlatformFrame(CFrame* frame, void* parentWindow) : frame_(frame), parent_(parentWindow)
{
    auto* parent = static_cast<HWND>(parentWindow);
    if (parent == nullptr || !IsWindow(parent)) return;
    window_ = CreateWindowExW(0, windowClassName(), L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                              frame->getWidth(), frame->getHeight(), parent, nullptr, moduleInstance(), this);
}

Win32PlatformFrame::~Win32PlatformFrame()
{
    auto* hwnd = static_cast<HWND>(window_);
    if (hwnd == nullptr) return;
    // No more messages for this object, whatever happens to the window from here on.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window_ = nullptr;
    if (GetCapture() == hwnd) ReleaseCapture();
    DestroyWindow(hwnd);
}

uintptr_t Win32PlatformFrame::getTopLevelWindowId() const
{
    return window_ != nullptr ? reinterpret_cast<uintptr_t>(GetAncestor(static_cast<HWND>(window_), GA_ROOT)) : 0;
}

void Win32PlatformFrame::processEvents()
{
    // The host's loop normally dispatches our messages; this delivers what is waiting when a
    // host idles the editor without one.
    MSG msg;
    while (window_ != nullptr && PeekMessageW(&msg, static_cast<HWND>(window_), 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32PlatformFrame::processPaintEvents()
{
    if (window_ != nullptr) UpdateWindow(static_cast<HWND>(window_));
}

void Win32PlatformFrame::invalidate(const CRect& r)
{
    if (hasPending_)
        pending_.unite(r);
    else
        pending_ = r;
    hasPending_ = true;
}

void Win32PlatformFrame::flush()
{
    if (window_ == nullptr || !hasPending_) return;
    const RECT r{pending_.left, pending_.top, pending_.right, pending_.bottom};
    hasPending_ = false;
    InvalidateRect(static_cast<HWND>(window_), &r, FALSE);
    UpdateWindow(static_cast<HWND>(window_));
}

void Win32PlatformFrame::takeKeyboardFocus()
{
    if (window_ != nullptr) SetFocus(static_cast<HWND>(window_));
}

void Win32PlatformFrame::paint()
{
    auto* hwnd = static_cast<HWND>(window_);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const SurfacePixels backing = readSurfacePixels(frame_->getBackingSurface());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = backing.width;
    info.bmiHeader.biHeight = -backing.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const RECT& r = ps.rcPaint;
    const int right = std::min<int>(r.right, backing.width);
    const int bottom = std::min<int>(r.bottom, backing.height);
    if (right > r.left && bottom > r.top)
        // Bottom-up source coordinates: the rows are counted from the image's last one.
        SetDIBitsToDevice(dc, r.left, r.top, static_cast<DWORD>(right - r.left), static_cast<DWORD>(bottom - r.top),
                          r.left, backing.height - bottom, 0, static_cast<UINT>(backing.height), backing.data, &info,
                          DIB_RGB_COLORS);
    EndPaint(hwnd, &ps);
}

intptr_t Win32PlatformFrame::handleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    auto* hwnd = static_cast<HWND>(window_);
    CPoint where(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        if (hwnd == nullptr) return -1;
        paint();
        return 0;
    case WM_ERASEBKGND: return 1;  // every pixel comes from the backing image
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const bool isDouble = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
        const uint32_t button = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? kLButton
            : message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK                   ? kRButton
                                                                                         : kMButton;
        // Moves and the release keep coming while the button is held, outside the window too.
        SetCapture(hwnd);
        frame_->platformOnMouseDown(
            where, CButtonState(button | modifierBits(wParam) | (isDouble ? uint32_t{kDoubleClick} : 0u)));
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const uint32_t button = message == WM_LBUTTONUP ? kLButton : message == WM_RBUTTONUP ? kRButton : kMButton;
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd) ReleaseCapture();
        frame_->onMouseUp(where, CButtonState(button | modifierBits(wParam)));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        frame_->onMouseMoved(where, CButtonState(heldButtons(wParam) | modifierBits(wParam)));
        return 0;
    case WM_MOUSELEAVE: {
        trackingLeave_ = false;
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        CPoint at(p.x, p.y);
        frame_->onMouseExited(at, CButtonState(modifierBits(0)));
        return 0;
    }
    case WM_MOUSEWHEEL: {
        // Wheel positions are in screen coordinates; one notch is one step.
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd, &p);
        const float distance = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
        const WPARAM keys = GET_KEYSTATE_WPARAM(wParam);
        frame_->onWheel(CPoint(p.x, p.y), distance, CButtonState(heldButtons(keys) | modifierBits(keys)));
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
        VstKeyCode key;
        key.virt = virtualKey(wParam, lParam);
        if (key.virt == 0) return -1;  // a character: WM_CHAR brings it
        key.modifier = keyModifiers();
        if (key.virt == VKEY_SPACE) key.character = ' ';
        if (message == WM_KEYUP) {
            frame_->onKeyUp(key);
            return 0;
        }
        // An Escape nobody wanted hands the keyboard back to the host's window.
        if (frame_->onKeyDown(key) == -1 && key.virt == VKEY_ESCAPE) SetFocus(static_cast<HWND>(parent_));
        return 0;
    }
    case WM_CHAR: {
        // Control characters and space came as virtual keys already.
        if (wParam < 32 || wParam == 127 || wParam == ' ' || wParam > 0xff) return 0;
        VstKeyCode key;
        key.character = static_cast<int32_t>(wParam);
        key.modifier = keyModifiers();
        frame_->onKeyDown(key);
        return 0;
    }
    case WM_DESTROY:
        // The parent went first (the host closed its window before the editor).
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    default: return -1;
    }
}

}  // namespace orv
