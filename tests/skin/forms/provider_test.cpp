// The per-form skin provider on a real form: it takes over the form's
// window procedure while it lives, answers for the form, gives the
// procedure back when freed, stays idle as a second provider, gives way to
// a later provider when the automatic skinning made it, follows the skin
// manager's changes and announces a previewing form to the skin editor.
#include "skin/forms/provider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/portable/formtext.h"
#include "framework/subclass.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

namespace {

bool Registered(TCustomForm* form) {
    const auto& list = SkinnedForms();
    return std::count(list.begin(), list.end(), form) == 1;
}

LONG_PTR Style(TCustomForm* form) { return GetWindowLongPtrA(form->Handle(), GWL_STYLE); }

// A form with a spy over whatever its WindowProc is when the spy is made.
struct SpiedForm {
    SpiedForm() {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(120, 100, 320, 220);
        form->HandleNeeded();
    }
    ~SpiedForm() {
        if (form) form->Free();
    }
    // Counts WM_USER + 7 reaching the procedure chained now.
    void Spy() {
        TWndMethod below = form->WindowProc;
        form->WindowProc = [this, below](TMessage& m) {
            if (m.Msg == WM_USER + 7) ++seen;
            below(m);
        };
    }
    int Send() {
        SendMessageA(form->Handle(), WM_USER + 7, 0, 0);
        return seen;
    }
    TForm* form;
    int seen = 0;
};

// A default manager with the internal skins, freed at the end.
struct Manager {
    explicit Manager(const char* skin = "Linen (internal)") {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        if (skin) m->SetSkinName(skin);
    }
    ~Manager() { m->Free(); }
    TsSkinManager* m;
};

class ProviderTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResetSkinServices();
        PreviewMode = false;
        PreviewWindow = nullptr;
    }
};

}  // namespace

TEST_F(ProviderTest, TakesOverTheFormsMessagesAndGivesThemBack) {
    SpiedForm f;
    f.Spy();
    EXPECT_EQ(ProviderOfForm(f.form), nullptr);
    auto* provider = new TsSkinProvider(f.form);
    EXPECT_EQ(ProviderOfForm(f.form), provider);
    EXPECT_EQ(SendSkinCommand(f.form->Handle(), scQuerySupport, 0), 1);
    // What the provider does not answer reaches the form's own procedure.
    EXPECT_EQ(f.Send(), 1);
    EXPECT_TRUE(Registered(f.form));

    provider->Free();
    EXPECT_EQ(ProviderOfForm(f.form), nullptr);
    EXPECT_EQ(SendSkinCommand(f.form->Handle(), scQuerySupport, 0), 0);
    EXPECT_EQ(f.Send(), 2);
    EXPECT_FALSE(Registered(f.form));
}

// A procedure chained over the provider stays when the provider goes, and
// a form freed with its provider leaves no subclass counted.
TEST_F(ProviderTest, LeavesWhatIsChainedOverItInPlace) {
    const long subclasses = LiveHandles(THandleKind::Subclass);
    SpiedForm f;
    auto* provider = new TsSkinProvider(f.form);
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses + 1);
    f.Spy();
    provider->Free();
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses);
    EXPECT_EQ(f.Send(), 1) << "the procedure chained over the provider was dropped";
    EXPECT_EQ(ProviderOfForm(f.form), nullptr);

    new TsSkinProvider(f.form);
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses + 1);
    f.form->Free();
    f.form = nullptr;
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses);
}

