// The about picture: a left click on the logo shows it over the whole editor with the version
// text, a right click does nothing, a left click anywhere on the picture closes it, and it can
// be opened again at once.
#include <gtest/gtest.h>

#include "editor/CAbout.h"
#include "editor/CSplashScreenMyView.h"
#include "unit/editor/EditorRig.h"

namespace orv::test {
namespace {

class AboutViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.open());
        rig.render();
    }
    CAbout* about() const { return rig.editor->getAbout(); }
    CView* modal() const { return rig.frame()->getModalView(); }

    EditorRig rig;
    const CPoint logo{120, 171};
};

TEST_F(AboutViewTest, RightClickOnTheLogoDoesNothing) {
    rig.click(logo, kRButton);
    EXPECT_EQ(about()->getValue(), 0.0f);
    EXPECT_EQ(modal(), nullptr);
}

TEST_F(AboutViewTest, LeftClickShowsThePictureWithTheVersionText) {
    rig.click(logo);
    EXPECT_EQ(about()->getValue(), 1.0f);
    auto* view = dynamic_cast<CSplashScreenMyView*>(modal());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getViewSize(), CRect(0, 0, 448, 696));
    EXPECT_EQ(view->getOwner(), about());
    EXPECT_EQ(view->getVersionPosition(), CPoint(281, 184));

    cairo_surface_t* shown = rig.render();
    // The picture everywhere but in the version's box, which holds grey text.
    const CRect version(281, 184, 361, 199);
    CBitmap picture(3999);
    int outside = 0;
    int inside = 0;
    int blended = 0;
    int strong = 0;
    auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xff); };
    const uint32_t text = 0xa09f9d;  // (160, 159, 157)
    for (int y = 0; y < 696; ++y)
        for (int x = 0; x < 448; ++x) {
            const uint32_t p = rgbAt(shown, x, y);
            const uint32_t q = rgbAt(picture.getSurface(), x, y);
            if (p == q) continue;
            if (!version.pointInside(CPoint(x, y))) {
                ++outside;
                continue;
            }
            ++inside;
            // Every changed pixel is the picture blended towards the text colour.
            bool between = true;
            int towardsText = 0;
            for (int shift : {16, 8, 0}) {
                const int a = channel(q, shift), b = channel(text, shift), v = channel(p, shift);
                if (v < std::min(a, b) - 2 || v > std::max(a, b) + 2) between = false;
                towardsText += std::abs(v - b) < std::abs(v - a) ? 1 : 0;
            }
            if (between) ++blended;
            if (towardsText == 3) ++strong;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 20);
    EXPECT_EQ(blended, inside);
    EXPECT_GT(strong, 10);
}

TEST_F(AboutViewTest, RightClickLeavesItLeftClickAnywhereClosesItAndItOpensAgain) {
    rig.click(logo);
    ASSERT_NE(modal(), nullptr);
    rig.click(CPoint(400, 650), kRButton);
    EXPECT_NE(modal(), nullptr);
    EXPECT_EQ(about()->getValue(), 1.0f);

    // The click lands on the picture, not on the Bypass button under it.
    const float bypass = rig.effect->getParameter(0);
    rig.click(CPoint(300, 632));
    EXPECT_EQ(modal(), nullptr);
    EXPECT_EQ(about()->getValue(), 0.0f);
    EXPECT_EQ(rig.effect->getParameter(0), bypass);
    // The editor is back.
    EXPECT_EQ(mismatchesAgainstBitmap(rig.render(), CRect(35, 160, 210, 182), 4000, 35, 160), 0);

    rig.click(logo);
    EXPECT_EQ(about()->getValue(), 1.0f);
    EXPECT_NE(dynamic_cast<CSplashScreenMyView*>(modal()), nullptr);
}

TEST_F(AboutViewTest, ClosingTheEditorWhileShownReleasesTheView) {
    rig.click(logo);
    ASSERT_NE(modal(), nullptr);
    rig.editor->close();
    EXPECT_EQ(rig.editor->getFrame(), nullptr);
    ASSERT_TRUE(rig.open());
    EXPECT_EQ(about()->getValue(), 0.0f);
    EXPECT_EQ(modal(), nullptr);
}

}  // namespace
}  // namespace orv::test
