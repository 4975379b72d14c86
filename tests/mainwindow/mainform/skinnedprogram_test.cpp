// The whole program skinned, seen through the real main form: every page
// visited (the Poker Room pages' own page controls too), every windowed
// control of a class the skin manager adapts carrying its adapter of the
// right kind, the plain labels see-through in the skin's font colour, the
// run-time editor rows skinned edits; twenty skin switches with every page
// visited between leave the GDI objects and windows where they were. The
// program's own dialogs, opened from the main form as a user opens them,
// come skinned: the About window, the TOI settings, the calculator with its
// player frames and the model editor, and a real question box. The hint
// manager sets the application's hint pauses.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/grids.h"
#include "framework/hints.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/mainformtesting.h"
#include "model/calcfixtures.h"
#include "pushfold/forms/calcform.h"
#include "pushfold/forms/modelform.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/combownd.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/listwnd.h"
#include "skin/controls/sedit.h"
#include "skin/controls/smallctrls.h"
#include "skin/controls/tabwnd.h"
#include "skin/core/handlecheck.h"
#include "skin/core/skinstate.h"
#include "skin/forms/autohook.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/dlgwnd.h"
#include "skin/forms/provider.h"

namespace {

using namespace kova;
using namespace kova::test;
namespace pf = kova::pushfold::forms;

constexpr const char* kTableClass = "KovaSkinnedProgramTable";

// The adapter kind each of the manager's class lists calls for, by the
// list's index; null for the lists whose classes get none on a window.
using TAdapterCheck = bool (*)(skin::TacMainWnd*);
template <class T>
bool Is(skin::TacMainWnd* a) {
    return dynamic_cast<T*>(a) != nullptr;
}
constexpr TAdapterCheck kExpectedAdapter[] = {
    Is<skin::TacEditWnd>,         // edits, memos, list boxes
    Is<skin::TacBtnWnd>,          // buttons
    Is<skin::TacBitBtnWnd>,       // bit buttons
    Is<skin::TacCheckBoxWnd>,     // check boxes, radio buttons
    Is<skin::TacComboBoxWnd>,     // combo boxes
    Is<skin::TacGridWnd>,         // grids
    Is<skin::TacGroupBoxWnd>,     // group boxes, radio groups
    Is<skin::TacListViewWnd>,     // list views
    Is<skin::TacPanelWnd>,        // panels
    Is<skin::TacTreeViewWnd>,     // tree views
    nullptr,                      // (unused by the program)
    nullptr,                      // (unused by the program)
    nullptr,                      // (unused by the program)
    Is<skin::TacPageControlWnd>,  // page controls
    Is<skin::TacTabControlWnd>,   // tab controls
    nullptr,                      // tool bars: two kinds
    Is<skin::TacStatusBarWnd>,    // status bars
    nullptr,                      // speed buttons: not windows
    Is<skin::TacEditWnd>,         // scroll boxes
    Is<skin::TacSpinWnd>,         // up-downs
};
static_assert(std::size(kExpectedAdapter) == skin::kThirdPartyKinds);

// What is wrong with a window's skinning, empty when nothing is: a page
// carries a page adapter, a skinned edit its own skinned record, a
// control of a listed class the adapter its list calls for.
std::string SkinningFault(TWinControl* c, const skin::TsSkinManager& manager) {
    const std::string name = c->Name() + " (" + c->ClassName() + ")";
    if (c->Is<TCustomForm>()) return "";  // a form of its own: skinned by its own provider
    if (!c->HandleAllocated()) return name + " has no window; ";
    skin::TacMainWnd* adapter = skin::FindAdapter(c->Handle());
    if (auto* edit = dynamic_cast<skin::TsEdit*>(c))
        return edit->SkinData() && edit->SkinData()->IsSkinned() ? "" : name + " is not skinned; ";
    if (c->Is<TTabSheet>()) return dynamic_cast<skin::TacPageWnd*>(adapter) ? "" : name + " has no page adapter; ";
    const int list = skin::ThirdPartyIndexOf(manager, c->ClassName());
    if (list < 0 || c->Tag() == -98) return "";
    if (!adapter) return name + " has no adapter; ";
    const TAdapterCheck expected = kExpectedAdapter[list];
    if (expected && !expected(adapter)) return name + " has an adapter of another kind: " + adapter->ClassName() + "; ";
    return "";
}

class SkinnedProgram : public MainFormTesting {
protected:
    void SetUp() override {
        MainFormTesting::SetUp();
        SkinLikeTheProgram();
    }
    void TearDown() override {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = 0;
        WhileShown = nullptr;
        pf::CloseAllCalculators();
        MainFormTesting::TearDown();
    }