TEST_F(ProviderTest, MayBePlacedOnFormsOnly) {
    TComponent owner(nullptr);
    try {
        new TsSkinProvider(&owner);
        FAIL() << "no exception";
    } catch (const EAbort& e) {
        EXPECT_STREQ(e.what(), "TsSkinProvider component may be used with forms only!");
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_THROW(new TsSkinProvider(nullptr), EAbort);
}

TEST_F(ProviderTest, StartsWithTheStoredDefaults) {
    SpiedForm f;
    auto* p = new TsSkinProvider(f.form);
    EXPECT_TRUE(p->AllowAnimation);
    EXPECT_TRUE(p->AllowExtBorders());
    EXPECT_TRUE(p->AllowBlendOnMoving);
    EXPECT_EQ(p->CaptionAlignment(), taLeftJustify);
    EXPECT_TRUE(p->DrawNonClientArea);
    EXPECT_EQ(p->GripMode, gmNone);
    EXPECT_FALSE(p->MakeSkinMenu);
    EXPECT_EQ(p->MenuLineSkin(), "");
    EXPECT_EQ(p->ResizeMode, rmStandard);
    EXPECT_FALSE(p->ScreenSnap);
    EXPECT_EQ(p->SnapBuffer, 10);
    EXPECT_TRUE(p->ShowAppIcon());
    EXPECT_EQ(p->TitleSkin(), "");
    EXPECT_EQ(p->TitleSectionName(), "FORMTITLE");
    EXPECT_TRUE(p->UseGlobalColor());
    EXPECT_EQ(p->SkinData->SkinSection(), "FORM");
    EXPECT_EQ(p->SkinData->ControlCode, 224);
    // The fields the caption painter reads.
    EXPECT_EQ(p->TitleIndex, -1);
    EXPECT_EQ(p->CaptionIndex, -1);
    EXPECT_EQ(p->MenuLineCount, -1);
    EXPECT_TRUE(p->RegionChanged);
    EXPECT_TRUE(p->RegionRects.empty());
    EXPECT_TRUE(p->FullRepaint);
    EXPECT_TRUE(p->FormActive);
    EXPECT_TRUE(p->FirstSkinning) << "no skin was active yet";
    EXPECT_FALSE(p->Inactive || p->DeferredInit || p->SysMenuHidden || p->MDILock || p->AnimPending);
    EXPECT_FALSE(p->DwmAtCreate);
    EXPECT_EQ(p->SystemMenu, nullptr);
    EXPECT_NE(p->ButtonsBg, nullptr);
    EXPECT_NE(p->WorkBmp, nullptr);
    EXPECT_EQ(p->CloseButton.HitCode, HTCLOSE);
    EXPECT_EQ(p->MDICloseButton.HitCode, 101);
    // The caption's data objects.
    EXPECT_TRUE(p->AddedTitle()->ShowMainCaption());
    EXPECT_EQ(p->AddedTitle()->Text(), "");
    EXPECT_EQ(p->AddedTitle()->Font()->Color(), clNone);
    EXPECT_EQ(p->AddedTitle()->Provider(), p);
    EXPECT_EQ(p->TitleIcon()->Width, 0);
    EXPECT_EQ(p->TitleIcon()->Height, 0);
    EXPECT_EQ(p->TitleButtons()->Count(), 0);
    EXPECT_EQ(p->TitleButtons()->GetOwner(), p);
    // Published by name as the form description stores them.
    const TPropInfo* snap = p->ClassInfo().FindProp("SnapBuffer");
    ASSERT_NE(snap, nullptr);
    EXPECT_EQ(snap->getOrd(p), 10);
    for (const char* name : {"AddedTitle", "AllowAnimation", "AllowExtBorders", "AllowBlendOnMoving",
                             "CaptionAlignment", "DrawNonClientArea", "SkinData", "GripMode", "MakeSkinMenu",
                             "MenuLineSkin", "ResizeMode", "ScreenSnap", "ShowAppIcon", "TitleButtons", "TitleIcon",
                             "TitleSkin", "UseGlobalColor", "OnAfterAnimation", "OnExtHitTest", "OnSkinItem"})
        EXPECT_NE(p->ClassInfo().FindProp(name), nullptr) << name;
}

// The provider's settings as a form description stores them; after
// loading, a skinned provider has skinned its form.
TEST_F(ProviderTest, SettingsFromAFormDescription) {
    RegisterSkinProviderClass();
    Manager manager;
    SpiedForm f;
    ReadComponentText(f.form,
                      "object Form1: TForm\n"
                      "  object sSkinProvider1: TsSkinProvider\n"
                      "    AllowAnimation = False\n"
                      "    CaptionAlignment = taCenter\n"
                      "    GripMode = gmRightBottom\n"
                      "    ResizeMode = rmBorder\n"
                      "    ScreenSnap = True\n"
                      "    SnapBuffer = 5\n"
                      "    TitleSkin = 'MYTITLE'\n"
                      "    MenuLineSkin = 'MYMENU'\n"
                      "    AddedTitle.Text = 'Added'\n"
                      "    AddedTitle.ShowMainCaption = False\n"
                      "    TitleIcon.Width = 20\n"
                      "    TitleButtons = <\n"
                      "      item\n"
                      "        Name = 'Pin'\n"
                      "        Hint = 'Keep on top'\n"
                      "        Visible = False\n"
                      "      end\n"
                      "      item\n"
                      "      end>\n"
                      "  end\n"
                      "end\n",
                      TFormReadMode::Strict);
    auto* p = dynamic_cast<TsSkinProvider*>(ProviderOfForm(f.form));
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->AllowAnimation);
    EXPECT_EQ(p->CaptionAlignment(), taCenter);
    EXPECT_EQ(p->GripMode, gmRightBottom);
    EXPECT_EQ(p->ResizeMode, rmBorder);
    EXPECT_TRUE(p->ScreenSnap);
    EXPECT_EQ(p->SnapBuffer, 5);
    EXPECT_EQ(p->TitleSkin(), "MYTITLE");
    EXPECT_EQ(p->TitleSectionName(), "MYTITLE");
    EXPECT_EQ(p->MenuLineSkin(), "MYMENU");
    EXPECT_EQ(p->AddedTitle()->Text(), "Added");
    EXPECT_FALSE(p->AddedTitle()->ShowMainCaption());
    EXPECT_EQ(p->TitleIcon()->Width, 20);
    ASSERT_EQ(p->TitleButtons()->Count(), 2);
    EXPECT_EQ(p->TitleButtons()->Items(0)->Name(), "Pin");
    EXPECT_EQ(p->TitleButtons()->Items(0)->Hint, "Keep on top");
    EXPECT_FALSE(p->TitleButtons()->Items(0)->Visible());
    EXPECT_EQ(p->TitleButtons()->Items(0)->Collection(), p->TitleButtons());
    EXPECT_EQ(p->TitleButtons()->Items(1)->Name(), "TsTitleButton");
    // Loaded with the skin active: the form is skinned.
    EXPECT_NE(p->SystemMenu, nullptr);
    EXPECT_TRUE(p->SysMenuHidden);
}

