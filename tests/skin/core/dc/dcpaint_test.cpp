// Skin painting onto device contexts under a real GDI: items and cached
// pictures copied to a DC, textures tiled and stretched on a canvas, PNG
// and JPEG pictures, graphic controls left out of the clip, background
// questions to windows and controls, section text. Compared by structure
// (pixels at chosen points, bounding boxes of ink), since fonts differ.
#include "skin/core/dc/dcpaint.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "framework/extctrls.h"
#include "framework/handles.h"
#include "framework/stdctrls.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/pictureformats.h"

namespace kova::skin {
namespace {

// A DIB section selected into a memory DC: what GDI draws is read back
// from its bits.
class DibDC {
public:
    DibDC(int w, int h, std::uint32_t fill) : memory_(nullptr) {
        bmp_ = CreateDib32(w, h, bits_);
        sel_ = TSelection(memory_.Get(), bmp_.Get());
        bits_.Fill(fill);
    }
    HDC DC() const { return memory_.Get(); }
    std::uint32_t At(int x, int y) {
        GdiFlush();
        return bits_.At(x, y) & 0xFFFFFF;
    }
    PixelBuffer32& Bits() {
        GdiFlush();
        return bits_;
    }

private:
    PixelBuffer32 bits_;
    TGdiObject<HBITMAP> bmp_;
    TMemoryDC memory_;
    TSelection sel_;
};

TsSkinModel& Linen() {
    static TsSkinModel skin;
    if (skin.Sections().empty()) skin.LoadStoredData(InternalSkinData("Linen"));
    return skin;
}

TEST(DcPaint, SkinItemIsCopiedToItsRectangleOnly) {
    TsSkinModel& skin = Linen();
    const int button = skin.IndexOfSection("BUTTON");
    ASSERT_GE(button, 0);
    const TsParentImageInfo bg{nullptr, 0, 0, 0x00E0E0E0, false};
    DibDC dc(200, 100, 0x00123456);
    ASSERT_TRUE(PaintSkinItemToDC(dc.DC(), skin, button, bg, 1, RECT{20, 10, 120, 40}));
    Bitmap32 expected(100, 30);
    PaintSkinItem(expected, skin, button, bg, 1, {0, 0, 100, 30}, {});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(dc.At(20 + x, 10 + y), expected.At(x, y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(dc.At(19, 20), 0x123456u);
    EXPECT_EQ(dc.At(120, 20), 0x123456u);
    EXPECT_EQ(dc.At(50, 40), 0x123456u);
    // Refused: no section, a negative corner, nothing to paint.
    EXPECT_FALSE(PaintSkinItemToDC(dc.DC(), skin, -1, bg, 0, RECT{0, 0, 10, 10}));
    EXPECT_FALSE(PaintSkinItemToDC(dc.DC(), skin, button, bg, 0, RECT{-1, 0, 10, 10}));
    EXPECT_FALSE(PaintSkinItemToDC(dc.DC(), skin, button, bg, 0, RECT{5, 5, 5, 9}));
    EXPECT_EQ(dc.At(0, 0), 0x123456u);
}

TEST(DcPaint, BorderStripsFromTheCacheOrPlainColour) {
    TsSkinModel& skin = Linen();
    const int form = skin.IndexOfSection("FORM");
    ASSERT_GE(form, 0);
    const int border = skin.Sections()[static_cast<std::size_t>(form)].BorderIndex;
    ASSERT_TRUE(skin.MaskIndexValid(border));
    Bitmap32 cache(120, 60);
    cache.Fill(0xFF808080u);
    DibDC dc(120, 60, 0x00FFFFFF);
    PaintSkinBorder(dc.DC(), RECT{0, 0, 120, 60}, 3, 0, 0, skin, border, cache, {nullptr, 0, 0, 0x00E0E0E0, false});
    EXPECT_EQ(dc.At(60, 1), cache.At(60, 1) & 0xFFFFFF);
    EXPECT_EQ(dc.At(1, 30), cache.At(1, 30) & 0xFFFFFF);
    EXPECT_EQ(dc.At(118, 58), cache.At(118, 58) & 0xFFFFFF);
    EXPECT_NE(cache.At(60, 1), 0xFF808080u) << "the border was painted in the cache";
    EXPECT_EQ(dc.At(60, 30), 0xFFFFFFu) << "only the strips reach the DC";
    // No border mask: the strips in the colour.
    DibDC plain(20, 20, 0x00FFFFFF);
    PaintSkinBorder(plain.DC(), RECT{0, 0, 20, 20}, 2, 0x0000FF, 0, skin, -1, cache, {});
    EXPECT_EQ(plain.At(0, 10), 0xFF0000u);
    EXPECT_EQ(plain.At(19, 19), 0xFF0000u);
    EXPECT_EQ(plain.At(5, 5), 0xFFFFFFu);
}

TEST(DcPaint, SectionByNameAndControlOverItsParent) {
    TsSkinModel& skin = Linen();
    const int button = skin.IndexOfSection("BUTTON");
    Bitmap32 dest(60, 20);
    dest.Fill(0x12345678u);
    EXPECT_EQ(PaintSkinSectionByName(dest, "NOSUCHSECTION", "NOSUCHEITHER", nullptr, {}, skin, 0), -1);
    EXPECT_EQ(dest.At(30, 10), 0x12345678u);
    EXPECT_EQ(PaintSkinSectionByName(dest, "NOSUCHSECTION", "BUTTON", nullptr, {}, skin, 1), button);
    Bitmap32 expected(60, 20);
    PaintSkinItem(expected, skin, button, {}, 1, {0, 0, 60, 20}, {});
    EXPECT_EQ(dest.At(30, 10), expected.At(30, 10));
    EXPECT_EQ(dest.At(0, 0), expected.At(0, 0));
    DibDC source(100, 100, 0x00FF0000);
    EXPECT_EQ(PaintSkinSectionByName(dest, "BUTTON", "", source.DC(), POINT{10, 10}, skin, 0), button);

    // A see-through section shows exactly what its parent answers.
    TsSkinModel clear;
    clear.SetCommonSections({"[PANEL]", "TRANSPARENCY=100"});
    clear.LoadStoredData(InternalSkinData("Linen"));
    const int panel = clear.IndexOfSection("PANEL");
    ASSERT_GE(panel, 0);
    Bitmap32 parentImage(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) parentImage.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x << 8 | y);
    TLabel parent(nullptr);
    parent.SetColor(0x00445566);
    Bitmap32 look(40, 30);
    PaintControlSkinOnParent(look, clear, panel, &parent, RECT{50, 20, 90, 50}, 0, {0, 0, 40, 30}, {}, true);
    EXPECT_EQ(look.At(20, 15), 0xFF665544u) << "an unanswering parent: its colour";
    parent.BindMessage(SkinCommandMessage, [&parentImage](TMessage& m) {
        if (HIWORD(m.WParam) != scQueryBgInfo) return;
        auto* info = reinterpret_cast<TsBackgroundInfo*>(m.LParam);
        info->BgType = 2;
        info->Bmp = &parentImage;
        info->Offset = {info->R.Left, info->R.Top};
    });
    PaintControlSkinOnParent(look, clear, panel, &parent, RECT{50, 20, 90, 50}, 0, {0, 0, 40, 30}, {}, true);
    EXPECT_EQ(look.At(20, 15), parentImage.At(70, 35)) << "the parent's image under the control";
}

TEST(DcPaint, UnchangedControlIsRepaintedFromItsCache) {
    TsSkinModel& skin = Linen();
    const int button = skin.IndexOfSection("BUTTON");
    const TsParentImageInfo bg{nullptr, 0, 0, 0x00E0E0E0, false};
    TPaintCache cache;
    int composed = 0;
    auto compose = [&](Bitmap32& b) {
        ++composed;
        PaintSkinItem(b, skin, button, bg, 0, {0, 0, b.Width(), b.Height()}, {});
    };
    DibDC dc(120, 40, 0);
    const TPaintKey key = MakePaintKey(skin, button, 0, 100, 30);
    EXPECT_TRUE(PaintCachedToDC(dc.DC(), 10, 5, cache, key, compose));
    const std::uint32_t inside = dc.At(60, 20), corner = dc.At(10, 5);
    // The window was covered and is uncovered: its pixels are gone.
    FillRectSolid(dc.DC(), RECT{0, 0, 120, 40}, 0x0000FF);
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(PaintCachedToDC(dc.DC(), 10, 5, cache, key, compose));
    EXPECT_EQ(composed, 1) << "an unchanged control was composed again";
    EXPECT_EQ(dc.At(60, 20), inside);
    EXPECT_EQ(dc.At(10, 5), corner);
    EXPECT_EQ(dc.At(5, 5), 0xFF0000u) << "outside the control";
    EXPECT_TRUE(PaintCachedToDC(dc.DC(), 10, 5, cache, MakePaintKey(skin, button, 2, 100, 30), compose));
    EXPECT_EQ(composed, 2);
}

TEST(DcPaint, BuffersReachTheDCTheRightWayUp) {
    Bitmap32 src(4, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) src.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>(x * 0x10 << 8 | y * 0x20);
    DibDC dc(20, 20, 0);
    ASSERT_TRUE(CopyBufferToDC(dc.DC(), 3, 4, src, RECT{1, 2, 3, 5}));  // columns 1-2, rows 2-4
    EXPECT_EQ(dc.At(3, 4), src.At(1, 2) & 0xFFFFFF);
    EXPECT_EQ(dc.At(4, 6), src.At(2, 4) & 0xFFFFFF);
    EXPECT_EQ(dc.At(5, 4), 0u);
    EXPECT_EQ(dc.At(3, 7), 0u);
    ASSERT_TRUE(StretchBufferToDC(dc.DC(), RECT{10, 10, 18, 20}, src, RECT{0, 1, 2, 3}));  // 2 x 2 -> 8 x 10
    EXPECT_EQ(dc.At(10, 10), src.At(0, 1) & 0xFFFFFF);
    EXPECT_EQ(dc.At(17, 19), src.At(1, 2) & 0xFFFFFF);
    const PixelBuffer32 back = ReadDCToBuffer(dc.DC(), RECT{3, 4, 5, 7});
    EXPECT_EQ(back.At(1, 2) & 0xFFFFFF, src.At(2, 4) & 0xFFFFFF);
    EXPECT_FALSE(CopyBufferToDC(dc.DC(), 0, 0, src, RECT{4, 0, 9, 9})) << "nothing of the buffer in srcRect";
}

// 3 x 3 bitmap, each pixel its own colour.
void FillCoded(TBitmap& b) {
    b.SetSize(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) b.Pixels().At(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x + 1) * 0x40 << 16 | (y + 1) * 0x40);
}

TEST(DcPaint, TileImageAndTextureModesOnACanvas) {
    TBitmap tile;
    FillCoded(tile);
    DibDC dc(40, 40, 0x00FFFFFF);
    TCanvas canvas;
    TCanvasLease lease(canvas, dc.DC());
    TileImage(canvas, RECT{5, 5, 12, 13}, tile);
    for (int y = 5; y < 13; ++y)
        for (int x = 5; x < 12; ++x) ASSERT_EQ(dc.At(x, y), tile.Pixels().At((x - 5) % 3, (y - 5) % 3) & 0xFFFFFF);
    EXPECT_EQ(dc.At(12, 6), 0xFFFFFFu);
    EXPECT_EQ(dc.At(6, 13), 0xFFFFFFu);
    // Stretched over the rectangle; stretched across and tiled down.
    PaintTexture(canvas, RECT{20, 0, 32, 12}, tile, 1, RECT{0, 0, 3, 3});
    EXPECT_EQ(dc.At(20, 0), tile.Pixels().At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(dc.At(31, 11), tile.Pixels().At(2, 2) & 0xFFFFFF);
    EXPECT_EQ(dc.At(25, 5), tile.Pixels().At(1, 1) & 0xFFFFFF);
    PaintTexture(canvas, RECT{20, 20, 32, 27}, tile, 4, RECT{0, 0, 3, 3});
    EXPECT_EQ(dc.At(31, 20), tile.Pixels().At(2, 0) & 0xFFFFFF);
    EXPECT_EQ(dc.At(31, 23), tile.Pixels().At(2, 0) & 0xFFFFFF) << "tiled down";
    EXPECT_EQ(dc.At(20, 27), 0xFFFFFFu);
    // A huge rectangle over a small DC costs what is visible.
    DibDC small(16, 16, 0);
    TCanvas smallCanvas;
    TCanvasLease smallLease(smallCanvas, small.DC());
    TBitmap one;
    one.SetSize(1, 1);
    one.Pixels().At(0, 0) = 0xFF336699u;
    const auto start = std::chrono::steady_clock::now();
    TileImage(smallCanvas, RECT{0, 0, 20000, 20000}, one);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(small.At(15, 15), 0x336699u);
    EXPECT_LT(ms, 500.0);
}

TEST(DcPaint, PngAndJpegPicturesRegisteredLoadedAndDrawn) {
    RegisterSkinPictureFormats();
    const TPictureFormat* png = TPicture::FormatOfExtension("PNG");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->Description, "Portable network graphics (skin engine)");
    EXPECT_EQ(png->Class, &TPNGPicture::StaticClass());
    EXPECT_EQ(TPicture::FormatOfExtension("jpeg")->Class, &TJPEGPicture::StaticClass());

    // Half-transparent red over white, drawn at its size and stretched.
    Bitmap32 half(4, 4);
    half.Fill(0x80FF0000u);
    half.At(0, 0) = 0xFF0000FFu;  // opaque blue corner
    TPicture picture;
    picture.LoadFromData(EncodePngRgba(half));
    auto* pic = dynamic_cast<TPNGPicture*>(picture.Graphic());
    ASSERT_NE(pic, nullptr);
    EXPECT_TRUE(pic->HasAlpha());
    DibDC dc(40, 20, 0x00FFFFFF);
    TCanvas canvas;
    TCanvasLease lease(canvas, dc.DC());
    canvas.Draw(2, 2, picture.Graphic());
    auto alike = [](std::uint32_t a, std::uint32_t b) {
        for (int s = 0; s < 24; s += 8)
            if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > 2) return false;
        return true;
    };
    EXPECT_PRED2(alike, dc.At(3, 3), 0xFF7F7Fu);
    EXPECT_EQ(dc.At(2, 2), 0x0000FFu);
    EXPECT_EQ(dc.At(6, 3), 0xFFFFFFu);
    canvas.StretchDraw(RECT{10, 2, 18, 10}, picture.Graphic());
    EXPECT_PRED2(alike, dc.At(17, 9), 0xFF7F7Fu);
    EXPECT_EQ(dc.At(11, 3), 0x0000FFu) << "the corner pixel stretched to 2 x 2";