    // The main form over a config of two slots and one poker room, in
    // front and active.
    void OpenSkinned() {
        WriteFile(Path("PlaceConfig.cnfg"),
                  PlaceConfigFile({TestConfigData{"Main", {TestGroupData{"Tables", "Test Table", kTableClass,
                                                                         {{20, 30, 420, 320}, {460, 30, 420, 320}}}}}},
                                  0));
        WriteFile(Path("PokerRooms.kov"), PokerRoomRecord("Test Room", kTableClass));
        WriteUserIni();
        Open();
        ASSERT_NE(form_->sSkinProvider1, nullptr);
        manager_ = form_->sSkinManager1;
        ASSERT_NE(manager_, nullptr);
        SetForegroundWindow(form_->Handle());
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == form_->Handle(); }, 3000));
        PumpMessages();
    }

    // Every sheet of the page control shown by a click on its tab, and the
    // sheets of the page controls on it likewise. The Poker Room page
    // shows its editing tabs once a room is opened for editing; on the
    // first visit a window size and a hotkey click are added, so that its
    // run-time rows exist.
    void VisitAll(TPageControl* pages) {
        for (int i = 0; i < pages->PageCount(); ++i) {
            TTabSheet* sheet = pages->Pages(i);
            if (!sheet->TabVisible()) continue;
            ShowPage(pages, sheet);
            PumpMessages();
            if (Contains(sheet, form_->Rooms().PageControl3)) OpenRoomForEditing();
            for (TPageControl* inner : PageControlsOn(sheet)) VisitAll(inner);
        }
    }

    void OpenRoomForEditing() {
        Select(form_->PokerRoomListBox, 0);
        Click("EditPokerRoomBtn");
        PumpMessages();
        if (roomRowsAdded_) return;
        roomRowsAdded_ = true;
        Click("AddWindowSizeBtn");
        NameAnswers = {NameAnswer{"Fold"}};
        OnModalForm = [](TCustomForm*) {
            TDialogAnswer a;
            a.result = mrOk;
            return a;
        };
        Click("AddNewHotKeyBtn");
        Click("AddClickBtn");
        OnModalForm = nullptr;
        PumpMessages();
    }

    static bool Contains(TWinControl* parent, TControl* c) {
        for (TControl* p = c; p; p = p->Parent())
            if (p == parent) return true;
        return false;
    }
    static std::vector<TPageControl*> PageControlsOn(TWinControl* parent) {
        std::vector<TPageControl*> found;
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (auto* pages = dynamic_cast<TPageControl*>(c)) found.push_back(pages);
            else if (auto* w = dynamic_cast<TWinControl*>(c))
                for (TPageControl* p : PageControlsOn(w)) found.push_back(p);
        }
        return found;
    }

    // The faults of every windowed component of the main form (those its
    // editors made at run time among them).
    std::string SkinningFaults(int* windowed = nullptr) const {
        std::string faults;
        int n = 0;
        for (int i = 0; i < form_->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TWinControl*>(form_->Components(i))) {
                ++n;
                faults += SkinningFault(c, *manager_);
            }
        if (windowed) *windowed = n;
        return faults;
    }

    // The plain labels of the main form not marked 98 that are not
    // see-through in the skin's font colour; counts the plain labels.
    std::string LabelFaults(int& plain) const {
        const skin::TsSkinModel& model = manager_->Model();
        const auto colour = static_cast<TColor>(model.ColorToRGB(model.GlobalInfoFontColor()));
        std::string faults;
        plain = 0;
        for (int i = 0; i < form_->ComponentCount(); ++i) {
            auto* label = dynamic_cast<TLabel*>(form_->Components(i));
            if (!label || label->ClassName() != "TLabel" || label->Tag() == 98) continue;
            ++plain;
            if (label->ControlStyle() & csOpaque) faults += label->Name() + " is opaque; ";
            if (label->Font()->Color() != colour) faults += label->Name() + " has another colour; ";
        }
        return faults;
    }

    // The skin changed through the manager's skin name, as the system
    // menu's skin items do; returns once the change and its fade are over.
    void SkinAs(const std::string& name) {
        manager_->SetSkinName(name);
        ASSERT_TRUE(WaitUntil([] {
            return skin::SkinState.SkinChanging == 0 && skin::SkinState.FormAnimating == 0 &&
                   !skin::SkinState.SkinChangeAnimating;
        }, 5000)) << "the skin change to " << name << " did not end";
        PumpMessages();
        ASSERT_EQ(manager_->SkinName(), name);
    }

    // A modal form opened by `open` runs its own modal loop (the seam lets
    // it through); once it is on the screen with its provider's adapter
    // made, `check` looks at it and the form is cancelled.
    void WhileModal(const std::function<void()>& open, const std::function<void(TCustomForm*)>& check) {
        TCustomForm* shown = nullptr;
        bool checked = false;
        OnModalForm = [&](TCustomForm* f) {
            shown = f;
            TDialogAnswer a;
            a.handled = false;
            return a;
        };
        int ticks = 0;
        WhileShown = [&] {
            if (!shown || checked || !shown->HandleAllocated() || !IsWindowVisible(shown->Handle())) return;
            auto* p = dynamic_cast<skin::TsSkinProvider*>(skin::ProviderOfForm(shown));
            if ((!p || !p->Adapter) && ++ticks < 40) return;
            checked = true;
            check(shown);
            shown->SetModalResult(mrCancel);
        };
        timer_ = SetTimer(nullptr, 0, 50, &SkinnedProgram::Tick);
        open();
        KillTimer(nullptr, timer_);
        timer_ = 0;
        WhileShown = nullptr;
        OnModalForm = nullptr;
        EXPECT_TRUE(checked) << "no modal form was shown";
    }

    // The form's provider from the automatic skinning, with its adapter.
    static skin::TsSkinProvider* HookedProvider(TCustomForm* f) {
        auto* p = dynamic_cast<skin::TsSkinProvider*>(skin::ProviderOfForm(f));
        EXPECT_NE(p, nullptr) << f->Name() << " has no provider";
        if (p) {
            EXPECT_NE(p->Adapter, nullptr) << f->Name() << "'s provider adapted no controls";
        }
        EXPECT_EQ(skin::SendSkinCommand(f->Handle(), skin::scGetProvider, 0), reinterpret_cast<LRESULT>(p));
        return p;
    }

    // Every windowed control of the form of a listed class adapted as its
    // list says; empty when all are.
    std::string FaultsOn(TCustomForm* f) const {
        std::string faults;
        for (int i = 0; i < f->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TWinControl*>(f->Components(i))) faults += SkinningFault(c, *manager_);
        return faults;
    }

    // What the thread timer runs while a modal loop or a box is up.
    static inline std::function<void()> WhileShown;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (WhileShown) WhileShown();
    }
    UINT_PTR timer_ = 0;
    skin::TsSkinManager* manager_ = nullptr;
    bool roomRowsAdded_ = false;
};

