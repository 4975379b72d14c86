// The skin model: the options vocabulary, every image-entry format, the
// sources (folder, packed file, stored data) and the lookups.
#include "skin/core/model/skinmodel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "framework/portable/colors.h"
#include "framework/portable/numformat.h"
#include "skin/core/model/pictures.h"
#include "skin/core/model/skindump.h"

namespace kova::skin {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A skin folder written by the test, removed afterwards.
class SkinFolder {
public:
    SkinFolder() {
        static int n = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() / ("kova-skin-test-" + std::to_string(stamp) + "-" + std::to_string(n++));
        fs::create_directories(dir_);
    }
    ~SkinFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Write(const std::string& name, const Bytes& data) const {
        std::ofstream f(dir_ / name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    void Write(const std::string& name, const std::string& text) const { Write(name, Bytes(text.begin(), text.end())); }
    std::string Path() const { return dir_.string() + "/"; }
    // The folder as a packed skin.
    Bytes Pack() const {
        std::vector<PackedEntry> entries;
        for (const auto& e : fs::directory_iterator(dir_)) {
            std::ifstream f(e.path(), std::ios::binary);
            Bytes b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
            entries.push_back({e.path().filename().string(), std::move(b)});
        }
        return WritePackedSkin(entries);
    }

private:
    fs::path dir_;
};

// A master bitmap with a key-colour corner at its top-left pixel.
Bytes Master(int w = 64, int h = 32) {
    Bitmap32 px(w, h);
    px.Fill(0xFF336699u);
    px.At(0, 0) = 0xFFFF00FFu;
    return EncodeBmp(px, false);
}

void Load(TsSkinModel& m, const SkinFolder& folder, std::vector<std::string>* log = nullptr) {
    if (log) m.Env.Log = [log](const std::string& line) { log->push_back(line); };
    m.LoadFolder(folder.Path());
}

const TsMaskData* Find(const TsSkinModel& m, const std::string& section, const std::string& key) {
    const std::int32_t i = m.IndexOfMaskExact(section, key);
    return i < 0 ? nullptr : &m.Masks()[static_cast<std::size_t>(i)];
}

TEST(SkinOptions, EntryFormats) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    Bitmap32 own(30, 20);
    own.Fill(0xFF808080u);
    f.Write("own.bmp", EncodeBmp(own, false));
    f.Write("glyph.png", EncodePngRgba(own));
    f.Write("Options.dat",
            "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n"
            "[S]\n"
            "TILE=~0001,0002,0011,0012,01,3\n"
            "GLYPH=@0000,0000,0030,0010,3,1\n"
            "MASK=^0000,0000,0030,0010,0002,0003,0004,0005,3,0,1,0\n"
            "THIRDS=^0000,0000,0030,0018,0000,0000,0000,0000,1,1,0,0\n"
            "COMMON=^0000,0000,0030,0018,0000,0000,0000,0000,1,1,0,3\n"
            "BANG=!own.BMP!3!0!0!1!2!3!4!5\n"
            "BANG3=!glyph.PNG!3!1\n"
            "BANGLOWER=!own.bmp!1!0\n"
            "BANGJPG=!own.JPG!1!0\n"
            "OLD=x#y (0,2,30,12) (3,1,2,4)\n"
            "PLAIN=own.bmp\n"
            "COLOR=123\n");
    std::vector<std::string> log;
    TsSkinModel m;
    Load(m, f, &log);
    struct Case {
        const char* section;
        const char* key;
        int kind;
        TRect rect;
        int columns, rows, drawMode;
        int margins[4];
    };
    const Case cases[] = {
        {"S", "TILE", ekTexture, {1, 2, 11, 12}, 1, 3, 1, {0, 0, 0, 0}},
        {"S", "GLYPH", ekGlyph, {0, 0, 30, 10}, 3, 1, 0, {0, 0, 0, 0}},
        {"S", "MASK", ekMask, {0, 0, 30, 10}, 3, 0, 1, {2, 3, 4, 5}},
        {"S", "THIRDS", ekMask, {0, 0, 30, 18}, 1, 1, 0, {10, 3, 10, 3}},  // state 30 x 9
        {"S", "COMMON", ekMask, {0, 0, 30, 18}, 1, 1, 0, {3, 3, 3, 3}},
        {"S", "BANG", ekMask, {0, 0, 30, 20}, 3, 0, 5, {1, 2, 3, 4}},
        {"S", "BANG3", ekMask, {0, 0, 30, 20}, 3, 1, 1, {3, 3, 3, 3}},  // thirds of 10 x 10
        {"S", "OLD", ekMask, {0, 2, 30, 12}, 3, 1, 4, {2, 2, 2, 2}},
        {"S", "PLAIN", ekMask, {0, 0, 30, 20}, 3, 1, 0, {3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "." + c.key);
        const TsMaskData* e = Find(m, c.section, c.key);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->EntryKind, c.kind);
        EXPECT_EQ(e->SourceRect, c.rect);
        EXPECT_EQ(e->ColumnCount, c.columns);
        EXPECT_EQ(e->RowMode, c.rows);
        EXPECT_EQ(e->DrawMode, c.drawMode);
        EXPECT_EQ(e->MarginLeft, c.margins[0]);
        EXPECT_EQ(e->MarginTop, c.margins[1]);
        EXPECT_EQ(e->MarginRight, c.margins[2]);
        EXPECT_EQ(e->MarginBottom, c.margins[3]);
        EXPECT_EQ(e->Owner, &m);
    }
    // The mask in the master bitmap has the key colour in its top-left corner.
    EXPECT_EQ(Find(m, "S", "MASK")->CornerKind, 1);
    EXPECT_EQ(Find(m, "S", "PLAIN")->CornerKind, 0);
    // "!" needs ".BMP" or ".PNG" as written; a lower-case name is no entry.
    EXPECT_EQ(Find(m, "S", "BANGLOWER"), nullptr);
    EXPECT_EQ(Find(m, "S", "BANGJPG"), nullptr);
    EXPECT_EQ(Find(m, "S", "COLOR"), nullptr);
    EXPECT_EQ(Find(m, "GLOBALINFO", "MASTERBITMAP"), nullptr);
}

// Skins below 7.4 flag a one-pixel centre in bit 0 of the draw mode; the
// huge button's border has its own corner kind without a scan.
TEST(SkinOptions, OldSkinsAndTheHugeButton) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    const std::string entries =
        "[S]\nONE=^0000,0000,0030,0006,0001,0001,0008,0001,3,1,0,0\nWIDE=^0000,0000,0030,0006,0001,0001,0001,0001,3,1,1,0\n"
        "[BUTTON_HUGE]\nBORDERSMASK=^0000,0000,0030,0010,0002,0002,0002,0002,3,0,1,0\n";
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.3\nMASTERBITMAP=Master.bmp\n" + entries);
    TsSkinModel m;
    Load(m, f);
    EXPECT_EQ(Find(m, "S", "ONE")->DrawMode, 1);   // 10 - 1 - 8 = 1 wide, 3 - 1 - 1 = 1 high
    EXPECT_EQ(Find(m, "S", "WIDE")->DrawMode, 0);  // 8 wide: the bit is cleared
    EXPECT_EQ(Find(m, "BUTTON_HUGE", "BORDERSMASK")->CornerKind, 2);
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.4\nMASTERBITMAP=Master.bmp\n" + entries);
    Load(m, f);
    EXPECT_EQ(Find(m, "S", "ONE")->DrawMode, 0);   // newer skins say what they mean
    EXPECT_EQ(Find(m, "S", "WIDE")->DrawMode, 1);
}

TEST(SkinOptions, FixedColumnsMustBeNumbers) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    f.Write("Options.dat", "[GLOBALINFO]\nMASTERBITMAP=Master.bmp\n[S]\nMASK=^00x0,0000,0030,0010\n");
    TsSkinModel m;
    EXPECT_THROW(m.LoadFolder(f.Path()), EConvertError);
    f.Write("Options.dat", "[GLOBALINFO]\nSHADOW1BLUR=soft\n");
    EXPECT_THROW(m.LoadFolder(f.Path()), EConvertError);
}

