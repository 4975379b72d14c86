// A skinned form's frame on real forms with our internal skin: the one
// cached picture of border, caption, icon, caption text, added title and
// title buttons, the activation's colours, the buttons' places, images and
// states (also as the screen shows one repainted button), the hit test over
// the whole frame, user title buttons, and flat handle counts over repeated
// repaints.
#include "skin/forms/framepaint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstdint>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/glow.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"
#include "skin/forms/titlebuttons.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

namespace {

// Linen's title section: its active (hot) colour, plain; its inactive look
// a vertical gradient between these two.
constexpr std::uint32_t kActiveTitle = 0xFFEFEBE5u;
constexpr std::uint32_t kInactiveTop = 0xFFE8E4DBu;      // 14410728
constexpr std::uint32_t kInactiveBottom = 0xFFDDD6CBu;   // 13358813
// Linen's title font colours (FONTCOLOR inactive, HOTFONTCOLOR active).
constexpr TColor kTitleFont = 3551019;
constexpr TColor kTitleHotFont = 8817292;

std::uint32_t Pixel(TColor c) {
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

struct Manager {
    Manager() {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        m->SetSkinName("Linen (internal)");
    }
    ~Manager() { m->Free(); }
    TsSkinManager* m;
};

// A shown form with a provider under Linen.
struct Skinned {
    explicit Skinned(TFormBorderStyle style = bsSizeable, TBorderIcons icons = biSystemMenu | biMinimize | biMaximize,
                     int w = 360, int h = 240) {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBorderStyle(style);
        form->SetBorderIcons(icons);
        form->SetBounds(140, 110, w, h);
        form->SetCaption("");
        form->HandleNeeded();
        provider = new TsSkinProvider(form);
        form->Show();
        kova::test::PumpMessages();
    }
    ~Skinned() { form->Free(); }
    HWND Wnd() const { return form->Handle(); }
    // A fresh composition of the cache.
    PixelBuffer32& Paint(bool active = true) {
        provider->FormActive = active;
        provider->SkinData->BGChanged = true;
        provider->PaintNonClientCache();
        return provider->SkinData->CacheBmp->Pixels();
    }
    PixelBuffer32& Cache() { return provider->SkinData->CacheBmp->Pixels(); }
    int BW() { return GetBorderWidth(Wnd(), nullptr, true); }
    int CaptionH() { return provider->CaptionHeight(true); }
    TForm* form;
    TsSkinProvider* provider;
};

// Linen's form colour, the right margin of its title buttons.
constexpr std::uint32_t kFormColour = 0xFFF4F1ECu;
constexpr int kBIRight = 6;

// The columns of the pixels of one colour in rows [top, bottom).
struct TSpan {
    int Left = -1, Right = -1;
    bool Found() const { return Left >= 0; }
};
TSpan Ink(PixelBuffer32& b, int top, int bottom, std::uint32_t pixel) {
    TSpan s;
    for (int y = top; y < bottom && y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.At(x, y) == pixel) {
                if (s.Left < 0 || x < s.Left) s.Left = x;
                s.Right = std::max(s.Right, x);
            }
    return s;
}
// The first pixel of a colour in r (row by row), (-1, -1) for none.
TPoint Find(PixelBuffer32& b, const RECT& r, std::uint32_t pixel) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (b.At(x, y) == pixel) return TPoint{x, y};
    return TPoint{-1, -1};
}
std::vector<std::uint32_t> Area(PixelBuffer32& b, const RECT& r) {
    std::vector<std::uint32_t> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) out.push_back(b.At(x, y) | 0xFF000000u);
    return out;
}
// What the window shows in r (window coordinates), read back from its DC.
std::vector<std::uint32_t> Shown(HWND wnd, const RECT& r) {
    TWindowDC screen(wnd, TDCArea::Window);
    PixelBuffer32 b = ReadDCToBuffer(screen.Get(), r);
    return Area(b, RECT{0, 0, r.right - r.left, r.bottom - r.top});
}

class FramePaintTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
    Manager manager;
};

}  // namespace


