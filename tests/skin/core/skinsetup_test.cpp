// The skinning units' start and finish: the texts from the program's string
// table, the shared glyph list and shadows from its resources, the system
// values, the start counter and the "/acver" switch (answered through the
// framework's dialog seam).
#include <gtest/gtest.h>

#include "framework/dialogs.h"
#include "skin/core/alphaimagelist.h"
#include "skin/core/pictureformats.h"
#include "skin/core/skinsetup.h"
#include "skin/core/sysutils.h"

namespace kova::skin {
namespace {

class SkinSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SkinUnitsStartCount(), 0);
        SetDialogResponder([this](const TDialogRequest& r) {
            messages.push_back(r);
            TDialogAnswer a;
            a.result = mrOk;
            return a;
        });
    }
    void TearDown() override {
        while (SkinUnitsStarted()) FinishSkinUnits();
        SetDialogResponder(nullptr);
    }
    std::vector<TDialogRequest> messages;
};

TEST_F(SkinSetupTest, StartsOnceAndFinishesWithTheLastStart) {
    EXPECT_EQ(SharedGlyphList(), nullptr);
    StartSkinUnits(std::vector<std::string>{});
    TsAlphaImageList* list = SharedGlyphList();
    ASSERT_NE(list, nullptr);
    StartSkinUnits(std::vector<std::string>{});
    EXPECT_EQ(SkinUnitsStartCount(), 2);
    EXPECT_EQ(SharedGlyphList(), list);  // not made again
    FinishSkinUnits();
    EXPECT_EQ(SharedGlyphList(), list);  // still in use
    EXPECT_EQ(SkinText(s_OK), "OK");
    FinishSkinUnits();
    EXPECT_EQ(SkinUnitsStartCount(), 0);
    EXPECT_EQ(SharedGlyphList(), nullptr);
    EXPECT_EQ(ActiveShadow(), nullptr);
    EXPECT_EQ(SkinText(s_OK), "");
    FinishSkinUnits();  // one finish too many: nothing
    EXPECT_EQ(SkinUnitsStartCount(), 0);
    // And it starts again after that.
    StartSkinUnits(std::vector<std::string>{});
    EXPECT_NE(SharedGlyphList(), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinSetupTest, TextsPicturesAndSystemValues) {
    StartSkinUnits(std::vector<std::string>{});
    for (std::size_t i = 0; i < kSkinTextCount; ++i)
        EXPECT_EQ(SkinText(kSkinTexts[i].Id), kSkinTexts[i].Text) << kSkinTexts[i].Id;
    EXPECT_EQ(SkinText(s_Help), "&Help");
    EXPECT_EQ(SkinText(12345), "");

    TsAlphaImageList* list = SharedGlyphList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Width(), 48);
    EXPECT_EQ(list->Height(), 16);
    ASSERT_EQ(list->Count(), 5);
    ASSERT_EQ(list->Items().Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->Items()[i].OrigWidth, 48) << i;
        EXPECT_EQ(list->Items()[i].OrigHeight, 16) << i;
        const Bitmap32 b = list->GetBitmap32(i, 48, 16);
        ASSERT_EQ(b.Width(), 48) << i;
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 48; ++x) opaque += (b.At(x, y) >> 24) == 255;
        EXPECT_GT(opaque, 6) << i;
    }

    for (TPNGPicture* shadow : {ActiveShadow(), InactiveShadow()}) {
        ASSERT_NE(shadow, nullptr);
        EXPECT_GT(shadow->Width(), 16);
        EXPECT_TRUE(shadow->HasAlpha());
    }
    // The active shadow is the deeper one.
    const Bitmap32& a = ActiveShadow()->Pixels();
    const Bitmap32& n = InactiveShadow()->Pixels();
    EXPECT_GT(a.At(a.Width() / 2, a.Height() - 6) >> 24, n.At(n.Width() / 2, n.Height() - 6) >> 24);

    EXPECT_EQ(OsVersion().dwOSVersionInfoSize, 148u);
    EXPECT_GE(OsVersion().dwMajorVersion, 5u);
    EXPECT_TRUE(IsNTFamily());
    EXPECT_EQ(SkinSharedDefaults().ScrollArrowWidth, GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(SkinSharedDefaults().UnsetA, -99);
    EXPECT_EQ(SkinSharedDefaults().TransparentColour, clFuchsia);
    char format[96] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format);
    EXPECT_EQ(FourDigitYear(), ShortDateHasFourDigitYear(format));
    // The start set the utilities up as well.
    EXPECT_FALSE(WowWithoutDwm && !IsWow64());
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinSetupTest, VersionSwitchShowsItsMessageOnceAtStart) {
    StartSkinUnits({"some.skn", "/ACVER"});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, TDialogKind::Message);
    EXPECT_EQ(messages[0].text, "Skin engine v7.63");
    EXPECT_EQ(messages[0].type, mtInformation);
    StartSkinUnits({"/acver"});  // already started: no second message
    EXPECT_EQ(messages.size(), 1u);
    FinishSkinUnits();
    FinishSkinUnits();
    StartSkinUnits({"/acversion"});
    EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
}  // namespace kova::skin
