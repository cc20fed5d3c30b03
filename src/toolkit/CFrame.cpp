#include "toolkit/CFrame.h"

#include <algorithm>
#include <cstdint>

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/IIdleListener.h"
#include "toolkit/IPlatformFrame.h"

namespace orv {

namespace {

// Keeps a view alive across a call into it, even if the call removes it from the frame.
class ViewRef {
public:
    explicit ViewRef(CView* v) : v_(v) { v_->remember(); }
    ~ViewRef() { v_->forget(); }
    ViewRef(const ViewRef&) = delete;
    ViewRef& operator=(const ViewRef&) = delete;

private:
    CView* v_;
};

}  // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
    : CView(CRect(0, 0, size.getWidth(), size.getHeight())), editor_(editor)
{
    frame_ = this;
    backing_ = createSurface(std::max(1, size_.getWidth()), std::max(1, size_.getHeight()), true);
    invalidRect(size_);
    if (systemWindow != nullptr) {
        wantsPlatform_ = true;
        platform_ = createPlatformFrame(this, systemWindow);
    }
}

CFrame::~CFrame()
{
    for (IIdleListener* l : std::vector<IIdleListener*>(idleListeners_)) l->onFrameClosing();
    idleListeners_.clear();
    if (focusView_ != nullptr) {
        CView* f = focusView_;
        focusView_ = nullptr;
        f->looseFocus();
    }
    if (modalView_ != nullptr) {
        CView* m = modalView_;
        modalView_ = nullptr;
        m->removed();
        m->forget();
    }
    removeAll(true);
    // The window goes before the image it shows.
    platform_.reset();
    destroySurface(backing_);
    frame_ = nullptr;
}

bool CFrame::isOpen() const { return !wantsPlatform_ || (platform_ != nullptr && platform_->isValid()); }

bool CFrame::addView(CView* view)
{
    if (view == nullptr || isChild(view)) return false;
    views_.push_back(view);
    view->attached(this);
    view->setDirty(true);
    return true;
}

void CFrame::forgetReferencesTo(const CView* view)
{
    if (focusView_ == view) focusView_ = nullptr;
    if (mouseDownView_ == view) mouseDownView_ = nullptr;
    if (hoverView_ == view) hoverView_ = nullptr;
}

bool CFrame::removeView(CView* view, bool withForget)
{
    auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end()) return false;
    views_.erase(it);
    forgetReferencesTo(view);
    invalidRect(view->getViewSize());
    view->removed();
    if (withForget) view->forget();
    return true;
}

void CFrame::removeAll(bool withForget)
{
    while (!views_.empty()) removeView(views_.back(), withForget);
}

bool CFrame::isChild(const CView* view) const { return std::find(views_.begin(), views_.end(), view) != views_.end(); }

CView* CFrame::getView(int index) const
{
    return index >= 0 && index < getNbViews() ? views_[static_cast<size_t>(index)] : nullptr;
}

bool CFrame::setModalView(CView* view)
{
    if (view != nullptr && modalView_ != nullptr) return false;
    if (view == nullptr) {
        if (modalView_ == nullptr) return true;
        CView* old = modalView_;
        modalView_ = nullptr;
        forgetReferencesTo(old);
        invalidRect(old->getViewSize());
        old->removed();
        return true;
    }
    // Views under the mouse stop being hovered while the modal view takes the input.
    if (hoverView_ != nullptr) {
        CView* h = hoverView_;
        hoverView_ = nullptr;
        ViewRef ref(h);
        CPoint p = mouseLocation_;
        h->onMouseExited(p, CButtonState());
    }
    modalView_ = view;
    view->attached(this);
    view->setDirty(true);
    invalidRect(view->getViewSize());
    return true;
}

void CFrame::setFocusView(CView* view)
{
    if (view == focusView_) return;
    CView* old = focusView_;
    focusView_ = view;
    if (old != nullptr) {
        ViewRef ref(old);
        old->looseFocus();
    }
    if (view != nullptr && focusView_ == view) view->takeFocus();
}

CView* CFrame::getViewAt(const CPoint& where) const
{
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* v = *it;
        if (v->isVisible() && v->getMouseEnabled() && v->getViewSize().pointInside(where)) return v;
    }
    return nullptr;
}