// The cache is the form's window size; the caption shows the title
// section's look of the state (active: its plain hot colour; inactive: its
// gradient), the border the form section's colour inside its outer edge.
TEST_F(FramePaintTest, TheFrameIsOnePictureInTheSkinsLookOfTheState) {
    Skinned f;
    RECT wr{};
    GetWindowRect(f.Wnd(), &wr);
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        PixelBuffer32& c = f.Paint(active);
        ASSERT_EQ(c.Width(), wr.right - wr.left);
        ASSERT_EQ(c.Height(), wr.bottom - wr.top);
        const std::uint32_t caption = c.At(c.Width() / 2, f.BW() + f.CaptionH() / 2);
        if (active) {
            EXPECT_EQ(caption, kActiveTitle);
        } else {
            for (int shift : {0, 8, 16}) {
                const int v = (caption >> shift) & 0xFF;
                EXPECT_LE(v, static_cast<int>((kInactiveTop >> shift) & 0xFF));
                EXPECT_GE(v, static_cast<int>((kInactiveBottom >> shift) & 0xFF));
            }
        }
        const int midY = c.Height() / 2, midX = c.Width() / 2;
        for (int i = 1; i < f.BW(); ++i) {
            EXPECT_EQ(c.At(i, midY), kFormColour) << "left border at " << i;
            EXPECT_EQ(c.At(c.Width() - 1 - i, midY), kFormColour) << "right border at " << i;
            EXPECT_EQ(c.At(midX, c.Height() - 1 - i), kFormColour) << "bottom border at " << i;
        }
        EXPECT_EQ(c.At(0, midY), c.At(c.Width() - 1, midY)) << "the outer edge is the same on both sides";
        EXPECT_NE(c.At(0, midY), kFormColour);
    }
}

// The caption text in the title section's font colour of the state, placed
// by CaptionAlignment between the icon and the title buttons; a
// right-to-left form swaps left and right.
TEST_F(FramePaintTest, CaptionTextInTheStatesColourWhereTheAlignmentPutsIt) {
    Skinned f;
    f.form->SetCaption("Hello frame");
    const TSpan activeText = Ink(f.Paint(true), f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleHotFont));
    ASSERT_TRUE(activeText.Found());
    const TSpan other = Ink(f.Cache(), f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleFont));
    EXPECT_TRUE(!other.Found() || other.Right < activeText.Left || other.Left > activeText.Right)
        << "the inactive colour is not in the text";
    const TSpan inactiveText = Ink(f.Paint(false), f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleFont));
    EXPECT_TRUE(inactiveText.Found());
    EXPECT_EQ(inactiveText.Left, activeText.Left);
    const RECT icon = f.provider->IconRect();
    EXPECT_GT(activeText.Left, icon.right);
    EXPECT_LT(activeText.Left, icon.right + 12);

    struct Case {
        TAlignment align;
        bool rtl;
        const char* name;
    };
    std::vector<int> lefts;
    for (const Case& c : {Case{taLeftJustify, false, "left"}, Case{taCenter, false, "centre"},
                          Case{taRightJustify, false, "right"}, Case{taRightJustify, true, "right on rtl"}}) {
        SCOPED_TRACE(c.name);
        f.provider->SetCaptionAlignment(c.align);
        const LONG_PTR ex = GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE);
        SetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE, c.rtl ? ex | WS_EX_RIGHT : ex & ~static_cast<LONG_PTR>(WS_EX_RIGHT));
        const TSpan t = Ink(f.Paint(true), f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleHotFont));
        ASSERT_TRUE(t.Found());
        EXPECT_EQ(t.Right - t.Left, activeText.Right - activeText.Left) << "the whole text";
        EXPECT_LT(t.Right, f.provider->MinButton.Rect.left);
        lefts.push_back(t.Left);
    }
    SetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE, GetWindowLongPtrA(f.Wnd(), GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_RIGHT));
    EXPECT_EQ(lefts[0], activeText.Left);
    EXPECT_GT(lefts[1], lefts[0]);
    EXPECT_GT(lefts[2], lefts[1]);
    EXPECT_EQ(lefts[3], lefts[0]) << "right-justified on a right-to-left form draws at the left";
}

