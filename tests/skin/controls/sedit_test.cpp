// The skinned edit on a real form: an edit of the framework's edit family
// under its own class name, typing into a native edit window; with a skin,
// its face from its cache while not edited (a password masked with its
// character), the native edit while focused, its disabled looks, a cache
// rebuilt while it lies partly outside its parent, and a plain edit again
// when the skin goes.
#include "skin/controls/sedit.h"
#include "skin/controls/slabel.h"

#include <gtest/gtest.h>

#include <string>

#include "../core/handlecheck.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/vclutils.h"

namespace kova::skin::test {

TEST(SkinnedEdit, IsAnEditOfItsOwnClassWithANativeEditWindow) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    auto* edit = new TsEdit(form);
    edit->SetParent(form);
    edit->SetBounds(8, 8, 120, 21);
    form->Show();
    EXPECT_EQ(edit->ClassName(), "TsEdit");
    EXPECT_TRUE(edit->Is<TEdit>());
    ASSERT_TRUE(edit->HandleAllocated());
    // The native edit underneath takes the keys.
    SendMessageA(edit->Handle(), WM_CHAR, 'k', 0);
    SendMessageA(edit->Handle(), WM_CHAR, '7', 0);
    EXPECT_EQ(edit->Text(), "k7");
    // Without a skin it answers as a plain control would.
    EXPECT_EQ(SendSkinCommand(edit->Handle(), scQuerySupport, 0), 1);
    edit->SetColor(0x00112233);
    EXPECT_EQ(SendSkinCommand(edit->Handle(), scQueryBgColor, 0), 0x00112233);
    form->Free();
}

namespace {

struct SkinnedEditForm {
    SkinnedEditForm() {
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        manager->SetSkinName("Linen (internal)");
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(120, 100, 300, 200);
        form->HandleNeeded();
        form->Show();
    }
    ~SkinnedEditForm() {
        form->Free();
        manager->Free();
    }
    TsEdit* Add(int top, const std::string& text, char password = 0) {
        auto* e = new TsEdit(form);
        e->SetBounds(10, top, 120, 22);
        e->SetPasswordChar(password);
        e->SetText(text);
        e->SetParent(form);
        kova::test::PumpMessages();
        return e;
    }
    // The face as it stands in the cache, painted for the edit now.
    static std::vector<COLORREF> Face(TsEdit* e) {
        e->SkinData()->BGChanged = true;
        e->PrepareCache();
        std::vector<COLORREF> out;
        HDC dc = e->SkinData()->CacheBmp->Canvas()->Handle();
        for (int y = 0; y < e->Height(); ++y)
            for (int x = 0; x < e->Width(); ++x) out.push_back(GetPixel(dc, x, y));
        return out;
    }
    static COLORREF Screen(TsEdit* e, int x, int y) {
        RECT r{};
        GetWindowRect(e->Handle(), &r);
        TWindowDC screen(nullptr);
        return GetPixel(screen.Get(), r.left + x, r.top + y);
    }
    TsSkinManager* manager;
    TForm* form;
};

}  // namespace

TEST(SkinnedEdit, UnfocusedFaceComesFromTheCacheWithItsTextOrItsMask) {
    SkinnedEditForm f;
    TsEdit* password = f.Add(10, "abc", '*');
    TsEdit* stars = f.Add(40, "***");
    TsEdit* empty = f.Add(70, "");
    ASSERT_TRUE(password->SkinData()->IsSkinned());
    EXPECT_EQ(SkinnedEditForm::Face(password), SkinnedEditForm::Face(stars)) << "the password shows as its mask";
    EXPECT_NE(SkinnedEditForm::Face(stars), SkinnedEditForm::Face(empty)) << "the text is drawn in the face";
    // On the screen: frame and client from the cache.
    RedrawWindow(f.form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    kova::test::PumpMessages();
    HDC cache = password->SkinData()->CacheBmp->Canvas()->Handle();
    for (POINT p : {POINT{0, 11}, POINT{1, 1}, POINT{60, 11}, POINT{119, 21}})
        EXPECT_EQ(SkinnedEditForm::Screen(password, p.x, p.y), GetPixel(cache, p.x, p.y)) << p.x << "," << p.y;
}

TEST(SkinnedEdit, FocusedTheNativeEditPaintsAndLeavingItTheCacheShowsTheNewText) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(10, "");
    TsEdit* other = f.Add(40, "");
    const auto before = SkinnedEditForm::Face(e);
    SetForegroundWindow(f.form->Handle());
    e->SetFocus();
    ASSERT_TRUE(kova::test::WaitUntil([&] { return GetFocus() == e->Handle(); }, 3000));
    EXPECT_TRUE(e->SkinData()->IsActiveState());
    for (char ch : std::string("kova")) SendMessageA(e->Handle(), WM_CHAR, static_cast<WPARAM>(ch), 0);
    EXPECT_EQ(e->Text(), "kova");
    other->SetFocus();
    kova::test::PumpMessages();
    EXPECT_FALSE(e->SkinData()->IsActiveState());
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(SkinnedEditForm::Face(e), before);
    HDC cache = e->SkinData()->CacheBmp->Canvas()->Handle();
    int same = 0;
    for (int x = 3; x < 60; ++x) same += SkinnedEditForm::Screen(e, x, 11) == GetPixel(cache, x, 11);
    EXPECT_EQ(same, 57) << "the unfocused face with the typed text is the cache's";
}