// Every page visited: each windowed control of a listed class carries the
// adapter its list calls for, the pages their page adapters, the editors'
// run-time rows are skinned edits; the plain labels show the skin through
// in its font colour, in either skin. Then twenty skin switches with every
// page visited between: the GDI objects, the windows and the framework's
// handles end where they began. The manager sets the application's hint
// pauses.
TEST_F(SkinnedProgram, EveryPageAndControlIsSkinnedAndSkinSwitchesKeepCountsFlat) {
    OpenSkinned();
    EXPECT_EQ(ApplicationHints().HintPause, 300);
    EXPECT_EQ(ApplicationHints().HintShortPause, 200);
    EXPECT_EQ(ApplicationHints().HintHidePause, 7000);

    VisitAll(form_->PageControl1);
    ASSERT_GE(form_->AutoPlace().Rows.size(), 2u) << "no slot rows";
    ASSERT_FALSE(form_->Rooms().SizeRows.empty()) << "no window size row";
    ASSERT_FALSE(form_->Rooms().ClickRows.empty()) << "no click row";
    for (const auto& row : form_->AutoPlace().Rows)
        for (skin::TsEdit* e : row.Edits) EXPECT_TRUE(e->SkinData()->IsSkinned()) << e->Name();
    for (const auto& row : form_->Rooms().SizeRows)
        for (skin::TsEdit* e : row.Edits) EXPECT_TRUE(e->SkinData()->IsSkinned()) << e->Name();
    for (const auto& row : form_->Rooms().ClickRows)
        for (skin::TsEdit* e : row.Edits) EXPECT_TRUE(e->SkinData()->IsSkinned()) << e->Name();
    int windowed = 0;
    EXPECT_EQ(SkinningFaults(&windowed), "");
    EXPECT_GT(windowed, 250);
    int labels = 0;
    EXPECT_EQ(LabelFaults(labels), "");
    EXPECT_EQ(labels, 109);

    // The dark skin: the labels take its colour, the adapters stay.
    SkinAs("Slate (internal)");
    VisitAll(form_->PageControl1);
    EXPECT_EQ(LabelFaults(labels), "");
    EXPECT_EQ(SkinningFaults(), "");
    SkinAs("Linen (internal)");
    VisitAll(form_->PageControl1);

    const skin::test::TFlatCounts counts;
    for (int i = 0; i < 20; ++i) {
        SkinAs(i % 2 == 0 ? "Slate (internal)" : "Linen (internal)");
        if (HasFatalFailure()) return;
        VisitAll(form_->PageControl1);
    }
    PumpFor(200);
    counts.ExpectKept(skin::test::TFlatCounts::AllLive, skin::test::TFlatCounts::GuiNoMore);
    EXPECT_EQ(SkinningFaults(), "");
    EXPECT_EQ(LabelFaults(labels), "");
}