// The added title beside the caption text, or in its place: a font without
// its own colour follows the title's colour; a red one is drawn red while
// active and halfway towards the title's inactive colour while inactive.
TEST_F(FramePaintTest, TheAddedTitleTakesTheTitlesColourOrItsOwn) {
    Skinned f;
    f.form->SetCaption("Main");
    TacAddedTitle& added = *f.provider->AddedTitle();
    const int top = f.BW(), bottom = f.BW() + f.CaptionH();
    const TSpan mainOnly = Ink(f.Paint(true), top, bottom, Pixel(kTitleHotFont));
    added.SetText("Added");
    const TSpan both = Ink(f.Paint(true), top, bottom, Pixel(kTitleHotFont));
    EXPECT_EQ(both.Left, mainOnly.Left);
    EXPECT_GT(both.Right, mainOnly.Right + 10) << "the added text follows the caption";

    added.SetShowMainCaption(false);
    const TSpan alone = Ink(f.Paint(true), top, bottom, Pixel(kTitleHotFont));
    ASSERT_TRUE(alone.Found());
    EXPECT_GE(alone.Left, mainOnly.Left + 4) << "4 pixels right of the caption's place";
    EXPECT_LT(alone.Left, mainOnly.Left + 8);
    EXPECT_TRUE(Ink(f.Paint(false), top, bottom, Pixel(kTitleFont)).Found());

    TFont red;
    red.SetColor(0x0000FF);
    added.SetFont(&red);
    EXPECT_TRUE(Ink(f.Paint(true), top, bottom, 0xFFFF0000u).Found());
    const TColor halfway = MixColors(0x0000FF, kTitleFont, 0.5);
    EXPECT_TRUE(Ink(f.Paint(false), top, bottom, Pixel(halfway)).Found());
    EXPECT_FALSE(Ink(f.Cache(), top, bottom, 0xFFFF0000u).Found());
}

// The system buttons from the caption's right edge: the skin's right margin
// and spacing between big buttons, one image width each; a form whose
// menu shows neither maximise nor minimise has the close button alone; the
// help button 6 pixels further left; a tool window the small images
// without gaps.
TEST_F(FramePaintTest, SystemButtonsLaidOutFromTheRightEdge) {
    struct Case {
        TFormBorderStyle style;
        TBorderIcons icons;
        int closeWidth, gap;
        bool max, min, help;
        const char* name;
    };
    const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
    for (const Case& c : {Case{bsSizeable, all, 26, 2, true, true, false, "sizeable"},
                          Case{bsSizeable, biSystemMenu, 26, 2, false, false, false, "close alone"},
                          Case{bsSingle, biSystemMenu | biMinimize | biHelp, 26, 2, false, true, true, "help, no max"},
                          Case{bsToolWindow, all, 18, 0, false, false, false, "tool window"}}) {
        SCOPED_TRACE(c.name);
        Skinned f(c.style, c.icons);
        PixelBuffer32& cache = f.Paint(true);
        const int bw = GetBorderWidth(f.Wnd(), nullptr, true);
        TsSkinProvider& p = *f.provider;
        EXPECT_EQ(StdButtonCount(p), 1 + c.max + c.min + c.help);
        EXPECT_EQ(p.CloseButton.Rect.right, cache.Width() - kBIRight - bw);
        EXPECT_EQ(p.CloseButton.Rect.right - p.CloseButton.Rect.left, c.closeWidth);
        EXPECT_EQ(p.CloseButton.Rect.bottom - p.CloseButton.Rect.top, CloseButtonHeight(p));
        EXPECT_GE(p.CloseButton.Rect.top, 0);
        EXPECT_LE(p.CloseButton.Rect.bottom, bw + f.CaptionH());
        int x = p.CloseButton.Rect.left - c.gap;
        if (c.max) {
            EXPECT_EQ(p.MaxButton.Rect.right, x);
            x = p.MaxButton.Rect.left - c.gap;
        } else {
            EXPECT_EQ(p.MaxButton.Rect.right, 0) << "not laid out";
        }
        if (c.min) {
            EXPECT_EQ(p.MinButton.Rect.right, x);
            x = p.MinButton.Rect.left - c.gap;
        }
        if (c.help) {
            EXPECT_EQ(p.HelpButton.Rect.right, x - 6);
        }
        EXPECT_EQ(TitleButtonsWidth(p), cache.Width() - bw - (c.help ? p.HelpButton.Rect.left
                                                                  : c.min ? p.MinButton.Rect.left
                                                                          : p.CloseButton.Rect.left) -
                                            (c.help ? 6 : 0));
    }
}

