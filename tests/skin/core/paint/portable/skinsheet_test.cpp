// The review sheets of the built-in skins against their checksums: any
// change to how a section paints shows here. After an intended change,
// look at the new sheets (tools/skinsheet Linen OUT.png) and take the
// checksums the tool prints.
#include "skin/core/paint/portable/skinsheet.h"

#include <gtest/gtest.h>

#include "skin/core/model/internalskins.h"

namespace kova::skin {
namespace {

TEST(SkinSheet, BuiltInSkinsPaintAsReviewed) {
    struct Case {
        const char* skin;
        const char* checksum;
    };
    const Case cases[] = {
        {"Linen", "cde71b96d7536b9f"},
        {"Slate", "f4f5c94efead69f7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        TsSkinModel model;
        model.LoadStoredData(InternalSkinData(c.skin));
        const Bitmap32 sheet = RenderSkinSheet(model);
        EXPECT_EQ(sheet.Width(), 848);
        EXPECT_EQ(sheet.Height(), 24 + static_cast<int>(model.Sections().size()) * 64 + 8);
        EXPECT_EQ(PixelChecksum(sheet), c.checksum);
    }
}

TEST(SkinSheet, LabelsDrawOnlyKnownCharactersInsideTheBitmap) {
    Bitmap32 b(12, 6);
    DrawLabel(b, 0, 0, "a~1", 0xFF000000u, 1);
    EXPECT_EQ(b.At(1, 0), 0xFF000000u) << "the top of the A";
    for (int y = 0; y < 6; ++y)
        for (int x = 4; x < 8; ++x) EXPECT_EQ(b.At(x, y), 0u) << "no glyph for ~";
    EXPECT_EQ(b.At(9, 0), 0xFF000000u) << "the top of the 1";
    DrawLabel(b, -3, 4, "WW", 0xFF000000u, 3);  // cut at every edge, no fault
}

}  // namespace
}  // namespace kova::skin
