// Text field editing and the pop-up menu with columns (how both look is held by the editor's
// stored renders; the splash screen is exercised through the editor's about view).
#include <gtest/gtest.h>

#include "toolkit/COptionMenu.h"
#include "toolkit/COptionMenuPopup.h"
#include "toolkit/CTextEdit.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

using Log = std::vector<std::string>;

int32_t key(CFrame* frame, uint8_t virt, const char* text = "")
{
    int32_t r = 0;
    if (virt != 0) {
        VstKeyCode k{0, virt, 0};
        r = frame->onKeyDown(k);
    }
    for (const char* c = text; *c != 0; ++c) {
        VstKeyCode k{*c, 0, 0};
        r = frame->onKeyDown(k);
    }
    return r;
}

TEST(CTextEdit, EditsCommitWithEnterOrAClickElsewhereAndEscapeCancels)
{
    OffscreenFixture fx;
    auto* edit = fx.add(new CTextEdit(CRect(10, 10, 110, 25), &fx.recorder, 196, "Init"));
    fx.add(new CControl(CRect(150, 10, 160, 20), &fx.recorder, 1));
    EXPECT_EQ(key(fx.frame, VKEY_BACK), -1);  // not editing: keys are not used
    fx.down(20, 15), fx.up(20, 15);
    ASSERT_TRUE(edit->isEditing());
    EXPECT_EQ(fx.frame->getFocusView(), edit);
    key(fx.frame, VKEY_BACK);
    key(fx.frame, VKEY_BACK, "fo Bass");
    EXPECT_STREQ(edit->getText(), "Init");  // nothing committed yet
    EXPECT_EQ(edit->getEditText(), "Info Bass");
    EXPECT_EQ(key(fx.frame, VKEY_RETURN), 1);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), "Info Bass");
    EXPECT_EQ(fx.frame->getFocusView(), nullptr);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 196", "value 196 0", "end 196"}));

    fx.recorder.clear();
    fx.down(20, 15), fx.up(20, 15);
    key(fx.frame, 0, "xyz");
    EXPECT_EQ(key(fx.frame, VKEY_ESCAPE), 1);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), "Info Bass");
    EXPECT_TRUE(fx.recorder.log.empty());

    fx.down(20, 15), fx.up(20, 15);
    key(fx.frame, VKEY_HOME, ">");
    key(fx.frame, VKEY_END, "<");
    key(fx.frame, VKEY_LEFT);
    key(fx.frame, VKEY_DELETE);
    EXPECT_EQ(edit->getEditText(), ">Info Bass");
    fx.down(155, 15), fx.up(155, 15);
    EXPECT_FALSE(edit->isEditing());
    EXPECT_STREQ(edit->getText(), ">Info Bass");
    EXPECT_EQ(fx.recorder.log.size(), 3u);
}

class OptionMenuTest : public ::testing::Test {
protected:
    OptionMenuTest() : fx(448, 696)
    {
        menu = fx.add(new COptionMenu(CRect(262, 678, 274, 692), &fx.recorder, 208, nullptr, kNoDrawStyle));
        menu->setNbItemsPerColumn(8);
        for (int i = 0; i < 48; ++i) menu->addEntry(("Prog " + std::to_string(i)).c_str());
        menu->setCurrent(3);
    }
    COptionMenuPopup* open()
    {
        fx.down(265, 685);
        return dynamic_cast<COptionMenuPopup*>(fx.frame->getModalView());
    }
    OffscreenFixture fx;
    COptionMenu* menu;
};

TEST_F(OptionMenuTest, ChoosingWithThePointerHighlightsAndNotifiesTheIndex)
{
    EXPECT_EQ(menu->getMax(), 47.0f);
    COptionMenuPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(menu->isPopupOpen());
    // Where the box opens and how its columns lie is held by the editor's render of the same
    // menu; here the pointer picks entry 13 (sixth of the second column).
    const CRect c13 = popup->getCellRect(13);
    fx.move(c13.left + 3, c13.top + 3);
    EXPECT_EQ(popup->getHighlighted(), 13);
    fx.down(c13.left + 3, c13.top + 3);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    EXPECT_EQ(menu->getCurrentIndex(), 13);
    EXPECT_EQ(fx.recorder.log, (Log{"begin 208", "value 208 13", "end 208"}));
}

TEST_F(OptionMenuTest, ClosingWithoutAChoiceChangesNothingAndKeysChoose)
{
    ASSERT_NE(open(), nullptr);
    fx.down(5, 5);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(key(fx.frame, VKEY_ESCAPE), 1);
    EXPECT_EQ(fx.frame->getModalView(), nullptr);
    EXPECT_FALSE(menu->isPopupOpen());
    EXPECT_EQ(menu->getCurrentIndex(), 3);
    EXPECT_TRUE(fx.recorder.log.empty());

    COptionMenuPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->getHighlighted(), 3);
    key(fx.frame, VKEY_DOWN);
    key(fx.frame, VKEY_RIGHT);  // one column further: + 8
    key(fx.frame, VKEY_RETURN);
    EXPECT_EQ(menu->getCurrentIndex(), 12);
}

}  // namespace
}  // namespace orv::test
