// A skinned form's child controls on real windows: which controls get the
// adapter their class's list calls for (and which keep their look), the
// provider's veto, the skinning rules, controls placed later, recreated
// windows, the skin going, the edit adapter's frame and colours read back,
// the adapters of the other control families on one form, and the MDI
// client's adapter on a native MDICLIENT.
#include "skin/forms/ctrladapter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <commctrl.h>

#include "../core/handlecheck.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/stdctrls.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/listwnd.h"
#include "skin/controls/smallctrls.h"
#include "skin/controls/speedbtn.h"
#include "skin/controls/tabwnd.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {

// An edit of the program's own under a name no list holds.
class TMyEdit : public TEdit {
    KOVA_CLASS(TMyEdit, TEdit)
public:
    using TEdit::TEdit;
};

// The framework shows no list view of its own: a stand-in under the list's
// class name on the native list view.
class TListView : public TWinControl {
    KOVA_CLASS(TListView, TWinControl)
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        CreateSubClass(p, WC_LISTVIEWA);
        p.Style |= LVS_REPORT;
    }
};

// A control of a listed class whose adapter does not take.
class TRefusingStandIn : public TWinControl {
    KOVA_CLASS(TRefusingStandIn, TWinControl)
public:
    using TWinControl::TWinControl;
};

// An edit that makes its window anew on each of the next `Armed` font
// changes (as a control that keeps its font in its window class would);
// the count only stops a loop from hanging the test.
class TRecreatingEdit : public TEdit {
    KOVA_CLASS(TRecreatingEdit, TEdit)
public:
    using TEdit::TEdit;
    int Armed = 0;
    int Recreated = 0;

protected:
    void HandleMessage(TMessage& m) override {
        TEdit::HandleMessage(m);
        if (m.Msg == CM_FONTCHANGED && Armed > 0 && HandleAllocated()) {
            --Armed;
            ++Recreated;
            RecreateWnd();
        }
    }
};