// The registration status panels tell running from stopped by their own
// colour on the skinned form, as the screen shows it: started, most of the
// panel is the running green; stopped, the stopped red; after a skin
// switch still.
TEST_F(SkinnedProgram, TheRegistrationStatusKeepsItsColourOnTheSkinnedForm) {
    OpenSkinned();
    struct Switch {
        const char* panel;
        const char* start;
        const char* stop;
    };
    const Switch switches[] = {
        {"StatusSNG", "StartSNGBtn", "StopSngBtn"},
        {"StatusSNGFTP", "StartSNGBtnFTP", "StopSngBtnFTP"},
    };
    constexpr COLORREF running = RGB(0, 128, 0), stopped = RGB(255, 0, 0);
    // The share of the panel's client area in `colour`, read from the screen.
    auto share = [&](TWinControl* panel, COLORREF colour) {
        RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        RECT r{};
        GetClientRect(panel->Handle(), &r);
        HDC dc = GetDC(panel->Handle());
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += (GetPixel(dc, x, y) & 0xFFFFFF) == colour;
        ReleaseDC(panel->Handle(), dc);
        const int area = (r.right - r.left) * (r.bottom - r.top);
        return area > 0 ? static_cast<double>(n) / area : 0.0;
    };
    for (const char* skinName : {"Linen (internal)", "Slate (internal)"}) {
        if (manager_->SkinName() != skinName) SkinAs(skinName);
        for (const Switch& s : switches) {
            auto* panel = Find<TWinControl>(s.panel);
            ASSERT_NE(panel, nullptr) << s.panel;
            // Its page (and the pages around it) in front.
            std::vector<TTabSheet*> sheets;
            for (TControl* c = panel; c; c = c->Parent())
                if (auto* sheet = dynamic_cast<TTabSheet*>(c)) sheets.insert(sheets.begin(), sheet);
            for (TTabSheet* sheet : sheets) ShowPage(sheet->PageControl(), sheet);
            PumpMessages();
            ASSERT_TRUE(IsWindowVisible(panel->Handle())) << s.panel;
            Click(s.start);
            PumpMessages();
            EXPECT_GT(share(panel, running), 0.5) << s.panel << " running, " << skinName;
            Click(s.stop);
            PumpMessages();
            EXPECT_GT(share(panel, stopped), 0.5) << s.panel << " stopped, " << skinName;
        }
    }
}