// Entries whose rectangle or margins reach outside their picture are
// dropped when the skin loads, never read outside the image later.
TEST(SkinOptions, EntriesOutsideTheirPictureAreDropped) {
    SkinFolder f;
    f.Write("Master.bmp", Master(64, 32));
    f.Write("Options.dat",
            "[GLOBALINFO]\nMASTERBITMAP=Master.bmp\n[S]\n"
            "INSIDE=^0000,0000,0064,0032,0001,0001,0001,0001,1,0,1,0\n"
            "WIDE=^0000,0000,0065,0032,0001,0001,0001,0001,1,0,1,0\n"
            "LOW=@0000,0030,0010,0040,1,0\n"
            "BACK=~0010,0000,0005,0010,00\n"
            "MARGINS=^0000,0000,0020,0010,0011,0001,0011,0001,1,0,1,0\n"
            "HALF=^0000,0000,0010,0001,0000,0000,0000,0000,1,1,0,0\n");
    std::vector<std::string> log;
    TsSkinModel m;
    Load(m, f, &log);
    EXPECT_NE(Find(m, "S", "INSIDE"), nullptr);
    for (const char* key : {"WIDE", "LOW", "BACK", "MARGINS", "HALF"}) EXPECT_EQ(Find(m, "S", key), nullptr) << key;
    EXPECT_EQ(log.size(), 5u);
    // Without a master bitmap no master entry survives.
    f.Write("Options.dat", "[S]\nINSIDE=^0000,0000,0010,0010,0001,0001,0001,0001,1,0,1,0\n");
    TsSkinModel bare;
    Load(bare, f);
    EXPECT_TRUE(bare.Masks().empty());
}

