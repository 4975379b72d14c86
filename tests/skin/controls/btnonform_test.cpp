// The button family on a skinned form: the child adaptation gives push
// buttons, check boxes, radio buttons and group boxes their adapters, the
// buttons paint from the skin, and the native look comes back when the
// skin goes.
#include <gtest/gtest.h>

#include <functional>

#include "common/testdata.h"
#include "common/win32_testing.h"
#include "skinnedwindows.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/portable/props.h"
#include "framework/stdctrls.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {
namespace {

COLORREF Printed(HWND wnd, int x, int y) { return TPrinted(wnd).At(x, y); }

class ButtonsOnFormTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
};

TEST_F(ButtonsOnFormTest, TheAdaptationGivesEachClassItsAdapterAndTheSkinGoingTakesThemAway) {
    TsSkinManager* m = new TsSkinManager(nullptr);
    AddInternalSkins(m->Model().InternalSkins);
    m->ThirdParty.Lists[1] = "TButton";
    m->ThirdParty.Lists[2] = "TBitBtn";
    m->ThirdParty.Lists[3] = "TCheckBox\nTRadioButton";
    m->ThirdParty.Lists[4] = "TComboBox";
    m->ThirdParty.Lists[6] = "TGroupBox";
    m->UpdateThirdPartyLists();
    m->SetSkinName("Linen (internal)");
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 80, 420, 300);
    auto place = [&](TWinControl* c, int top) {
        c->SetBounds(10, top, 140, 30);
        c->SetParent(form);
        c->SetCaption("Caption");
    };
    auto* button = new TButton(form);
    place(button, 10);
    auto* check = new TCheckBox(form);
    place(check, 50);
    auto* radio = new TRadioButton(form);
    place(radio, 90);
    auto* group = new TGroupBox(form);
    place(group, 130);
    group->SetHeight(100);
    // A label of the box's own: no window, painted with the box.
    auto* label = new TLabel(form);
    label->SetParent(group);
    label->SetBounds(10, 40, 100, 20);
    label->SetCaption("WWWWWWWW");
    auto* combo = new TComboBox(form);
    combo->SetBounds(200, 10, 140, 24);
    combo->SetParent(form);
    auto* bitBtn = new TBitBtn(form);
    bitBtn->SetBounds(200, 50, 140, 30);
    bitBtn->SetParent(form);
    form->Show();
    const COLORREF nativeButton = Printed(button->Handle(), 4, 15);
    auto* provider = new TsSkinProvider(form);
    provider->Loaded();
    kova::test::PumpMessages();

    struct Case {
        TWinControl* Control;
        const char* Section;
        bool (*IsRight)(TacMainWnd*);
    };
    const Case cases[] = {
        {button, "BUTTON", [](TacMainWnd* a) { return dynamic_cast<TacBtnWnd*>(a) != nullptr; }},
        {check, "CHECKBOX", [](TacMainWnd* a) { return dynamic_cast<TacCheckBoxWnd*>(a) != nullptr; }},
        {radio, "CHECKBOX", [](TacMainWnd* a) { return dynamic_cast<TacCheckBoxWnd*>(a) != nullptr; }},
        {group, "GROUPBOX", [](TacMainWnd* a) { return dynamic_cast<TacGroupBoxWnd*>(a) != nullptr; }},
        {combo, "COMBOBOX", [](TacMainWnd* a) { return dynamic_cast<TacComboBoxWnd*>(a) != nullptr; }},
        {bitBtn, "BUTTON", [](TacMainWnd* a) { return dynamic_cast<TacBitBtnWnd*>(a) != nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Control->ClassName());
        TacMainWnd* a = FindAdapter(c.Control->Handle());
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(c.IsRight(a));
        EXPECT_EQ(a->CommonData->SkinSection(), c.Section);
    }
    // The group box tells its caption's height.
    EXPECT_GE(SendSkinCommand(group->Handle(), 27, 0), 6);
    // Its label shows on the skinned box: ink between the box's own
    // background at the label's left and right.
    const COLORREF boxBackground = Printed(group->Handle(), 5, 50);
    bool ink = false;
    for (int x = 12; x < 100 && !ink; ++x) ink = Printed(group->Handle(), x, 50) != boxBackground;
    EXPECT_TRUE(ink) << "the label is not painted on the skinned group box";
    // The button's face is the skin's, not the native one.
    const COLORREF skinned = Printed(button->Handle(), 4, 15);
    EXPECT_NE(skinned, nativeButton);

    m->SetActive(false);
    kova::test::PumpMessages();
    for (const Case& c : cases) EXPECT_EQ(FindAdapter(c.Control->Handle()), nullptr) << c.Control->ClassName();
    EXPECT_EQ(Printed(button->Handle(), 4, 15), nativeButton);
    form->Free();
    m->Free();
}