// One button repainted in each state over the kept caption strip: normal,
// hot and pressed differ, an inactive caption's normal button is drawn half
// transparent, and the screen shows what the cache holds.
TEST_F(FramePaintTest, OneButtonRepaintedInEachStateAsTheScreenShowsIt) {
    Skinned f;
    f.Paint(true);
    TsSkinProvider& p = *f.provider;
    std::vector<std::vector<std::uint32_t>> looks;
    for (const int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON})
        for (const int state : {0, 1, 2, 0}) {
            SCOPED_TRACE(::testing::Message() << "code " << code << " state " << state);
            TsCaptionButton& b = code == HTCLOSE ? p.CloseButton : code == HTMAXBUTTON ? p.MaxButton : p.MinButton;
            b.State = state;
            RepaintTitleButton(p, code);
            const std::vector<std::uint32_t> cache = Area(f.Cache(), b.Rect);
            looks.push_back(cache);
            EXPECT_EQ(Shown(f.Wnd(), b.Rect), cache) << "the window shows the cache";
        }
    for (std::size_t i = 0; i < looks.size(); i += 4) {
        EXPECT_NE(looks[i], looks[i + 1]) << "hot differs from normal";
        EXPECT_NE(looks[i + 1], looks[i + 2]) << "pressed differs from hot";
        EXPECT_NE(looks[i], looks[i + 2]);
        EXPECT_EQ(looks[i], looks[i + 3]) << "back to normal over the clean strip";
    }
    p.FormActive = false;
    RepaintTitleButton(p, HTCLOSE);
    const std::vector<std::uint32_t> weak = Area(f.Cache(), p.CloseButton.Rect);
    EXPECT_NE(weak, looks[0]) << "an inactive caption's normal button is half transparent";
    p.CloseButton.State = 1;
    RepaintTitleButton(p, HTCLOSE);
    EXPECT_EQ(Area(f.Cache(), p.CloseButton.Rect), looks[1]) << "a hot button is drawn whole";
}

// User buttons left of the system buttons in collection order, 8 pixels
// away, each as wide as its glyph + 2 or the skin's button image; an
// invisible one leaves no gap; a pressed one's glyph moves a pixel right
// and down; a press calls OnMouseDown with the screen point.
TEST_F(FramePaintTest, UserTitleButtonsBesideTheSystemButtons) {
    Skinned f;
    TsSkinProvider& p = *f.provider;
    TsTitleButtons& list = *p.TitleButtons();
    TsTitleButton* wide = list.Add();
    TBitmap glyph(40, 12);
    glyph.Pixels().Fill(0xFFFF00FFu);
    wide->SetGlyph(&glyph);
    TsTitleButton* marked = list.Add();
    TBitmap mark(10, 10);
    mark.Pixels().Fill(0xFFFF00FFu);
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x) mark.Pixels().At(x, y) = 0xFF0000FFu;
    marked->SetGlyph(&mark);
    f.Paint(true);
    EXPECT_EQ(wide->Rect.right - wide->Rect.left, 42);
    EXPECT_EQ(wide->Rect.right, p.MinButton.Rect.left - 2 - 8);
    EXPECT_EQ(marked->Rect.right, wide->Rect.left - 2);
    const TPoint at = Find(f.Cache(), marked->Rect, 0xFF0000FFu);
    ASSERT_GE(at.X, 0) << "the glyph's key colour (its bottom-left pixel) is transparent, the rest drawn";
    EXPECT_EQ(at.X, marked->Rect.left + (UserButtonWidth(p, *marked) - 10) / 2 + 2);
    marked->State = 2;
    RepaintTitleButton(p, kUserButtonHit + 1);
    const TPoint pressed = Find(f.Cache(), marked->Rect, 0xFF0000FFu);
    EXPECT_EQ(pressed.X, at.X + 1);
    EXPECT_EQ(pressed.Y, at.Y + 1);

    const int markedRight = marked->Rect.right;
    wide->SetVisible(false);
    f.Paint(true);
    EXPECT_EQ(marked->Rect.right, p.MinButton.Rect.left - 2 - 8) << "an invisible button leaves no gap";
    EXPECT_NE(marked->Rect.right, markedRight);

    POINT seen{};
    marked->OnMouseDown = [&](TObject* sender, TMouseButton button, TShiftState, int x, int y) {
        EXPECT_EQ(sender, marked);
        EXPECT_EQ(button, mbLeft);
        seen = POINT{x, y};
    };
    CallTitleButtonMouse(*marked, true, POINT{300, 120});
    EXPECT_EQ(seen.x, 300);
    EXPECT_EQ(seen.y, 120);
}