TEST(SkinOptions, SectionsInheritAndTakeDefaults) {
    SkinFolder f;
    f.Write("Options.dat",
            "[GLOBALINFO]\nVERSION=7.5\nTITLEHEIGHT=24\nMAXHEIGHT=0\n"
            "[BASE]\nCOLOR=100\nGIVEOWNFONT=true\nFONTCOLOR=7\nSTATES=3\nHOTCOLOR=200\n"
            "[BUTTON]\nPARENTCLASS=BASE\nGLOW=3\nSHOWFOCUS=yes\n"
            "[Child]\nPARENTCLASS=BUTTON\n"
            "[Self]\nPARENTCLASS=Self\n"
            "[One]\nSTATES=1\nCOLOR=5\nHOTCOLOR=9\nHOTFONTCOLOR=9\n"
            "[LoopA]\nPARENTCLASS=LoopB\n"
            "[LoopB]\nPARENTCLASS=LoopA\n"
            "[Grad]\nGRADIENTDATA=1;2;50;0;0;3;4;150;0;0\nGRADIENTPERCENT=40\n");
    std::vector<std::string> log;
    TsSkinModel m;
    Load(m, f, &log);
    EXPECT_EQ(m.SkinData().MaxHeight, 24);
    const auto& s = m.Sections();
    ASSERT_EQ(s.size(), 9u);
    const TsGeneralData& child = s[static_cast<std::size_t>(m.IndexOfSection("Child"))];
    EXPECT_EQ(child.Color, 100);          // from the grandparent
    EXPECT_TRUE(child.GiveOwnFont);       // "true" in lower case counts
    EXPECT_EQ(child.Glow, 3);
    EXPECT_FALSE(child.ShowFocus);        // "yes" does not
    EXPECT_EQ(child.States, 3);
    EXPECT_EQ(child.Props[1].Color, 200);
    const TsGeneralData& self = s[static_cast<std::size_t>(m.IndexOfSection("Self"))];
    EXPECT_EQ(self.Color, 0xFFFFFF);
    EXPECT_EQ(self.FontColors[1], -1);
    EXPECT_EQ(self.FadingIterations, 5);
    EXPECT_EQ(self.GradientData, " ");
    const TsGeneralData& one = s[static_cast<std::size_t>(m.IndexOfSection("One"))];
    EXPECT_EQ(one.Props[1].Color, 5);     // the hot state is the normal one
    EXPECT_EQ(one.HotColor, 0);           // and the flat hot fields stay zero
    EXPECT_EQ(one.HotFontColors[0], 0);
    // A loop through two sections ends as "not found": the defaults.
    const TsGeneralData& loop = s[static_cast<std::size_t>(m.IndexOfSection("LoopA"))];
    EXPECT_EQ(loop.Color, 0xFFFFFF);
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(m.IndexOfMask(m.IndexOfSection("LoopA"), "LoopA", "BORDERSMASK"), -1);
    const TsGeneralData& grad = s[static_cast<std::size_t>(m.IndexOfSection("Grad"))];
    ASSERT_EQ(grad.GradientArray.size(), 2u);
    EXPECT_EQ(grad.GradientArray[1].Percent, 100);
    EXPECT_EQ(grad.GradientPercent, 40);
    EXPECT_EQ(s[static_cast<std::size_t>(m.IndexOfSection("BASE"))].GradientPercent, 0);
}