// A glyph strip of `count` solid images (green, blue, yellow, ...), its
// bottom-left pixel the magenta transparent colour.
constexpr COLORREF kGlyphColours[] = {RGB(0, 200, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
void FillGlyph(TBitBtn* button, int count) {
    TBitmap strip(16 * count, 16);
    for (int i = 0; i < count; ++i)
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = kGlyphColours[i];
                strip.Pixels().At(i * 16 + x, y) = 0u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
    strip.Pixels().At(0, 15) = 0xFF00FF;
    button->SetGlyph(&strip);
    button->SetNumGlyphs(count);
}

// The framework's bitmap button shows its glyph natively; skinned, the
// glyph stands where its Layout puts it beside the caption, and a disabled
// button shows the strip's disabled image.
TEST_F(ButtonsOnFormTest, ABitmapButtonPlacesItsGlyphByItsLayout) {
    constexpr COLORREF kFace = RGB(200, 0, 0);
    constexpr COLORREF kCaption = RGB(255, 255, 255);
    TsSkinManager* m = new TsSkinManager(nullptr);
    m->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/btnskin"));
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 80, 420, 300);
    auto* button = new TBitBtn(form);
    button->SetBounds(20, 20, 160, 60);
    button->SetParent(form);
    button->SetCaption("Caption");
    FillGlyph(button, 2);
    form->Show();
    kova::test::PumpMessages();
    // Unskinned: the owner-drawn face with the first image.
    {
        TPrinted p(button->Handle());
        EXPECT_GT(p.Count(kGlyphColours[0], RECT{0, 0, 160, 60}), 200);
        EXPECT_EQ(p.Count(0xFF00FF, RECT{0, 0, 160, 60}), 0);
    }
    TsCommonData data(button, true);
    data.SetSkinManager(m);
    auto adapter = CreateAdapter<TacBitBtnWnd>(button->Handle(), &data, m, "");
    struct Case {
        TButtonLayout Layout;
        const char* Name;
    };
    for (const Case c : {Case{blGlyphLeft, "left"}, Case{blGlyphRight, "right"}, Case{blGlyphTop, "top"},
                         Case{blGlyphBottom, "bottom"}}) {
        SCOPED_TRACE(c.Name);
        button->SetLayout(c.Layout);
        TPrinted p(button->Handle());
        const RECT all{0, 0, 160, 60};
        const RECT glyph = p.BoxOf(kGlyphColours[0], all);
        const RECT caption = p.BoxOf(kCaption, all);
        ASSERT_LT(glyph.left, glyph.right);
        ASSERT_LT(caption.left, caption.right);
        // The glyph is all there but for its transparent corner, on the face.
        EXPECT_EQ(p.Count(kGlyphColours[0], glyph), 16 * 16 - 1);
        EXPECT_EQ(p.At(glyph.left, glyph.bottom - 1), kFace);
        const RECT want = adapter->GlyphRect();
        EXPECT_EQ(glyph.left, want.left);
        EXPECT_EQ(glyph.top, want.top);
        EXPECT_EQ(glyph.right - glyph.left, 16);
        switch (c.Layout) {
            case blGlyphLeft:
                EXPECT_LE(glyph.right, caption.left);
                EXPECT_EQ(glyph.top, (60 - 16) / 2);
                break;
            case blGlyphRight:
                EXPECT_GE(glyph.left, caption.right);
                EXPECT_EQ(glyph.top, (60 - 16) / 2);
                break;
            case blGlyphTop:
                EXPECT_LE(glyph.bottom, caption.top);
                break;
            case blGlyphBottom:
                EXPECT_GE(glyph.top, caption.bottom);
                break;
        }
    }
    // Disabled: the strip's second image (faded with the whole face).
    button->SetLayout(blGlyphLeft);
    const RECT where = adapter->GlyphRect();
    button->SetEnabled(false);
    {
        TPrinted p(button->Handle());
        const COLORREF c = p.At(where.left + 8, where.top + 8);
        EXPECT_GT(GetBValue(c), GetGValue(c) + 60) << std::hex << c;
        EXPECT_EQ(p.Count(kGlyphColours[0], RECT{0, 0, 160, 60}), 0);
    }
    adapter.reset();
    form->Free();
    m->Free();
}

// Stand-ins for outside-party controls the program never shows: a grid
// that publishes an "OptionsEh" set, and a combo control of another class
// whose list boxes are its child controls.
class TStandInGridEh : public TStringGrid {
    KOVA_CLASS_PROPS(TStandInGridEh, TStringGrid)
public:
    using TStringGrid::TStringGrid;
    std::uint32_t OptionsEh() const { return optionsEh_; }
    void SetOptionsEh(std::uint32_t v) { optionsEh_ = v; }
    static constexpr std::uint32_t kFixed3D = 1, kHighlight = 2;

private:
    static void DefineProps(TPropList& L) {
        L.For<TStandInGridEh>().Set("OptionsEh", {"dghFixed3D", "dghHighlightFocus"}, &TStandInGridEh::OptionsEh,
                                    &TStandInGridEh::SetOptionsEh);
    }
    std::uint32_t optionsEh_ = 0;
};

class TStandInWWCombo : public TComboBox {
    KOVA_CLASS(TStandInWWCombo, TComboBox)
public:
    using TComboBox::TComboBox;
};

struct TSkinnedForm {
    explicit TSkinnedForm(void (*lists)(TsSkinManager&)) {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        lists(*m);
        m->UpdateThirdPartyLists();
        m->SetSkinName("Linen (internal)");
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(100, 80, 420, 300);
    }
    void Skin() {
        form->Show();
        auto* provider = new TsSkinProvider(form);
        provider->Loaded();
        kova::test::PumpMessages();
    }
    ~TSkinnedForm() {
        form->Free();
        m->Free();
    }
    TsSkinManager* m = nullptr;
    TForm* form = nullptr;
};

// On a themed system older than major version 6 the grid loses its 3D
// titles while skinned and gets back what it had; elsewhere it keeps them.
TEST_F(ButtonsOnFormTest, AGridWithOptionsEhLosesItsFixed3DOnlyOnOldThemedSystems) {
    const std::function<bool()> real = GridEhOldThemedSystem();
    // The systems this program runs on are of major version 6 or later.
    EXPECT_FALSE(real());
    struct Case {
        bool OldThemed;
        std::uint32_t Options;
    };
    for (const Case c : {Case{true, TStandInGridEh::kFixed3D | TStandInGridEh::kHighlight},
                         Case{true, TStandInGridEh::kHighlight}, Case{false, TStandInGridEh::kFixed3D}}) {
        SCOPED_TRACE(testing::Message() << c.OldThemed << " " << c.Options);
        GridEhOldThemedSystem() = [&] { return c.OldThemed; };
        TSkinnedForm f([](TsSkinManager& m) { m.ThirdParty.Lists[11] = "TStandInGridEh"; });
        auto* grid = new TStandInGridEh(f.form);
        grid->SetBounds(10, 10, 200, 120);
        grid->SetParent(f.form);
        grid->SetOptionsEh(c.Options);
        f.Skin();
        auto* a = dynamic_cast<TacGridEhWnd*>(FindAdapter(grid->Handle()));
        ASSERT_NE(a, nullptr);
        const std::uint32_t skinned = c.OldThemed ? c.Options & ~TStandInGridEh::kFixed3D : c.Options;
        EXPECT_EQ(grid->OptionsEh(), skinned);
        f.m->SetActive(false);
        kova::test::PumpMessages();
        EXPECT_EQ(FindAdapter(grid->Handle()), nullptr);
        EXPECT_EQ(grid->OptionsEh(), c.Options);
    }
    GridEhOldThemedSystem() = real;
}

// A combo control of another class gets the variant made from the control
// object: a button unless it is a simple combo box, and an edit adapter
// for each list box made inside it; all go with the skin.
TEST_F(ButtonsOnFormTest, ACombosChildListBoxesGetTheirOwnAdapters) {
    struct Case {
        TComboBoxStyle Style;
        bool Button;
    };
    for (const Case c : {Case{csDropDownList, true}, Case{csSimple, false}}) {
        SCOPED_TRACE(c.Style);
        TSkinnedForm f([](TsSkinManager& m) { m.ThirdParty.Lists[10] = "TStandInWWCombo"; });
        auto* combo = new TStandInWWCombo(f.form);
        combo->SetStyle(c.Style);
        combo->SetBounds(10, 10, 200, c.Style == csSimple ? 120 : 24);
        combo->SetParent(f.form);
        f.Skin();
        auto* a = dynamic_cast<TacWWComboBoxWnd*>(FindAdapter(combo->Handle()));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->HasButton, c.Button);
        const RECT b = a->GetButtonRect();
        EXPECT_EQ(b.right - b.left, c.Button ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        auto* list = new TListBox(f.form);
        list->SetBounds(2, 2, 60, 40);
        list->SetParent(combo);
        list->HandleNeeded();
        kova::test::PumpMessages();
        TacMainWnd* la = FindAdapter(list->Handle());
        ASSERT_NE(la, nullptr);
        EXPECT_NE(dynamic_cast<TacEditWnd*>(la), nullptr);
        EXPECT_EQ(la->CommonData->SkinSection(), "EDIT");
        ASSERT_EQ(a->ListBoxes.size(), 1u);
        EXPECT_EQ(a->ListBoxes[0].ListBox, list);
        f.m->SetActive(false);
        kova::test::PumpMessages();
        EXPECT_EQ(FindAdapter(combo->Handle()), nullptr);
        EXPECT_EQ(FindAdapter(list->Handle()), nullptr);
    }
}

// A drop-down list is coloured with one brush per colour: the list's
// colour question, asked again and again, answers the same brush and
// makes no GDI object; a new colour makes exactly one new brush, in place
// of the old one.
TEST_F(ButtonsOnFormTest, AComboListIsColouredWithOneBrushPerColour) {
    TSkinnedForm f([](TsSkinManager& m) { m.ThirdParty.Lists[4] = "TComboBox"; });
    auto* combo = new TComboBox(f.form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 200, 24);
    combo->SetParent(f.form);
    f.Skin();
    auto* a = dynamic_cast<TacComboBoxWnd*>(FindAdapter(combo->Handle()));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->ListAdapter, nullptr);
    ASSERT_NE(a->ListHandle, nullptr);
    const TWindowDC screen(nullptr);
    const TMemoryDC dc(screen.Get());
    const auto ask = [&] {
        return reinterpret_cast<HBRUSH>(SendMessageA(combo->Handle(), WM_CTLCOLORLISTBOX,
                                                     reinterpret_cast<WPARAM>(dc.Get()),
                                                     reinterpret_cast<LPARAM>(a->ListHandle)));
    };
    const auto colourOf = [](HBRUSH b) {
        LOGBRUSH lb{};
        return GetObjectA(b, sizeof lb, &lb) == sizeof lb ? lb.lbColor : CLR_INVALID;
    };
    const auto sectionColour = [&](const char* name) {
        const TsSkinModel& skin = f.m->Model();
        const int i = skin.IndexOfSection(name);
        return i < 0 ? CLR_INVALID
                     : static_cast<COLORREF>(skin.ColorToRGB(skin.Sections()[static_cast<std::size_t>(i)].Color));
    };

    const HBRUSH first = ask();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(colourOf(first), sectionColour("EDIT"));
    const long brushes = LiveHandles(THandleKind::Brush);
    const DWORD gdi = LiveGdiObjects();
    for (int i = 0; i < 50; ++i) ASSERT_EQ(ask(), first) << i;
    EXPECT_EQ(LiveHandles(THandleKind::Brush), brushes);
    EXPECT_EQ(LiveGdiObjects(), gdi);

    // Another section of another colour for the list.
    const char* other = nullptr;
    for (const char* name : {"BUTTON", "PANEL", "CHECKBOX", "FORM", "MAINMENU"})
        if (sectionColour(name) != CLR_INVALID && sectionColour(name) != sectionColour("EDIT")) {
            other = name;
            break;
        }
    ASSERT_NE(other, nullptr) << "the skin has no section of another colour";
    a->ListAdapter->CommonData->SetSkinSection(other);
    const HBRUSH second = ask();
    EXPECT_EQ(colourOf(second), sectionColour(other));
    for (int i = 0; i < 50; ++i) ASSERT_EQ(ask(), second) << i;
    // The old brush went when the new one came.
    EXPECT_EQ(LiveHandles(THandleKind::Brush), brushes);
    EXPECT_EQ(LiveGdiObjects(), gdi);
}

}  // namespace
}  // namespace kova::skin::test