namespace {

struct Manager {
    Manager() {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        // The edit and scroll-box lists as the program's main manager
        // stores them.
        m->ThirdParty.Lists[0] = "TEdit\nTMemo\nTMaskEdit\nTListBox\nTCheckListBox";
        m->ThirdParty.Lists[18] = "TScrollBox";
        m->UpdateThirdPartyLists();
        m->SetSkinName("Linen (internal)");
    }
    ~Manager() { m->Free(); }
    TsSkinManager* m;
};

template <class T>
T* Place(TForm* form, TWinControl* parent, int top, std::intptr_t tag = 0) {
    auto* c = new T(form);
    c->SetTag(tag);
    c->SetBounds(10, top, 120, 40);
    c->SetParent(parent);
    return c;
}

struct SkinnedForm {
    explicit SkinnedForm(bool withProvider = true) {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(100, 80, 420, 420);
        form->HandleNeeded();
        edit = Place<TEdit>(form, form, 10);
        memo = Place<TMemo>(form, form, 60);
        list = Place<TListBox>(form, form, 110);
        box = Place<TScrollBox>(form, form, 160);
        nested = Place<TEdit>(form, box, 2);
        mine = Place<TMyEdit>(form, form, 210);
        skipped = Place<TEdit>(form, form, 260, -98);
        label = new TLabel(form);
        label->SetParent(form);
        label->SetControlStyle(label->ControlStyle() | csOpaque);
        form->Show();
        if (withProvider) MakeProvider();
        kova::test::PumpMessages();
    }
    // As a form description makes it: the provider is loaded with the form.
    void MakeProvider() {
        provider = new TsSkinProvider(form);
        provider->Loaded();
    }
    ~SkinnedForm() { form->Free(); }
    TacCtrlAdapter* Adapter() const { return provider ? static_cast<TacCtrlAdapter*>(provider->Adapter.get()) : nullptr; }
    TForm* form;
    TsSkinProvider* provider = nullptr;
    TEdit *edit, *nested, *mine, *skipped;
    TMemo* memo;
    TListBox* list;
    TScrollBox* box;
    TLabel* label;
};

TacEditWnd* EditAdapterOf(TWinControl* c) { return dynamic_cast<TacEditWnd*>(FindAdapter(c->Handle())); }

class CtrlAdapterTest : public ::testing::Test {
protected:
    void TearDown() override { ResetSkinServices(); }
};

TEST_F(CtrlAdapterTest, ListedClassesGetTheirAdapterAndTheOthersKeepTheirLook) {
    Manager manager;
    SkinnedForm f;
    ASSERT_NE(f.Adapter(), nullptr);
    EXPECT_EQ(ThirdPartyIndexOf(*manager.m, "TEdit"), 0);
    EXPECT_EQ(ThirdPartyIndexOf(*manager.m, "TMyEdit"), -1);
    struct Case {
        const char* what;
        TWinControl* control;
        const char* section;  // nullptr: no adapter
    };
    const Case cases[] = {
        {"edit", f.edit, "EDIT"},         {"memo", f.memo, "EDIT"},          {"list box", f.list, "EDIT"},
        {"scroll box", f.box, "PANEL_LOW"}, {"edit in the box", f.nested, "EDIT"}, {"unlisted class", f.mine, nullptr},
        {"tag -98", f.skipped, nullptr},
    };
    for (const Case& c : cases) {
        TacEditWnd* a = EditAdapterOf(c.control);
        if (!c.section) {
            EXPECT_EQ(FindAdapter(c.control->Handle()), nullptr) << c.what;
            continue;
        }
        ASSERT_NE(a, nullptr) << c.what;
        EXPECT_EQ(a->CommonData->SkinSection(), c.section) << c.what;
        EXPECT_FALSE(a->Detached) << c.what;
    }
    EXPECT_EQ(f.Adapter()->ItemCount(), 5);
    EXPECT_FALSE(f.label->ControlStyle() & csOpaque) << "labels become transparent";
    EXPECT_EQ(f.label->Font()->Color(),
              static_cast<kova::TColor>(manager.m->Model().ColorToRGB(manager.m->Model().GlobalInfoFontColor())));
}

TEST_F(CtrlAdapterTest, TheVetoAndTheSkinningRulesDecide) {
    Manager manager;
    {
        SkinnedForm f(false);
        f.provider = new TsSkinProvider(f.form);
        f.provider->OnSkinItem = [&](TComponent* item, bool& can, std::string& section) {
            if (item == f.memo) can = false;
            if (item == f.box) section = "panel";
        };
        f.provider->CreateCtrlAdapter();
        EXPECT_EQ(FindAdapter(f.memo->Handle()), nullptr);
        ASSERT_NE(EditAdapterOf(f.box), nullptr);
        EXPECT_EQ(EditAdapterOf(f.box)->CommonData->SkinSection(), "PANEL");
        EXPECT_NE(EditAdapterOf(f.edit), nullptr);
    }
    manager.m->SkinningRules = srStdForms | srStdDialogs;
    SkinnedForm f;
    ASSERT_NE(f.Adapter(), nullptr);
    EXPECT_EQ(f.Adapter()->ItemCount(), 0);
    EXPECT_EQ(FindAdapter(f.edit->Handle()), nullptr);
}

TEST_F(CtrlAdapterTest, AControlPlacedLaterAndARecreatedWindowGetOneAdapter) {
    Manager manager;
    SkinnedForm f;
    auto* later = Place<TEdit>(f.form, f.form, 310);
    ASSERT_NE(EditAdapterOf(later), nullptr) << "placed on the skinned form later";
    const int items = f.Adapter()->ItemCount();

    f.edit->RecreateWnd();
    f.edit->HandleNeeded();
    f.Adapter()->AdaptChildren(nullptr);
    EXPECT_EQ(f.Adapter()->ItemCount(), items);
    TacEditWnd* a = EditAdapterOf(f.edit);
    ASSERT_NE(a, nullptr);
    int forEdit = 0;
    for (int i = 0; i < f.Adapter()->ItemCount(); ++i) forEdit += f.Adapter()->GetItem(i)->Control == f.edit;
    EXPECT_EQ(forEdit, 1);
}

// Controls placed while the walk runs (by the veto handler when it is
// asked, and while an adapter is made that does not take) are adapted
// inside the walk: every control ends with one item and its adapter, and
// the control whose adapter did not take has none (its item is found by
// pointer, not taken to be the last one).
TEST_F(CtrlAdapterTest, ControlsPlacedDuringTheWalkLeaveTheItemsWhole) {
    Manager manager;
    manager.m->ThirdParty.Lists[5] = "TRefusingStandIn";
    manager.m->UpdateThirdPartyLists();
    SkinnedForm f(false);
    auto* refusing = Place<TRefusingStandIn>(f.form, f.form, 310);
    refusing->HandleNeeded();
    TEdit* byHandler = nullptr;
    TEdit* byMaker = nullptr;
    bool adaptedInside = false;
    TacAdapterMaker& slot = CtrlAdapterFactories()[5];
    struct TRestore {
        TacAdapterMaker& slot;
        TacAdapterMaker saved;
        ~TRestore() { slot = std::move(saved); }
    } restore{slot, slot};
    slot = [&](TWinControl*, TsCommonData*, TsSkinManager*, const std::string&) -> std::unique_ptr<TacMainWnd> {
        if (!byMaker) {
            byMaker = Place<TEdit>(f.form, f.form, 350);
            adaptedInside = EditAdapterOf(byMaker) != nullptr;
        }
        return nullptr;
    };
    f.provider = new TsSkinProvider(f.form);
    f.provider->OnSkinItem = [&](TComponent* item, bool&, std::string&) {
        if (item == f.memo && !byHandler) byHandler = Place<TEdit>(f.form, f.form, 380);
    };
    f.provider->CreateCtrlAdapter();
    ASSERT_NE(f.Adapter(), nullptr);
    ASSERT_NE(byHandler, nullptr);
    ASSERT_NE(byMaker, nullptr);
    EXPECT_TRUE(adaptedInside) << "the control placed while an adapter was made waited for the walk";

    const TWinControl* adapted[] = {f.edit, f.memo, f.list, f.box, f.nested, byHandler, byMaker};
    EXPECT_EQ(f.Adapter()->ItemCount(), static_cast<int>(std::size(adapted)));
    for (const TWinControl* c : adapted) {
        int items = 0;
        for (int i = 0; i < f.Adapter()->ItemCount(); ++i) {
            const TacAdapterItem* item = f.Adapter()->GetItem(i);
            if (item->Control != c) continue;
            ++items;
            EXPECT_NE(item->WindowAdapter, nullptr) << c->ClassName();
        }
        EXPECT_EQ(items, 1) << c->ClassName();
    }
    for (int i = 0; i < f.Adapter()->ItemCount(); ++i)
        EXPECT_NE(f.Adapter()->GetItem(i)->Control, refusing) << "the control without an adapter kept its item";
    EXPECT_EQ(FindAdapter(refusing->Handle()), nullptr);
    EXPECT_NE(EditAdapterOf(byHandler), nullptr);
    EXPECT_NE(EditAdapterOf(byMaker), nullptr);
}

// The children of a skinned form paint once the form's background is
// painted: the form's own paint (its window only, as the system asks it)
// paints the background from the skin and then tells its children with
// sub-code 6, which is when they apply the skin's parameters and paint.
void FormRepaints(SkinnedForm& f) {
    RedrawWindow(f.form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    kova::test::PumpMessages();
}

// The skin's font colour given to an edit whose window that change makes
// anew while the adapter applies the skin's parameters: the adapter of the
// old window stops there, and exactly one new adapter serves the new
// window, with the skin's colours.
TEST_F(CtrlAdapterTest, AFontColourThatRecreatesTheWindowLeavesOneAdapter) {
    Manager manager;
    manager.m->ThirdParty.Lists[0] += "\nTRecreatingEdit";
    manager.m->UpdateThirdPartyLists();
    SkinnedForm f(false);
    auto* edit = Place<TRecreatingEdit>(f.form, f.form, 310);
    edit->Font()->SetColor(0x00123456);
    edit->HandleNeeded();
    edit->Armed = 1;
    const HWND first = edit->Handle();
    f.MakeProvider();
    kova::test::PumpMessages();
    FormRepaints(f);
    ASSERT_NE(f.Adapter(), nullptr);

    EXPECT_EQ(edit->Recreated, 1);
    EXPECT_NE(edit->Handle(), first);
    EXPECT_EQ(FindAdapter(first), nullptr);
    TacEditWnd* a = EditAdapterOf(edit);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->Detached);
    EXPECT_EQ(a->WindowHandle, edit->Handle());
    int items = 0;
    for (int i = 0; i < f.Adapter()->ItemCount(); ++i)
        if (f.Adapter()->GetItem(i)->Control == edit) {
            ++items;
            EXPECT_EQ(f.Adapter()->GetItem(i)->WindowAdapter.get(), a);
        }
    EXPECT_EQ(items, 1);
    const TsSkinModel& skin = manager.m->Model();
    const int edits = skin.IndexOfSection("EDIT");
    ASSERT_GE(edits, 0);
    EXPECT_EQ(edit->Font()->Color(),
              static_cast<kova::TColor>(skin.ColorToRGB(skin.Sections()[static_cast<std::size_t>(edits)].FontColors[0])));
    // Painting and the skin's next parameters keep it as it is.
    a->SetSkinParams();
    FormRepaints(f);
    EXPECT_EQ(edit->Recreated, 1);
    EXPECT_EQ(EditAdapterOf(edit), a);
}

// An edit that makes its window anew on every font change: the adapter of
// the new window finds the control's own colours kept in its record and
// the skin's already shown, so nothing changes again (the old adapter
// gave nothing back as its window went); the skin's removal gives the
// control its own colours, not the skin's.
TEST_F(CtrlAdapterTest, AControlRemadeOnEveryFontChangeIsRemadeOnceAndGetsItsOwnColoursBack) {
    Manager manager;
    manager.m->ThirdParty.Lists[0] += "\nTRecreatingEdit";
    manager.m->UpdateThirdPartyLists();
    SkinnedForm f(false);
    auto* edit = Place<TRecreatingEdit>(f.form, f.form, 310);
    const kova::TColor ownColour = 0x00654321, ownFont = 0x00123456;
    edit->SetColor(ownColour);
    edit->Font()->SetColor(ownFont);
    edit->HandleNeeded();
    edit->Armed = 50;
    f.MakeProvider();
    kova::test::PumpMessages();
    FormRepaints(f);
    ASSERT_NE(f.Adapter(), nullptr);
    EXPECT_EQ(edit->Recreated, 1);
    TacEditWnd* a = EditAdapterOf(edit);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->WindowHandle, edit->Handle());
    EXPECT_NE(edit->Font()->Color(), ownFont);
    EXPECT_NE(edit->Color(), ownColour);
    a->SetSkinParams();
    FormRepaints(f);
    EXPECT_EQ(edit->Recreated, 1);
    EXPECT_EQ(EditAdapterOf(edit), a);