TEST(SkinOptions, SizesAreBoundedAsTheyAreRead) {
    // A damaged or hand-made file: sizes far outside anything a painter can
    // use are held to their bounds (not wrapped by narrowing) as they are read.
    SkinFolder f;
    f.Write("Options.dat",
            "[GLOBALINFO]\nVERSION=7.5\nBORDERWIDTH=70000\nTITLEHEIGHT=-5\nFORMOFFSET=-2000000000\n"
            "SHADOW1BLUR=99999\nBICONCLOSEGLOWMARGIN=40000\nBICONMAXGLOWMARGIN=-40000\n"
            "[HUGE]\nGLOW=2147483647\nGLOWMARGIN=-2147483647\nTRANSPARENCY=500\nGRADIENTPERCENT=-3\n"
            "IMAGEPERCENT=1000\nSTATES=100000\nGSIZE=300\nHOTTRANSPARENCY=-1\n"
            "[TINY]\nGLOWMARGIN=2147483647\nSTATES=-7\n"
            "[PLAIN]\nGLOW=3\nGLOWMARGIN=-4\nTRANSPARENCY=40\n");
    TsSkinModel m;
    Load(m, f);
    const TsSkinData& d = m.SkinData();
    EXPECT_EQ(d.BorderWidth, kMaxSkinPixels);
    EXPECT_EQ(d.TitleHeight, 0);
    EXPECT_EQ(d.FormOffset, -kMaxSkinPixels);
    EXPECT_EQ(d.Shadow1Blur, kMaxSkinPixels);
    EXPECT_EQ(d.BICloseGlowMargin, kMaxGlowMargin);
    EXPECT_EQ(d.BIMaxGlowMargin, -kMaxGlowMargin);
    const auto section = [&m](const char* name) -> const TsGeneralData& {
        return m.Sections()[static_cast<std::size_t>(m.IndexOfSection(name))];
    };
    const TsGeneralData& huge = section("HUGE");
    EXPECT_EQ(huge.Glow, kMaxSkinPixels);
    EXPECT_EQ(huge.GlowMargin, -kMaxGlowMargin);
    EXPECT_EQ(huge.Props[0].Transparency, 100);
    EXPECT_EQ(huge.Props[0].GradientPercent, 0);
    EXPECT_EQ(huge.Props[0].ImagePercent, 100);
    EXPECT_EQ(huge.Props[0].GlowSize, 255);
    EXPECT_EQ(huge.Props[1].Transparency, 0);
    EXPECT_EQ(huge.States, kMaxSkinStates);
    const TsGeneralData& tiny = section("TINY");
    EXPECT_EQ(tiny.GlowMargin, kMaxGlowMargin);
    EXPECT_EQ(tiny.States, 0);
    // Values within their bounds are kept as they are.
    const TsGeneralData& plain = section("PLAIN");
    EXPECT_EQ(plain.Glow, 3);
    EXPECT_EQ(plain.GlowMargin, -4);
    EXPECT_EQ(plain.Props[0].Transparency, 40);
}

TEST(SkinOptions, VersionNotices) {
    SkinFolder f;
    std::vector<std::string> warnings;
    TsSkinModel m;
    m.Env.Warn = [&](const std::string& w) { warnings.push_back(w); };
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=8.1\n");
    m.LoadFolder(f.Path());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], kNewerVersionMessage);
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=6.5\n");
    m.LoadFolder(f.Path());
    EXPECT_EQ(warnings.size(), 1u);  // old skins are told only at design time or with "/actest"
    m.Env.ShowOldVersionNotice = true;
    m.SetSkinName("Old");
    m.LoadFolder(f.Path());
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[1].find("old version of the \""), std::string::npos);
}

TEST(SkinOptions, JpegTexturesBySize) {
    SkinFolder f;
    Bitmap32 small(800, 600), large(1000, 1000);
    small.Fill(0xFF405060u);
    large.Fill(0xFF605040u);
    f.Write("small.jpg", EncodeJpeg(small, 80));
    f.Write("large.jpg", EncodeJpeg(large, 80));
    f.Write("Options.dat", "[PANEL]\nPATTERN=small.jpg\n[FORM]\nPATTERN=large.jpg\n[Sub]\nPARENTCLASS=FORM\n");
    TsSkinModel m;
    Load(m, f);
    ASSERT_EQ(m.Patterns().size(), 1u);
    EXPECT_EQ(m.Patterns()[0].SectionName, "FORM");
    const std::int32_t panel = m.IndexOfSection("PANEL");
    EXPECT_GE(m.Sections()[static_cast<std::size_t>(panel)].TextureIndex, 0);
    // The large texture is found where it is stored, also by a child section.
    const TsGeneralData& form = m.Sections()[static_cast<std::size_t>(m.IndexOfSection("FORM"))];
    EXPECT_EQ(form.TextureIndex, -1);
    EXPECT_EQ(form.PatternIndex, 0);
    EXPECT_EQ(m.Sections()[static_cast<std::size_t>(m.IndexOfSection("Sub"))].PatternIndex, 0);
    const TsMaskData& tex = m.Masks()[static_cast<std::size_t>(m.Sections()[static_cast<std::size_t>(panel)].TextureIndex)];
    EXPECT_EQ(tex.EntryKind, ekTexture);
    ASSERT_TRUE(tex.Image);
    EXPECT_EQ(tex.Image->Width(), 800);
    EXPECT_EQ(tex.Image->At(5, 5) >> 24, 255u);
}

