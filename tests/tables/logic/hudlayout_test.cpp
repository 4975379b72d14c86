// Layout files of the information panel: what is written, what a file
// without some keys or with damaged values gives back.
#include <gtest/gtest.h>

#include "tables/logic/hudlayout.h"
#include "tables/files/tables_testutil.h"

namespace kova::tables {
namespace {

TPanelLayout Sample() {
    TPanelLayout p;
    p.Width = 623;
    p.Height = 421;
    TLayoutControl logo;
    logo.Name = "LogoImage";
    logo.Left = 5;
    logo.Top = 6;
    logo.Width = logo.Height = 32;
    TLayoutControl id;
    id.Name = "IDTable";
    id.IsLabel = true;
    id.Left = 150;
    id.Top = 20;
    id.Width = 30;
    id.Height = 20;
    id.Transparent = true;
    id.BackColor = 0x00332211;  // red 0x11, green 0x22, blue 0x33
    id.FontName = "Arial";
    id.FontColor = 0x0000FF00;
    id.FontSize = 9;
    id.FontStyle = 2 | 4;
    id.AutoSize = false;
    id.Visible = false;
    p.Controls = {logo, id};
    return p;
}

TEST(HUDLayout, WrittenKeysAndARoundTrip) {
    kova::TMemIniFile ini;
    WriteLayout(ini, Sample());
    EXPECT_EQ(ini.ReadInteger("Table", "Width", 0), 623);
    EXPECT_EQ(ini.ReadInteger("IDTable", "BackColorRed", 0), 0x11);
    EXPECT_EQ(ini.ReadInteger("IDTable", "BackColorBlue", 0), 0x33);
    EXPECT_EQ(ini.ReadInteger("IDTable", "FontColorGreen", 0), 255);
    EXPECT_EQ(ini.ReadString("IDTable", "FontName", ""), "Arial");
    EXPECT_FALSE(ini.ValueExists("LogoImage", "FontName"));  // label keys only for labels

    TPanelLayout back = Sample();
    for (auto& c : back.Controls) {
        c.Left = c.Top = 0;
        c.Visible = true;
        c.FontName = "x";
    }
    ReadLayout(ini, back);
    const TPanelLayout want = Sample();
    for (size_t i = 0; i < want.Controls.size(); ++i) {
        const auto &a = back.Controls[i], &b = want.Controls[i];
        EXPECT_EQ(a.Left, b.Left);
        EXPECT_EQ(a.Top, b.Top);
        EXPECT_EQ(a.Visible, b.Visible);
        if (!b.IsLabel) continue;
        EXPECT_EQ(a.Transparent, b.Transparent);
        EXPECT_EQ(a.BackColor, b.BackColor);
        EXPECT_EQ(a.FontName, b.FontName);
        EXPECT_EQ(a.FontColor, b.FontColor);
        EXPECT_EQ(a.FontSize, b.FontSize);
        EXPECT_EQ(a.FontStyle, b.FontStyle);
        EXPECT_EQ(a.AutoSize, b.AutoSize);
    }
}

TEST(HUDLayout, AMissingSectionKeepsThePlaceButResetsTheLooks) {
    kova::TMemIniFile ini;
    ini.SetText("[Table]\r\nWidth=10\r\n[IDTable]\r\nBackColorGreen=255\r\n");
    TPanelLayout p = Sample();
    p.Controls[1].AutoSize = false;
    ReadLayout(ini, p);
    const TLayoutControl& id = p.Controls[1];
    EXPECT_EQ(id.Left, 150);
    EXPECT_EQ(id.Top, 20);
    EXPECT_FALSE(id.Visible);  // as it was
    EXPECT_FALSE(id.Transparent);
    EXPECT_EQ(id.BackColor, 0x0000FF00u);  // green given; red and blue from black
    EXPECT_EQ(id.FontName, "MS Sans Serif");
    EXPECT_EQ(id.FontColor, 0x00FFFFFFu);
    EXPECT_EQ(id.FontSize, 12);
    EXPECT_EQ(id.FontStyle, 1u);
    EXPECT_FALSE(id.AutoSize);  // as it is now
    EXPECT_EQ(p.Width, 10);
    EXPECT_EQ(p.Height, 421);
}

TEST(HUDLayout, DamagedValuesAreBroughtIntoRange) {
    kova::TMemIniFile ini;
    ini.SetText(
        "[IDTable]\r\nBackColorRed=999\r\nBackColorGreen=-5\r\nFontSize=0\r\nFontStyle=255\r\nWidth=-40\r\n"
        "Left=2000000000\r\nFontName=\r\n");
    TPanelLayout p = Sample();
    ReadLayout(ini, p);
    const TLayoutControl& id = p.Controls[1];
    EXPECT_EQ(id.BackColor, 0x000000FFu);
    EXPECT_EQ(id.FontSize, 12);
    EXPECT_EQ(id.FontStyle, 15u);
    EXPECT_EQ(id.Width, 0);
    EXPECT_EQ(id.Left, 100000);
    EXPECT_EQ(id.FontName, "MS Sans Serif");
}

TEST(HUDLayout, FilesAreSavedIntoAMissingFolderAndLoadedBack) {
    test::ScratchFolder dir;
    const std::string file = (dir / "Layouts" / "LayTestG.ini").string();
    std::string error;
    ASSERT_TRUE(SaveLayoutFile(file, Sample(), error)) << error;
    TPanelLayout p = Sample();
    p.Controls[0].Left = 99;
    LoadLayoutFile(file, p);
    EXPECT_EQ(p.Controls[0].Left, 5);
    // A missing file: places stay.
    LoadLayoutFile((dir / "none.ini").string(), p);
    EXPECT_EQ(p.Controls[0].Left, 5);
    // A folder in place of the file cannot be written: reported, no crash.
    EXPECT_FALSE(SaveLayoutFile(dir.Path().string(), Sample(), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kova::tables