    manager.m->SetActive(false);
    kova::test::PumpMessages();
    EXPECT_EQ(edit->Color(), ownColour);
    EXPECT_EQ(edit->Font()->Color(), ownFont);
    EXPECT_EQ(edit->Recreated, 2) << "once more for its own font";
    EXPECT_EQ(FindAdapter(edit->Handle()), nullptr);
}

TEST_F(CtrlAdapterTest, TheEditPaintsFromTheSkinAndTheNativeLookComesBack) {
    Manager manager;
    const kova::TColor before = 0x00123456;
    SkinnedForm f(false);
    f.edit->SetColor(before);
    f.edit->Font()->SetColor(0x00010203);
    f.MakeProvider();
    kova::test::PumpMessages();
    TacEditWnd* a = EditAdapterOf(f.edit);
    ASSERT_NE(a, nullptr);
    FormRepaints(f);
    ASSERT_TRUE(a->ParamsApplied) << "the first frame paint applies the skin's colours";
    EXPECT_EQ(f.edit->Color(), static_cast<kova::TColor>(a->CommonData->BackgroundColorFor(0, f.edit->Handle())));
    EXPECT_NE(f.edit->Color(), before);

    // The frame as the window prints it is the section's cache.
    RECT wr{};
    GetWindowRect(f.edit->Handle(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    TBitmap shot;
    shot.SetSize(w, h);
    SendMessageA(f.edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    ASSERT_NE(a->CommonData->CacheBmp, nullptr);
    HDC cache = a->CommonData->CacheBmp->Canvas()->Handle();
    for (POINT p : {POINT{0, h / 2}, POINT{1, 1}, POINT{w / 2, h - 1}})
        EXPECT_EQ(GetPixel(shot.Canvas()->Handle(), p.x, p.y), GetPixel(cache, p.x, p.y)) << p.x << "," << p.y;
    // And on the screen.
    TWindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.Get(), wr.left, wr.top + h / 2), GetPixel(cache, 0, h / 2));

    manager.m->SetActive(false);
    kova::test::PumpMessages();
    EXPECT_EQ(FindAdapter(f.edit->Handle()), nullptr);
    EXPECT_EQ(f.edit->Color(), before);
    EXPECT_EQ(f.edit->Font()->Color(), 0x00010203);
    EXPECT_EQ(f.provider->Adapter, nullptr);
    manager.m->SetActive(true);
    kova::test::PumpMessages();
    EXPECT_NE(EditAdapterOf(f.edit), nullptr) << "the next skin adapts the form again";
}

// A child that waits for its form (its update flag set, as a child that
// asked while the form's background was held back) stays unpainted with
// its own colour through its own repaints, and applies the skin and paints
// once the form's paint has painted the form's background from the skin.
TEST_F(CtrlAdapterTest, AWaitingChildPaintsAfterTheFormsBackground) {
    Manager manager;
    SkinnedForm f;
    FormRepaints(f);
    TacEditWnd* a = EditAdapterOf(f.edit);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(a->ParamsApplied);
    const kova::TColor skinned = f.edit->Color();
    const kova::TColor own = 0x00204060;
    f.edit->SetColor(own);
    a->ParamsApplied = false;
    a->CommonData->Updating = true;
    RedrawWindow(f.edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    kova::test::PumpMessages();
    EXPECT_TRUE(a->CommonData->Updating) << "nothing but the form ends the wait";
    EXPECT_EQ(f.edit->Color(), own);

    FormRepaints(f);
    EXPECT_FALSE(a->CommonData->Updating);
    EXPECT_TRUE(a->ParamsApplied);
    EXPECT_EQ(f.edit->Color(), skinned);
    // The form's client area around its children shows the skin's form
    // colour.
    POINT free{f.form->ClientWidth() - 8, f.form->ClientHeight() - 8};
    ClientToScreen(f.form->Handle(), &free);
    TWindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.Get(), free.x, free.y), ColorToRGB(f.provider->FormColor()));
}

