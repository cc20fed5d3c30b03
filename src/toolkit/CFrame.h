// The top-level view: owns its child views, paints them into a backing image at idle and
// routes mouse, wheel and key events to them. Without a parent window it works offscreen
// (tests inject events through the same entry points the window back end uses); with one it
// shows itself in a child window of it.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/CView.h"
#include "toolkit/DrawBackend.h"

namespace orv {

class CBitmap;
class IIdleListener;
class IPlatformFrame;
class VSTGUIEditorInterface;

class CFrame : public CView {
public:
    // systemWindow: the host's parent window (an X11 Window id, a Windows HWND) or null for
    // offscreen.
    CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);
    ~CFrame() override;

    // False when a parent window was given but no window could be made in it.
    bool isOpen() const;
    VSTGUIEditorInterface* getEditor() const { return editor_; }

    // Children: the frame takes over the caller's reference.
    bool addView(CView* view);
    // Takes the view out; with forget, drops the frame's reference.
    bool removeView(CView* view, bool withForget = true);
    void removeAll(bool withForget = true);
    bool isChild(const CView* view) const;
    int getNbViews() const { return static_cast<int>(views_.size()); }
    CView* getView(int index) const;

    // Modal view: gets all input while set. setModalView takes over the caller's reference;
    // clearing it (null) hands that reference back to whoever clears it. Fails while another
    // modal view is set. A modal view still set when the frame dies is released with it.
    bool setModalView(CView* view);
    CView* getModalView() const { return modalView_; }

    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView_; }

    // The top-most visible, mouse-enabled child that contains the point.
    CView* getViewAt(const CPoint& where) const;
    // The child under the last mouse position seen, while the mouse is over the frame.
    CView* getCurrentView() const;
    bool getCurrentMouseLocation(CPoint& where) const;

    // Handles window events, runs idle listeners, repaints dirty views and shows them.
    void idle();
    // Only lets pending exposure events through.
    void processPaintEvents();
    // Schedules a repaint of r at the next idle.
    void invalidRect(const CRect& r);
    void setDirty(bool state = true) override;
    bool isDirty() const override;

    // Brings the backing image up to date and copies it into a context.
    void draw(CDrawContext* context) override;
    // The backing image (opaque, frame size) that idle paints and the window shows.
    NativeSurface* getBackingSurface() const { return backing_; }

    // Events. Coordinates are relative to the frame.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;

    // Entry of a mouse-down that comes from the window system; a subclass may act first
    // (for instance take the keyboard focus).
    virtual CMouseEventResult platformOnMouseDown(CPoint& where, const CButtonState& buttons);
    void takeKeyboardFocus();
    IPlatformFrame* getPlatformFrame() const { return platform_.get(); }

    // Idle listeners are called at every idle until removed.
    void addIdleListener(IIdleListener* listener);
    void removeIdleListener(IIdleListener* listener);

    // While a modal session (a file dialog) runs, the frame ignores mouse and key input.
    void beginModalSession() { ++modalSessions_; }
    void endModalSession()
    {
        if (modalSessions_ > 0) --modalSessions_;
    }
    bool inModalSession() const { return modalSessions_ > 0; }

private:
    // The modal view takes every key; otherwise the focus view, then the view under the mouse.
    int32_t routeKey(int32_t (CView::*handler)(VstKeyCode&), VstKeyCode& keyCode);
    void paintDirty();
    void paintRect(CDrawContext& context, const CRect& r);
    void updateHover(CPoint& where, const CButtonState& buttons);
    void forgetReferencesTo(const CView* view);

    VSTGUIEditorInterface* editor_;
    std::vector<CView*> views_;
    CView* modalView_ = nullptr;
    CView* focusView_ = nullptr;
    CView* mouseDownView_ = nullptr;
    CView* hoverView_ = nullptr;
    CPoint mouseLocation_;
    bool mouseInside_ = false;
    std::vector<CRect> invalidRects_;
    std::vector<IIdleListener*> idleListeners_;
    int modalSessions_ = 0;
    bool wantsPlatform_ = false;
    NativeSurface* backing_ = nullptr;
    std::unique_ptr<IPlatformFrame> platform_;
};

}  // namespace orv
