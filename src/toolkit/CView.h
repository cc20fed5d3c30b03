// A rectangle of the frame that draws itself and may react to mouse, wheel and keys.
#pragma once

#include <cstdint>

#include "toolkit/CBaseObject.h"
#include "toolkit/CButtonState.h"
#include "toolkit/CMouseEventResult.h"
#include "toolkit/CRect.h"
#include "toolkit/VstKeyCode.h"

namespace orv {

class CBitmap;
class CDrawContext;
class CFrame;

class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
    // distance: wheel notches, positive away from the user. True when consumed.
    virtual bool onWheel(const CPoint& where, float distance, const CButtonState& buttons);
    // 1 when the key was used, -1 when not.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);

    // Keyboard focus: a view that wants it gets it when clicked.
    virtual bool wantsFocus() const { return wantsFocus_; }
    void setWantsFocus(bool state) { wantsFocus_ = state; }
    virtual void takeFocus() {}
    virtual void looseFocus() {}

    // Redraw request: the frame redraws dirty views at its next idle.
    virtual void setDirty(bool state = true) { dirty_ = state; }
    virtual bool isDirty() const { return dirty_; }
    void invalid() { setDirty(true); }

    const CRect& getViewSize() const { return size_; }
    virtual void setViewSize(const CRect& r);
    int getWidth() const { return size_.getWidth(); }
    int getHeight() const { return size_.getHeight(); }

    virtual void setVisible(bool state);
    bool isVisible() const { return visible_; }
    void setMouseEnabled(bool state) { mouseEnabled_ = state; }
    bool getMouseEnabled() const { return mouseEnabled_; }

    // Background picture (referenced, not copied).
    void setBackground(CBitmap* background);
    CBitmap* getBackground() const { return background_; }

    // Called by the frame when the view is added to it or taken out.
    virtual void attached(CFrame* frame) { frame_ = frame; }
    virtual void removed() { frame_ = nullptr; }
    CFrame* getFrame() const { return frame_; }

protected:
    // Ends this view's showing as its frame's modal view (the frame redraws what it covered)
    // and drops the reference the frame held. The view may be gone afterwards.
    void closeModal();

    CRect size_;
    CFrame* frame_ = nullptr;
    CBitmap* background_ = nullptr;

private:
    bool dirty_ = true;
    bool visible_ = true;
    bool mouseEnabled_ = true;
    bool wantsFocus_ = false;
};

}  // namespace orv