TEST(SkinOptions, CommonSectionsMerge) {
    SkinFolder f;
    f.Write("Options.dat", "[BUTTON]\nCOLOR=100\nSTATES=1\n[EDIT]\nCOLOR=5\n");
    TsSkinModel m;
    m.SkinDirectory = f.Path() + "..";
    m.LoadFolder(f.Path());
    m.SetCommonSections({"[EDIT]", "FONTCOLOR = 9", "[MYBUTTON]", "PARENTCLASS=button", "GLOW=2"});
    m.LoadFolder(f.Path());
    EXPECT_EQ(m.CommonSections()[1], "FONTCOLOR=9");
    ASSERT_EQ(m.Sections().size(), 3u);
    const TsGeneralData& edit = m.Sections()[1];
    EXPECT_EQ(edit.SectionName, "EDIT");
    EXPECT_EQ(edit.FontColors[0], 9);
    EXPECT_EQ(edit.Color, 0xFFFFFF);  // replaced, not merged key by key
    const TsGeneralData& mine = m.Sections()[2];
    EXPECT_EQ(mine.SectionName, "MYBUTTON");
    EXPECT_EQ(mine.Color, 100);  // from the parent found ignoring case
    EXPECT_EQ(mine.Glow, 2);
    EXPECT_EQ(mine.States, 4);   // read again from the skin: not there, so 4
}

TEST(SkinModel, SameTablesFromFolderPackedFileAndStoredData) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    Bitmap32 own(12, 12);
    own.Fill(0x80FFFFFFu);
    f.Write("glyph.png", EncodePngRgba(own));
    f.Write("Options.dat",
            "[GLOBALINFO]\nVERSION=7.6\nMASTERBITMAP=Master.bmp\nBOXCHECKED=!glyph.PNG!1!0!2\n"
            "[BUTTON]\nBORDERSMASK=^0000,0000,0030,0010,0002,0002,0002,0002,3,0,1,0\n");
    TsSkinModel folder, packed, stored;
    folder.LoadFolder(f.Path());
    const Bytes pack = f.Pack();
    SkinFolder out;
    out.Write("Mine.asz", pack);
    packed.LoadPackedFile(out.Path() + "Mine.asz");
    stored.LoadStoredData(pack);
    const std::string text = DumpSkin(folder);
    EXPECT_EQ(DumpSkin(packed), text);
    EXPECT_EQ(DumpSkin(stored), text);
    EXPECT_TRUE(packed.IsPacked());
    EXPECT_FALSE(folder.IsPacked());
    // PNG pictures of newer skins are premultiplied.
    ASSERT_GE(folder.ConstData().CheckBoxChecked, 0);
    const TsMaskData& box = folder.Masks()[static_cast<std::size_t>(folder.ConstData().CheckBoxChecked)];
    EXPECT_EQ(box.Image->At(0, 0), 0x80808080u);
}

TEST(SkinModel, ChoosingTheSource) {
    SkinFolder dir;
    fs::create_directories(dir.Path() + "Folder");
    {
        std::ofstream o(dir.Path() + "Folder/Options.dat");
        o << "[GLOBALINFO]\nVERSION=7.1\n";
    }
    SkinFolder src;
    src.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.2\n");
    dir.Write("Packed.asz", src.Pack());
    dir.Write("My.Skin.asz", src.Pack());
    dir.Write("Upper.ASZ", src.Pack());
    dir.Write("Broken.asz", std::string("not a packed skin"));
    TsSkinModel m;
    std::vector<std::string> errors;
    m.Env.ShowError = [&](const std::string& e) { errors.push_back(e); };
    m.SkinDirectory = dir.Path();
    TsStoredSkin light;
    light.Name = "Light (internal)";
    light.Data = src.Pack();
    m.InternalSkins.Add(light);
    TsStoredSkin empty;
    empty.Name = "Empty (internal)";
    m.InternalSkins.Add(empty);
    EXPECT_TRUE(m.SetSkinName("Folder"));
    EXPECT_EQ(m.SkinInfo(), "7.1");
    EXPECT_TRUE(m.SetSkinName("Packed.ASZ"));
    EXPECT_EQ(m.SkinName(), "Packed");
    EXPECT_TRUE(m.IsPacked());
    EXPECT_EQ(m.SkinInfo(), "7.2");
    // A broken file: the message, the previous name and the previous tables.
    EXPECT_FALSE(m.SetSkinName("Broken"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], kNotPackedSkinMessage);
    EXPECT_EQ(m.SkinName(), "Packed");
    EXPECT_EQ(m.SkinInfo(), "7.2");
    // Unknown names fall to the first internal skin, whose name follows.
    EXPECT_TRUE(m.SetSkinName("Nowhere"));
    EXPECT_EQ(m.SkinName(), "Light (internal)");
    EXPECT_EQ(m.InternalSkins.IndexOf("light (internal)"), -1);
    EXPECT_TRUE(m.SetSkinName("Empty (internal)"));
    EXPECT_TRUE(m.Sections().empty());
    EXPECT_TRUE(m.Active());
    // Names: internal skins first, then folders and packed files sorted.
    std::vector<std::string> names;
    std::string first;
    m.GetSkinNames(names, slPackedFiles, first);
    EXPECT_EQ(names, (std::vector<std::string>{"Light (internal)", "Empty (internal)", "Broken", "My", "Packed"}));
    EXPECT_EQ(first, "Light (internal)");
    m.GetSkinNames(names, slAll, first);
    EXPECT_EQ(names.size(), 6u);
    // Switched off: no tables, and a name is only stored.
    m.SetActive(false);
    EXPECT_EQ(m.SkinInfo(), "N/A");
    EXPECT_EQ(m.ConstData().GlobalInfo, -1);
    m.SetSkinName("Folder");
    EXPECT_TRUE(m.Sections().empty());
    m.SetActive(true);
    EXPECT_EQ(m.SkinInfo(), "7.1");
    // Without any source the model switches itself off.
    TsSkinModel bare;
    bare.SkinDirectory = dir.Path();
    bare.SetSkinName("Nowhere");
    EXPECT_FALSE(bare.Active());
}

