// The built-in skins: what the program carries is what the generator draws,
// it loads the same from its folder and from the bytes in the program, and
// it gives every control the images it asks for.
#include "skin/core/model/internalskins.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/testdata.h"
#include "skin/core/model/skindump.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/model/skinsource.h"

namespace kova::skin {
namespace {

const char* const kSkins[] = {"Linen", "Slate"};

std::string Folder(const std::string& skin) {
    return kova::test::SourcePath("src/skin/core/model/internalskins/" + skin + "/");
}

std::string ReadText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(InternalSkins, NamedAndListedFirst) {
    TsSkinModel m;
    AddInternalSkins(m.InternalSkins);
    ASSERT_EQ(m.InternalSkins.Count(), 2u);
    EXPECT_EQ(m.InternalSkins.Items(0).Name, "Linen (internal)");
    EXPECT_EQ(m.InternalSkins.Items(1).Name, "Slate (internal)");
    EXPECT_EQ(m.InternalSkins.IndexOf("linen (internal)"), -1);
    m.SkinDirectory = kova::test::SourcePath("src/skin/core/model/internalskins");
    std::vector<std::string> names;
    std::string first;
    m.GetSkinNames(names, slAll, first);
    EXPECT_EQ(names, (std::vector<std::string>{"Linen (internal)", "Slate (internal)", "Linen", "Linen", "Slate",
                                               "Slate"}));
    EXPECT_EQ(first, "Linen (internal)");
}

// The golden text of each skin, from its folder, from its packed file and
// from the bytes built into the program.
TEST(InternalSkins, GoldenDumpFromEverySource) {
    for (const char* skin : kSkins) {
        SCOPED_TRACE(skin);
        std::vector<std::string> log;
        TsSkinModel folder, packed, stored;
        folder.Env.Log = [&log](const std::string& line) { log.push_back(line); };
        folder.LoadFolder(Folder(skin));
        packed.LoadPackedFile(kova::test::SourcePath(std::string("src/skin/core/model/internalskins/") + skin + ".asz"));
        stored.LoadStoredData(InternalSkinData(skin));
        EXPECT_TRUE(log.empty()) << log.front();
        const std::string golden =
            ReadText(kova::test::SourcePath(std::string("tests/skin/fixtures/golden/") + skin + ".txt"));
        const std::string dump = DumpSkin(folder);
        EXPECT_EQ(dump, golden) << "regenerate with: skindump src/skin/core/model/internalskins/" << skin;
        EXPECT_EQ(DumpSkin(packed), dump);
        EXPECT_EQ(DumpSkin(stored), dump);
    }
}

// The packed file holds exactly the folder's files.
TEST(InternalSkins, PackedFileHoldsTheFolder) {
    for (const char* skin : kSkins) {
        SCOPED_TRACE(skin);
        auto source = ArchiveSourceFromBytes(InternalSkinData(skin));
        ASSERT_TRUE(source->OptionsText());
        EXPECT_EQ(*source->OptionsText(), ReadText(Folder(skin) + "Options.dat"));
        std::vector<std::uint8_t> master;
        ASSERT_TRUE(source->ReadPicture("Master.bmp", master));
        const std::string onDisk = ReadText(Folder(skin) + "Master.bmp");
        EXPECT_EQ(std::string(master.begin(), master.end()), onDisk);
    }
}

// Every control family finds its images through the lookups it uses.
TEST(InternalSkins, CoverEveryControl) {
    for (const char* skin : kSkins) {
        SCOPED_TRACE(skin);
        TsSkinModel m;
        AddInternalSkins(m.InternalSkins);
        ASSERT_TRUE(m.SetSkinName(std::string(skin) + " (internal)"));
        EXPECT_TRUE(m.IsPacked());
        for (const char* section : {"FORM", "FORMTITLE", "DIALOG", "DIALOGTITLE", "TITLEBUTTON", "BUTTON", "TOOLBUTTON",
                                    "SPEEDBUTTON", "EDIT", "COMBOBOX", "COMBOBTN", "PANEL_LOW", "GROUPBOX",
                                    "PAGECONTROL", "TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT", "SCROLLBAR1H",
                                    "SCROLLBAR2V", "SCROLLSLIDERH", "SCROLLSLIDERV", "SCROLLBTNTOP", "SCROLLBTNRIGHT",
                                    "MENUITEM", "HINT", "COLHEADER"}) {
            const std::int32_t i = m.IndexOfSection(section);
            ASSERT_TRUE(m.SectionIndexValid(i)) << section;
            EXPECT_GE(m.Sections()[static_cast<std::size_t>(i)].BorderIndex, 0) << section;
        }
        for (const char* section : {"PANEL", "CHECKBOX", "RADIOBUTTON", "SELECTION", "MAINMENU", "MENULINE", "TABSHEET"})
            EXPECT_TRUE(m.SectionIndexValid(m.IndexOfSection(section))) << section;
        const TsConstIndexes& c = m.ConstData();
        for (std::int32_t i : {c.CheckBoxChecked, c.CheckBoxUnchecked, c.CheckBoxGrayed, c.RadioButtonChecked,
                               c.RadioButtonUnchecked, c.RadioButtonGrayed, c.SmallBoxChecked, c.GripImage,
                               c.ComboBoxGlyph, c.ComboBtn.Border, c.ScrollBtns[0].Glyph, c.ScrollBtns[3].Glyph,
                               c.ScrollSliderH.Border, c.Tabs[2].Border})
            EXPECT_TRUE(m.MaskIndexValid(i));
        for (const char* icon : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONCLOSE"})
            EXPECT_GE(m.IndexOfMaskExact("GLOBALINFO", icon), 0) << icon;
        // The selection is the accent with readable text on it.
        EXPECT_NE(m.SelectionColor(true), m.SelectionFontColor(true));
    }
}

}  // namespace
}  // namespace kova::skin