// Mend: the second provider of a form took nothing over, so it must give
// nothing back: the form stays registered (once) and keeps the first
// provider's procedure.
TEST_F(ProviderTest, ASecondProviderStaysIdleAndLeavesTheFormAsItWas) {
    SpiedForm f;
    auto* first = new TsSkinProvider(f.form);
    f.Spy();
    const long subclasses = LiveHandles(THandleKind::Subclass);
    auto* second = new TsSkinProvider(f.form);
    EXPECT_TRUE(second->Inactive);
    EXPECT_FALSE(first->Inactive);
    EXPECT_EQ(LiveHandles(THandleKind::Subclass), subclasses) << "the idle provider chained itself in";
    EXPECT_EQ(ProviderOfForm(f.form), first);
    EXPECT_TRUE(Registered(f.form));
    EXPECT_EQ(second->ButtonsBg, nullptr);

    second->Free();
    EXPECT_TRUE(Registered(f.form)) << "the idle provider took the form out of the skinned forms";
    EXPECT_EQ(ProviderOfForm(f.form), first);
    EXPECT_EQ(f.Send(), 1) << "the form's procedure changed";
    EXPECT_EQ(SendSkinCommand(f.form->Handle(), scQuerySupport, 0), 1);
    first->Free();
    EXPECT_FALSE(Registered(f.form));
    EXPECT_EQ(f.Send(), 2);
}

