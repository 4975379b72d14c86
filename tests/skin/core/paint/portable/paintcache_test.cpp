// A control's picture served from its cache: composed again only when the
// skin, section, state, size or the caller's extra key changed.
#include "skin/core/paint/portable/paintcache.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/core/model/internalskins.h"
#include "skin/core/paint/portable/skinitem.h"

namespace kova::skin {
namespace {

TEST(PaintCache, RepaintOfAnUnchangedControlIsTheStoredPicture) {
    TsSkinModel skin;
    skin.LoadStoredData(InternalSkinData("Linen"));
    const int button = skin.IndexOfSection("BUTTON");
    ASSERT_GE(button, 0);
    Bitmap32 parent(200, 100);
    parent.Fill(0xFFE0E0E0u);
    const TsParentImageInfo bg{&parent, 10, 10, clFuchsia, true};
    int composed = 0;
    auto compose = [&](int state) {
        return [&, state](Bitmap32& b) {
            ++composed;
            PaintSkinItem(b, skin, button, bg, state, {0, 0, b.Width(), b.Height()}, {});
        };
    };
    TPaintCache cache;
    const TPaintKey normal = MakePaintKey(skin, button, 0, 80, 24);
    const Bitmap32 first = cache.Get(normal, compose(0)).Clone();
    for (int i = 0; i < 5; ++i) cache.Get(normal, compose(0));
    EXPECT_EQ(composed, 1) << "repaints of the unchanged button composed it again";
    EXPECT_EQ(cache.Compositions(), 1u);
    // The stored picture is what a fresh composition gives.
    Bitmap32 fresh(80, 24);
    PaintSkinItem(fresh, skin, button, bg, 0, {0, 0, 80, 24}, {});
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(cache.Picture().At(x, y), fresh.At(x, y));
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(first.At(x, y), fresh.At(x, y));

    // Each change of what the picture is made of composes it once more.
    cache.Get(MakePaintKey(skin, button, 1, 80, 24), compose(1));
    EXPECT_EQ(composed, 2) << "state";
    cache.Get(MakePaintKey(skin, button, 1, 81, 24), compose(1));
    EXPECT_EQ(composed, 3) << "size";
    EXPECT_EQ(cache.Picture().Width(), 81);
    cache.Get(MakePaintKey(skin, button, 1, 81, 24, HashPaintValue("OK")), compose(1));
    EXPECT_EQ(composed, 4) << "caption";
    cache.Get(MakePaintKey(skin, button, 1, 81, 24, HashPaintValue("OK")), compose(1));
    EXPECT_EQ(composed, 4);
    skin.LoadStoredData(InternalSkinData("Slate"));  // the skin's tables reloaded
    cache.Get(MakePaintKey(skin, skin.IndexOfSection("BUTTON"), 1, 81, 24, HashPaintValue("OK")), compose(1));
    EXPECT_EQ(composed, 5) << "skin";
    cache.Invalidate();
    cache.Get(MakePaintKey(skin, skin.IndexOfSection("BUTTON"), 1, 81, 24, HashPaintValue("OK")), compose(1));
    EXPECT_EQ(composed, 6) << "invalidated";
}

TEST(PaintCache, FailedCompositionIsNotKept) {
    TsSkinModel skin;
    TPaintCache cache;
    const TPaintKey key = MakePaintKey(skin, 0, 0, 4, 4);
    EXPECT_THROW(cache.Get(key, [](Bitmap32&) { throw std::runtime_error("no"); }), std::runtime_error);
    EXPECT_FALSE(cache.Valid());
    int composed = 0;
    cache.Get(key, [&](Bitmap32& b) {
        ++composed;
        b.Fill(0xFF010203u);
    });
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(cache.Picture().At(3, 3), 0xFF010203u);
    // A recomposition starts from a cleared buffer, not the old picture.
    cache.Get(MakePaintKey(skin, 0, 1, 4, 4), [](Bitmap32& b) { b.At(0, 0) = 0xFFFFFFFFu; });
    EXPECT_EQ(cache.Picture().At(3, 3), 0u);
    cache.Release();
    EXPECT_FALSE(cache.Valid());
    EXPECT_TRUE(cache.Picture().Empty());
    EXPECT_NE(HashPaintValue("OK"), HashPaintValue("Ok"));
    EXPECT_NE(HashPaintValue(std::int64_t{1}), HashPaintValue(std::int64_t{2}));
}

}  // namespace
}  // namespace kova::skin
