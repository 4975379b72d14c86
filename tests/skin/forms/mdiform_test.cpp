// Skinned MDI forms through real framework MDI forms under Wine: the MDI
// client's adapter and its area painted from the skin's "MDIAREA", the
// children's frames skinned, a maximised child's icon and buttons in the
// main form's menu line (clicked with the real mouse), and everything
// given back when the skin goes, with the handle counts flat.
#include "skin/forms/mdiform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/menus.h"
#include "skin/controls/editwnd.h"
#include "skin/core/formimages.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/autohook.h"
#include "skin/forms/menuline.h"
#include "skin/forms/provider.h"
#include "skin/forms/titlebuttons.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

using kova::test::PumpFor;
using kova::test::WaitUntil;

namespace {

// The test skin's MDI area (TColor 0x00BBGGRR) and Linen's menu line.
constexpr TColor kMDIArea = 0x00339933;
constexpr TColor kMenuLine = 12174281;

// Linen with an "MDIAREA" section, in a folder of its own.
std::string MDISkinFolder() {
    static const std::string folder = [] {
        const std::string dir = kova::test::TempDir();
        const std::filesystem::path linen = kova::test::SourcePath("src/skin/core/model/internalskins/Linen");
        for (const char* name : {"Master.bmp", "Options.dat"})
            std::filesystem::copy_file(linen / name, std::filesystem::path(dir) / name,
                                       std::filesystem::copy_options::overwrite_existing);
        std::ofstream(std::filesystem::path(dir) / "Options.dat", std::ios::app)
            << "\n[MDIAREA]\nCOLOR=" << kMDIArea << "\nSTATES=1\n";
        return dir;
    }();
    return folder;
}

struct Manager {
    Manager() {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        m->SetSkinName("Linen (internal)");
        m->Model().LoadFolder(MDISkinFolder());
    }
    ~Manager() { m->Free(); }
    TsSkinManager* m;
};

TColor ScreenPixel(POINT at) {
    TWindowDC screen(nullptr);
    return static_cast<TColor>(GetPixel(screen.Get(), at.x, at.y));
}

// A bitmap's pixel as a TColor (clNone, and a failure, outside it).
TColor PixelColor(TBitmap& bitmap, int x, int y) {
    GdiFlush();
    const PixelBuffer32& b = bitmap.Pixels();
    EXPECT_TRUE(x >= 0 && y >= 0 && x < b.Width() && y < b.Height()) << x << "," << y;
    if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return clNone;
    const std::uint32_t v = b.At(x, y);
    return static_cast<TColor>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

TColor CachePixel(TsSkinProvider& p, int x, int y) { return PixelColor(*p.SkinData->CacheBmp, x, y); }

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A skinned MDI main form with a menu and two skinned children, A and B
// (B active).
struct SkinnedMDI {
    SkinnedMDI() {
        Application()->CreateForm(main);
        main->SetFormStyle(fsMDIForm);
        main->SetCaption("");
        auto* bar = new TMainMenu(main);
        for (const char* caption : {"File", "Window"}) {
            auto* item = new TMenuItem(bar);
            item->SetCaption(caption);
            bar->Items()->Add(item);
        }
        main->SetMenu(bar);
        main->SetBounds(60, 40, 560, 440);
        main->HandleNeeded();
        clientProc = GetWindowLongPtrA(main->ClientHandle(), GWLP_WNDPROC);
        pm = new TsSkinProvider(main);
        main->Show();
        a = Child("A", 10);
        b = Child("B", 60);
        SetForegroundWindow(main->Handle());
        WaitUntil([&] { return GetForegroundWindow() == main->Handle(); }, 2000);
        PumpFor(100);
    }
    ~SkinnedMDI() {
        for (TForm* c : {a, b})
            if (c) c->Free();
        main->Free();
        kova::test::PumpMessages();
    }
    TForm* Child(const char* caption, int at) {
        auto* c = TCustomForm::Create<TForm>(Application());
        c->SetFormStyle(fsMDIChild);
        c->SetCaption(caption);
        c->SetBounds(at, at, 220, 160);
        c->OnDestroy = [this, c](TObject*) { (c == a ? a : b) = nullptr; };
        new TsSkinProvider(c);
        c->Show();
        return c;
    }
    HWND wnd() const { return main->Handle(); }
    HWND client() const { return main->ClientHandle(); }
    void Recompose() {
        pm->SkinData->BGChanged = true;
        pm->PaintNonClientCache();
    }
    POINT OnScreen(POINT windowPoint) const {
        RECT wr{};
        GetWindowRect(wnd(), &wr);
        return POINT{wr.left + windowPoint.x, wr.top + windowPoint.y};
    }
    int HitTest(POINT screen) const {
        return static_cast<int>(SendMessageA(wnd(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }
    void Maximize(TForm* c) {
        SendMessageA(client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c->Handle()), 0);
        PumpFor(100);
        Recompose();
    }
    TForm* main = nullptr;
    TForm* a = nullptr;
    TForm* b = nullptr;
    TsSkinProvider* pm = nullptr;
    LONG_PTR clientProc = 0;
};

}  // namespace

// The client gets the MDI adapter and shows the skin's MDI area (in the
// main form's image and on the screen); the children's frames are the
// skinned ones of their own providers.
TEST(SkinnedMDIForms, TheClientShowsTheMDIAreaAndTheChildFramesAreSkinned) {
    Manager mg;
    SkinnedMDI f;
    ASSERT_EQ(MDIProvider, f.pm);
    auto* mdi = dynamic_cast<TsMDIForm*>(f.pm->MDIForm.get());
    ASSERT_NE(mdi, nullptr);
    ASSERT_NE(mdi->MDIAdapter, nullptr);
    EXPECT_EQ(FindAdapter(f.client()), mdi->MDIAdapter.get());
    EXPECT_EQ(mdi->MDIAdapter->MDIForm, f.main);
    EXPECT_EQ(mdi->MDIAdapter->FormProvider, f.pm);

    // The client's bottom right, where no child is: in the main form's
    // image and on the screen.
    RECT cr{};
    GetClientRect(f.client(), &cr);
    POINT corner{cr.right - 10, cr.bottom - 10};
    ClientToScreen(f.client(), &corner);
    RECT wr{};
    GetWindowRect(f.wnd(), &wr);
    f.Recompose();
    EXPECT_EQ(CachePixel(*f.pm, corner.x - wr.left, corner.y - wr.top), kMDIArea);
    RedrawWindow(f.client(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpFor(50);
    EXPECT_EQ(ScreenPixel(corner), kMDIArea);

    // Each child's frame on the screen is its provider's image.
    for (TForm* c : {f.a, f.b}) {
        auto* p = dynamic_cast<TsSkinProvider*>(ProviderOfForm(c));
        ASSERT_NE(p, nullptr);
        ASSERT_TRUE(p->SkinData->CacheBmp) << c->Caption();
        RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        PumpFor(50);
        RECT r{};
        GetWindowRect(c->Handle(), &r);
        // Where B does not cover A: A's left border, B's top border.
        const POINT at = c == f.a ? POINT{1, (r.bottom - r.top) - 10} : POINT{(r.right - r.left) / 2, 1};
        EXPECT_EQ(ScreenPixel(POINT{r.left + at.x, r.top + at.y}), CachePixel(*p, at.x, at.y)) << c->Caption();
    }
}

// A maximised child shows its icon and its three buttons in the main form's
// menu line; the buttons answer their hit codes and restore, minimise and
// close the child when clicked.
TEST(SkinnedMDIForms, AMaximisedChildsButtonsInTheMenuLineAct) {
    Manager mg;
    SkinnedMDI f;
    EXPECT_FALSE(MenuLineMDIMaximized(*f.pm));
    f.Maximize(f.b);
    ASSERT_TRUE(IsZoomed(f.b->Handle()));
    ASSERT_EQ(MaximizedMDIChild(*f.pm), f.b);
    ASSERT_TRUE(MenuLineMDIMaximized(*f.pm));
    const RECT& mn = f.pm->MDIMinButton.Rect;
    const RECT& rs = f.pm->MDIRestoreButton.Rect;
    const RECT& cl = f.pm->MDICloseButton.Rect;
    // Left to right at the form's right edge, on one row below the caption.
    EXPECT_LT(mn.right, rs.left + 1);
    EXPECT_LT(rs.right, cl.left + 1);
    EXPECT_EQ(mn.top, cl.top);
    EXPECT_EQ(rs.top, cl.top);
    RECT wr{};
    GetWindowRect(f.wnd(), &wr);
    EXPECT_LE(cl.right, wr.right - wr.left);
    EXPECT_GT(cl.right, (wr.right - wr.left) - 20);
    EXPECT_GE(cl.top, f.pm->CaptionHeight(true));
    // Drawn over the menu line; the child's icon at its left.
    auto drawn = [&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (CachePixel(*f.pm, x, y) != kMenuLine) return true;
        return false;
    };
    EXPECT_TRUE(drawn(cl));
    EXPECT_TRUE(drawn(rs));
    EXPECT_TRUE(drawn(mn));
    const int bar = f.pm->HasMenuBar();
    const int iconLeft = GetSystemMetrics(SM_CXFRAME);
    EXPECT_TRUE(drawn(RECT{iconLeft, cl.top, iconLeft + bar - 2, cl.top + bar - 4})) << "no child icon";

    const struct {
        const char* what;
        const RECT& rect;
        int code;
    } codes[] = {{"close", cl, kMDICloseHit}, {"restore", rs, kMDIRestoreHit}, {"minimise", mn, kMDIMinHit}};
    for (const auto& c : codes) EXPECT_EQ(f.HitTest(f.OnScreen(Center(c.rect))), c.code) << c.what;

    // The buttons are on the screen, in the form's window.
    ASSERT_EQ(WindowFromPoint(f.OnScreen(Center(rs))), f.wnd());
    ASSERT_EQ(GetForegroundWindow(), f.wnd());
    ASSERT_TRUE(kova::test::MouseClick(f.OnScreen(Center(rs))));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.b->Handle()); }, 2000)) << "not restored";
    EXPECT_FALSE(MenuLineMDIMaximized(*f.pm));

    f.Maximize(f.b);
    ASSERT_TRUE(MenuLineMDIMaximized(*f.pm));
    ASSERT_TRUE(kova::test::MouseClick(f.OnScreen(Center(f.pm->MDIMinButton.Rect))));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(f.b->Handle()) != FALSE; }, 2000)) << "not minimised";

    f.Maximize(f.a);
    ASSERT_TRUE(MenuLineMDIMaximized(*f.pm));
    ASSERT_EQ(MaximizedMDIChild(*f.pm), f.a);
    ASSERT_TRUE(kova::test::MouseClick(f.OnScreen(Center(f.pm->MDICloseButton.Rect))));
    EXPECT_TRUE(WaitUntil([&] { return f.a == nullptr; }, 2000)) << "not closed";
    EXPECT_EQ(f.main->MDIChildCount(), 1);
    EXPECT_FALSE(ButtonPressed);
}