// A form whose frame the system draws still has its client background
// from the skin, also when its provider started out waiting (as the
// provider of a form being loaded does).
TEST_F(CtrlAdapterTest, AFormWithTheSystemsFramePaintsItsBackgroundFromTheSkin) {
    Manager manager;
    SkinnedForm f;
    f.provider->SetDrawNonClientArea(false);
    // The form's own colour differs from the skin's, and what was on the
    // screen before differs from both.
    f.form->SetColor(0x000000FF);
    kova::test::PumpMessages();
    const POINT free{f.form->ClientWidth() - 8, f.form->ClientHeight() - 8};
    {
        TWindowDC dc(f.form->Handle());
        const RECT spot{free.x - 2, free.y - 2, free.x + 3, free.y + 3};
        TGdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 255, 0)));
        FillRect(dc.Get(), &spot, green.Get());
    }
    f.provider->SkinData->Updating = true;
    FormRepaints(f);
    EXPECT_FALSE(f.provider->SkinData->Updating);
    POINT at = free;
    ClientToScreen(f.form->Handle(), &at);
    TWindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.Get(), at.x, at.y), ColorToRGB(f.provider->FormColor()));
}

TEST_F(CtrlAdapterTest, FocusByClickAndTypingKeepTheSkinnedMemo) {
    Manager manager;
    SkinnedForm f;
    FormRepaints(f);
    TacEditWnd* a = EditAdapterOf(f.memo);
    ASSERT_NE(a, nullptr);
    RECT r{};
    GetWindowRect(f.memo->Handle(), &r);
    SetForegroundWindow(f.form->Handle());
    ASSERT_TRUE(kova::test::MouseClick(POINT{r.left + 20, r.top + 12}, f.memo->Handle()));
    ASSERT_TRUE(kova::test::WaitUntil([&] { return GetFocus() == f.memo->Handle(); }, 3000));
    for (char ch : std::string("abc")) SendMessageA(f.memo->Handle(), WM_CHAR, static_cast<WPARAM>(ch), 0);
    kova::test::PumpMessages();
    EXPECT_EQ(f.memo->Text(), "abc");
    EXPECT_EQ(EditAdapterOf(f.memo), a);
    EXPECT_FALSE(a->Detached);
    // The frame stays the skin's while focused.
    TWindowDC screen(nullptr);
    EXPECT_EQ(GetPixel(screen.Get(), r.left, (r.top + r.bottom) / 2),
              GetPixel(a->CommonData->CacheBmp->Canvas()->Handle(), 0, (r.bottom - r.top) / 2));
}