// A provider the automatic skinning made gives way to one made later, and
// (mend) the automatic skinning's entry lets go of the freed provider.
TEST_F(ProviderTest, ADeferredProviderGivesWayAndItsAutomaticEntryForgetsIt) {
    SpiedForm f;
    TsSkinProvider* deferred = TsSkinProvider::CreateDeferred(f.form);
    EXPECT_TRUE(deferred->DeferredInit);
    auto* entry = new TacProviderBase(nullptr);
    entry->SkinProvider = deferred;
    DialogProviders().push_back(entry);

    auto* designed = new TsSkinProvider(f.form);
    EXPECT_FALSE(designed->Inactive);
    EXPECT_EQ(ProviderOfForm(f.form), designed);
    EXPECT_EQ(entry->SkinProvider, nullptr) << "the automatic skinning still holds the freed provider";
    EXPECT_TRUE(Registered(f.form));
    EXPECT_EQ(f.form->ComponentCount(), 1);

    std::erase(DialogProviders(), entry);
    entry->Free();
}

// The deferred provider skins the form at its first hit test.
TEST_F(ProviderTest, ADeferredProviderSkinsTheFormAtItsFirstHitTest) {
    Manager manager;
    SpiedForm f;
    TsSkinProvider* p = TsSkinProvider::CreateDeferred(f.form);
    EXPECT_EQ(p->SystemMenu, nullptr) << "nothing skinned before the first trigger";
    SendMessageA(f.form->Handle(), WM_NCHITTEST, 0, 0);
    EXPECT_FALSE(p->DeferredInit);
    EXPECT_NE(p->SystemMenu, nullptr);
    EXPECT_EQ(p->SystemMenu->Provider, p);
    EXPECT_EQ(p->SystemMenu->Form, f.form);
    EXPECT_EQ(p->SystemMenu->Name().rfind("acSysMenu", 0), 0u);
}

// Mend: a provider freed with another procedure chained over it on the
// form (a form adapter: framework chain or the native one) and those
// procedures freed afterwards, in either order, leave a working procedure.
TEST_F(ProviderTest, ProviderFreedUnderChainedAdaptersLeavesAWorkingProcedure) {
    for (bool adaptersFirst : {false, true}) {
        SCOPED_TRACE(adaptersFirst ? "adapters freed first" : "provider freed first");
        SpiedForm f;
        const LONG_PTR native = GetWindowLongPtrA(f.form->Handle(), GWLP_WNDPROC);
        auto* provider = new TsSkinProvider(f.form);
        int overFramework = 0, overNative = 0;
        TWindowSubclass framework, window;
        framework.Attach(f.form, [&](TMessage& m) {
            if (m.Msg == WM_USER + 7) ++overFramework;
            framework.CallPrevious(m);
        });
        window.Attach(f.form->Handle(), [&](TMessage& m) {
            if (m.Msg == WM_USER + 7) ++overNative;
            window.CallPrevious(m);
        });
        if (adaptersFirst) {
            framework.Detach();
            window.Detach();
            provider->Free();
        } else {
            provider->Free();
            EXPECT_EQ(SendMessageA(f.form->Handle(), SkinCommandMessage, SkinCommand(scQuerySupport), 0), 0);
            f.Send();
            EXPECT_EQ(overFramework, 1);
            EXPECT_EQ(overNative, 1);
            framework.Detach();
            window.Detach();
        }
        EXPECT_EQ(GetWindowLongPtrA(f.form->Handle(), GWLP_WNDPROC), native);
        f.Spy();
        EXPECT_EQ(f.Send(), 1);
        SendMessageA(f.form->Handle(), WM_NCHITTEST, 0, 0);
        SendMessageA(f.form->Handle(), WM_NCPAINT, 1, 0);
    }
}