TEST(SkinModel, EditorPreviewAndDeferredLoads) {
    SkinFolder dir;
    fs::create_directories(dir.Path() + "Edited");
    {
        std::ofstream o(dir.Path() + "Edited/Options.dat");
        o << "[GLOBALINFO]\nVERSION=7.1\n";
    }
    SkinFolder src;
    src.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.2\n");
    dir.Write("Edited.asz", src.Pack());
    TsSkinModel m;
    m.SkinDirectory = dir.Path();
    // While loads are deferred every setter only stores.
    m.DeferLoads = true;
    EXPECT_TRUE(m.SetSkinName("Edited"));
    m.SetSaturation(10);
    m.SetCommonSections({"[EXTRA]"});
    EXPECT_EQ(m.SkinInfo(), "N/A");
    EXPECT_EQ(m.Saturation(), 10);
    m.DeferLoads = false;
    m.ReloadSkin();
    EXPECT_TRUE(m.IsPacked()) << "the packed file wins over the folder";
    EXPECT_EQ(m.SkinInfo(), "7.2");
    EXPECT_GE(m.IndexOfSection("EXTRA"), 0);
    // Once a skin editor previewed, the folder of the name wins ...
    m.SkinEdited = true;
    EXPECT_TRUE(m.SetSkinName("Edited"));
    EXPECT_FALSE(m.IsPacked());
    EXPECT_EQ(m.SkinInfo(), "7.1");
    // ... and the editor's text stands for its description.
    m.EditorText = "[GLOBALINFO]\nVERSION=7.3\n";
    EXPECT_TRUE(m.SetSkinName("Edited"));
    EXPECT_EQ(m.SkinInfo(), "7.3");
    EXPECT_EQ(m.SkinData().SkinPath, m.ResolveSkinDirectory() + "Edited\\");
}

TEST(SkinModel, ResolvesTheSkinDirectory) {
    TsSkinModel m;
    m.ExeFolder = "C:\\Prog\\Bin";
    const std::pair<const char*, const char*> cases[] = {
        {"Skins", "C:\\Prog\\Bin\\Skins\\"},     {"..\\Skins", "C:\\Prog\\Skins\\"},
        {".\\Skins", "C:\\Prog\\Bin\\Skins\\"},  {"./Skins/", "C:\\Prog\\Bin\\Skins\\"},
        {"D:\\Skins", "D:\\Skins\\"},            {"\\\\server\\skins", "\\\\server\\skins\\"},
    };
    for (const auto& [dir, resolved] : cases) {
        m.SkinDirectory = dir;
        EXPECT_EQ(m.ResolveSkinDirectory(), resolved) << dir;
    }
}

