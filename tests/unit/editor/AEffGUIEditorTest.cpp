// The editor glue: rectangle, frame lifetime, idle throttling of doIdleStuff and key
// forwarding. The knob mode is held by the editor's stored layout. Edit gestures reaching the host are checked through the whole editor.
#include <gtest/gtest.h>

#include "host/AEffGUIEditor.h"
#include "host/AudioEffect.h"
#include "support/RecordingHost.h"
#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

class PlainEffect : public AudioEffect {
public:
    PlainEffect() : AudioEffect(recordingHost, 1, 4) {}
    void processReplacing(float**, float**, int) override {}
    void processDoubleReplacing(double**, double**, int) override {}
};

// An editor with a clock the test moves, and a frame it builds offscreen on open.
class TestEditor : public AEffGUIEditor {
public:
    explicit TestEditor(AudioEffect* e) : AEffGUIEditor(e)
    {
        e->setEditor(this);
        rect.right = 448;
        rect.bottom = 696;
    }
    bool open(void* ptr) override
    {
        AEffGUIEditor::open(ptr);
        frame = new CFrame(CRect(0, 0, 448, 696), nullptr, this);
        auto* c = new KeyControl(CRect(0, 0, 50, 50));
        c->setWantsFocus(true);
        frame->addView(c);
        return true;
    }
    int64_t getTicks() const override { return now; }
    void wait(int ms) override { waits.push_back(ms); }
    void masterIdle() override
    {
        ++masterIdles;
        idle();  // a host that idles the editor from its own idle: must be ignored
    }

    // Takes every key except Escape.
    class KeyControl : public CControl {
    public:
        using CControl::CControl;
        int32_t onKeyDown(VstKeyCode& k) override
        {
            lastKey = k;
            return k.virt == VKEY_ESCAPE ? -1 : 1;
        }
        VstKeyCode lastKey{};
    };
    KeyControl* control() const { return static_cast<KeyControl*>(frame->getView(0)); }

    int64_t now = 100000;
    std::vector<int> waits;
    int masterIdles = 0;
};

struct GlueTest : ::testing::Test {
    PlainEffect effect;
    TestEditor* editor = new TestEditor(&effect);  // the effect owns and deletes it
    int parent = 0;
};

TEST_F(GlueTest, DoIdleStuffRunsAtMostEvery100MsAndWaitsWhenCalledEarly)
{
    editor->open(&parent);
    CControl* c = editor->control();
    // (ms on, master idles and sleeps so far): the first call runs; due in 90 ms it sleeps 4 ms
    // and returns; due in 51 ms still too early; due in 49 ms (less than 50) it sleeps, then
    // runs anyway; due exactly now it runs without sleeping. A run idles the frame too (the
    // control's new value is drawn).
    for (auto [on, idles, sleeps] : {std::tuple{0, 1, 0u}, {10, 1, 1u}, {39, 1, 2u}, {2, 2, 3u}, {100, 3, 3u}}) {
        const int before = editor->masterIdles;
        c->setValue(on / 1000.0f);
        editor->now += on;
        editor->doIdleStuff();
        EXPECT_EQ(editor->masterIdles, idles) << on;
        EXPECT_EQ(editor->waits.size(), sleeps) << on;
        EXPECT_EQ(c->isDirty(), editor->masterIdles == before) << on;
    }
    EXPECT_EQ(editor->waits.front(), 4);
    c->setValue(0.5f);
    editor->masterIdle();  // outside doIdleStuff the same call does reach the frame
    EXPECT_FALSE(c->isDirty());
}

TEST_F(GlueTest, RectangleFrameLifetimeAndKeysAnsweredWithTheFramesVerdict)
{
    vst::ERect* r = nullptr;
    ASSERT_TRUE(editor->getRect(&r));
    EXPECT_EQ(r->right, 448);
    EXPECT_EQ(r->bottom, 696);
    EXPECT_FALSE(editor->onKeyDown('a', 0, 0));  // closed: nothing takes keys
    ASSERT_TRUE(editor->open(&parent));
    ASSERT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getFrame()->getEditor(), editor);
    CPoint p(10, 10);
    editor->getFrame()->onMouseDown(p, kLButton);  // focus the control
    EXPECT_TRUE(editor->onKeyDown(0, VKEY_UP, MODIFIER_SHIFT));
    EXPECT_EQ(editor->control()->lastKey.virt, VKEY_UP);
    EXPECT_EQ(editor->control()->lastKey.modifier, MODIFIER_SHIFT);
    EXPECT_FALSE(editor->onKeyDown(0, VKEY_ESCAPE, 0));
    EXPECT_FALSE(editor->onKeyUp('a', 0, 0));
    editor->close();
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_FALSE(editor->isOpen());
}

}  // namespace
}  // namespace orv::test
