// Skinned labels on a real form with the test skin loaded: the colours
// their text is painted in, read back from the screen; the shadow's
// reach; the web label's click; the plain-label treatment.
#include "skin/controls/slabel.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using kova::test::PumpFor;

constexpr COLORREF kGlobalFont = RGB(0, 0, 255);

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/btnskin"));
        ASSERT_TRUE(manager->Active());
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(80, 80, 400, 260);
        form->Show();
        SetForegroundWindow(form->Handle());
        PumpFor(100);
    }
    void TearDown() override {
        form->Free();
        PumpFor(20);
        manager->Free();
    }
    template <class T>
    T* Add(const std::string& text, int x, int y) {
        auto* l = new T(form);
        l->SetParent(form);
        l->SetCaption(text);
        l->SetBounds(x, y, 150, 24);
        l->Font()->SetHeight(-20);
        return l;
    }
    // The colours that appear in the control's bounds on the screen.
    std::vector<COLORREF> Colours(TControl* c) {
        form->Repaint();
        PumpFor(60);
        std::vector<COLORREF> out;
        HDC dc = GetDC(form->Handle());
        const RECT b = c->BoundsRect();
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x) out.push_back(GetPixel(dc, x, y));
        ReleaseDC(form->Handle(), dc);
        return out;
    }
    static bool Has(const std::vector<COLORREF>& px, COLORREF c, int tolerance = 2) {
        for (COLORREF p : px)
            if (std::abs(GetRValue(p) - GetRValue(c)) <= tolerance && std::abs(GetGValue(p) - GetGValue(c)) <= tolerance &&
                std::abs(GetBValue(p) - GetBValue(c)) <= tolerance)
                return true;
        return false;
    }

    TsSkinManager* manager = nullptr;
    TForm* form = nullptr;
};

TEST_F(LabelTest, ALabelTakesTheSkinsFontColourAndGivesItBackWhenTheSkinGoes) {
    auto* label = Add<TsLabel>("MMMM", 10, 10);
    EXPECT_TRUE(label->Transparent());
    EXPECT_TRUE(Has(Colours(label), kGlobalFont));
    EXPECT_EQ(static_cast<COLORREF>(label->Font()->Color()), kGlobalFont);
    label->Perform(SkinCommandMessage, SkinCommand(scSkinRemoved), reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(label->Font()->Color(), clWindowText);
    // Without UseSkinColor the label keeps its own colour.
    auto* own = Add<TsLabel>("MMMM", 10, 40);
    own->UseSkinColor = false;
    own->Font()->SetColor(RGB(0, 160, 0));
    EXPECT_TRUE(Has(Colours(own), RGB(0, 160, 0)));
    EXPECT_FALSE(Has(Colours(own), kGlobalFont));
}

TEST_F(LabelTest, ADisabledLabelBlendsItsTextIntoTheBackground) {
    auto* label = Add<TsLabel>("MMMM", 10, 10);
    label->SetEnabled(false);
    const COLORREF under = ColorToRGB(GetControlColor(form));
    const COLORREF mix = RGB((GetRValue(kGlobalFont) * 4 + GetRValue(under) * 6) / 10,
                             (GetGValue(kGlobalFont) * 4 + GetGValue(under) * 6) / 10,
                             (GetBValue(kGlobalFont) * 4 + GetBValue(under) * 6) / 10);
    const auto px = Colours(label);
    EXPECT_TRUE(Has(px, mix, 3));
    EXPECT_FALSE(Has(px, kGlobalFont));
}

TEST_F(LabelTest, TheEffectsLabelDrawsABlurredShadowWithinItsMargins) {
    auto* fx = Add<TsLabelFX>("MMMM", 10, 10);
    fx->Shadow()->SetMode(smCustom);
    fx->Shadow()->SetDistance(2);
    fx->Shadow()->SetBlurCount(4);
    fx->Shadow()->SetColor(RGB(0, 0, 0));
    fx->Kind()->SetKindType(ktCustom);
    fx->Kind()->SetColor(RGB(255, 255, 255));
    const auto px = Colours(fx);
    EXPECT_EQ(fx->Margins().LeftTop, -2);
    EXPECT_EQ(fx->Margins().RightBottom, 6);
    EXPECT_TRUE(Has(px, RGB(255, 255, 255), 10));
    // Shades of the shadow between black and the form's colour.
    const COLORREF under = ColorToRGB(GetControlColor(form));
    int shades = 0;
    for (COLORREF p : px)
        if (GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p) && GetRValue(p) < GetRValue(under) - 20 &&
            GetRValue(p) > 10)
            ++shades;
    EXPECT_GT(shades, 20);
    // No blur: plain text, no shadow.
    fx->Shadow()->SetBlurCount(0);
    const auto plain = Colours(fx);
    EXPECT_FALSE(Has(plain, RGB(0, 0, 0), 10));
}

