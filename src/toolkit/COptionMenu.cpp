#include "toolkit/COptionMenu.h"

#include "toolkit/CFrame.h"
#include "toolkit/COptionMenuPopup.h"

namespace orv {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, int32_t style)
    : CParamDisplay(size, background, style)
{
    listener_ = listener;
    tag_ = tag;
    vmax_ = 0.0f;
    setDefaultValue(0.0f);
}

int COptionMenu::addEntry(const char* title)
{
    entries_.emplace_back(title != nullptr ? title : "");
    vmax_ = static_cast<float>(entries_.size() - 1);
    return static_cast<int>(entries_.size() - 1);
}

bool COptionMenu::setEntry(int index, const char* title)
{
    if (index < 0 || index >= getNbEntries()) return false;
    entries_[static_cast<size_t>(index)] = title != nullptr ? title : "";
    setDirty(true);
    return true;
}

const char* COptionMenu::getEntry(int index) const
{
    return index >= 0 && index < getNbEntries() ? entries_[static_cast<size_t>(index)].c_str() : nullptr;
}

void COptionMenu::removeAllEntry()
{
    entries_.clear();
    vmax_ = 0.0f;
    setValue(0.0f);
}

bool COptionMenu::setCurrent(int index)
{
    if (index < 0 || index >= getNbEntries()) return false;
    setValue(static_cast<float>(index));
    return true;
}

void COptionMenu::draw(CDrawContext* context)
{
    const char* current = getEntry(getCurrentIndex());
    drawWithText(context, current != nullptr ? current : "");
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons)
{
    if (!buttons.isLeftButton() || frame_ == nullptr || entries_.empty() || popupOpen_) return kMouseEventNotHandled;
    auto* popup = new COptionMenuPopup(this);
    if (!frame_->setModalView(popup)) {
        popup->forget();
        return kMouseEventNotHandled;
    }
    popupOpen_ = true;
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void COptionMenu::popupClosed(int chosenIndex)
{
    popupOpen_ = false;
    if (chosenIndex < 0 || chosenIndex >= getNbEntries()) return;
    beginEdit();
    setValue(static_cast<float>(chosenIndex));
    notify();
    endEdit();
    invalid();
}

}  // namespace orv
