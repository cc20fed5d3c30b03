#include "editor/COvRockerSwitch.h"

#include "toolkit/CBitmap.h"

namespace orv {

namespace {
constexpr int kRockerFrames = 5;
}

COvRockerSwitch::COvRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CFilmstripControl(size, listener, tag,
                        background != nullptr ? background->getHeight() / kRockerFrames : size.getHeight(), background,
                        CPoint(), kHorizontal)
{
    subPixmaps_ = kRockerFrames;
    reportsRelease_ = false;
}

int COvRockerSwitch::getDrawnFrame() const
{
    const float v = getValue();
    if (v == -1.0f) return 3;
    if (v == 1.0f) return 4;
    if (hoverSide_ == -1) return 1;
    if (hoverSide_ == 1) return 2;
    return 0;
}

CMouseEventResult COvRockerSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & (kLButton | kMButton | kRButton)) == 0) {
        hoverSide_ = static_cast<int>(sideOf(where));
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult COvRockerSwitch::onMouseEntered(CPoint& where, const CButtonState&)
{
    hoverSide_ = static_cast<int>(sideOf(where));
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult COvRockerSwitch::onMouseExited(CPoint&, const CButtonState&)
{
    hoverSide_ = 0;
    invalid();
    return kMouseEventHandled;
}

}  // namespace orv
