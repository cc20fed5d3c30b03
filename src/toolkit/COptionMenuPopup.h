// The open list of a COptionMenu: a modal view over the whole frame that draws the entries in
// columns next to the menu, highlights the one under the mouse and closes on a choice, a click
// elsewhere or Escape.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CView.h"

namespace orv {

class COptionMenu;

class COptionMenuPopup : public CView {
public:
    explicit COptionMenuPopup(COptionMenu* menu);
    ~COptionMenuPopup() override;

    void attached(CFrame* frame) override;
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;

    const CRect& getBoxRect() const { return box_; }
    // The cell of an entry, in frame coordinates.
    CRect getCellRect(int index) const;
    int getHighlighted() const { return highlighted_; }
    // The lines an entry's title is shown in: a title wider than its column wraps at blanks
    // (inside a word when one word alone is too wide), so that no title is cut.
    const std::vector<std::string>& getEntryLines(int index) const { return lines_[static_cast<size_t>(index)]; }
    // Where the lines of an entry are written, in frame coordinates.
    CRect getTextRect(int index) const;

    static constexpr int kRowHeight = 16;   // pixels per entry of one line
    static constexpr int kLineHeight = 13;  // pixels per further line of a wrapped title
    static constexpr int kTextPadding = 6;  // space left and right of a title
    static constexpr int kMarkWidth = 10;   // room for the current-entry mark

private:
    void layout();
    int entryAt(const CPoint& where) const;
    void close(int chosenIndex);

    COptionMenu* menu_;
    CRect box_;
    int columns_ = 1;
    int rows_ = 1;
    int columnWidth_ = 0;
    int rowHeight_ = kRowHeight;
    std::vector<std::vector<std::string>> lines_;
    int highlighted_ = -1;
    bool closed_ = false;
};

}  // namespace orv