// The child's own maximise button (the form message handler's MDI child
// branch) makes it the maximised child whose buttons the main form's menu
// line shows; activating the other child through the client hands the
// maximised state and the buttons over to it.
TEST(SkinnedMDIForms, ChildTitleButtonsAndActivationReachTheMainFrame) {
    Manager mg;
    SkinnedMDI f;
    auto* pb = dynamic_cast<TsSkinProvider*>(ProviderOfForm(f.b));
    auto* pa = dynamic_cast<TsSkinProvider*>(ProviderOfForm(f.a));
    ASSERT_TRUE(pa && pb);
    ASSERT_TRUE(pb->SysMenuHidden) << "the child's title buttons are not the skin's";
    RECT r{};
    GetWindowRect(f.b->Handle(), &r);
    const POINT max = Center(pb->MaxButton.Rect);
    ASSERT_TRUE(kova::test::MouseClick(POINT{r.left + max.x, r.top + max.y}));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(f.b->Handle()) != FALSE; }, 2000)) << "not maximised";
    EXPECT_EQ(MaxChildProvider, pb);
    EXPECT_TRUE(MenuLineMDIMaximized(*f.pm));
    EXPECT_GT(f.pm->MDICloseButton.Rect.right, 0);

    SendMessageA(f.client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f.a->Handle()), 0);
    PumpFor(50);
    EXPECT_EQ(MaxChildProvider, pa);
    EXPECT_TRUE(IsZoomed(f.a->Handle()));
    EXPECT_EQ(MaximizedMDIChild(*f.pm), f.a);
    EXPECT_TRUE(MenuLineMDIMaximized(*f.pm));
    EXPECT_FALSE(f.pm->SkinData->BGChanged) << "the main frame was not composed again";
}