// The title icon's glyph in place of the form's icon, stretched to its
// size (0: the caption's, 16 here), its key colour transparent; without
// ShowAppIcon no icon and the caption text moves left into its place.
TEST_F(FramePaintTest, TheTitleIconsGlyphInTheCaption) {
    Skinned f;
    f.form->SetCaption("Iconed");
    TBitmap glyph(8, 8);
    glyph.Pixels().Fill(0x000000FFu);
    glyph.Pixels().At(0, 0) = 0x00FF00FFu;
    f.provider->TitleIcon()->SetGlyph(&glyph);
    PixelBuffer32& c = f.Paint(true);
    const RECT icon = f.provider->IconRect();
    EXPECT_EQ(icon.right - icon.left, 16);
    EXPECT_EQ(icon.bottom - icon.top, 16);
    EXPECT_EQ(c.At((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2), 0xFF0000FFu);
    EXPECT_EQ(c.At(icon.right - 1, icon.bottom - 1), 0xFF0000FFu) << "stretched over the whole icon";
    EXPECT_NE(c.At(icon.left, icon.top), 0xFF0000FFu) << "the key colour shows the caption";
    const TSpan withIcon = Ink(c, f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleHotFont));

    f.provider->SetShowAppIcon(false);
    PixelBuffer32& plain = f.Paint(true);
    EXPECT_FALSE(Ink(plain, f.BW(), f.BW() + f.CaptionH(), 0xFF0000FFu).Found());
    const TSpan without = Ink(plain, f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleHotFont));
    EXPECT_EQ(without.Left, withIcon.Left - 16);
}

// Painting again without a change copies nothing new; a change recomposes.
TEST_F(FramePaintTest, AnUnchangedCacheIsReused) {
    Skinned f;
    PixelBuffer32& c = f.Paint(true);
    const int x = c.Width() / 2, y = f.BW() + 2;
    c.At(x, y) = 0xFF123456u;
    f.provider->PaintNonClientCache();
    EXPECT_EQ(f.Cache().At(x, y), 0xFF123456u);
    EXPECT_EQ(f.Paint(true).At(x, y), kActiveTitle);
}

// A form narrower than its caption's pieces (the system's smallest): the
// text has no room and is not drawn, a button crossing the icon is not
// repainted, and the clean strip holds only what lies inside the cache.
TEST_F(FramePaintTest, ANarrowFormPaintsWhatFits) {
    Skinned f(bsSizeable, biSystemMenu | biMinimize | biMaximize | biHelp, 70, 60);
    f.form->SetCaption("A caption much wider than the form");
    PixelBuffer32& c = f.Paint(true);
    RECT wr{};
    GetWindowRect(f.Wnd(), &wr);
    EXPECT_EQ(c.Width(), wr.right - wr.left);
    EXPECT_FALSE(Ink(c, f.BW(), f.BW() + f.CaptionH(), Pixel(kTitleHotFont)).Found());
    ASSERT_TRUE(f.provider->ButtonsBg);
    const std::vector<std::uint32_t> before = Area(c, RECT{0, 0, c.Width(), f.BW() + f.CaptionH()});
    ASSERT_LE(f.provider->HelpButton.Rect.left, f.provider->IconRect().right);
    f.provider->HelpButton.State = 1;
    RepaintTitleButton(*f.provider, HTHELP);
    EXPECT_EQ(Area(c, RECT{0, 0, c.Width(), f.BW() + f.CaptionH()}), before);
}

// The frame strips copied onto the window are the cache's; the counts of
// window DCs, saved DCs and GDI and USER objects stay flat over repeated
// non-client repaints and button state changes.
TEST_F(FramePaintTest, FrameStripsOnTheWindowAndFlatCountsOverRepaints) {
    Skinned f;
    f.form->SetCaption("Counted");
    {
        TWindowDC dc(f.Wnd(), TDCArea::Window);
        f.provider->SkinData->BGChanged = true;
        PaintFrameStrips(*f.provider, dc.Get());
    }
    RECT wr{};
    GetWindowRect(f.Wnd(), &wr);
    const RECT caption{0, 0, wr.right - wr.left, f.BW() + f.CaptionH()};
    EXPECT_EQ(Shown(f.Wnd(), caption), Area(f.Cache(), caption));

    const auto round = [&](int i) {
        f.provider->FormActive = i % 2 == 0;
        f.provider->SkinData->BGChanged = true;
        TWindowDC dc(f.Wnd(), TDCArea::Window);
        PaintFrameStrips(*f.provider, dc.Get());
        f.provider->CloseButton.State = i % 3;
        RepaintTitleButton(*f.provider, HTCLOSE);
    };
    // Every state once first: what the frame and the button's states make
    // on first use (a window and GDI objects) is kept, not made per round.
    for (int i = 0; i < 6; ++i) round(i);
    const TFlatCounts counts;
    for (int i = 0; i < 100; ++i) round(i);
    counts.ExpectKept(TFlatCounts::TransientOnly, TFlatCounts::GuiNoMore);
}