TEST_F(CtrlAdapterTest, HandleCountsStayFlatOverSkinRounds) {
    Manager manager;
    SkinnedForm f;
    auto round = [&] {
        manager.m->SetActive(false);
        manager.m->SetActive(true);
        RedrawWindow(f.form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        kova::test::PumpMessages();
    };
    round();
    const TFlatCounts counts;
    for (int i = 0; i < 20; ++i) round();
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiNoMore);
}

TEST_F(CtrlAdapterTest, TheMDIClientShowsTheSkinAndStepsFromTheLastPosition) {
    Manager manager;
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 80, 300, 300);
    form->HandleNeeded();
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 200,
                                  form->Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
    ASSERT_NE(client, nullptr);
    form->Show();
    {
        auto a = CreateAdapter<TacMDIWnd>(client, nullptr, manager.m, "MDIAREA");
        a->MDIForm = form;
        ASSERT_EQ(FindAdapter(client), a.get());
        TBitmap shot;
        shot.SetSize(50, 50);
        EXPECT_EQ(SendMessageA(client, WM_ERASEBKGND, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0), 1);
        const COLORREF want = ColorToRGB(static_cast<kova::TColor>(manager.m->Model().ColorToRGB(manager.m->Model().GlobalInfoColor())));
        EXPECT_EQ(GetPixel(shot.Canvas()->Handle(), 10, 10), want);
        // A first thumb position of 3 scrolls by 3 steps of 8 pixels, not
        // 4; the next one from there.
        HWND child = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 10, 100, 20, 20, client, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        auto childTop = [&] {
            RECT r{};
            GetWindowRect(child, &r);
            POINT p{r.left, r.top};
            ScreenToClient(client, &p);
            return p.y;
        };
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        si.nMin = 0;
        si.nMax = 100;
        si.nPage = 10;
        si.nPos = 3;
        SetScrollInfo(client, SB_VERT, &si, FALSE);
        SendMessageA(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
        EXPECT_EQ(a->LastTrackPos, 3);
        EXPECT_EQ(childTop(), 100 - 3 * 8);
        si.nPos = 5;
        SetScrollInfo(client, SB_VERT, &si, FALSE);
        SendMessageA(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
        EXPECT_EQ(childTop(), 100 - 5 * 8);
        EXPECT_EQ(SendMessageA(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 9), 0), 0);
        EXPECT_EQ(childTop(), 100 - 5 * 8) << "dragging the thumb waits for its release";
        DestroyWindow(child);
    }
    EXPECT_EQ(FindAdapter(client), nullptr);
    form->Free();
}


