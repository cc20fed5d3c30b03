// A pop-up menu: a click opens the list of entries over the frame (in columns of a given
// number of entries); choosing one makes it current (value = its index) and notifies.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CParamDisplay.h"

namespace orv {

class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                int32_t style = 0);

    // Adds an entry at the end; answers its index.
    int addEntry(const char* title);
    bool setEntry(int index, const char* title);
    const char* getEntry(int index) const;
    int getNbEntries() const { return static_cast<int>(entries_.size()); }
    void removeAllEntry();

    bool setCurrent(int index);
    int getCurrentIndex() const { return static_cast<int>(getValue() + 0.5f); }

    // Entries per column of the open menu (0: all in one column).
    void setNbItemsPerColumn(int count) { itemsPerColumn_ = count; }
    int getNbItemsPerColumn() const { return itemsPerColumn_; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // The open menu's answer: an entry index, or −1 when it was closed without a choice.
    void popupClosed(int chosenIndex);
    bool isPopupOpen() const { return popupOpen_; }

private:
    std::vector<std::string> entries_;
    int itemsPerColumn_ = 0;
    bool popupOpen_ = false;
};

}  // namespace orv