// A skin applied and removed reaches the registered form: applied, the
// provider takes the system menu style over and colours the form from the
// skin; removed, it gives both back.
TEST_F(ProviderTest, SkinChangesReachARegisteredForm) {
    SpiedForm f;
    f.form->SetColor(0x00336699);
    auto* p = new TsSkinProvider(f.form);
    ASSERT_NE(Style(f.form) & WS_SYSMENU, 0);
    Manager manager;
    EXPECT_NE(p->SystemMenu, nullptr);
    EXPECT_FALSE(p->FirstSkinning);
    EXPECT_TRUE(p->SysMenuHidden);
    EXPECT_EQ(Style(f.form) & WS_SYSMENU, 0) << "the system would draw its own caption buttons";
    EXPECT_EQ(f.form->Color(), static_cast<TColor>(manager.m->Model().GlobalInfoColor()));
    EXPECT_GE(p->SkinData->SkinIndex, 0);
    EXPECT_EQ(p->CaptionIndex, manager.m->IndexOfSection("CAPTION"));

    manager.m->SetActive(false);
    EXPECT_FALSE(p->SysMenuHidden);
    EXPECT_NE(Style(f.form) & WS_SYSMENU, 0);
    EXPECT_EQ(f.form->Color(), clBtnFace);
    EXPECT_EQ(p->SkinData->SkinIndex, -1);
    EXPECT_EQ(p->TitleIndex, -1);

    manager.m->SetActive(true);
    EXPECT_TRUE(p->SysMenuHidden);
    EXPECT_EQ(Style(f.form) & WS_SYSMENU, 0);
}

// Another manager's changes leave the form alone.
TEST_F(ProviderTest, IgnoresTheChangesOfAnotherManager) {
    Manager own;
    SpiedForm f;
    auto* p = new TsSkinProvider(f.form);
    p->SkinData->SetSkinManager(own.m);
    SendSkinCommand(f.form->Handle(), scSkinApplied, 0);
    auto* other = new TsSkinManager(nullptr);
    SendSkinCommand(f.form->Handle(), scSkinRemoved, reinterpret_cast<LPARAM>(other));
    EXPECT_TRUE(p->SysMenuHidden);
    other->Free();
}

TEST_F(ProviderTest, UseGlobalColorOffGivesTheStandardColourWithOrWithoutASkin) {
    SpiedForm f;
    f.form->SetColor(0x00112233);
    auto* p = new TsSkinProvider(f.form);
    p->SetUseGlobalColor(false);
    EXPECT_EQ(f.form->Color(), clBtnFace);
    {
        Manager manager;
        EXPECT_EQ(f.form->Color(), clBtnFace) << "the form keeps its colour without UseGlobalColor";
        p->SetUseGlobalColor(true);
        EXPECT_EQ(f.form->Color(), static_cast<TColor>(manager.m->Model().GlobalInfoColor()));
    }
}

// Without a skin the form's colour is what the system shows for it: a
// system colour is read as the system's, not taken as a plain number.
TEST_F(ProviderTest, FormColourWithoutASkinReadsSystemColoursAsTheSystemShowsThem) {
    SpiedForm f;
    auto* p = new TsSkinProvider(f.form);
    p->SetUseGlobalColor(false);
    f.form->SetColor(clBtnFace);
    EXPECT_EQ(static_cast<COLORREF>(p->FormColor()), GetSysColor(COLOR_BTNFACE));
    f.form->SetColor(clWindow);
    EXPECT_EQ(static_cast<COLORREF>(p->FormColor()), GetSysColor(COLOR_WINDOW));
    f.form->SetColor(0x00112233);
    EXPECT_EQ(p->FormColor(), 0x00112233);
}

