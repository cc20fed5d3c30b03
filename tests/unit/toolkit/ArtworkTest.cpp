// The embedded artwork and font. Every bitmap the editor loads decodes to the image stored
// beside the test (data/artwork/<id>.png, written with ORV_UPDATE_ARTWORK=1 when the artwork
// changes on purpose); the editor's renders hold the rest of its look.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <string>

#include "platform/EmbeddedResources.h"
#include "unit/toolkit/ToolkitTestSupport.h"

namespace orv::test {
namespace {

TEST(Artwork, EveryBitmapDecodesToItsStoredImage)
{
    constexpr int kIds[] = {4000, 3999, 2002, 4110, 4111,  2003,  2004,  2005,  2008,  2009, 2013, 2010, 4001,
                            4002, 4005, 4200, 4201, 19997, 19999, 19998, 19990, 19899, 994,  998,  999,  989};
    EXPECT_EQ(bitmapResourceCount(), static_cast<int>(std::size(kIds)));
    for (int id : kIds) {
        SCOPED_TRACE(id);
        BitmapPtr bitmap(new CBitmap(id));
        ASSERT_TRUE(bitmap->isLoaded());
        expectStoredImage(bitmap->getSurface(),
                          std::string(ORV_DEFAULT_SOURCE_DIR) + "/tests/unit/toolkit/data/artwork/" +
                              std::to_string(id) + ".png",
                          "ORV_UPDATE_ARTWORK");
    }
}

TEST(Artwork, FontIsLiberationSansRegular)
{
    const EmbeddedBlob blob = findFontResource();
    ASSERT_NE(blob.data, nullptr);
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(lib, blob.data, static_cast<FT_Long>(blob.size), 0, &face), 0);
    EXPECT_STREQ(face->family_name, "Liberation Sans");
    EXPECT_STREQ(face->style_name, "Regular");
    EXPECT_NE(FT_Get_Char_Index(face, '%'), 0u);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

}  // namespace
}  // namespace orv::test