TEST(SkinModel, LookupsAndColours) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    f.Write("Options.dat",
            "[GLOBALINFO]\nMASTERBITMAP=Master.bmp\nCOLOR=111\nHOTCOLOR=222\nFONTCOLOR=333\n"
            "[BUTTON]\nBORDERSMASK=^0000,0000,0030,0010,0000,0000,0000,0000,0,0,1,0\n"
            "[TOOLBUTTON]\nPARENTCLASS=BUTTON\n"
            "[SELECTION]\nSTATES=1\nCOLOR=16711935\nFONTCOLOR=77\n"
            "[MENUITEM]\nHOTCOLOR=4444\nHOTFONTCOLOR=5555\n");
    TsSkinModel m;
    Load(m, f);
    const std::int32_t tool = m.IndexOfSection("TOOLBUTTON");
    EXPECT_EQ(m.IndexOfSection("toolbutton"), -1);
    EXPECT_EQ(m.IndexOfMask(tool, "TOOLBUTTON", "BORDERSMASK"), m.IndexOfMaskExact("BUTTON", "BORDERSMASK"));
    EXPECT_EQ(m.IndexOfMaskExact("TOOLBUTTON", "BORDERSMASK"), -1);
    EXPECT_EQ(m.Sections()[static_cast<std::size_t>(tool)].BorderIndex, 0);
    // All margins 0, no common border, no columns: the full width, one column.
    EXPECT_EQ(m.MaskMarginLeft(0), 30);
    EXPECT_EQ(m.Masks()[0].ColumnCount, 1);
    EXPECT_EQ(m.GlobalInfoColor(), 111);
    EXPECT_EQ(m.GlobalInfoHotColor(), 222);
    EXPECT_EQ(m.GlobalInfoFontColor(), 333);
    EXPECT_EQ(m.SelectionColor(true), 4444);       // SELECTION's is the key colour: MENUITEM's hot one
    EXPECT_EQ(m.SelectionFontColor(true), 77);     // one state: the normal one also when focused
    EXPECT_EQ(m.EditSectionFontColor(), kova::clWindowText);
    TsSkinModel none;
    EXPECT_EQ(none.GlobalInfoColor(), none.ColorToRGB(kova::clBtnFace));
    EXPECT_EQ(none.SelectionColor(false), kova::clHighlight);
    EXPECT_EQ(none.ConstData().CheckBoxChecked, -1);
}

TEST(SkinModel, HueAndSaturation) {
    SkinFolder f;
    f.Write("Options.dat", "[PANEL]\nCOLOR=255\nTCLEFT=-1\n");
    TsSkinModel m;
    m.SkinDirectory = f.Path() + "..";
    m.SetSkinName(fs::path(f.Path()).parent_path().filename().string());
    EXPECT_EQ(m.Sections()[0].Color, 255);
    m.SetSaturation(150);  // acts as 49
    const TsColor grey = m.Sections()[0].Color;
    EXPECT_EQ(grey & 0xFF, 255);
    EXPECT_EQ(m.Sections()[0].FontColors[1], -1);  // "none" stays none
    m.SetSaturation(0);
    m.SetHueOffset(120);
    EXPECT_NE(m.Sections()[0].Color, 255);
}

TEST(SkinModel, ExtendedBorderShadow) {
    SkinFolder f;
    Bitmap32 master(40, 10);
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 10; ++y) master.At(x, y) = x < 20 ? 0xFF102030u : 0xFF405060u;
    f.Write("Master.bmp", EncodeBmp(master, false));
    f.Write("Options.dat",
            "[GLOBALINFO]\nMASTERBITMAP=Master.bmp\nFORMOFFSET=2\n"
            "EXBORDER=^0000,0000,0040,0010,0006,0005,0004,0003,2,0,1,0\n");
    TsSkinModel m;
    m.LoadFolder(f.Path());
    EXPECT_TRUE(m.ExtBorderShadow().Active.Empty());  // extended borders off: nothing
    m.ExtendedBorders = true;
    m.LoadFolder(f.Path());
    const TsExtBorderShadow& s = m.ExtBorderShadow();
    EXPECT_FALSE(s.BuiltIn);
    ASSERT_EQ(s.Active.Width(), 20);
    EXPECT_EQ(s.Active.At(0, 0) & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(s.Inactive.At(0, 0) & 0xFFFFFF, 0x405060u);
    EXPECT_EQ(s.Left, 4);
    EXPECT_EQ(s.Bottom, 1);
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.5\n");
    m.LoadFolder(f.Path());
    EXPECT_TRUE(m.ExtBorderShadow().BuiltIn);
    EXPECT_EQ(m.ExtBorderShadow().Top, 9);
    // The program's own shadow reaches the model prepared for alpha
    // painting: colours premultiplied by their alpha.
    Bitmap32 active(4, 3), inactive(4, 3);
    active.Fill(0x80FF4020u);
    inactive.Fill(0x40FFFFFFu);
    SetBuiltInExtBorderShadows(active.Clone(), inactive.Clone());
    m.LoadFolder(f.Path());
    const TsExtBorderShadow& built = m.ExtBorderShadow();
    ASSERT_EQ(built.Active.Width(), 4);
    EXPECT_EQ(built.Active.At(1, 1), 0x80802010u);
    EXPECT_EQ(built.Inactive.At(3, 2), 0x40404040u);
    EXPECT_EQ(active.At(1, 1), 0x80FF4020u);  // the pictures given stay as drawn
    SetBuiltInExtBorderShadows({}, {});
}