    // A copy through the picture keeps the class; saving gives the bytes.
    TPicture copy;
    copy.Assign(&picture);
    ASSERT_NE(dynamic_cast<TPNGPicture*>(copy.Graphic()), nullptr);
    TMemoryStream saved;
    copy.Graphic()->SaveToStream(saved);
    EXPECT_EQ(saved.Bytes(), EncodePngRgba(half));

    // A JPEG picture tiled on the canvas (its own Draw per tile).
    Bitmap32 flat(8, 8);
    flat.Fill(0xFF2080C0u);
    TPicture jpeg;
    jpeg.LoadFromData(EncodeJpeg(flat, 95));
    ASSERT_NE(dynamic_cast<TJPEGPicture*>(jpeg.Graphic()), nullptr);
    TileImage(canvas, RECT{20, 0, 39, 19}, *jpeg.Graphic());
    EXPECT_PRED2(alike, dc.At(20, 0), 0x2080C0u);
    EXPECT_PRED2(alike, dc.At(38, 18), 0x2080C0u);
    EXPECT_EQ(dc.At(39, 19), 0xFFFFFFu);

    // By file extension; an unknown extension or damaged data is refused.
    namespace fs = std::filesystem;
    const fs::path file = fs::temp_directory_path() /
                          ("kova-dcpaint-" + std::to_string(GetCurrentProcessId()) + ".Png");
    {
        const auto bytes = EncodePngRgba(half);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    TPicture fromFile;
    fromFile.LoadFromFile(file.string());
    EXPECT_EQ(fromFile.Width(), 4);
    fs::remove(file);
    EXPECT_THROW(fromFile.LoadFromFile("picture.xyz"), kova::EInvalidGraphic);
    std::vector<std::uint8_t> broken = EncodePngRgba(half);
    broken.resize(20);  // the header cut short
    EXPECT_THROW(fromFile.LoadFromData(broken), kova::EInvalidGraphic);
    EXPECT_EQ(fromFile.Width(), 4) << "a failed load keeps the picture";
}

TEST(DcPaint, GlyphAndShadowOnWhatTheDCShows) {
    DibDC dc(30, 30, 0x00FFFFFF);
    Bitmap32 strip(8, 4);
    strip.Fill(0xFF00C800u);
    strip.At(4, 0) = 0xFFFF00FFu;
    DrawButtonGlyph(dc.DC(), strip, 2, 1, 0, clFuchsia, POINT{3, 3});
    EXPECT_EQ(dc.At(4, 4), 0x00C800u);
    EXPECT_EQ(dc.At(3, 3), 0xFFFFFFu) << "key pixel";
    EXPECT_EQ(dc.At(7, 4), 0xFFFFFFu);
    PaintShadowRect(dc.DC(), RECT{10, 10, 30, 30}, 0, 0x000080, 2, 0);
    EXPECT_EQ(dc.At(20, 20), 0x800000u) << "full shadow colour (colour value 0x000080: red 0x80) inside";
    EXPECT_EQ(dc.At(9, 20), 0xFFFFFFu);
    EXPECT_NE(dc.At(10, 20), 0xFFFFFFu);
}

TEST(DcPaint, GraphicControlsLeftOutOfTheClip) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 60, 40);
    TLabel shown(nullptr), hidden(nullptr);
    shown.SetAutoSize(false);
    hidden.SetAutoSize(false);
    shown.SetParent(&parent);
    shown.SetBounds(5, 5, 10, 10);
    hidden.SetParent(&parent);
    hidden.SetBounds(20, 5, 10, 10);
    hidden.Hide();
    DibDC dc(60, 40, 0x00FFFFFF);
    const int saved = SaveDC(dc.DC());
    ExcludeGraphicControls(dc.DC(), &parent, 2, 1);
    FillRectSolid(dc.DC(), RECT{0, 0, 60, 40}, 0x0000FF);
    RestoreDC(dc.DC(), saved);
    EXPECT_EQ(dc.At(8, 8), 0xFFFFFFu) << "the label's area (moved by 2, 1) is left out";
    EXPECT_EQ(dc.At(6, 5), 0xFF0000u) << "just outside it: painted";
    EXPECT_EQ(dc.At(25, 8), 0xFF0000u) << "a hidden control is painted over";
}