// A child shown maximised at once brings its buttons into the main form's
// menu line without another message.
TEST(SkinnedMDIForms, AChildShownMaximisedShowsItsButtonsAtOnce) {
    Manager mg;
    SkinnedMDI f;
    auto* c = TCustomForm::Create<TForm>(Application());
    c->SetFormStyle(fsMDIChild);
    c->SetWindowState(wsMaximized);
    new TsSkinProvider(c);
    c->Show();
    PumpFor(80);
    ASSERT_TRUE(IsZoomed(c->Handle()));
    EXPECT_EQ(MaximizedMDIChild(*f.pm), c);
    EXPECT_FALSE(f.pm->SkinData->BGChanged) << "the main frame was not composed again";
    const RECT cl = f.pm->MDICloseButton.Rect;
    ASSERT_GT(cl.right, cl.left);
    EXPECT_EQ(f.HitTest(f.OnScreen(Center(cl))), kMDICloseHit);
    // Gone, the next child takes the maximised place (as the system does).
    c->Free();
    kova::test::PumpMessages();
    EXPECT_EQ(MaximizedMDIChild(*f.pm), f.b);
    EXPECT_EQ(MaxChildProvider, ProviderOfForm(f.b));
}

// A maximised child's own menu, merged into the main form's bar, is drawn
// on the menu line among the main form's items, owner-drawn like them.
TEST(SkinnedMDIForms, AChildsMergedMenuIsDrawnOnTheMenuLine) {
    Manager mg;
    SkinnedMDI f;
    auto* c = TCustomForm::Create<TForm>(Application());
    c->SetFormStyle(fsMDIChild);
    auto* childBar = new TMainMenu(c);
    auto* edit = new TMenuItem(childBar);
    edit->SetCaption("Edit");
    edit->SetGroupIndex(1);
    childBar->Items()->Add(edit);
    c->SetMenu(childBar);
    new TsSkinProvider(c);
    c->Show();
    f.Maximize(c);
    ASSERT_TRUE(MenuLineMDIMaximized(*f.pm));
    const HMENU bar = GetMenu(f.wnd());
    // The child's system menu, File and Window (group 0), Edit (group 1),
    // the child's buttons.
    ASSERT_EQ(TMenuItem::FindByCommand(GetMenuItemID(bar, 3)), edit);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(bar, 3, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    RECT item{}, wr{};
    ASSERT_TRUE(GetMenuItemRect(f.wnd(), bar, 3, &item));
    GetWindowRect(f.wnd(), &wr);
    OffsetRect(&item, -wr.left, -wr.top);
    int drawn = 0;
    for (int y = item.top + 2; y < item.bottom - 2; ++y)
        for (int x = item.left + 2; x < item.right - 2; ++x)
            if (CachePixel(*f.pm, x, y) != kMenuLine) ++drawn;
    EXPECT_GT(drawn, 0) << "the merged item is not on the menu line";
    c->Free();
}

// The picture the animations take of an MDI main form shows its client's
// MDI area and its children as the screen does.
TEST(SkinnedMDIForms, TheFormsPictureHoldsTheClientAndItsChildren) {
    Manager mg;
    SkinnedMDI f;
    RedrawWindow(f.wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(80);
    RECT wr{};
    GetWindowRect(f.wnd(), &wr);
    TBitmap shot(wr.right - wr.left, wr.bottom - wr.top);
    CopyParentBackground(shot, f.main, 0, f.pm, 0);
    GdiFlush();
    RECT cr{}, br{};
    GetClientRect(f.client(), &cr);
    GetWindowRect(f.b->Handle(), &br);
    POINT corner{cr.right - 10, cr.bottom - 10};
    ClientToScreen(f.client(), &corner);
    const POINT inB{(br.left + br.right) / 2, br.bottom - 20};
    const POINT bCaption{(br.left + br.right) / 2, br.top + 3};
    for (POINT at : {corner, inB, bCaption})
        EXPECT_EQ(PixelColor(shot, at.x - wr.left, at.y - wr.top), ScreenPixel(at))
            << at.x - wr.left << "," << at.y - wr.top;
    EXPECT_EQ(PixelColor(shot, corner.x - wr.left, corner.y - wr.top), kMDIArea);
}

// Removing the skin takes the adapter off the client (its own procedure
// back) and the MDI part off the provider; applying it again puts them back.
// Many rounds leave the handle counts where they were.
TEST(SkinnedMDIForms, SkinRemovalGivesTheClientBackAndCountsStayFlat) {
    Manager mg;
    SkinnedMDI f;
    f.Maximize(f.a);
    auto round = [&] {
        mg.m->SetActive(false);
        kova::test::PumpMessages();
        EXPECT_EQ(FindAdapter(f.client()), nullptr);
        EXPECT_EQ(GetWindowLongPtrA(f.client(), GWLP_WNDPROC), f.clientProc);
        EXPECT_EQ(f.pm->MDIForm, nullptr);
        mg.m->SetActive(true);
        kova::test::PumpMessages();
        ASSERT_NE(f.pm->MDIForm, nullptr);
        EXPECT_NE(FindAdapter(f.client()), nullptr);
        SendMessageA(f.client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(f.a->Handle()), 0);
        f.Maximize(f.a);
        RedrawWindow(f.wnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        kova::test::PumpMessages();
    };
    round();
    const THandleCounts handles = LiveHandleCounts();
    const TGuiCounts gui;
    for (int i = 0; i < 10; ++i) round();
    EXPECT_EQ(TransientHandlesChanged(handles), "");
    EXPECT_EQ(gui.ChangedTo(TGuiCounts{}, true), "");
}

// An MDI form and children without providers of their own under the
// default manager's hook: the form's provider brings its children in, and
// a child skinned on its own brings in the main form.
TEST(AutoSkinnedMDI, TheHookSkinsAnMDIFormWithItsChildrenAndAChildsMainForm) {
    InstallAutoSkinning();
    struct TCase {
        const char* Name;
        bool ChildProvider;  // the children come with their own provider
    };
    for (const TCase& c : {TCase{"form first", false}, TCase{"child first", true}}) {
        {
            Manager mg;
            ASSERT_TRUE(mg.m->ThreadHookInstalled()) << c.Name;
            const TacSkinningRules rules = mg.m->SkinningRules;
            // The main form made while the hook leaves forms alone.
            if (c.ChildProvider) mg.m->SkinningRules &= ~static_cast<TacSkinningRules>(srStdForms);
            TForm* main = nullptr;
            Application()->CreateForm(main);
            ASSERT_EQ(Application()->MainForm(), main) << c.Name;
            main->SetFormStyle(fsMDIForm);
            main->SetBounds(60, 40, 520, 400);
            main->HandleNeeded();
            std::vector<TForm*> children;
            const auto child = [&](int at) {
                auto* f = TCustomForm::Create<TForm>(Application());
                f->SetFormStyle(fsMDIChild);
                f->SetBounds(at, at, 200, 140);
                if (c.ChildProvider) new TsSkinProvider(f);
                f->Show();
                children.push_back(f);
            };
            if (c.ChildProvider) {
                main->Show();
                kova::test::PumpMessages();
                mg.m->SkinningRules = rules;
                ASSERT_EQ(ProviderOfForm(main), nullptr) << c.Name;
                child(10);
                // The child's creation handed the main form to the hook.
                EXPECT_NE(ProviderOfForm(main), nullptr) << c.Name;
                EXPECT_NE(FindProviderOfWindow(main->Handle()), nullptr) << c.Name;
            } else {
                const auto skinned = [&](TCustomForm* f) {
                    EXPECT_NE(ProviderOfForm(f), nullptr) << c.Name;
                    EXPECT_NE(FindProviderOfWindow(f->Handle()), nullptr) << c.Name;
                    EXPECT_EQ(SendSkinCommand(f->Handle(), scQuerySupport, 0), 1) << c.Name;
                };
                // The main form is taken when it is first activated, with
                // the children it has by then.
                child(10);
                ASSERT_EQ(ProviderOfForm(children[0]), nullptr) << c.Name;
                main->Show();
                kova::test::PumpMessages();
                skinned(main);
                skinned(children[0]);
                // One made while it is hidden is taken when it shows again.
                main->Hide();
                child(50);
                ASSERT_EQ(ProviderOfForm(children[1]), nullptr) << c.Name;
                main->Show();
                kova::test::PumpMessages();
                skinned(children[1]);
            }
            for (TForm* f : children) f->Free();
            main->Free();
            kova::test::PumpMessages();
        }
        ResetSkinServices();
        InstallAutoSkinning();
    }
    ResetSkinServices();
}

}  // namespace kova::skin::test