TEST(SkinModel, StoredSkinAssignCopiesEverything) {
    TsStoredSkin a;
    a.Name = "One (internal)";
    a.MasterBitmap = Bitmap32(3, 2);
    a.MasterBitmap.Fill(0xFF102030u);
    a.Shadow1Color = 5;
    a.Shadow1Offset = 2;
    a.Shadow1Blur = 3;
    a.Shadow1Transparency = 40;
    a.BorderColor = 0x123456;
    a.Version = 7.5;
    a.Author = "me";
    a.Description = "light";
    a.Data = {1, 2, 3};
    TsStoredSkin b;
    b.Assign(a);
    EXPECT_EQ(b.Name, a.Name);
    ASSERT_EQ(b.MasterBitmap.Width(), 3);
    EXPECT_EQ(b.MasterBitmap.At(2, 1), 0xFF102030u);
    a.MasterBitmap.At(2, 1) = 0;  // a copy of its own
    EXPECT_EQ(b.MasterBitmap.At(2, 1), 0xFF102030u);
    EXPECT_EQ(b.Shadow1Color, 5);
    EXPECT_EQ(b.Shadow1Offset, 2);
    EXPECT_EQ(b.Shadow1Blur, 3);
    EXPECT_EQ(b.Shadow1Transparency, 40);
    EXPECT_EQ(b.BorderColor, 0x123456);
    EXPECT_EQ(b.Version, 7.5);
    EXPECT_EQ(b.Author, "me");
    EXPECT_EQ(b.Description, "light");
    EXPECT_EQ(b.Data, (std::vector<std::uint8_t>{1, 2, 3}));
    TsStoredSkin fresh;
    EXPECT_TRUE(fresh.MasterBitmap.Empty());
    EXPECT_EQ(fresh.Shadow1Blur, -1);
    EXPECT_EQ(fresh.BorderColor, 0xFF00FF);
}

TEST(SkinModel, DialogColourMenuFlagAndTheSmallArrow) {
    SkinFolder f;
    f.Write("Master.bmp", Master());
    f.Write("Options.dat",
            "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\nSKINMENUS=0\n"
            "SMALLARROW=^0008,0000,0014,0006,0000,0000,0000,0000,2,0,0,0\n"
            "[DIALOG]\nCOLOR=12345\n");
    TsSkinModel m;
    m.LoadFolder(f.Path());
    EXPECT_EQ(m.ConstData().DialogColor, 12345);
    EXPECT_FALSE(m.SkinData().SkinMenus);
    const std::int32_t arrow = m.ConstData().SmallArrowGlyph;
    ASSERT_GE(arrow, 0);
    EXPECT_EQ(m.Masks()[static_cast<std::size_t>(arrow)].PropertyName, "SMALLARROW");
    // A skin with none of them: no dialog colour, menus skinned, no arrow.
    f.Write("Options.dat", "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n");
    m.LoadFolder(f.Path());
    EXPECT_EQ(m.ConstData().DialogColor, 0xFF00FF);
    EXPECT_TRUE(m.SkinData().SkinMenus);
    EXPECT_EQ(m.ConstData().SmallArrowGlyph, -1);
}

TEST(SkinModel, MaskSizes) {
    TsMaskData m;
    m.SourceRect = {0, 0, 30, 7};
    m.ColumnCount = 0;
    EXPECT_EQ(ImageWidthOfMask(m), 0);
    m.ColumnCount = 3;
    EXPECT_EQ(ImageWidthOfMask(m), 10);
    m.RowMode = 1;
    EXPECT_EQ(ImageHeightOfMask(m), 3);
    m.RowMode = -1;
    EXPECT_EQ(ImageHeightOfMask(m), 0);
    m.RowMode = 2;
    EXPECT_EQ(ImageHeightOfMask(m), 2);
}

TEST(SkinModel, EffectDefaults) {
    const TsSkinModel m;
    EXPECT_FALSE(m.AnimEffects.BlendOnMoving.Active);
    EXPECT_EQ(m.AnimEffects.BlendOnMoving.BlendValue, 170);
    for (const TacFormAnimation* a : {static_cast<const TacFormAnimation*>(&m.AnimEffects.DialogShow),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.FormShow),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.FormHide),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.DialogHide),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.Minimizing),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.PageChange),
                                      static_cast<const TacFormAnimation*>(&m.AnimEffects.SkinChanging)})
        EXPECT_TRUE(a->Active);
    EXPECT_EQ(m.AnimEffects.Minimizing.Time, 200);
    EXPECT_EQ(m.AnimEffects.SkinChanging.Mode, TacAnimType::atFading);
    EXPECT_TRUE(m.Effects.GetAllowGlowing({.LayeredWindows = true}));
    EXPECT_FALSE(m.Effects.GetAllowGlowing({.LayeredWindows = true, .WowWithoutDwm = true}));
}

}  // namespace
}  // namespace kova::skin