// Without the skin the provider paints nothing of its own: the skinned
// picture is gone (a picture asked for is the form's own look), and the
// form has its own region (none) again.
TEST_F(FramePaintTest, RemovingTheSkinLeavesNoFramePicture) {
    Skinned f;
    f.Paint(true);
    ASSERT_TRUE(f.provider->SkinData->CacheBmp);
    // Linen's corners are square: a cut corner as a skin with round ones
    // makes.
    f.provider->RegionRects = {RECT{0, 0, 4, 1}};
    f.provider->UpdateRegion(false);
    TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(GetWindowRgn(f.Wnd(), region.Get()), ERROR);
    manager.m->SetActive(false);
    EXPECT_FALSE(f.provider->SkinData->CacheBmp);
    f.provider->SkinData->BGChanged = true;
    f.provider->PaintNonClientCache();
    ASSERT_TRUE(f.provider->SkinData->CacheBmp) << "the form's own look, for the pictures asked of it";
    EXPECT_NE(f.Cache().At(f.Cache().Width() / 2, f.BW() + f.CaptionH() / 2), kActiveTitle);
    EXPECT_EQ(GetWindowRgn(f.Wnd(), region.Get()), ERROR);
}

// What the screen shows at (x, y) of a window, in the cache's pixel form.
std::uint32_t OnScreen(HWND wnd, int x, int y) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    TWindowDC screen(nullptr);
    const COLORREF c = GetPixel(screen.Get(), wr.left + x, wr.top + y);
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
std::vector<std::uint32_t> OnScreen(HWND wnd, const RECT& r) {
    std::vector<std::uint32_t> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) out.push_back(OnScreen(wnd, x, y));
    return out;
}
bool InactiveTitle(std::uint32_t c) {
    for (int shift : {0, 8, 16}) {
        const int v = (c >> shift) & 0xFF;
        if (v > static_cast<int>((kInactiveTop >> shift) & 0xFF) ||
            v < static_cast<int>((kInactiveBottom >> shift) & 0xFF))
            return false;
    }
    return true;
}
void Activate(HWND wnd) {
    SetForegroundWindow(wnd);
    SetActiveWindow(wnd);
    kova::test::PumpMessages();
}