// A window that answers the background question with a colour, or does
// not know it and paints itself green.
LRESULT CALLBACK AnsweringProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SkinCommandMessage && HIWORD(wp) == scQueryBgInfo) {
        if (GetWindowLongPtrA(w, GWLP_USERDATA) == 1) {
            auto* info = reinterpret_cast<TsBackgroundInfo*>(lp);
            info->BgType = 1;
            info->Color = info->PleaseDraw ? 0x010203 : 0x0A0B0C;
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND && wp != 0) {
        FillRectSolid(reinterpret_cast<HDC>(wp), RECT{0, 0, 1000, 1000}, 0x00FF00);
        return 1;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST(DcPaint, BackgroundQuestionsToWindowsAndControls) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = AnsweringProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaBgQuestion";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("KovaBgQuestion", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);

    TsBackgroundInfo info;
    SetDefaultSkinModel(nullptr);
    EXPECT_FALSE(QueryParentBackgroundInfoWnd(info, w, false));
    EXPECT_EQ(info.BgType, 1);
    EXPECT_EQ(info.Color, static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    SetDefaultSkinModel(&Linen());
    info = {};
    EXPECT_FALSE(QueryParentBackgroundInfoWnd(info, w, false));
    EXPECT_EQ(info.Color, static_cast<TColor>(Linen().ColorToRGB(Linen().GlobalInfoColor())) & 0xFFFFFF)
        << "the skin's GLOBALINFO colour";
    SetDefaultSkinModel(nullptr);

    // Unanswered with PleaseDraw: the window paints itself into DrawDC.
    DibDC dc(40, 40, 0);
    info = {};
    info.PleaseDraw = true;
    info.DrawDC = dc.DC();
    info.R = {0, 0, 10, 10};
    info.Offset = {5, 5};
    EXPECT_FALSE(QueryParentBackgroundInfoWnd(info, w, true));
    EXPECT_EQ(info.BgType, 0);
    EXPECT_EQ(dc.At(7, 7), 0x00FF00u);
    EXPECT_EQ(dc.At(20, 20), 0u) << "clipped to the area";

    SetWindowLongPtrA(w, GWLP_USERDATA, 1);
    info = {};
    EXPECT_TRUE(QueryParentBackgroundInfoWnd(info, w, true));
    EXPECT_EQ(info.Color, 0x010203u) << "the answering window was told to draw";
    EXPECT_TRUE(info.PleaseDraw);
    TsParentImageInfo image;
    BackgroundInfoToImageInfo(info, image);
    EXPECT_FALSE(image.Ready);
    EXPECT_EQ(image.FillColor, 0x010203u);
    DestroyWindow(w);

    // A window-less control: its own colour, or its answer to the colour
    // question.
    TLabel label(nullptr);
    label.SetColor(0x00445566);
    info = {};
    EXPECT_FALSE(QueryParentBackgroundInfo(info, &label, false));
    EXPECT_EQ(info.BgType, 1);
    EXPECT_EQ(info.Color, 0x445566u);
    label.BindMessage(SkinCommandMessage, [](TMessage& m) {
        if (HIWORD(m.WParam) == scQueryBgColor) m.Result = 0x778899;
        if (HIWORD(m.WParam) == scQueryBgInfo) {
            auto* answer = reinterpret_cast<TsBackgroundInfo*>(m.LParam);
            if (answer->R.Left == 99) {
                answer->BgType = 2;
                answer->Offset = {3, 4};
            }
        }
    });
    info = {};
    EXPECT_FALSE(QueryParentBackgroundInfo(info, &label, false));
    EXPECT_EQ(info.Color, 0x778899u);
    info = {};
    info.R.Left = 99;
    EXPECT_TRUE(QueryParentBackgroundInfo(info, &label, false));
    EXPECT_EQ(info.BgType, 2);
}

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
InkBox Where(PixelBuffer32& b, std::uint32_t colour, const RECT& area) {
    InkBox box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if ((b.At(x, y) & 0xFFFFFF) == colour) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
                ++box.count;
            }
    return box;
}

// A crisp font, so that ink has exactly the colours it is drawn in.
TGdiObject<HFONT> CrispFont(int height = -16) {
    return TGdiObject<HFONT>(CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY,
                                         0, "Arial"));
}

