// The constants of the skinning units and the small rules of their set-up.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "skin/core/portable/skinconsts.h"

namespace kova::skin {
namespace {

TEST(SkinConsts, ControlKindsAndTheirDefaultClasses) {
    EXPECT_STREQ(acThirdNames[0], "Edit");
    EXPECT_STREQ(acThirdNames[1], "Button");
    EXPECT_STREQ(acThirdNames[19], "UpDownBtn");
    std::set<std::string> names;
    for (int i = 0; i < kThirdKindCount; ++i) {
        names.insert(acThirdNames[i]);
        EXPECT_EQ(ThirdKindIndex(acThirdNames[i]), i);
        // Only buttons have a default class.
        EXPECT_EQ(ThirdDefaultClasses(i), i == 1 ? std::vector<std::string>{"TButton"} : std::vector<std::string>{})
            << acThirdNames[i];
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kThirdKindCount));
    EXPECT_EQ(ThirdKindIndex("scrollcontrol"), 18);
    EXPECT_EQ(ThirdKindIndex("Memo"), -1);
    EXPECT_TRUE(ThirdDefaultClasses(-1).empty());
    EXPECT_TRUE(ThirdDefaultClasses(kThirdKindCount).empty());
}

TEST(SkinConsts, TextIdsAreUniqueAndAscending) {
    ASSERT_GT(kSkinTextCount, 0u);
    for (std::size_t i = 1; i < kSkinTextCount; ++i) EXPECT_LT(kSkinTexts[i - 1].Id, kSkinTexts[i].Id) << i;
    EXPECT_EQ(kSkinTexts[0].Id, s_Create);
    EXPECT_STREQ(kSkinTexts[kSkinTextCount - 1].Text, "OK");
}

TEST(SkinConsts, FourDigitYearAndSwitches) {
    struct Case {
        const char* format;
        bool four;
    } cases[] = {{"dd.MM.yyyy", true}, {"M/d/yy", false}, {"YYYY-MM-DD", true}, {"yyy", false}, {"", false},
                 {"d MMMM yYyY", true}};
    for (const Case& c : cases) EXPECT_EQ(ShortDateHasFourDigitYear(c.format), c.four) << c.format;

    EXPECT_TRUE(HasSwitch({"x.skn", "/ACVER"}, "/acver"));
    EXPECT_TRUE(HasSwitch({"/AcVer"}, "/acver"));
    EXPECT_FALSE(HasSwitch({"/acver2", "acver", "-acver"}, "/acver"));
    EXPECT_FALSE(HasSwitch({}, "/acver"));
}

}  // namespace
}  // namespace kova::skin
