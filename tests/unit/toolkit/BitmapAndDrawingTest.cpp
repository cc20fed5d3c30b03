// The embedded artwork: every bitmap the editor loads decodes to the image stored beside the
// test (data/artwork/<id>.png, written with ORV_UPDATE_ARTWORK=1 when the artwork changes on
// purpose), decoded once for all threads. Bitmaps decoded from PNG, drawing with opacity and
// text that is not UTF-8. The font (a wrong or damaged one changes every text), its metrics,
// rectangles, text alignment, offscreen copies (the markers) and filmstrip frames drawn at
// their offsets inside their view are held by the editor's stored renders and control scripts.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/EmbeddedResources.h"
#include "toolkit/CDrawContext.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

// An image surface, black at first (cairo clears new surfaces).
struct Canvas : std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> {
    Canvas(int w, int h) : unique_ptr(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h), cairo_surface_destroy) {}
};

TEST(CBitmap, MissingResourceOrCorruptBytesAreNotLoaded)
{
    BitmapPtr none(new CBitmap(-12345));
    EXPECT_FALSE(none->isLoaded());
    const unsigned char junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    BitmapPtr bad(new CBitmap(junk, sizeof junk));
    EXPECT_FALSE(bad->isLoaded());
}

TEST(CBitmap, OpacityBlendsOverWhatIsBelow)
{
    BitmapPtr white(makeSolid(4, 4, 0xffffffffu));
    Canvas canvas(4, 4);
    {
        CDrawContext ctx(canvas.get());
        white->draw(&ctx, CRect(0, 0, 4, 4), CPoint(), 0.25f);
    }
    // 25 % white over black: 0.25 × 255 = 63.75 per channel (one step of rounding either way).
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(static_cast<int>((pixelAt(canvas.get(), 1, 1) >> shift) & 0xff), 63.75, 1.0);
}

TEST(CDrawContext, TextThatIsNotUtf8StillDrawsAndLaterDrawingStillWorks)
{
    Canvas canvas(80, 40);
    {
        CDrawContext ctx(canvas.get());
        ctx.setFontColor(kWhiteCColor);
        ctx.drawString("Caf\xe9", CRect(0, 0, 80, 20));  // Latin-1 e-acute
        ctx.setFillColor(CColor{0, 0, 255, 255});
        ctx.fillRect(CRect(0, 30, 10, 40));
    }
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) ink += pixelAt(canvas.get(), x, y) != 0 ? 1 : 0;
    EXPECT_GT(ink, 0);
    EXPECT_EQ(pixelAt(canvas.get(), 5, 35), 0x0000ffu);
}

// Each id is decoded once per process: bitmaps of one id made on several threads at once
// (editors of two instances may open on different threads) share one surface.
TEST(Artwork, EveryBitmapDecodesOnceToItsStoredImage)
{
    static constexpr int kIds[] = {4000, 3999, 2002, 4110, 4111,  2003,  2004,  2005,  2008,  2009, 2013, 2010, 4001,
                                   4002, 4005, 4200, 4201, 19997, 19999, 19998, 19990, 19899, 994,  998,  999,  989};
    EXPECT_EQ(bitmapResourceCount(), static_cast<int>(std::size(kIds)));
    std::vector<std::vector<BitmapPtr>> made(4);
    std::vector<std::thread> threads;
    for (std::vector<BitmapPtr>& bitmaps : made)
        threads.emplace_back([&bitmaps] {
            for (int id : kIds) bitmaps.emplace_back(new CBitmap(id));
        });
    for (std::thread& t : threads) t.join();
    for (size_t i = 0; i < std::size(kIds); ++i) {
        SCOPED_TRACE(kIds[i]);
        ASSERT_TRUE(made[0][i]->isLoaded());
        for (const std::vector<BitmapPtr>& bitmaps : made)
            EXPECT_EQ(bitmaps[i]->getSurface(), made[0][i]->getSurface());
        expectStoredImage(made[0][i]->getSurface(),
                          std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/toolkit/data/artwork/" +
                              std::to_string(kIds[i]) + ".png",
                          "ORV_UPDATE_ARTWORK");
    }
}

}  // namespace
}  // namespace orv::test