// The program's dialogs from the main form's buttons: the About window and
// the TOI settings get a provider from the automatic skinning, their
// controls adapted; the calculator likewise, its player frames' panels
// adapted; its model editor's grid gets the grid adapter and the skin's
// fixed colour.
TEST_F(SkinnedProgram, ItsDialogsAreSkinned) {
    OpenSkinned();
    WhileModal([&] { Click("AboutBtn"); },
               [&](TCustomForm* f) {
                   EXPECT_NE(dynamic_cast<mainwindow::TAboutWindow*>(f), nullptr);
                   HookedProvider(f);
                   EXPECT_EQ(FaultsOn(f), "");
               });
    WhileModal([&] { Click("TOISettingsBtn"); },
               [&](TCustomForm* f) {
                   EXPECT_NE(dynamic_cast<mainwindow::TTOISettings*>(f), nullptr);
                   HookedProvider(f);
                   EXPECT_EQ(FaultsOn(f), "");
               });

    pf::TCalculatorRequest request;
    request.Table = this;
    request.Caption = "Skinned calculator";
    request.Tournament = pf::test::MakeTournament();
    request.Hand = pf::test::MakeHand(10, 1, 8);  // every player frame shown
    pf::TForm2* calculator = pf::ShowCalculator(request);
    ASSERT_NE(calculator, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        auto* p = dynamic_cast<skin::TsSkinProvider*>(skin::ProviderOfForm(calculator));
        return p && p->Adapter;
    }, 3000)) << "the calculator got no provider";
    HookedProvider(calculator);
    EXPECT_EQ(FaultsOn(calculator), "");
    for (int n = 1; n <= pf::kFrameCount; ++n) {
        TPanel* panel = calculator->Frame(n)->Panel1;
        ASSERT_TRUE(panel->HandleAllocated());
        EXPECT_NE(dynamic_cast<skin::TacPanelWnd*>(skin::FindAdapter(panel->Handle())), nullptr) << "frame " << n;
    }
    WhileModal([&] { calculator->LModelClick(1); },
               [&](TCustomForm* f) {
                   auto* editor = dynamic_cast<pf::TModelDialog*>(f);
                   ASSERT_NE(editor, nullptr);
                   HookedProvider(f);
                   EXPECT_EQ(FaultsOn(f), "");
                   auto* grid = dynamic_cast<skin::TacGridWnd*>(skin::FindAdapter(editor->StringGrid1->Handle()));
                   ASSERT_NE(grid, nullptr);
                   // The fixed cells in the colour of the skin's global section.
                   const skin::TsSkinModel& model = manager_->Model();
                   const int global = model.ConstData().GlobalInfo;
                   ASSERT_TRUE(model.SectionIndexValid(global));
                   EXPECT_EQ(editor->StringGrid1->FixedColor(),
                             static_cast<TColor>(model.ColorToRGB(
                                 model.Sections()[static_cast<std::size_t>(global)].Props[0].Color)));
               });
    pf::CloseCalculator(this);
}

// A question the program asks ("Please Create New Config first!", for a
// start without a config) is a real message box with the dialog adapter,
// the system's own menu taken away.
TEST_F(SkinnedProgram, ItsQuestionBoxIsARealSkinnedDialog) {
    WriteUserIni();
    Open();
    manager_ = form_->sSkinManager1;
    SetDialogResponder([](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind == TDialogKind::Message) a.handled = false;
        return a;
    });
    std::string seen;
    WhileShown = [&] {
        HWND box = FindWindowA("#32770", nullptr);
        if (!box || !IsWindowVisible(box) || !seen.empty()) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(box, &pid);
        if (pid != GetCurrentProcessId()) return;
        std::ostringstream out;
        skin::TacProvider* p = skin::FindProviderOfWindow(box);
        out << (p ? "provider" : "no provider") << "|" << (p && p->Dialog() ? "adapter" : "no adapter") << "|"
            << ((GetWindowLongPtrA(box, GWL_STYLE) & WS_SYSMENU) ? "system menu" : "no system menu");
        seen = out.str();
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    timer_ = SetTimer(nullptr, 0, 50, &SkinnedProgram::Tick);
    Click(form_->StartConfigBtn);
    PumpMessages();
    EXPECT_EQ(seen, "provider|adapter|no system menu");
}

}  // namespace