// The frame reaches the screen through the form's own messages: the system
// repaints the non-client area and the skin's frame is what shows, in the
// colours of the activation; a new caption text is painted into it; a
// picture of the window has the same frame; without the skin the system's
// frame is back.
TEST_F(FramePaintTest, TheScreenShowsTheSkinnedFrameThroughTheFormsMessages) {
    Skinned f;
    Activate(f.Wnd());
    RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    kova::test::PumpMessages();
    RECT wr{};
    GetWindowRect(f.Wnd(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int captionY = f.BW() + f.CaptionH() / 2;
    ASSERT_TRUE(f.provider->FormActive);
    EXPECT_EQ(OnScreen(f.Wnd(), w / 2, captionY), kActiveTitle);
    for (int i = 1; i < f.BW(); ++i) {
        EXPECT_EQ(OnScreen(f.Wnd(), i, h / 2), kFormColour) << "left border at " << i;
        EXPECT_EQ(OnScreen(f.Wnd(), w - 1 - i, h / 2), kFormColour) << "right border at " << i;
        EXPECT_EQ(OnScreen(f.Wnd(), w / 2, h - 1 - i), kFormColour) << "bottom border at " << i;
    }

    // What the system sends a form that loses the activation (a window of
    // another application taking it is not at hand on the test desktop).
    SendMessageA(f.Wnd(), WM_NCACTIVATE, FALSE, 0);
    kova::test::PumpMessages();
    EXPECT_FALSE(f.provider->FormActive);
    EXPECT_TRUE(InactiveTitle(OnScreen(f.Wnd(), w / 2, captionY))) << std::hex << OnScreen(f.Wnd(), w / 2, captionY);
    EXPECT_EQ(OnScreen(f.Wnd(), 1, h / 2), kFormColour);
    SendMessageA(f.Wnd(), WM_NCACTIVATE, TRUE, 0);
    kova::test::PumpMessages();
    EXPECT_EQ(OnScreen(f.Wnd(), w / 2, captionY), kActiveTitle);

    const RECT text{f.BW(), f.BW(), w / 2, f.BW() + f.CaptionH()};
    const std::vector<std::uint32_t> before = OnScreen(f.Wnd(), text);
    SetWindowTextA(f.Wnd(), "A new caption, WWWW");
    kova::test::PumpMessages();
    const std::vector<std::uint32_t> after = OnScreen(f.Wnd(), text);
    EXPECT_NE(after, before);
    EXPECT_EQ(after, Area(f.Cache(), text)) << "the new caption comes from the cache";
    EXPECT_EQ(Ink(f.Cache(), text.top, text.bottom, Pixel(kTitleHotFont)).Found(), true);

    TBitmap shot;
    shot.SetSize(w, h);
    SendMessageA(f.Wnd(), WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), PRF_NONCLIENT | PRF_CLIENT);
    GdiFlush();
    const RECT caption{0, 0, w, f.BW() + f.CaptionH()};
    EXPECT_EQ(Area(shot.Pixels(), caption), Area(f.Cache(), caption));
    EXPECT_EQ(shot.Pixels().At(1, h / 2) | 0xFF000000u, kFormColour);

    manager.m->SetActive(false);
    kova::test::PumpMessages();
    RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    kova::test::PumpMessages();
    const std::uint32_t system = OnScreen(f.Wnd(), w / 2, captionY);
    EXPECT_NE(system, kActiveTitle);
    EXPECT_FALSE(InactiveTitle(system));
    EXPECT_NE(OnScreen(f.Wnd(), 1, h / 2), kFormColour);
}

// An icon of one opaque colour.
TIconHandle SolidIcon(COLORREF colour, int size) {
    TWindowDC screen(nullptr);
    TGdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen.Get(), size, size));
    TGdiObject<HBITMAP> mask(CreateBitmap(size, size, 1, 1, nullptr));
    {
        TMemoryDC dc(screen.Get());
        const HGDIOBJ old = SelectObject(dc.Get(), picture.Get());
        const RECT all{0, 0, size, size};
        const TGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc.Get(), &all, brush.Get());
        SelectObject(dc.Get(), mask.Get());
        PatBlt(dc.Get(), 0, 0, size, size, BLACKNESS);  // opaque everywhere
        SelectObject(dc.Get(), old);
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), picture.Get()};
    return TIconHandle(CreateIconIndirect(&info));
}