// The one-call text wrappers agree with the calls they stand for, and the
// canvas form of the section text paints what PaintSkinText paints.
TEST(DcPaint, TextWrappersAndTheCanvasFormOfSectionText) {
    auto font = CrispFont();
    DibDC dc(200, 40, 0x00FFFFFF);
    SelectObject(dc.DC(), font.Get());
    TCanvas canvas;
    TCanvasLease lease(canvas, dc.DC());
    SIZE byDC{}, byCanvas{};
    GetTextExtentDC(dc.DC(), "Wrapped", byDC);
    GetTextSize(canvas, "Wrapped", byCanvas);
    EXPECT_GT(byDC.cx, 0);
    EXPECT_EQ(byDC.cx, byCanvas.cx);
    EXPECT_EQ(byDC.cy, byCanvas.cy);
    EXPECT_EQ(GetTextWidth(canvas, "Wrapped"), byDC.cx);
    SIZE empty{5, 5};
    GetTextExtentDC(dc.DC(), "", empty);
    EXPECT_EQ(empty.cx, 0);
    // DrawTextStr: the whole string, whatever it holds after a zero byte.
    RECT calc{0, 0, 0, 0};
    const std::string withZero("ab\0cd", 5);
    EXPECT_EQ(DrawTextStr(dc.DC(), withZero, calc, DT_CALCRECT | DT_SINGLELINE), byDC.cy);
    RECT shortCalc{0, 0, 0, 0};
    DrawTextStr(dc.DC(), "ab", shortCalc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(calc.right, shortCalc.right);
    // CanvasTextRect: ink only inside its rectangle.
    canvas.Font()->SetColor(clBlack);
    CanvasTextRect(canvas, RECT{10, 5, 40, 35}, 10, 10, "WWWWWWWWWW");
    EXPECT_GT(Where(dc.Bits(), 0x000000, RECT{10, 5, 40, 35}).count, 0);
    EXPECT_EQ(Where(dc.Bits(), 0x000000, RECT{41, 0, 200, 40}).count, 0);

    TsSkinModel& skin = Linen();
    const int button = skin.IndexOfSection("BUTTON");
    ASSERT_GE(button, 0);
    DibDC a(200, 40, 0x00FFFFFF), b(200, 40, 0x00FFFFFF);
    const RECT r{10, 5, 190, 35};
    for (auto* target : {&a, &b}) {
        SelectObject(target->DC(), font.Get());
        TCanvas c;
        TCanvasLease l(c, target->DC());
        if (target == &a)
            PaintSkinText(c, "HHH", true, r, DT_SINGLELINE, skin, button, false);
        else
            PaintSkinTextCanvas(c, "HHH", true, r, DT_SINGLELINE, skin, button, false);
    }
    int differing = 0, ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            differing += a.At(x, y) != b.At(x, y);
            ink += a.At(x, y) != 0xFFFFFFu;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(ink, 20);
}

TEST(DcPaint, SectionTextContoursDisabledColourAndUnderline) {
    TsSkinModel skin;
    // Colours are 0x00BBGGRR: 255 is red, 65280 green, 16711680 blue.
    skin.SetCommonSections({"[BUTTON]", "FONTCOLOR=0", "TCLEFT=255", "COLOR=16777215", "HOTFONTCOLOR=65280",
                            "GSIZE=3", "GCOL=16711680", "HGSIZE=3", "HGCOL=16711680"});
    skin.LoadStoredData(InternalSkinData("Linen"));
    const int button = skin.IndexOfSection("BUTTON");
    ASSERT_GE(button, 0);
    auto font = CrispFont();
    const RECT r{10, 5, 190, 35};
    const UINT flags = DT_SINGLELINE | DT_LEFT | DT_VCENTER;

    DibDC dc(200, 40, 0x00FFFFFF);
    TCanvas canvas;
    {
        TCanvasLease lease(canvas, dc.DC());
        SelectObject(dc.DC(), font.Get());
        PaintSkinText(canvas, "HHH", true, r, flags, skin, button, false);
    }
    const InkBox black = Where(dc.Bits(), 0x000000, RECT{0, 0, 200, 40});
    const InkBox red = Where(dc.Bits(), 0xFF0000, RECT{0, 0, 200, 40});
    ASSERT_GT(black.count, 20);
    ASSERT_GT(red.count, 0);
    EXPECT_EQ(red.left, black.left - 1) << "the left contour one pixel to the left";
    EXPECT_EQ(Where(dc.Bits(), 0x00FF00, RECT{0, 0, 200, 40}).count, 0);

    // Disabled: once, 40 % font colour (black) and 60 % the section colour (white).
    DibDC off(200, 40, 0x00FFFFFF);
    {
        TCanvasLease lease(canvas, off.DC());
        SelectObject(off.DC(), font.Get());
        PaintSkinText(canvas, "HHH", false, r, flags, skin, button, false);
    }
    const TColor mixed = MixColors(0x000000, 0xFFFFFF, 0.4);
    EXPECT_GT(Where(off.Bits(), SwapRedBlue(mixed), RECT{0, 0, 200, 40}).count, 20);
    EXPECT_EQ(Where(off.Bits(), 0xFF0000, RECT{0, 0, 200, 40}).count, 0) << "no contours when disabled";

    // A control's caption: hot font colour, underlined when the skin says
    // so, its glow into the cache under the text.
    PixelBuffer32 view;
    TGdiObject<HBITMAP> cacheBmp = CreateDib32(200, 40, view);
    view.Fill(0xFFFFFFFFu);
    TMemoryDC cacheDC(nullptr);
    TSelection cacheSel(cacheDC.Get(), cacheBmp.Get());
    Bitmap8 plane;
    TControlTextStyle style;
    style.Skin = &skin;
    style.Section = button;
    style.Hot = true;
    style.UnderlineWhenHot = true;
    style.Cache = &view;
    style.GlowPlane = &plane;
    {
        TCanvasLease lease(canvas, cacheDC.Get());
        SelectObject(cacheDC.Get(), font.Get());
        PaintControlText(canvas, "HHH", true, r, flags, style);
    }
    GdiFlush();
    const InkBox green = Where(view, 0x00FF00, RECT{0, 0, 200, 40});
    ASSERT_GT(green.count, 20);
    int glow = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const std::uint32_t p = view.At(x, y) & 0xFFFFFF;
            if (p != 0xFFFFFF && p != 0x00FF00 && (p & 0xFF) > (p >> 16 & 0xFF)) ++glow;  // bluish
        }
    EXPECT_GT(glow, 20) << "the glow in the glow colour around the text";
    // The same caption not hot: no underline, so the ink ends higher.
    view.Fill(0xFFFFFFFFu);
    style.Hot = false;
    {
        TCanvasLease lease(canvas, cacheDC.Get());
        SelectObject(cacheDC.Get(), font.Get());
        PaintControlText(canvas, "HHH", true, r, flags, style);
    }
    GdiFlush();
    const InkBox plain = Where(view, 0x000000, RECT{0, 0, 200, 40});
    ASSERT_GT(plain.count, 20);
    EXPECT_GT(green.bottom, plain.bottom) << "the hot caption is underlined";
    // Disabled control: 40 % font colour, 60 % GLOBALINFO colour.
    view.Fill(0xFFFFFFFFu);
    {
        TCanvasLease lease(canvas, cacheDC.Get());
        SelectObject(cacheDC.Get(), font.Get());
        PaintControlText(canvas, "HHH", false, r, flags, style);
    }
    GdiFlush();
    const TColor disabled =
        MixColors(0x000000, static_cast<TColor>(skin.ColorToRGB(skin.GlobalInfoColor())) & 0xFFFFFF, 0.4);
    EXPECT_GT(Where(view, SwapRedBlue(disabled), RECT{0, 0, 200, 40}).count, 20);
}

}  // namespace
}  // namespace kova::skin
