#include "toolkit/COptionMenuPopup.h"

#include <algorithm>
#include <cmath>

#include "toolkit/COffscreenContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/COptionMenu.h"

namespace orv {

namespace {
constexpr CColor kMenuBack{236, 236, 236, 255};
constexpr CColor kMenuFrame{60, 60, 60, 255};
constexpr CColor kMenuHighlight{48, 96, 176, 255};

// Splits text into lines no wider than width: greedily by words, and a word that is wider
// than a line by itself character by character.
std::vector<std::string> wrapText(CDrawContext& measure, const std::string& text, double width)
{
    std::vector<std::string> lines;
    std::string line;
    auto fits = [&](const std::string& s) { return measure.getStringWidth(s.c_str()) <= width; };
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t blank = text.find(' ', pos);
        const std::string word = text.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
        pos = blank == std::string::npos ? text.size() : blank + 1;
        if (word.empty()) continue;
        if (!line.empty() && fits(line + ' ' + word)) {
            line += ' ' + word;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
        for (char c : word) {
            if (!line.empty() && !fits(line + c)) {
                lines.push_back(line);
                line.clear();
            }
            line += c;
        }
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}
}  // namespace

COptionMenuPopup::COptionMenuPopup(COptionMenu* menu) : CView(CRect()), menu_(menu)
{
    menu_->remember();
    highlighted_ = menu_->getCurrentIndex();
}

COptionMenuPopup::~COptionMenuPopup() { menu_->forget(); }

void COptionMenuPopup::attached(CFrame* frame)
{
    CView::attached(frame);
    size_ = frame->getViewSize();
    layout();
}

void COptionMenuPopup::layout()
{
    const int count = menu_->getNbEntries();
    const int perColumn = menu_->getNbItemsPerColumn() > 0 ? menu_->getNbItemsPerColumn() : count;
    rows_ = std::max(1, std::min(perColumn, count));
    columns_ = std::max(1, (count + rows_ - 1) / rows_);

    const int frameW = size_.getWidth();
    const int frameH = size_.getHeight();
    {
        COffscreenContext measure(1, 1);
        measure.setFont(kNormalFontSmall);
        // The widest title decides the column width, as far as the frame allows; titles wider
        // than that wrap onto more lines, and every row gets the height of the tallest entry.
        double widest = 0.0;
        for (int i = 0; i < count; ++i) widest = std::max(widest, measure.getStringWidth(menu_->getEntry(i)));
        columnWidth_ = static_cast<int>(std::ceil(widest)) + 2 * kTextPadding + kMarkWidth;
        columnWidth_ = std::min(columnWidth_, std::max(1, (frameW - 2) / columns_));
        const double lineWidth = columnWidth_ - kMarkWidth - kTextPadding / 2;
        lines_.clear();
        size_t mostLines = 1;
        for (int i = 0; i < count; ++i) {
            lines_.push_back(wrapText(measure, menu_->getEntry(i), lineWidth));
            mostLines = std::max(mostLines, lines_.back().size());
        }
        rowHeight_ = kRowHeight + static_cast<int>(mostLines - 1) * kLineHeight;
    }

    const int boxW = columns_ * columnWidth_ + 2;  // one-pixel border on each side
    const int boxH = rows_ * rowHeight_ + 2;
    const CRect& m = menu_->getViewSize();
    int left = std::clamp(m.left, 0, std::max(0, frameW - boxW));
    int top = m.bottom;
    if (top + boxH > frameH) top = m.top - boxH;  // no room below: open upward
    top = std::clamp(top, 0, std::max(0, frameH - boxH));
    box_ = CRect(left, top, left + boxW, top + boxH);
}

CRect COptionMenuPopup::getCellRect(int index) const
{
    const int column = index / rows_;
    const int row = index % rows_;
    const int x = box_.left + 1 + column * columnWidth_;
    const int y = box_.top + 1 + row * rowHeight_;
    return CRect(x, y, x + columnWidth_, y + rowHeight_);
}

CRect COptionMenuPopup::getTextRect(int index) const
{
    const CRect cell = getCellRect(index);
    return CRect(cell.left + kMarkWidth, cell.top, cell.right - kTextPadding / 2, cell.bottom);
}

int COptionMenuPopup::entryAt(const CPoint& where) const
{
    for (int i = 0; i < menu_->getNbEntries(); ++i)
        if (getCellRect(i).pointInside(where)) return i;
    return -1;
}

void COptionMenuPopup::draw(CDrawContext* context)
{
    context->setFillColor(kMenuBack);
    context->fillRect(box_);
    context->setFrameColor(kMenuFrame);
    context->setLineWidth(1);
    context->drawRect(box_);
    context->setFont(kNormalFontSmall);
    const int current = menu_->getCurrentIndex();
    for (int i = 0; i < menu_->getNbEntries(); ++i) {
        const CRect cell = getCellRect(i);
        const bool lit = i == highlighted_;
        if (lit) {
            context->setFillColor(kMenuHighlight);
            context->fillRect(cell);
        }
        const CColor ink = lit ? kWhiteCColor : kBlackCColor;
        if (i == current) {
            // A small square marks the current entry.
            context->setFillColor(ink);
            const int cy = cell.top + rowHeight_ / 2;
            context->fillRect(CRect(cell.left + 3, cy - 2, cell.left + 7, cy + 2));
        }
        context->setFontColor(ink);
        // The lines centred as a block in the cell, one kLineHeight apart.
        const CRect text = getTextRect(i);
        const std::vector<std::string>& lines = getEntryLines(i);
        const int blockTop =
            text.top + (rowHeight_ - kRowHeight - static_cast<int>(lines.size() - 1) * kLineHeight) / 2;
        for (size_t k = 0; k < lines.size(); ++k) {
            const int top = blockTop + static_cast<int>(k) * kLineHeight;
            context->drawString(lines[k].c_str(), CRect(text.left, top, text.right, top + kRowHeight), kLeftText);
        }
    }
    setDirty(false);
}

void COptionMenuPopup::close(int chosenIndex)
{
    if (closed_) return;
    closed_ = true;
    CFrame* frame = frame_;
    if (frame != nullptr) frame->setModalView(nullptr);
    menu_->popupClosed(chosenIndex);
    forget();  // the reference the frame held while this was its modal view
}

CMouseEventResult COptionMenuPopup::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    const int index = buttons.isLeftButton() ? entryAt(where) : -1;
    close(index);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult COptionMenuPopup::onMouseMoved(CPoint& where, const CButtonState&)
{
    const int index = entryAt(where);
    if (index != highlighted_ && index >= 0) {
        highlighted_ = index;
        invalid();
    }
    return kMouseEventHandled;
}

int32_t COptionMenuPopup::onKeyDown(VstKeyCode& key)
{
    const int count = menu_->getNbEntries();
    switch (key.virt) {
    case VKEY_ESCAPE: close(-1); return 1;
    case VKEY_RETURN:
    case VKEY_ENTER: close(highlighted_); return 1;
    case VKEY_UP: highlighted_ = std::max(0, highlighted_ - 1); break;
    case VKEY_DOWN: highlighted_ = std::min(count - 1, highlighted_ + 1); break;
    case VKEY_LEFT: highlighted_ = std::max(0, highlighted_ - rows_); break;
    case VKEY_RIGHT: highlighted_ = std::min(count - 1, highlighted_ + rows_); break;
    default: return 1;  // the open menu keeps the keyboard
    }
    invalid();
    return 1;
}

}  // namespace orv