// A new icon given to the shown window: the screen's caption shows it in
// the skin's caption, the system's own caption is not drawn over it.
TEST_F(FramePaintTest, ANewWindowIconShowsInTheSkinnedCaption) {
    Skinned f;
    f.form->SetCaption("Iconed");
    Activate(f.Wnd());
    RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    kova::test::PumpMessages();
    RECT wr{};
    GetWindowRect(f.Wnd(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int captionY = f.BW() + f.CaptionH() / 2;
    const RECT icon = f.provider->IconRect();
    ASSERT_GT(icon.right, icon.left);
    const POINT mid{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    constexpr COLORREF kRed = RGB(200, 16, 24);
    const std::uint32_t red = 0xFF000000u | (200u << 16) | (16u << 8) | 24u;
    ASSERT_NE(OnScreen(f.Wnd(), mid.x, mid.y), red);
    const TIconHandle small = SolidIcon(kRed, 16), big = SolidIcon(kRed, 32);
    SendMessageA(f.Wnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageA(f.Wnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    kova::test::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(f.Wnd())) << "the window's drawing stayed held off";
    EXPECT_EQ(f.provider->RedrawLock, 0);
    EXPECT_EQ(OnScreen(f.Wnd(), mid.x, mid.y), red) << "the caption does not show the new icon";
    EXPECT_EQ(OnScreen(f.Wnd(), icon.right - 2, icon.bottom - 2), red);
    EXPECT_EQ(OnScreen(f.Wnd(), w / 2, captionY), kActiveTitle) << "the system's caption shows";
    EXPECT_EQ(OnScreen(f.Wnd(), 1, h / 2), kFormColour);
    const RECT top{0, 0, w, f.BW() + f.CaptionH()};
    EXPECT_EQ(OnScreen(f.Wnd(), top), Area(f.Cache(), top)) << "the caption on the screen is not the cache's";

    // Somebody holding the window's drawing off keeps it held.
    SendMessageA(f.Wnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(f.Wnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    EXPECT_EQ(f.provider->RedrawLock, 1);
    EXPECT_FALSE(IsWindowVisible(f.Wnd())) << "the icon's repaint ended another's hold";
    SendMessageA(f.Wnd(), WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(f.Wnd()));
    // The window lets go of the icons before they are destroyed.
    SendMessageA(f.Wnd(), WM_SETICON, ICON_BIG, 0);
    SendMessageA(f.Wnd(), WM_SETICON, ICON_SMALL, 0);
}

// A hundred non-client repaints and activation changes through the form's
// messages leave the handle counts where they were.
TEST_F(FramePaintTest, NonClientRepaintsThroughTheMessagesKeepCountsFlat) {
    Skinned f;
    RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    kova::test::PumpMessages();
    const TFlatCounts counts;
    for (int i = 0; i < 100; ++i) {
        SendMessageA(f.Wnd(), WM_NCACTIVATE, i % 2, 0);
        RedrawWindow(f.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    kova::test::PumpMessages();
    counts.ExpectKept(TFlatCounts::TransientOnly, TFlatCounts::GuiNoMore);
}

// Linen with a glow of 6 pixels for the close button only (its image cut
// from the close button's own), as a folder skin in a scratch directory.
class GlowSkin {
public:
    GlowSkin() {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() /
               ("kova-framepaint-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        const fs::path source = fs::path(KOVA_SOURCE_DIR) / "src/skin/core/model/internalskins/Linen";
        fs::create_directories(dir_ / "Glowing");
        fs::copy_file(source / "Master.bmp", dir_ / "Glowing/Master.bmp");
        std::ifstream in(source / "Options.dat", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string options = text.str();
        const std::string head = "[GLOBALINFO]";
        options.insert(options.find(head) + head.size(),
                       "\r\nBICONCLOSEGLOW=6\r\nBICONCLOSEGLOW0=@0096,0128,0122,0148,1,0");
        std::ofstream out(dir_ / "Glowing/Options.dat", std::ios::binary);
        out << options;
    }
    ~GlowSkin() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path() const { return dir_.string(); }

private:
    std::filesystem::path dir_;
};

// A hot close button shows its glow window around it, when the skin gives
// the button a glow; going back to normal takes it away. The maximise
// button of that skin has no glow.
TEST_F(FramePaintTest, AHotButtonGlowsWhenTheSkinGivesItAGlow) {
    GlowSkin skin;
    manager.m->SetSkinDirectory(skin.Path());
    manager.m->SetSkinName("Glowing");
    ASSERT_EQ(manager.m->Model().SkinData().BICloseGlow, 6);
    Skinned f;
    f.Paint(true);
    TsSkinProvider& p = *f.provider;
    p.CloseButton.State = 1;
    RepaintTitleButton(p, HTCLOSE);
    ASSERT_GE(p.CloseButton.GlowID, 0) << "layered glow windows are available here";
    const HWND glow = GlowWindowOf(p.CloseButton.GlowID);
    ASSERT_NE(glow, nullptr);
    EXPECT_TRUE(IsWindowVisible(glow));
    RECT g{}, w{};
    GetWindowRect(glow, &g);
    GetWindowRect(f.Wnd(), &w);
    RECT button = p.CloseButton.Rect;
    OffsetRect(&button, w.left, w.top);
    EXPECT_LE(g.left, button.left);
    EXPECT_LE(g.top, button.top);
    EXPECT_GE(g.right, button.right);
    EXPECT_GE(g.bottom, button.bottom);

    p.MaxButton.State = 1;
    RepaintTitleButton(p, HTMAXBUTTON);
    EXPECT_EQ(p.MaxButton.GlowID, -1);

    p.CloseButton.State = 0;
    RepaintTitleButton(p, HTCLOSE);
    EXPECT_EQ(p.CloseButton.GlowID, -1);
    EXPECT_FALSE(IsWindow(glow));
}

}  // namespace kova::skin::test