CView* CFrame::getCurrentView() const
{
    if (!mouseInside_) return nullptr;
    if (modalView_ != nullptr) return modalView_->getViewSize().pointInside(mouseLocation_) ? modalView_ : nullptr;
    return getViewAt(mouseLocation_);
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const
{
    where = mouseLocation_;
    return mouseInside_;
}

void CFrame::invalidRect(const CRect& r)
{
    CRect b = r;
    b.bound(size_);
    if (!b.isEmpty()) invalidRects_.push_back(b);
}

void CFrame::setDirty(bool state)
{
    if (state) invalidRect(size_);
}

bool CFrame::isDirty() const
{
    if (!invalidRects_.empty()) return true;
    if (modalView_ != nullptr && modalView_->isDirty()) return true;
    return std::any_of(views_.begin(), views_.end(), [](const CView* v) { return v->isVisible() && v->isDirty(); });
}

void CFrame::paintRect(CDrawContext& context, const CRect& r)
{
    context.setClipRect(r);
    context.setFillColor(kBlackCColor);
    context.fillRect(r);
    if (background_ != nullptr) background_->draw(&context, size_);
    auto drawView = [&](CView* v) {
        CRect clip = v->getViewSize();
        clip.bound(r);
        if (clip.isEmpty()) return;
        context.setClipRect(clip);
        v->draw(&context);
    };
    for (CView* v : views_)
        if (v->isVisible()) drawView(v);
    if (modalView_ != nullptr && modalView_->isVisible()) drawView(modalView_);
    context.resetClipRect();
}

void CFrame::idle()
{
    if (platform_ != nullptr && platform_->isValid()) platform_->processEvents();

    // Listeners may remove themselves (or others) while being called.
    const std::vector<IIdleListener*> listeners = idleListeners_;
    for (IIdleListener* l : listeners)
        if (std::find(idleListeners_.begin(), idleListeners_.end(), l) != idleListeners_.end()) l->onIdle();

    paintDirty();
    if (platform_ != nullptr && platform_->isValid()) platform_->flush();
}

void CFrame::paintDirty()
{
    // Collect every dirty area first: painting one area also draws (and cleans) the parts of
    // other views inside it, which must not hide that the rest of them is stale.
    std::vector<CRect> rects;
    rects.swap(invalidRects_);
    for (CView* v : views_)
        if (v->isVisible() && v->isDirty()) rects.push_back(v->getViewSize());
    if (modalView_ != nullptr && modalView_->isDirty()) rects.push_back(modalView_->getViewSize());
    if (rects.empty()) return;
    CDrawContext context(backing_);
    for (CRect r : rects) {
        r.bound(size_);
        if (r.isEmpty()) continue;
        paintRect(context, r);
        if (platform_ != nullptr) platform_->invalidate(r);
    }
}

void CFrame::processPaintEvents()
{
    if (platform_ != nullptr && platform_->isValid()) platform_->processPaintEvents();
}

void CFrame::draw(CDrawContext* context)
{
    if (context == nullptr) return;
    paintDirty();
    context->drawImage(backing_, size_);
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint& where, const CButtonState& buttons)
{
    return onMouseDown(where, buttons);
}

void CFrame::takeKeyboardFocus()
{
    if (platform_ != nullptr && platform_->isValid()) platform_->takeKeyboardFocus();
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    mouseLocation_ = where;
    mouseInside_ = size_.pointInside(where);
    if (inModalSession()) return kMouseEventHandled;
    mouseDownView_ = nullptr;

    auto dispatch = [&](CView* v) {
        ViewRef ref(v);
        CPoint p = where;
        const CMouseEventResult result = v->onMouseDown(p, buttons);
        if (result == kMouseEventHandled && (isChild(v) || v == modalView_)) mouseDownView_ = v;
        return result;
    };

    if (modalView_ != nullptr) {
        // Clicks outside the modal view are swallowed.
        if (!modalView_->getViewSize().pointInside(where)) return kMouseEventHandled;
        return dispatch(modalView_);
    }

    CView* top = getViewAt(where);
    if (focusView_ != nullptr && focusView_ != top) setFocusView(nullptr);
    if (top != nullptr && top->wantsFocus()) setFocusView(top);

    // The top-most view that handles the press gets it; views that do not pass it below.
    const std::vector<CView*> snapshot = views_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        CView* v = *it;
        if (!isChild(v) || !v->isVisible() || !v->getMouseEnabled() || !v->getViewSize().pointInside(where)) continue;
        const CMouseEventResult result = dispatch(v);
        if (result != kMouseEventNotHandled) return result;
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    mouseLocation_ = where;
    if (inModalSession()) return kMouseEventHandled;
    CMouseEventResult result = kMouseEventNotHandled;
    if (mouseDownView_ != nullptr) {
        CView* v = mouseDownView_;
        mouseDownView_ = nullptr;
        ViewRef ref(v);
        CPoint p = where;
        result = v->onMouseUp(p, buttons);
    }
    mouseInside_ = size_.pointInside(where);
    updateHover(where, buttons);
    return result;
}

void CFrame::updateHover(CPoint& where, const CButtonState& buttons)
{
    CView* target = nullptr;
    if (mouseInside_) {
        if (modalView_ != nullptr)
            target = modalView_->getViewSize().pointInside(where) ? modalView_ : nullptr;
        else
            target = getViewAt(where);
    }
    if (target == hoverView_) return;
    if (hoverView_ != nullptr) {
        CView* old = hoverView_;
        hoverView_ = nullptr;
        ViewRef ref(old);
        CPoint p = where;
        old->onMouseExited(p, buttons);
    }
    if (target != nullptr && (isChild(target) || target == modalView_)) {
        hoverView_ = target;
        ViewRef ref(target);
        CPoint p = where;
        target->onMouseEntered(p, buttons);
    }
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    mouseLocation_ = where;
    if (inModalSession()) return kMouseEventHandled;
    if (mouseDownView_ != nullptr) {
        // A press in progress: its view gets every move, inside the frame or not.
        CView* v = mouseDownView_;
        ViewRef ref(v);
        CPoint p = where;
        return v->onMouseMoved(p, buttons);
    }
    mouseInside_ = size_.pointInside(where);
    updateHover(where, buttons);
    if (hoverView_ != nullptr) {
        CView* v = hoverView_;
        ViewRef ref(v);
        CPoint p = where;
        return v->onMouseMoved(p, buttons);
    }
    return kMouseEventNotHandled;
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons)
{
    mouseLocation_ = where;
    if (mouseDownView_ != nullptr) return kMouseEventHandled;  // a drag keeps its view
    mouseInside_ = false;
    updateHover(where, buttons);
    return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, float distance, const CButtonState& buttons)
{
    mouseLocation_ = where;
    mouseInside_ = size_.pointInside(where);
    if (inModalSession()) return false;
    CView* target = nullptr;
    if (modalView_ != nullptr)
        target = modalView_->getViewSize().pointInside(where) ? modalView_ : nullptr;
    else
        target = getViewAt(where);
    if (target == nullptr) return false;
    ViewRef ref(target);
    return target->onWheel(where, distance, buttons);
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) { return routeKey(&CView::onKeyDown, keyCode); }

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) { return routeKey(&CView::onKeyUp, keyCode); }

int32_t CFrame::routeKey(int32_t (CView::*handler)(VstKeyCode&), VstKeyCode& keyCode)
{
    if (inModalSession()) return -1;
    if (modalView_ != nullptr) {
        ViewRef ref(modalView_);
        return (modalView_->*handler)(keyCode);
    }
    int32_t result = -1;
    if (focusView_ != nullptr) {
        CView* v = focusView_;
        ViewRef ref(v);
        result = (v->*handler)(keyCode);
    }
    // Keys nobody has focused on go to the view under the mouse.
    if (result == -1) {
        CView* v = getCurrentView();
        if (v != nullptr && v != focusView_) {
            ViewRef ref(v);
            result = (v->*handler)(keyCode);
        }
    }
    return result;
}

void CFrame::addIdleListener(IIdleListener* listener)
{
    if (listener != nullptr &&
        std::find(idleListeners_.begin(), idleListeners_.end(), listener) == idleListeners_.end())
        idleListeners_.push_back(listener);
}

void CFrame::removeIdleListener(IIdleListener* listener)
{
    idleListeners_.erase(std::remove(idleListeners_.begin(), idleListeners_.end(), listener), idleListeners_.end());
}

}  // namespace orv