// The tab test skin (its tabs plain colours) with a form section, which a
// provider needs to skin its form, as a folder skin in a scratch directory.
class TabSkinWithAForm {
public:
    TabSkinWithAForm() {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() /
               ("kova-ctrladapter-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        const fs::path source = kova::test::SourcePath("tests/skin/fixtures/tabskin");
        fs::create_directories(dir_ / "Tabs");
        fs::copy_file(source / "Master.bmp", dir_ / "Tabs/Master.bmp");
        std::ifstream in(source / "Options.dat", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf() << "\r\n[FORM]\r\nCOLOR=12632256\r\nSTATES=1\r\n";
        std::ofstream out(dir_ / "Tabs/Options.dat", std::ios::binary);
        out << text.str();
    }
    ~TabSkinWithAForm() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path() const { return dir_.string(); }

private:
    std::filesystem::path dir_;
};

// A form holding a page control, a panel, a list view and a speed button:
// each gets the adapter (or handler) of its class's list (the page
// control's strip then shows the skin's colours), and the skin going takes
// them off.
TEST_F(CtrlAdapterTest, PagePanelListViewAndSpeedButtonGetTheAdaptersOfTheirLists) {
    Manager manager;
    manager.m->ThirdParty.Lists[7] = "TListView";
    manager.m->ThirdParty.Lists[8] = "TPanel";
    manager.m->ThirdParty.Lists[13] = "TPageControl";
    manager.m->ThirdParty.Lists[17] = "TSpeedButton";
    manager.m->UpdateThirdPartyLists();
    TabSkinWithAForm skin;
    manager.m->SetSkinDirectory(skin.Path());
    manager.m->SetSkinName("Tabs");
    ASSERT_GT(manager.m->Model().ConstData().Tabs[0].Section, 0);

    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(100, 80, 460, 420);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(8, 8, 300, 160);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
        sheet->SetCaption("Page" + std::to_string(i));
    }
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(8, 180, 200, 60);
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(8, 250, 200, 100);
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(320, 8, 60, 24);
    form->Show();
    auto* provider = new TsSkinProvider(form);
    provider->Loaded();
    kova::test::PumpMessages();

    struct Case {
        const char* what;
        TWinControl* control;
        bool (*isItsAdapter)(TacMainWnd*);
    };
    const Case cases[] = {
        {"page control", pages, [](TacMainWnd* a) { return dynamic_cast<TacPageControlWnd*>(a) != nullptr; }},
        {"panel", panel, [](TacMainWnd* a) { return dynamic_cast<TacPanelWnd*>(a) != nullptr; }},
        {"list view", list, [](TacMainWnd* a) { return dynamic_cast<TacListViewWnd*>(a) != nullptr; }},
    };
    for (const Case& c : cases) {
        TacMainWnd* a = FindAdapter(c.control->Handle());
        ASSERT_NE(a, nullptr) << c.what;
        EXPECT_TRUE(c.isItsAdapter(a)) << c.what;
        EXPECT_FALSE(a->Detached) << c.what;
    }
    {
        auto& tabs = static_cast<TacTabControlWnd&>(*FindAdapter(pages->Handle()));
        TBitmap shot;
        RECT wr{};
        GetWindowRect(pages->Handle(), &wr);
        shot.SetSize(wr.right - wr.left, wr.bottom - wr.top);
        SendMessageA(pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()),
                     PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        const RECT sel = tabs.TabItemRect(0, true);
        const RECT other = tabs.TabItemRect(1, false);
        // TABTOP of the tab test skin: selected and normal.
        EXPECT_EQ(GetPixel(shot.Canvas()->Handle(), sel.left + 5, sel.top + 5) & 0xFFFFFF, 49152u);
        EXPECT_EQ(GetPixel(shot.Canvas()->Handle(), other.left + 5, other.top + 5) & 0xFFFFFF, 192u);
    }
    // The speed button, a graphic control, gets its handler.
    auto* adapter = static_cast<TacCtrlAdapter*>(provider->Adapter.get());
    ASSERT_EQ(adapter->GraphItems.size(), 1u);
    EXPECT_EQ(adapter->GraphItems[0]->Control, button);
    auto* handler = dynamic_cast<TacSpeedButtonHandler*>(adapter->GraphItems[0]->Handler.get());
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->Button, button);
    EXPECT_EQ(adapter->GraphItems[0]->SkinData->SkinSection(), "SPEEDBUTTON");
    manager.m->SetActive(false);
    kova::test::PumpMessages();
    for (const Case& c : cases) EXPECT_EQ(FindAdapter(c.control->Handle()), nullptr) << c.what;
    EXPECT_EQ(provider->Adapter, nullptr);
    form->Free();
}


}  // namespace
}  // namespace kova::skin::test