TEST_F(LabelTest, TheWebLabelOpensOnlyWebAndMailAddresses) {
    auto* web = Add<TsWebLabel>("Home page", 10, 10);
    std::vector<std::string> opened;
    web->Open = [&](const std::string& url, int) { opened.push_back(url); };
    for (const char* url : {"https://example.org", "calc.exe", "mailto:a@example.org", "file:///c:/x.exe", ""}) {
        web->URL = url;
        web->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        web->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org", "mailto:a@example.org"}));
    // Hovering paints with the hover font.
    web->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(web->Hovered());
    EXPECT_EQ(web->GetPaintFont(), web->HoverFont());
    web->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(web->Hovered());
    EXPECT_EQ(web->GetPaintFont(), web->NormalFont());
}

// The font a description gave the web label is its normal font; with
// ParentFont, the parent's font becomes its normal font and lends the hover
// font its name and size (the hover colour and style stay).
TEST_F(LabelTest, TheWebLabelTakesItsLoadedAndItsParentsFont) {
    auto* web = Add<TsWebLabel>("Home page", 10, 10);
    web->Font()->SetName("Courier New");
    web->Font()->SetSize(15);
    web->Loaded();
    EXPECT_EQ(web->NormalFont()->Name(), "Courier New");
    EXPECT_EQ(web->NormalFont()->Size(), 15);
    // The painted text is the normal font's: the label grows to it.
    const int courierWidth = [&] {
        form->Repaint();
        PumpFor(40);
        return web->Width();
    }();
    EXPECT_EQ(web->Font()->Name(), "Courier New");

    web->HoverFont()->SetColor(RGB(1, 2, 3));
    web->HoverFont()->SetStyle(fsUnderline);
    web->SetParentFont(true);
    form->Font()->SetName("Arial");
    form->Font()->SetSize(22);
    EXPECT_EQ(web->NormalFont()->Name(), "Arial");
    EXPECT_EQ(web->NormalFont()->Size(), 22);
    EXPECT_EQ(web->HoverFont()->Name(), "Arial");
    EXPECT_EQ(web->HoverFont()->Size(), 22);
    EXPECT_EQ(web->HoverFont()->Color(), static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(web->HoverFont()->Style(), TFontStyles{fsUnderline});
    form->Repaint();
    PumpFor(40);
    EXPECT_EQ(web->Font()->Name(), "Arial");
    EXPECT_NE(web->Width(), courierWidth);
    // Without ParentFont the parent's font stays the parent's.
    auto* own = Add<TsWebLabel>("Own font", 10, 60);
    own->SetParentFont(false);
    own->NormalFont()->SetName("Courier New");
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(own->NormalFont()->Name(), "Courier New");
    EXPECT_EQ(web->NormalFont()->Name(), "Tahoma");
}

TEST_F(LabelTest, PlainLabelsBecomeTransparentInTheSkinsFontColourExceptTag98) {
    struct Case {
        std::intptr_t Tag;
        bool ComponentsPass;
        bool Adapted;
    };
    for (const Case c : {Case{0, true, true}, Case{98, true, false}, Case{98, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.Tag << " " << c.ComponentsPass);
        auto* l = Add<TLabel>("Plain", 10, 10);
        l->SetTag(c.Tag);
        l->SetControlStyle(l->ControlStyle() | csOpaque);
        AdaptPlainLabel(l, c.ComponentsPass);
        EXPECT_EQ((l->ControlStyle() & csOpaque) == 0, c.Adapted);
        EXPECT_EQ(static_cast<COLORREF>(l->Font()->Color()) == kGlobalFont, c.Adapted);
        l->Free();
    }
    // A skinned label is left to itself.
    auto* s = Add<TsLabel>("Skinned", 10, 40);
    s->Font()->SetColor(RGB(1, 2, 3));
    AdaptPlainLabel(s, true);
    EXPECT_EQ(s->Font()->Color(), static_cast<TColor>(RGB(1, 2, 3)));
}

// A label's own section paints behind its text, the skin's first section
// (index 0) too, and gives the text its font colour.
TEST_F(LabelTest, TheLabelsSectionPaintsBehindItEvenTheSkinsFirst) {
    const auto& sections = manager->Model().Sections();
    ASSERT_FALSE(sections.empty());
    struct Case {
        std::string Section;
    };
    const int button = manager->IndexOfSection("BUTTON");
    for (const Case& c : {Case{sections[0].SectionName}, Case{sections[static_cast<std::size_t>(button)].SectionName}}) {
        SCOPED_TRACE(c.Section);
        const int index = manager->IndexOfSection(c.Section);
        ASSERT_GE(index, 0);
        auto* label = Add<TsLabel>("MM", 10, 10);
        label->SetSkinSection(c.Section);
        const COLORREF colour =
            static_cast<COLORREF>(manager->Model().ColorToRGB(sections[static_cast<std::size_t>(index)].Props[0].Color));
        EXPECT_TRUE(Has(Colours(label), colour)) << std::hex << colour;
        label->Free();
    }
}

}  // namespace
}  // namespace kova::skin::test
