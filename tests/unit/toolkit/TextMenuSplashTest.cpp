// Text field editing and the pop-up menu with columns (the splash screen is exercised through the
// editor's about view).
#include <gtest/gtest.h>

#include "toolkit/COptionMenu.h"
#include "toolkit/COptionMenuPopup.h"
#include "toolkit/CSplashScreen.h"
#include "toolkit/CTextEdit.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

void type(CFrame* frame, const char* text) {
    for (const char* c = text; *c; ++c) {
        VstKeyCode k{*c, 0, 0};
        frame->onKeyDown(k);
    }
}

int32_t press(CFrame* frame, uint8_t virt) {
    VstKeyCode k{0, virt, 0};
    return frame->onKeyDown(k);
}

class TextEditTest : public ::testing::Test {
protected:
    TextEditTest() {
        edit = fx.add(new CTextEdit(CRect(10, 10, 110, 25), &fx.recorder, 196, "Init"));
        other = fx.add(new CControl(CRect(150, 10, 160, 20), &fx.recorder, 1));
    }
    void click(int x, int y) {
        CPoint p(x, y);
        fx.frame->onMouseDown(p, kLButton);
        fx.frame->onMouseUp(p, kLButton);
    }
    OffscreenFixture fx;
    CTextEdit* edit;
    CControl* other;
};

TEST_F(TextEditTest, ClickTypeEnterCommitsAndNotifiesOnce) {
    EXPECT_EQ(press(fx.frame, VKEY_BACK), -1);  // not editing: keys are not used
    click(20, 15);
    ASSERT_TRUE(edit->isEditing());
    EXPECT_EQ(fx.frame->getFocusView(), edit);
    press(fx.frame, VKEY_BACK);
    press(fx.frame, VKEY_BACK);
    type(fx.frame, "fo Bass");
    EXPECT_STREQ(edit->getText(), "Init");  // nothing committed yet
    EXPECT_EQ(edit->getEditText(), "Info Bass");
    EXPECT_EQ(press(fx.frame, VKEY_RETURN), 1);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), "Info Bass");
    EXPECT_EQ(fx.frame->getFocusView(), nullptr);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 196", "value 196 0", "end 196"}));
}

TEST_F(TextEditTest, EscapeCancelsWithoutNotifying) {
    click(20, 15);
    type(fx.frame, "xyz");
    EXPECT_EQ(press(fx.frame, VKEY_ESCAPE), 1);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), "Init");
    EXPECT_TRUE(fx.recorder.log.empty());
}

TEST_F(TextEditTest, CaretMovesAndClickingElsewhereCommits) {
    click(20, 15);
    press(fx.frame, VKEY_HOME);
    type(fx.frame, ">");
    press(fx.frame, VKEY_END);
    type(fx.frame, "<");
    press(fx.frame, VKEY_LEFT);
    press(fx.frame, VKEY_DELETE);
    EXPECT_EQ(edit->getEditText(), ">Init");
    click(155, 15);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), ">Init");
    EXPECT_EQ(fx.recorder.log.size(), 3u);
}

class OptionMenuTest : public ::testing::Test {
protected:
    OptionMenuTest() : fx(448, 696) {
        menu = new COptionMenu(CRect(262, 678, 274, 692), &fx.recorder, 208, nullptr, kNoDrawStyle);
        menu->setNbItemsPerColumn(8);
        for (int i = 0; i < 48; ++i) menu->addEntry(("Prog " + std::to_string(i)).c_str());
        menu->setCurrent(3);
        fx.frame->addView(menu);
    }
    COptionMenuPopup* open() {
        CPoint p(265, 685);
        fx.frame->onMouseDown(p, kLButton);
        return dynamic_cast<COptionMenuPopup*>(fx.frame->getModalView());
    }
    OffscreenFixture fx;
    COptionMenu* menu;
};

TEST_F(OptionMenuTest, OpensInColumnsInsideTheFrameAndChoosingNotifiesTheIndex) {
    EXPECT_EQ(menu->getMax(), 47.0f);
    COptionMenuPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(menu->isPopupOpen());
    const CRect box = popup->getBoxRect();
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, 448);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.bottom, 678);  // no room below the menu: it opens upward
    EXPECT_EQ(box.getHeight(), 8 * COptionMenuPopup::kRowHeight + 2);
    // Entry 13 is the sixth of the second column, right of entry 5.
    const CRect c13 = popup->getCellRect(13), c5 = popup->getCellRect(5);
    EXPECT_EQ(c13.top, c5.top);
    EXPECT_GT(c13.left, c5.left);
    EXPECT_LE(popup->getCellRect(47).right, box.right);
    CPoint p(c13.left + 3, c13.top + 3);
    fx.frame->onMouseMoved(p, 0);
    EXPECT_EQ(popup->getHighlighted(), 13);
    fx.frame->onMouseDown(p, kLButton);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    EXPECT_EQ(menu->getCurrentIndex(), 13);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 208", "value 208 13", "end 208"}));
}

TEST_F(OptionMenuTest, ClosingWithoutAChoiceChangesNothing) {
    ASSERT_NE(open(), nullptr);
    CPoint far(5, 5);
    fx.frame->onMouseDown(far, kLButton);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(press(fx.frame, VKEY_ESCAPE), 1);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(menu->getCurrentIndex(), 3);
    EXPECT_TRUE(fx.recorder.log.empty());
}

TEST_F(OptionMenuTest, KeysMoveTheHighlightAndEnterChooses) {
    COptionMenuPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->getHighlighted(), 3);
    press(fx.frame, VKEY_DOWN);
    press(fx.frame, VKEY_RIGHT);  // one column further: + 8
    press(fx.frame, VKEY_RETURN);
    EXPECT_EQ(menu->getCurrentIndex(), 12);
}

TEST_F(OptionMenuTest, NoDrawStyleLeavesTheBackgroundVisibleAndTheOpenMenuIsDrawn) {
    BitmapPtr bg(makeFilmstrip(448, 696, 1));
    fx.frame->setBackground(bg.get());
    fx.frame->idle();
    EXPECT_EQ(mismatchesAgainstFrame(fx.surface(), menu->getViewSize(), 0, 262, 678), 0);
    COptionMenuPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    fx.frame->idle();
    const CRect box = popup->getBoxRect();
    EXPECT_GT(mismatchesAgainstFrame(fx.surface(), box, 0, box.left, box.top), box.getWidth() * box.getHeight() / 2);
    press(fx.frame, VKEY_ESCAPE);
    fx.frame->idle();
    EXPECT_EQ(mismatchesAgainstFrame(fx.surface(), box, 0, box.left, box.top), 0);
}

}  // namespace
}  // namespace orv::test