// Switching the non-client drawing off on a skinned form gives the system
// its caption buttons and the form its region back.
TEST_F(ProviderTest, DrawNonClientAreaOffRestoresTheSystemFrame) {
    Manager manager;
    SpiedForm f;
    auto* p = new TsSkinProvider(f.form);
    f.form->Show();
    SendSkinCommand(f.form->Handle(), scSkinApplied, reinterpret_cast<LPARAM>(manager.m));
    ASSERT_TRUE(p->SysMenuHidden);
    p->RegionRects = {RECT{0, 0, 4, 1}};
    p->UpdateRegion(false);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(f.form->Handle(), probe), ERROR);
    p->SetDrawNonClientArea(false);
    EXPECT_FALSE(p->SysMenuHidden);
    EXPECT_NE(Style(f.form) & WS_SYSMENU, 0);
    EXPECT_EQ(GetWindowRgn(f.form->Handle(), probe), ERROR) << "the region stayed";
    DeleteObject(probe);
    p->SetDrawNonClientArea(true);
    EXPECT_TRUE(p->SysMenuHidden);
    EXPECT_EQ(Style(f.form) & WS_SYSMENU, 0);
}

TEST_F(ProviderTest, MaximisedSkinnedFormsCoverTheWorkAreaWithTheSystemFrameOutside) {
    struct Case {
        TFormBorderStyle style;
        bool draw;
        bool changed;
    };
    for (const Case& c : {Case{bsSizeable, true, true}, Case{bsSizeable, false, false}, Case{bsNone, true, false}}) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " draw " << c.draw);
        SpiedForm f;
        f.form->SetBorderStyle(c.style);
        auto* p = new TsSkinProvider(f.form);
        p->SetDrawNonClientArea(c.draw);
        MINMAXINFO info{};
        info.ptMaxPosition = POINT{12345, 12345};
        SendMessageA(f.form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        if (!c.changed) {
            EXPECT_EQ(info.ptMaxPosition.x, 12345);
            continue;
        }
        const int b = GetSystemMetrics(SM_CXFRAME);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        GetMonitorInfoA(MonitorFromWindow(f.form->Handle(), MONITOR_DEFAULTTONEAREST), &mi);
        EXPECT_EQ(info.ptMaxPosition.x, -b);
        EXPECT_EQ(info.ptMaxPosition.y, -b);
        EXPECT_EQ(info.ptMaxSize.x, mi.rcWork.right - mi.rcWork.left + 2 * b);
        EXPECT_EQ(info.ptMaxSize.y, mi.rcWork.bottom - mi.rcWork.top + 2 * b);
    }
}

// ------------------------------------------------------------- preview

namespace {

// A window with the skin editor's title: counts the announcements and
// answers 1 from the given one on (0: never).
struct EditorWindow {
    static int Seen;
    static int AnswerFrom;
    static HWND Announced;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == kSkinEditorMessage && w == 3) {
            ++Seen;
            Announced = reinterpret_cast<HWND>(l);
            return AnswerFrom && Seen >= AnswerFrom ? 1 : 0;
        }
        return DefWindowProcA(h, msg, w, l);
    }
    explicit EditorWindow(int answerFrom) {
        Seen = 0;
        AnswerFrom = answerFrom;
        Announced = nullptr;
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KovaTestSkinEditor";
        RegisterClassA(&wc);
        wnd = CreateWindowExA(0, wc.lpszClassName, kSkinEditorWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    }
    ~EditorWindow() { DestroyWindow(wnd); }
    HWND wnd;
};
int EditorWindow::Seen = 0;
int EditorWindow::AnswerFrom = 0;
HWND EditorWindow::Announced = nullptr;

}  // namespace

TEST_F(ProviderTest, APreviewingFormAnnouncesItselfToTheEditorAtMostOneHundredAndOneTimes) {
    struct Case {
        int answerFrom;
        int sends;
    };
    for (const Case& c : {Case{0, 101}, Case{3, 3}, Case{1, 1}}) {
        SCOPED_TRACE(c.answerFrom);
        EditorWindow editor(c.answerFrom);
        PreviewMode = true;
        PreviewWindow = nullptr;
        SpiedForm f;
        new TsSkinProvider(f.form);
        f.form->Show();
        EXPECT_EQ(EditorWindow::Seen, c.sends);
        EXPECT_EQ(EditorWindow::Announced, f.form->Handle());
        EXPECT_EQ(PreviewWindow, f.form->Handle());
        EXPECT_FALSE(PreviewMode);
        // Only the first form becomes the preview window.
        SpiedForm second;
        new TsSkinProvider(second.form);
        second.form->Show();
        EXPECT_EQ(EditorWindow::Seen, c.sends);
        EXPECT_EQ(PreviewWindow, f.form->Handle());
        PreviewWindow = nullptr;
    }
}