TEST(SkinnedEdit, DisabledLooksAndAPartlyOutsideEditRebuildsItsCache) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(10, "text");
    const auto enabled = SkinnedEditForm::Face(e);
    e->SetDisabledKind(0);
    e->SetEnabled(false);
    EXPECT_EQ(SkinnedEditForm::Face(e), enabled) << "no disabled look asked for";
    e->SetDisabledKind(dkGrayed);
    const auto grey = SkinnedEditForm::Face(e);
    EXPECT_NE(grey, enabled);
    for (COLORREF c : grey) ASSERT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)) << std::hex << c;
    e->SetEnabled(true);

    e->SetLeft(-10);
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    kova::test::PumpMessages();
    EXPECT_TRUE(e->PartlyOutside());
    e->SkinData()->BGChanged = false;
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(e->SkinData()->BGChanged) << "rebuilt (and so marked done) although nothing else changed";
    e->SetLeft(10);
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(e->PartlyOutside());
}

TEST(SkinnedEdit, ItsBoundLabelFollowsItsVisibilityAndDisabledLook) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(40, "text");
    e->BoundLabel()->SetCaption("Name");
    e->BoundLabel()->SetActive(true);
    TLabel* label = e->BoundLabel()->Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), f.form);
    EXPECT_LE(label->Left() + label->Width(), e->Left()) << "placed on the edit's left";
    e->SetDisabledKind(0);
    e->SetEnabled(false);
    EXPECT_TRUE(label->Enabled()) << "no disabled look: the label stays enabled";
    e->SetEnabled(true);
    e->SetDisabledKind(dkBlended);
    e->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    e->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    e->SetVisible(true);
    EXPECT_TRUE(label->Visible());
}

// The bound label is a skinned edit label: its text on the screen in the
// skin's font colour, or in its own colour without UseSkinColor; freed with
// its parent first, the bound label lets go of it.
TEST(SkinnedEdit, ItsBoundLabelIsASkinnedLabelInTheSkinsFontColour) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(40, "text");
    e->SetLeft(150);
    e->BoundLabel()->SetCaption("MMMM");
    e->BoundLabel()->SetActive(true);
    auto* label = dynamic_cast<TsEditLabel*>(e->BoundLabel()->Label());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->BoundLabel, e->BoundLabel());
    label->Font()->SetHeight(-24);
    const auto skinFont = static_cast<COLORREF>(f.manager->Model().ColorToRGB(f.manager->Model().GlobalInfoFontColor()));
    auto shown = [&](COLORREF c) {
        f.form->Repaint();
        kova::test::PumpMessages();
        HDC dc = GetDC(f.form->Handle());
        int n = 0;
        const RECT b = label->BoundsRect();
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x) {
                const COLORREF p = GetPixel(dc, x, y);
                n += std::abs(GetRValue(p) - GetRValue(c)) <= 12 && std::abs(GetGValue(p) - GetGValue(c)) <= 12 &&
                     std::abs(GetBValue(p) - GetBValue(c)) <= 12;
            }
        ReleaseDC(f.form->Handle(), dc);
        return n;
    };
    EXPECT_GT(shown(skinFont), 10);
    EXPECT_TRUE(e->BoundLabel()->UseSkinColor());
    e->BoundLabel()->SetUseSkinColor(false);
    EXPECT_FALSE(label->UseSkinColor);
    label->Font()->SetColor(RGB(200, 0, 0));
    EXPECT_GT(shown(RGB(200, 0, 0)), 10);
    EXPECT_EQ(shown(skinFont), 0);
    // The label goes first (freed as its parent's child would be).
    label->Free();
    EXPECT_EQ(e->BoundLabel()->Label(), nullptr);
    EXPECT_FALSE(e->BoundLabel()->UseSkinColor());
}

// One frame width for the strips, the text's inset and printing: what the
// window keeps around its client area.
TEST(SkinnedEdit, PrintsWhatTheScreenShows) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(10, "printed");
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    kova::test::PumpMessages();
    EXPECT_EQ(e->FrameWidth(), GetClientRectInWindow(e->Handle()).left);
    TBitmap shot;
    shot.SetSize(e->Width(), e->Height());
    SendMessageA(e->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), PRF_NONCLIENT | PRF_CLIENT);
    int differ = 0;
    for (int y = 0; y < e->Height(); ++y)
        for (int x = 0; x < e->Width(); ++x)
            differ += GetPixel(shot.Canvas()->Handle(), x, y) != SkinnedEditForm::Screen(e, x, y);
    EXPECT_EQ(differ, 0);
}

TEST(SkinnedEdit, WithoutTheSkinItIsAPlainEditAndHandlesStayFlat) {
    SkinnedEditForm f;
    TsEdit* e = f.Add(10, "text");
    f.manager->SetActive(false);
    kova::test::PumpMessages();
    EXPECT_FALSE(e->SkinData()->IsSkinned());
    RedrawWindow(e->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    kova::test::PumpMessages();
    EXPECT_EQ(SkinnedEditForm::Screen(e, 5, 11), ColorToRGB(e->Color())) << "the native edit paints its own colour";
    auto round = [&] {
        f.manager->SetActive(true);
        RedrawWindow(f.form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        f.manager->SetActive(false);
        kova::test::PumpMessages();
    };
    round();
    const TFlatCounts counts;
    for (int i = 0; i < 20; ++i) round();
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiNoMore);
}

}  // namespace kova::skin::test