TEST_F(ProviderTest, NoEditorNoAnnouncementButThePreviewWindowIsSet) {
    PreviewMode = true;
    SpiedForm f;
    new TsSkinProvider(f.form);
    f.form->Show();
    EXPECT_EQ(PreviewWindow, f.form->Handle());
    EXPECT_FALSE(PreviewMode);
}

TEST_F(ProviderTest, TheEditorDrivesThePreviewingForm) {
    SpiedForm f;
    new TsSkinProvider(f.form);
    f.form->Show();
    EXPECT_EQ(SendMessageA(f.form->Handle(), kSkinEditorMessage, 4, 0), 1);
    EXPECT_EQ(SendMessageA(f.form->Handle(), kSkinEditorMessage, 9, 0), 0);
    EXPECT_TRUE(IsWindowVisible(f.form->Handle()));
    // Only the previewed form obeys the close (FormHandlerTest has the
    // form that is not it).
    PreviewWindow = f.form->Handle();
    SendMessageA(f.form->Handle(), kSkinEditorMessage, 1, 0);
    EXPECT_FALSE(IsWindowVisible(f.form->Handle())) << "WParam 1 closes the form";
}

// The editor's data goes to the manager only when the form's own handling
// left it unanswered, only for the preview window.
TEST_F(ProviderTest, CopyDataReachesTheManagerOnlyForThePreviewWindowAndWhenUnanswered) {
    Manager manager;
    SpiedForm f;
    new TsSkinProvider(f.form);
    TWndMethod below = f.form->WindowProc;
    int ownAnswer = 0;
    f.form->WindowProc = [&, below](TMessage& m) {
        below(m);
        if (m.Msg == WM_COPYDATA && ownAnswer) m.Result = ownAnswer;
    };
    // Any record the manager does not take answers 0; a wrong one is what
    // the manager refuses, so its answer tells only that the call was made.
    std::vector<std::uint8_t> record(kEditorRecordSize, 0);
    *reinterpret_cast<std::uint32_t*>(record.data()) = kEditorRecordId;
    COPYDATASTRUCT cds{7, static_cast<DWORD>(record.size()), record.data()};
    // Not the preview window: passed on only.
    EXPECT_EQ(SendMessageA(f.form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 0);
    EXPECT_FALSE(SkinEdited);
    ownAnswer = 5;
    PreviewWindow = f.form->Handle();
    EXPECT_EQ(SendMessageA(f.form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 5);
    EXPECT_FALSE(SkinEdited) << "the form answered, the manager must not have been asked";
    f.form->WindowProc = below;
}

// ------------------------------------------------------------- handles

// GDI and USER objects and the framework's handles stay where they were
// over rounds of skinning, unskinning and re-making the provider.
TEST_F(ProviderTest, HandleCountsStayFlatOverSkinRounds) {
    Manager manager;
    SpiedForm f;
    f.form->Show();
    auto round = [&] {
        auto* p = new TsSkinProvider(f.form);
        manager.m->SetActive(false);
        manager.m->SetActive(true);
        p->RegionRects = {RECT{0, 0, 3, 1}};
        p->UpdateRegion(true);
        p->ShowMenuCover(false);
        p->HideMenuCover();
        p->RepaintNonClient();
        p->Free();
        kova::test::PumpMessages();
    };
    round();
    const TFlatCounts counts;
    for (int i = 0; i < 20; ++i) round();
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiNoMore);
}

}  // namespace kova::skin::test
