// The automatic skinning under the default manager's thread hook: real
// message boxes shown through the framework's dialog seam (owned by a
// framework form), a real open-file dialog, dialogs made by hand for the
// child factory's table and the hook's refusals, the dialog adapter's
// painting and placing, and what the hook's removal leaves behind.
#include "skin/forms/autohook.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/windowtext.h"
#include "skin/controls/btnwnd.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/smallctrls.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/msgbox.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/vclutils.h"
#include "skin/forms/dlgwnd.h"
#include "skin/forms/mnuwnd.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/provider.h"
#include "../core/formstest.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

namespace {

using kova::test::RunLater;

// The visible dialog of this thread with this caption (empty: any).
struct TFindDialog {
    std::string Caption;
    HWND Found = nullptr;
};
BOOL CALLBACK FindDialogStep(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<TFindDialog*>(p);
    if (IsWindowVisible(w) && (f->Caption.empty() || kova::test::WindowText(w) == f->Caption) &&
        kova::WindowClassName(w) == "#32770") {
        f->Found = w;
        return FALSE;
    }
    return TRUE;
}
HWND VisibleDialog(const std::string& caption) {
    TFindDialog find{caption};
    EnumThreadWindows(GetCurrentThreadId(), FindDialogStep, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// Runs `inside` once the dialog with the caption shows (from its own modal
// loop, giving up after about 5 s).
void WhenShown(const std::string& caption, std::function<void(HWND)> inside, int tries = 160) {
    RunLater([=] {
        if (HWND box = VisibleDialog(caption)) {
            inside(box);
        } else if (tries > 0) {
            WhenShown(caption, inside, tries - 1);
        } else {
            ADD_FAILURE() << "no dialog \"" << caption << "\" showed";
        }
    });
}

// A message box through the framework's dialog seam (no responder: the
// system's box), at (x, y) when given.
int ShowBox(const std::string& caption, std::uint32_t buttons, int x = -1, int y = -1) {
    return ShowMsgBoxAt(caption.c_str(), "Text of " + caption, mtInformation, x, y, 0, buttons);
}

TacDialogWnd* DialogAdapterOf(HWND wnd) { return dynamic_cast<TacDialogWnd*>(FindAdapter(wnd)); }

BOOL CALLBACK CollectStep(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}
std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, CollectStep, reinterpret_cast<LPARAM>(&out));
    return out;
}

int LiveProviders() {
    int n = 0;
    for (TacProviderBase* p : DialogProviders()) n += p != nullptr;
    return n;
}

// A form of the framework's message-form class (its window class too).
class TMessageForm : public TForm {
    KOVA_CLASS(TMessageForm, TForm)
public:
    using TForm::TForm;
};

// A form whose window class is one the hook never skins.
class TfcPopup : public TForm {
    KOVA_CLASS(TfcPopup, TForm)
public:
    using TForm::TForm;
};

// Under our thread hook: vetoes the creation of windows named "Vetoed".
LRESULT CALLBACK VetoHook(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_CREATEWND) {
        const auto* cbt = reinterpret_cast<const CBT_CREATEWNDA*>(l);
        if (cbt && cbt->lpcs && cbt->lpcs->lpszName && std::string(cbt->lpcs->lpszName) == "Vetoed") return 1;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// Linen's dialog title (active, plain colour) as the screen shows it.
constexpr COLORREF kActiveTitle = RGB(0xEF, 0xEB, 0xE5);

class AutoSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallAutoSkinning();
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        manager->SetSkinName("Linen (internal)");
        ASSERT_TRUE(manager->ThreadHookInstalled());
        owner = TCustomForm::Create<TForm>(Application());
        owner->SetBounds(420, 300, 320, 200);
        owner->SetCaption("Owner");
        owner->Show();
        kova::test::PumpMessages();
        SetActiveWindow(owner->Handle());
        kova::test::PumpMessages();
    }
    void TearDown() override {
        if (owner) owner->Free();
        if (manager) manager->Free();
        ResetSkinServices();
        kova::test::DropLaterSteps();
    }
    // A top-level "#32770" window owned by the owner form. The hook takes
    // it as it is made when `hooked`; otherwise dialogs are not skinned
    // meanwhile and the test attaches it itself.
    HWND MakeDialog(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, bool hooked = false) {
        const TacSkinningRules rules = manager->SkinningRules;
        if (!hooked) manager->SkinningRules &= ~static_cast<TacSkinningRules>(srStdDialogs);
        HWND d = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "Made", style, 60, 60, 360, 300, owner->Handle(),
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        manager->SkinningRules = rules;
        made.push_back(d);
        return d;
    }
    HWND Child(HWND parent, const char* cls, DWORD style, int y) {
        return CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 10, y, 120, 20, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    ~AutoSkinTest() override {
        for (HWND d : made)
            if (IsWindow(d)) DestroyWindow(d);
    }
    TsSkinManager* manager = nullptr;
    TForm* owner = nullptr;
    std::vector<HWND> made;
};

}  // namespace

// ---------------------------------------------------------------- boxes

TEST_F(AutoSkinTest, AMessageBoxOwnedByTheFormIsSkinnedAndPlacedWhereAsked) {
    bool checked = false;
    WhenShown("Placed", [&](HWND box) {
        // The box is owned by the form (GetParent answers the owner) and
        // skinned all the same.
        EXPECT_EQ(GetParent(box), owner->Handle());
        TacDialogWnd* dialog = DialogAdapterOf(box);
        ASSERT_NE(dialog, nullptr);
        EXPECT_NE(FindProviderOfWindow(box), nullptr);
        EXPECT_EQ(dialog->BorderKind, 0);
        EXPECT_EQ(dialog->TitleSection, "DIALOGTITLE");
        RECT r{};
        GetWindowRect(box, &r);
        EXPECT_EQ(r.left, 70);
        EXPECT_EQ(r.top, 40);
        // Its text and button carry adapters; the system menu style is
        // gone, so only our title buttons show.
        bool text = false, button = false;
        for (HWND c : Children(box)) {
            text |= dynamic_cast<TacStaticWnd*>(FindAdapter(c)) != nullptr;
            button |= dynamic_cast<TacBtnWnd*>(FindAdapter(c)) != nullptr;
        }
        EXPECT_TRUE(text);
        EXPECT_TRUE(button);
        EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU);
        // The caption band is the skin's dialog title, on the screen.
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const int y = r.top + dialog->BorderWidth() + dialog->CaptionHeight(true) / 2;
        const TWindowDC screen(nullptr, TDCArea::Window);
        EXPECT_EQ(GetPixel(screen.Get(), (r.left + r.right) / 2, y), kActiveTitle);
        checked = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ShowBox("Placed", mbOK, 70, 40), mrOk);
    EXPECT_TRUE(checked);
    EXPECT_EQ(DialogPosX, -1);
    EXPECT_EQ(DialogPosY, -1);
}

TEST_F(AutoSkinTest, TheSkinnedCaptionsHitTestAndCloseButton) {
    bool checked = false;
    WhenShown("Close me", [&](HWND box) {
        TacDialogWnd* dialog = DialogAdapterOf(box);
        ASSERT_NE(dialog, nullptr);
        RECT wr{};
        GetWindowRect(box, &wr);
        const RECT& close = dialog->CloseButton.Rect;
        ASSERT_GT(close.right, close.left);
        const POINT c{wr.left + (close.left + close.right) / 2, wr.top + (close.top + close.bottom) / 2};
        const LPARAM at = MAKELPARAM(c.x, c.y);
        const int captionY = wr.top + dialog->BorderWidth() + dialog->CaptionHeight(true) / 2;
        const auto hit = [&](int x, int y) { return SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
        EXPECT_EQ(hit(c.x, c.y), HTCLOSE);
        EXPECT_EQ(hit(wr.left + close.left / 2, captionY), HTCAPTION);
        EXPECT_EQ(hit(wr.left + dialog->BorderWidth() + 2, captionY), HTSYSMENU);
        EXPECT_EQ(hit(c.x, c.y), HTCLOSE);
        // Hot under the mouse, normal once it leaves.
        EXPECT_EQ(dialog->CloseButton.State, 1);
        SendMessageA(box, WM_NCMOUSELEAVE, 0, 0);
        EXPECT_EQ(dialog->CloseButton.State, 0);
        // Pressed elsewhere, released over it: nothing.
        SendMessageA(box, WM_NCLBUTTONUP, HTCLOSE, at);
        EXPECT_TRUE(IsWindowVisible(box));
        // Pressed on it, released in the client area: nothing, and the
        // press is over.
        SendMessageA(box, WM_NCLBUTTONDOWN, HTCLOSE, at);
        EXPECT_EQ(dialog->CloseButton.State, 2);
        EXPECT_EQ(GetCapture(), box);
        SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(IsWindowVisible(box));
        EXPECT_EQ(dialog->CloseButton.State, 0);
        EXPECT_NE(GetCapture(), box);
        checked = true;
        PostMessageA(box, WM_NCLBUTTONDOWN, HTCLOSE, at);
        PostMessageA(box, WM_NCLBUTTONUP, HTCLOSE, at);
    });
    EXPECT_EQ(ShowBox("Close me", mbOK | mbCancel), mrCancel);
    EXPECT_TRUE(checked);
}

TEST_F(AutoSkinTest, AThirdBoxStaysPlainWhileTwoSkinnedBoxesShow) {
    bool third = false;
    WhenShown("First", [&](HWND first) {
        WhenShown("Second", [&, first](HWND second) {
            WhenShown("Third", [&, first, second](HWND box) {
                EXPECT_NE(DialogAdapterOf(first), nullptr);
                EXPECT_NE(DialogAdapterOf(second), nullptr);
                EXPECT_EQ(FindAdapter(box), nullptr);
                EXPECT_EQ(FindProviderOfWindow(box), nullptr);
                for (HWND c : Children(box)) EXPECT_EQ(FindAdapter(c), nullptr);
                EXPECT_EQ(CountVisibleSkinnedDialogs(), 2);
                third = true;
                PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
            });
            EXPECT_EQ(ShowBox("Third", mbOK | mbCancel), mrCancel);
            PostMessageA(second, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(ShowBox("Second", mbOK | mbCancel), mrOk);
        PostMessageA(first, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(ShowBox("First", mbOK | mbCancel), mrCancel);
    EXPECT_TRUE(third);
}

TEST_F(AutoSkinTest, OkClosesWithoutTheHideAnimationCancelAndYesWithIt) {
    manager->Model().AnimEffects.DialogHide.Active = true;
    manager->Model().AnimEffects.DialogHide.Time = 48;
    manager->Model().AnimEffects.DialogHide.Mode = TacAnimType::atFading;
    struct TCase {
        WPARAM Command;
        std::uint32_t Buttons;
        int Result;
        bool Animates;
    };
    for (const TCase& c : {TCase{IDOK, mbOK | mbCancel, mrOk, false}, TCase{IDCANCEL, mbOK | mbCancel, mrCancel, true},
                           TCase{IDYES, mbYes | mbNo, mrYes, true}}) {
        test::LayeredRecorder rec;
        HWND shown = nullptr;
        RECT r{};
        WhenShown("Closing", [&](HWND box) {
            EXPECT_NE(DialogAdapterOf(box), nullptr);
            shown = box;
            GetWindowRect(box, &r);
            PostMessageA(box, WM_COMMAND, c.Command, 0);
        });
        EXPECT_EQ(ShowBox("Closing", c.Buttons), c.Result) << c.Command;
        ASSERT_TRUE(kova::test::WaitUntil([] { return !HideAnimationRunning(); }, 5000)) << c.Command;
        if (!c.Animates) {
            EXPECT_TRUE(rec.Calls.empty()) << c.Command;
            continue;
        }
        // The cover showed the box's picture at its place, then faded out
        // in its own window (not the box), which is gone now.
        ASSERT_GE(rec.Calls.size(), 2u) << c.Command;
        const test::LayeredCall& first = rec.Calls.front();
        EXPECT_NE(first.Wnd, shown) << c.Command;
        EXPECT_EQ(first.Size.cx, r.right - r.left) << c.Command;
        EXPECT_EQ(first.Size.cy, r.bottom - r.top) << c.Command;
        EXPECT_EQ(first.Picture.At(first.Size.cx / 2, 4) >> 24, 0xFFu) << c.Command;
        EXPECT_EQ(rec.Calls.back().Alpha, 0) << c.Command;
        for (const test::LayeredCall& call : rec.Calls) EXPECT_FALSE(IsWindow(call.Wnd)) << c.Command;
    }
}

TEST_F(AutoSkinTest, ABoxFadesInWithTheDialogShowAnimationAtItsPlace) {
    manager->Model().AnimEffects.DialogShow.Active = true;
    manager->Model().AnimEffects.DialogShow.Time = 60;
    manager->Model().AnimEffects.DialogShow.Mode = TacAnimType::atFading;
    test::LayeredRecorder rec;
    bool checked = false;
    WhenShown("Fading in", [&](HWND box) {
        TacDialogWnd* dialog = DialogAdapterOf(box);
        ASSERT_NE(dialog, nullptr);
        RECT r{};
        GetWindowRect(box, &r);
        EXPECT_EQ(r.left, 90);
        EXPECT_EQ(r.top, 70);
        // The overlay rose in steps to opaque over the box's place, showing
        // the skinned caption and the box's children.
        ASSERT_GE(rec.Calls.size(), 3u);
        EXPECT_EQ(rec.Calls.front().Alpha, 0);
        EXPECT_EQ(rec.Calls.back().Alpha, 255);
        for (std::size_t i = 1; i < rec.Calls.size(); ++i) EXPECT_GE(rec.Calls[i].Alpha, rec.Calls[i - 1].Alpha);
        const test::LayeredCall& last = rec.Calls.back();
        EXPECT_NE(last.Wnd, box);
        EXPECT_FALSE(IsWindow(last.Wnd));
        EXPECT_EQ(last.Pos.x, 90);
        EXPECT_EQ(last.Pos.y, 70);
        EXPECT_EQ(last.Size.cx, r.right - r.left);
        const int y = dialog->BorderWidth() + dialog->CaptionHeight(true) / 2;
        EXPECT_EQ(last.Picture.At(last.Size.cx / 2, y) & 0xFFFFFFu, 0xEFEBE5u);
        // The box itself shows on the screen once the overlay is gone.
        EXPECT_TRUE(IsWindowVisible(box));
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const TWindowDC screen(nullptr, TDCArea::Window);
        EXPECT_EQ(GetPixel(screen.Get(), (r.left + r.right) / 2, r.top + y), kActiveTitle);
        checked = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ShowBox("Fading in", mbOK, 90, 70), mrOk);
    EXPECT_TRUE(checked);
}

// What the skinned system menu showed when it popped up.
struct TShownSystemMenu {
    TPopupMenu* Menu = nullptr;
    POINT At{};
    bool OwnerDrawn = false, NoAnimation = false;
    bool Restore = false, Move = false, Size = false, Close = false;
};

TEST_F(AutoSkinTest, TheSystemMenuIsSkinnedWithTheItemsOfItsBorderKind) {
    ASSERT_TRUE(manager->SkinnedPopups());
    SkinableMenus(manager)->UpdateFromSkin();
    ASSERT_TRUE(SkinableMenus(manager)->Active());
    TShownSystemMenu shown;
    const TScopedDialogResponder responder([&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind != TDialogKind::Popup) return a;
        auto* menu = dynamic_cast<TacSystemMenu*>(r.menu);
        if (!menu) return a;
        shown = TShownSystemMenu{menu,
                                 POINT{r.x, r.y},
                                 menu->OwnerDraw,
                                 (menu->MenuAnimation & maNone) != 0,
                                 menu->miRestore->Visible(),
                                 menu->miMove->Visible(),
                                 menu->miSize->Visible(),
                                 menu->miClose->Visible()};
        return a;  // nothing chosen
    });
    struct TCase {
        DWORD Style;
        int Kind;
        bool Restore, Size;
    };
    for (const TCase& c : {TCase{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, false, false},
                           TCase{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 3, true, true}}) {
        const HWND d = MakeDialog(c.Style);
        ASSERT_TRUE(AttachToNewWindow(d));
        ShowWindow(d, SW_SHOWNA);
        kova::test::PumpMessages();
        TacDialogWnd* dialog = DialogAdapterOf(d);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->BorderKind, c.Kind);
        RECT wr{};
        GetWindowRect(d, &wr);
        const int bw = dialog->BorderWidth(), captionH = dialog->CaptionHeight(true);
        // A click on the icon opens it under the icon; a right click on
        // the caption where the mouse is.
        const auto check = [&](const char* how, POINT at) {
            EXPECT_EQ(shown.Menu, dialog->SystemMenu.get()) << how << c.Kind;
            EXPECT_EQ(shown.At.x, at.x) << how << c.Kind;
            EXPECT_EQ(shown.At.y, at.y) << how << c.Kind;
            EXPECT_TRUE(shown.OwnerDrawn) << how << c.Kind;
            EXPECT_TRUE(shown.NoAnimation) << how << c.Kind;
            EXPECT_EQ(shown.Restore, c.Restore) << how << c.Kind;
            EXPECT_EQ(shown.Size, c.Size) << how << c.Kind;
            EXPECT_TRUE(shown.Move) << how << c.Kind;
            EXPECT_TRUE(shown.Close) << how << c.Kind;
            shown = TShownSystemMenu{};
        };
        SendMessageA(d, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(wr.left + bw + 2, wr.top + bw + captionH / 2));
        check("icon ", POINT{wr.left + bw, wr.top + captionH + GetSystemMetrics(SM_CYSMICON)});
        SendMessageA(d, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + 150, wr.top + bw + captionH / 2));
        EXPECT_EQ(shown.Menu, nullptr) << "a press alone opens nothing";
        SendMessageA(d, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(wr.left + 150, wr.top + bw + captionH / 2));
        check("caption ", POINT{wr.left + 150, wr.top + bw + captionH / 2});
        // Out of the way of the limit on visible skinned dialogs.
        ShowWindow(d, SW_HIDE);
    }
    // With popups plain, so is the system menu.
    manager->SetSkinnedPopups(false);
    const HWND d = MakeDialog();
    ASSERT_TRUE(AttachToNewWindow(d));
    SendMessageA(d, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(100, 100));
    EXPECT_NE(shown.Menu, nullptr);
    EXPECT_FALSE(shown.OwnerDrawn);
}

TEST_F(AutoSkinTest, TheSystemMenusCloseClosesTheBoxLikeItsCloseButton) {
    bool chosen = false;
    const TScopedDialogResponder responder([&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind != TDialogKind::Popup) {
            a.handled = false;  // the system's box
            return a;
        }
        if (auto* menu = dynamic_cast<TacSystemMenu*>(r.menu)) {
            a.item = menu->miClose;
            chosen = true;
        }
        return a;
    });
    WhenShown("System menu", [&](HWND box) {
        TacDialogWnd* dialog = DialogAdapterOf(box);
        ASSERT_NE(dialog, nullptr);
        RECT wr{};
        GetWindowRect(box, &wr);
        const int bw = dialog->BorderWidth();
        SendMessageA(box, WM_NCLBUTTONDOWN, HTSYSMENU,
                     MAKELPARAM(wr.left + bw + 2, wr.top + bw + dialog->CaptionHeight(true) / 2));
    });
    EXPECT_EQ(ShowBox("System menu", mbOK | mbCancel), mrCancel);
    EXPECT_TRUE(chosen);
}

TEST_F(AutoSkinTest, AnOpenFileDialogsChildrenGetAdapters) {
    TOpenDialog open(nullptr);
    open.Title = "Pick a file";
    open.Filter = "All files|*.*";
    bool checked = false;
    WhenShown("Pick a file", [&](HWND dialog) {
        EXPECT_NE(DialogAdapterOf(dialog), nullptr);
        int buttons = 0, combos = 0, toolbars = 0;
        for (HWND c : Children(dialog)) {
            const std::string cls = kova::WindowClassName(c);
            TacMainWnd* a = FindAdapter(c);
            if (cls == "Button" && (GetWindowLongA(c, GWL_STYLE) & 0xF) <= BS_DEFPUSHBUTTON && IsWindowVisible(c))
                buttons += a != nullptr;
            if (cls == "ComboBox") combos += a != nullptr;
            if (cls == "ToolbarWindow32") toolbars += a != nullptr;
        }
        EXPECT_GE(buttons, 2);  // Open and Cancel
        EXPECT_GE(combos, 1);
        EXPECT_GE(toolbars, 1);
        checked = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(open.Execute());
    EXPECT_TRUE(checked);
}

TEST_F(AutoSkinTest, TheSaveFolderFontAndColourDialogsAreSkinnedAndCancelCloses) {
    TSaveDialog save(nullptr);
    save.Title = "Save a file";
    save.Filter = "All files|*.*";
    TFontDialog font(nullptr);
    TColorDialog colour(nullptr);
    std::string folder = "C:\\";
    struct TCase {
        const char* Name;
        std::function<bool()> Execute;
    };
    const TCase cases[] = {
        {"save", [&] { return save.Execute(); }},
        {"folder", [&] { return SelectDirectory("Pick a folder", folder); }},
        {"font", [&] { return font.Execute(); }},
        {"colour", [&] { return colour.Execute(); }},
    };
    for (const TCase& c : cases) {
        bool checked = false;
        WhenShown("", [&](HWND dialog) {
            EXPECT_NE(DialogAdapterOf(dialog), nullptr) << c.Name;
            EXPECT_NE(FindProviderOfWindow(dialog), nullptr) << c.Name;
            // Its children carry adapters, Cancel the push button's.
            int adapted = 0;
            for (HWND w : Children(dialog)) adapted += FindAdapter(w) != nullptr;
            EXPECT_GE(adapted, 3) << c.Name;
            EXPECT_NE(dynamic_cast<TacBtnWnd*>(FindAdapter(GetDlgItem(dialog, IDCANCEL))), nullptr) << c.Name;
            checked = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_FALSE(c.Execute()) << c.Name;
        EXPECT_TRUE(checked) << c.Name;
    }
}

TEST_F(AutoSkinTest, FiftySkinnedBoxesLeaveTheCountsFlat) {
    const auto box = [&] {
        WhenShown("Again", [](HWND b) { PostMessageA(b, WM_COMMAND, IDOK, 0); });
        ShowBox("Again", mbOK);
    };
    for (int i = 0; i < 3; ++i) box();
    const TFlatCounts counts;
    const int providers = LiveProviders();
    for (int i = 0; i < 50; ++i) box();
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiSame);
    // A dialog's provider goes at a later window's destruction: at most
    // the last box's is left.
    EXPECT_LE(LiveProviders(), providers + 1);
}

// ------------------------------------------------------------ decisions

TEST_F(AutoSkinTest, NewFormsGetADeferredProviderUnlessTheirTagRefuses) {
    // The owner form, activated, got one, made by the hook's provider.
    auto* ownerProvider = dynamic_cast<TsSkinProvider*>(ProviderOfForm(owner));
    ASSERT_NE(ownerProvider, nullptr);
    TacProvider* hooked = FindProviderOfWindow(owner->Handle());
    ASSERT_NE(hooked, nullptr);
    EXPECT_EQ(hooked->SkinProvider, ownerProvider);
    EXPECT_FALSE(AttachToNewWindow(owner->Handle()));  // once only
    for (const std::intptr_t tag : {std::intptr_t{-1}, std::intptr_t{-98}}) {
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetTag(tag);
        form->SetBounds(100, 100, 200, 120);
        form->Show();
        kova::test::PumpMessages();
        EXPECT_FALSE(AttachToNewWindow(form->Handle())) << tag;
        EXPECT_EQ(ProviderOfForm(form), nullptr) << tag;
        form->Free();
    }
}

TEST_F(AutoSkinTest, TheMessageFormIsADialogAndEveryOtherFormAForm) {
    struct TCase {
        TacSkinningRules Rules;
        bool MessageForm;
        bool Skinned;
    };
    for (const TCase& c : {TCase{srStdDialogs, true, true}, TCase{srStdDialogs, false, false},
                           TCase{srStdForms, true, false}, TCase{srStdForms, false, true}}) {
        manager->SkinningRules = c.Rules;
        TForm* form = c.MessageForm ? static_cast<TForm*>(TCustomForm::Create<TMessageForm>(Application()))
                                    : TCustomForm::Create<TForm>(Application());
        form->SetBounds(100, 100, 200, 120);
        // The hook takes the form as its window is made.
        form->HandleNeeded();
        EXPECT_EQ(ProviderOfForm(form) != nullptr, c.Skinned) << c.Rules << " " << c.MessageForm;
        EXPECT_EQ(FindProviderOfWindow(form->Handle()) != nullptr, c.Skinned) << c.Rules << " " << c.MessageForm;
        EXPECT_FALSE(AttachToNewWindow(form->Handle()));
        form->Free();
    }
}

TEST_F(AutoSkinTest, AFormOfAnExcludedWindowClassStaysPlain) {
    TForm* form = TCustomForm::Create<TfcPopup>(Application());
    form->SetBounds(100, 100, 200, 120);
    form->HandleNeeded();
    ASSERT_EQ(kova::WindowClassName(form->Handle()), "TfcPopup");
    form->Show();
    kova::test::PumpMessages();
    SetActiveWindow(form->Handle());
    kova::test::PumpMessages();
    EXPECT_EQ(ProviderOfForm(form), nullptr);
    EXPECT_EQ(FindProviderOfWindow(form->Handle()), nullptr);
    EXPECT_FALSE(AttachToNewWindow(form->Handle()));
    form->Free();
}

TEST_F(AutoSkinTest, TheHookAnswersWhatTheNextHookAnswers) {
    // A hook installed before ours runs after it: its veto must come back.
    manager->SetActive(false);
    THookHandle veto(SetWindowsHookExA(WH_CBT, VetoHook, nullptr, GetCurrentThreadId()));
    manager->SetActive(true);
    ASSERT_TRUE(manager->ThreadHookInstalled());
    HWND vetoed = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "Vetoed", WS_POPUP | WS_CAPTION, 0, 0, 100, 80,
                                  owner->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(vetoed, nullptr);
    if (vetoed) DestroyWindow(vetoed);
    const HWND allowed = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, true);
    EXPECT_NE(allowed, nullptr);
    EXPECT_NE(DialogAdapterOf(allowed), nullptr);
    manager->SetActive(false);
}

TEST_F(AutoSkinTest, AFileDialogIsSkinnedWhileTwoBoxesShow) {
    bool checked = false;
    WhenShown("One", [&](HWND one) {
        WhenShown("Two", [&, one](HWND two) {
            ASSERT_EQ(CountVisibleSkinnedDialogs(), 2);
            TOpenDialog open(nullptr);
            open.Title = "Third is a file dialog";
            WhenShown("Third is a file dialog", [&](HWND dialog) {
                // It holds a tool bar: the limit does not hold it back.
                EXPECT_TRUE(HasDescendantOfClass(dialog, "toolbarwindow32"));
                EXPECT_NE(DialogAdapterOf(dialog), nullptr);
                checked = true;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            });
            EXPECT_FALSE(open.Execute());
            PostMessageA(two, WM_COMMAND, IDOK, 0);
        });
        ShowBox("Two", mbOK);
        PostMessageA(one, WM_COMMAND, IDOK, 0);
    });
    ShowBox("One", mbOK);
    EXPECT_TRUE(checked);
}

TEST_F(AutoSkinTest, PopupsWithoutBorderChildDialogsAndTheUtilityWindowStayPlain) {
    const HWND bare = MakeDialog(WS_POPUP);
    EXPECT_FALSE(AttachToNewWindow(bare));
    const HWND child = CreateWindowExA(0, "#32770", "Inner", WS_CHILD | WS_CAPTION | WS_VISIBLE, 0, 0, 100, 80,
                                       owner->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    made.push_back(child);
    EXPECT_FALSE(AttachToNewWindow(child));
    const HWND tip = CreateWindowExA(WS_EX_TOPMOST, "tooltips_class32", "", WS_POPUP, 0, 0, 10, 10, owner->Handle(),
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    made.push_back(tip);
    EXPECT_FALSE(AttachToNewWindow(tip));
    // The framework's utility window (a popup of its own class).
    const HWND util = AllocateHWnd([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, TUtilWindowKind::TopLevel);
    EXPECT_FALSE(AttachToNewWindow(util));
    EXPECT_EQ(FindProviderOfWindow(util), nullptr);
    DeallocateHWnd(util);
    for (HWND w : {bare, child, tip}) EXPECT_EQ(FindAdapter(w), nullptr);
    // The owned, bordered dialog is taken by the hook as it is made.
    const HWND owned = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, true);
    EXPECT_EQ(GetParent(owned), owner->Handle());
    EXPECT_NE(FindProviderOfWindow(owned), nullptr);
    EXPECT_NE(DialogAdapterOf(owned), nullptr);
    EXPECT_FALSE(AttachToNewWindow(owned));  // once only
}

TEST_F(AutoSkinTest, AFailedAttachIsAFailureAndLeavesNoProvider) {
    const HWND d = MakeDialog();
    // Another adapter's property on the window: ours cannot be chained.
    static int foreign = 0;
    SetPropA(d, kAdapterProp, &foreign);
    const int before = LiveProviders();
    EXPECT_FALSE(AttachToNewWindow(d));
    EXPECT_EQ(LiveProviders(), before);
    EXPECT_EQ(FindProviderOfWindow(d), nullptr);
    RemovePropA(d, kAdapterProp);
}

TEST_F(AutoSkinTest, TheChildFactoryChoosesByClassAndExactButtonType) {
    const HWND d = MakeDialog();
    const HWND inner = CreateWindowExA(0, "#32770", "", WS_CHILD | WS_VISIBLE, 200, 10, 100, 60, d, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    // The link class is the common controls' own.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    enum TKind { None, Btn, Check, Group, Static, Icon, EdgeIcon, Link, Edit, Track, Sizer, Spin, Trans };
    struct TCase {
        const char* Class;
        DWORD Style;
        TKind Kind;
        DWORD ExStyle = 0;
    };
    const TCase cases[] = {
        {"Button", BS_PUSHBUTTON, Btn},        {"Button", BS_DEFPUSHBUTTON, Btn},
        {"Button", BS_AUTOCHECKBOX, Check},    {"Button", BS_AUTORADIOBUTTON, Check},
        {"Button", BS_GROUPBOX, Group},        {"Button", BS_OWNERDRAW, None},
        {"Button", BS_PUSHBOX, None},          {"Button", 0xC /* split */, None},
        {"Button", 0xF /* default command link */, None},
        {"Static", SS_LEFT, Static},           {"Static", SS_ICON, Icon},
        {"Static", SS_BLACKFRAME, Icon},       {"Static", SS_BITMAP, Icon},
        {"Static", SS_ICON, EdgeIcon, WS_EX_STATICEDGE},
        {"Static", SS_ETCHEDHORZ, Static},     {"Static", SS_OWNERDRAW, None},
        {"Static", SS_GRAYRECT, None},         {"Static", SS_SIMPLE, Icon} /* type 11: 11 AND 3 = 3 */,
        {"SysLink", 0, Link},
        {"Edit", 0, Edit},                     {"msctls_trackbar32", 0, Track},
        {"ScrollBar", SBS_SIZEGRIP, Sizer},    {"msctls_updown32", 0, Spin},
    };
    std::vector<HWND> windows;
    int y = 10;
    for (const TCase& c : cases) {
        windows.push_back(CreateWindowExA(c.ExStyle, c.Class, "x", WS_CHILD | WS_VISIBLE | c.Style, 10, y, 120, 20, d,
                                          nullptr, GetModuleHandleA(nullptr), nullptr));
        ASSERT_NE(windows.back(), nullptr) << c.Class;
        y += 14;
    }
    const HWND hiddenEdit = CreateWindowExA(0, "Edit", "", WS_CHILD, 10, 250, 50, 20, d, nullptr,
                                            GetModuleHandleA(nullptr), nullptr);
    const HWND innerButton = Child(inner, "Button", BS_PUSHBUTTON, 5);
    ASSERT_TRUE(AttachToNewWindow(d));
    // Children that came later are adapted when asked.
    const HWND late = Child(d, "Button", BS_PUSHBUTTON, 270);
    EXPECT_EQ(FindAdapter(late), nullptr);
    SendSkinCommand(d, 28, 0);
    EXPECT_NE(dynamic_cast<TacBtnWnd*>(FindAdapter(late)), nullptr);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        TacMainWnd* a = FindAdapter(windows[i]);
        bool right = false;
        switch (cases[i].Kind) {
            case None: right = a == nullptr; break;
            case Btn: right = dynamic_cast<TacBtnWnd*>(a) != nullptr; break;
            case Check: right = dynamic_cast<TacCheckBoxWnd*>(a) != nullptr; break;
            case Group: right = dynamic_cast<TacGroupBoxWnd*>(a) != nullptr; break;
            case Static:
                right = dynamic_cast<TacStaticWnd*>(a) != nullptr && !dynamic_cast<TacIconWnd*>(a) &&
                        !dynamic_cast<TacEdgeWnd*>(a);
                break;
            case Icon: right = dynamic_cast<TacIconWnd*>(a) != nullptr; break;
            case EdgeIcon:
                right = dynamic_cast<TacEdgeWnd*>(a) != nullptr && a->CommonData->SkinSection() == "EDIT";
                break;
            case Link: right = dynamic_cast<TacLinkWnd*>(a) != nullptr; break;
            case Edit: right = dynamic_cast<TacEditWnd*>(a) != nullptr; break;
            case Track: right = dynamic_cast<TacTrackWnd*>(a) != nullptr; break;
            case Sizer: right = dynamic_cast<TacSizerWnd*>(a) != nullptr; break;
            case Spin: right = dynamic_cast<TacSpinWnd*>(a) != nullptr && static_cast<TacSpinWnd*>(a)->LeftOffset == 2;
                break;
            case Trans: break;
        }
        EXPECT_TRUE(right) << cases[i].Class << " style " << cases[i].Style << " ex " << cases[i].ExStyle;
    }
    // Each adapter knows its own window's place and size, not the dialog's.
    TacMainWnd* first = FindAdapter(windows[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->WindowSize.cx, 120);
    EXPECT_EQ(first->WindowSize.cy, 20);
    EXPECT_EQ(first->ParentHandle, d);
    EXPECT_EQ(FindAdapter(hiddenEdit), nullptr);
    EXPECT_NE(dynamic_cast<TacTransPanelWnd*>(FindAdapter(inner)), nullptr);
    EXPECT_NE(dynamic_cast<TacBtnWnd*>(FindAdapter(innerButton)), nullptr);
    // A dialog edit lets the dialog's own painting run again.
    EXPECT_FALSE(DialogAdapterOf(d)->SuppressClientPaint);
}

TEST_F(AutoSkinTest, TheBorderKindChoosesTheTitleAndItsButtonImages) {
    const TsSkinModel& model = manager->Model();
    const auto mask = [&](const char* name) {
        return model.IndexOfMask(model.ConstData().GlobalInfo, "GLOBALINFO", name);
    };
    const auto either = [&](const char* first, const char* second) {
        return model.MaskIndexValid(mask(first)) ? mask(first) : mask(second);
    };
    struct TCase {
        DWORD Style;
        int Kind;
        const char* Title;
        int Close;
    };
    const TCase cases[] = {
        // A message box's frame: the small images and the dialog title.
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, "DIALOGTITLE", either("SICONCLOSE", "BICONCLOSE")},
        // Sizeable without minimise and maximise: the lone close image.
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 3, "FORMTITLE", either("BICLOSEALONE", "BICONCLOSE")},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 3, "FORMTITLE", mask("BICONCLOSE")},
    };
    for (const TCase& c : cases) {
        const HWND d = MakeDialog(c.Style);
        ASSERT_TRUE(AttachToNewWindow(d));
        TacDialogWnd* dialog = DialogAdapterOf(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->BorderKind, c.Kind) << c.Style;
        EXPECT_EQ(dialog->TitleSection, c.Title) << c.Style;
        EXPECT_EQ(dialog->CloseButton.ImageIndex, c.Close) << c.Style;
        EXPECT_TRUE(model.MaskIndexValid(dialog->CloseButton.ImageIndex)) << c.Style;
    }
}

TEST_F(AutoSkinTest, ADeactivatedDialogIsDrawnInactive) {
    const HWND d = MakeDialog();
    ASSERT_TRUE(AttachToNewWindow(d));
    ShowWindow(d, SW_SHOWNA);
    kova::test::PumpMessages();
    TacDialogWnd* dialog = DialogAdapterOf(d);
    ASSERT_NE(dialog, nullptr);
    const int y = dialog->BorderWidth() + dialog->CaptionHeight(true) / 2, x = 200;
    SendMessageA(d, WM_NCACTIVATE, TRUE, 0);
    const std::uint32_t active = dialog->CommonData->CacheBmp->Pixels().At(x, y) & 0xFFFFFFu;
    EXPECT_EQ(active, 0xEFEBE5u);
    SendMessageA(d, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(dialog->Active);
    EXPECT_NE(dialog->CommonData->CacheBmp->Pixels().At(x, y) & 0xFFFFFFu, active);
    SendMessageA(d, WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(dialog->Active);
    EXPECT_EQ(dialog->CommonData->CacheBmp->Pixels().At(x, y) & 0xFFFFFFu, active);
}

TEST_F(AutoSkinTest, ASkinChangeReachesAShownDialogAndItsChildren) {
    bool checked = false;
    WhenShown("Changing", [&](HWND box) {
        TacDialogWnd* dialog = DialogAdapterOf(box);
        ASSERT_NE(dialog, nullptr);
        TacMainWnd* button = nullptr;
        for (HWND c : Children(box))
            if (auto* b = dynamic_cast<TacBtnWnd*>(FindAdapter(c))) button = b;
        ASSERT_NE(button, nullptr);
        ASSERT_NE(button->CommonData->CacheBmp, nullptr);
        const auto face = [&] {
            const PixelBuffer32& b = button->CommonData->CacheBmp->Pixels();
            return b.At(b.Width() / 2, b.Height() / 2) & 0xFFFFFFu;
        };
        const std::uint32_t linenFace = face();
        manager->SetSkinName("Slate (internal)");
        const TsSkinModel& model = manager->Model();
        EXPECT_EQ(dialog->TitleIndex, model.IndexOfSection("DIALOGTITLE"));
        EXPECT_EQ(button->CommonData->SkinIndex, model.IndexOfSection("BUTTON"));
        // The button was told and painted itself in the new skin.
        EXPECT_NE(face(), linenFace);
        // The caption is repainted in the new skin's title colour.
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const int y = dialog->BorderWidth() + dialog->CaptionHeight(true) / 2;
        const std::uint32_t pixel = dialog->CommonData->CacheBmp->Pixels().At(dialog->CommonData->CacheBmp->Width() / 2, y);
        EXPECT_NE(pixel & 0xFFFFFFu, 0xEFEBE5u);
        checked = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ShowBox("Changing", mbOK), mrOk);
    EXPECT_TRUE(checked);
}

TEST_F(AutoSkinTest, TheBackgroundBrushIsMadeOncePerColour) {
    const HWND d = MakeDialog();
    ASSERT_TRUE(AttachToNewWindow(d));
    const TWindowDC dc(d, TDCArea::Client);
    const auto brush = [&] {
        return reinterpret_cast<HBRUSH>(
            SendMessageA(d, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(d)));
    };
    const DWORD gdi = LiveGdiObjects();
    const HBRUSH first = brush();
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(brush(), first);
    LOGBRUSH lb{};
    GetObjectA(first, sizeof lb, &lb);
    const TsSkinModel& model = manager->Model();
    EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(model.ColorToRGB(model.GlobalInfoColor()) & 0xFFFFFF));
    EXPECT_LE(LiveGdiObjects(), gdi + 1);
}

TEST_F(AutoSkinTest, RemovingTheHookFreesEveryProviderAndAdapterItMade) {
    const THandleCounts before = LiveHandleCounts();
    const HWND d = MakeDialog();
    const HWND button = Child(d, "Button", BS_PUSHBUTTON, 10);
    const HWND edit = Child(d, "Edit", 0, 40);
    ASSERT_TRUE(AttachToNewWindow(d));
    ShowWindow(d, SW_SHOWNA);
    kova::test::PumpMessages();
    ASSERT_NE(FindAdapter(d), nullptr);
    ASSERT_NE(FindAdapter(button), nullptr);
    ASSERT_NE(ProviderOfForm(owner), nullptr);
    manager->SetActive(false);
    EXPECT_FALSE(manager->ThreadHookInstalled());
    EXPECT_TRUE(DialogProviders().empty());
    for (HWND w : {d, button, edit}) EXPECT_EQ(FindAdapter(w), nullptr);
    // The deferred form provider went too; the windows work on unskinned.
    EXPECT_EQ(ProviderOfForm(owner), nullptr);
    EXPECT_TRUE(GetWindowLongA(d, GWL_STYLE) & WS_SYSMENU);
    DestroyWindow(d);
    kova::test::PumpMessages();
    // Every chain the adapters joined is left, and the owner form's
    // provider's with them.
    const THandleCounts after = LiveHandleCounts();
    EXPECT_EQ(after[static_cast<std::size_t>(THandleKind::Subclass)],
              before[static_cast<std::size_t>(THandleKind::Subclass)] - 1);
    EXPECT_EQ(after[static_cast<std::size_t>(THandleKind::Hook)], before[static_cast<std::size_t>(THandleKind::Hook)] - 1);
}

TEST_F(AutoSkinTest, RemovingTheHookFreesThePopupMenuAdapterItMade) {
    const int before = MenuWndAdapterCount();
    const HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MAKEINTATOM(32768), "", WS_POPUP | WS_BORDER,
                                       50, 50, 120, 80, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(popup, nullptr);
    made.push_back(popup);
    EXPECT_EQ(MenuWndAdapterCount(), before + 1);
    EXPECT_NE(FindAdapter(popup), nullptr);
    manager->SetActive(false);
    EXPECT_EQ(MenuWndAdapterCount(), 0);
    EXPECT_EQ(FindAdapter(popup), nullptr);
}

// A child that prints itself in one colour (its user data).
LRESULT CALLBACK SolidProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PRINT || msg == WM_PRINTCLIENT) {
        RECT r{};
        GetClientRect(w, &r);
        TGdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(w, GWLP_USERDATA))));
        FillRect(reinterpret_cast<HDC>(wp), &r, brush.Get());
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(AutoSkinTest, ADialogsChildrenArePaintedBottomFirst) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = SolidProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaSolidChild";
    RegisterClassA(&wc);
    const HWND d = MakeDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    const auto solid = [&](COLORREF colour, int x, int y) {
        HWND c = CreateWindowExA(0, "KovaSolidChild", "", WS_CHILD | WS_VISIBLE, x, y, 60, 40, d, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(c, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
        return c;
    };
    solid(RGB(255, 0, 0), 10, 10);
    const HWND upper = solid(RGB(0, 0, 255), 40, 20);
    // The blue one lies above the red one where they meet.
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(GetWindow(d, GW_CHILD), upper);
    ASSERT_TRUE(AttachToNewWindow(d));
    kova::test::PumpMessages();
    TBitmap picture(200, 120);
    picture.Pixels().Fill(0xFF00FF00u);
    PaintChildWindows(d, picture.Canvas()->Handle());
    GdiFlush();
    const auto rgb = [&](int x, int y) { return picture.Pixels().At(x, y) & 0xFFFFFFu; };
    EXPECT_EQ(rgb(20, 15), 0xFF0000u);  // only the lower child
    EXPECT_EQ(rgb(50, 30), 0x0000FFu);  // both: the upper one shows
    EXPECT_EQ(rgb(90, 50), 0x0000FFu);
    EXPECT_EQ(rgb(5, 5), 0x00FF00u);    // neither
    UnregisterClassA("KovaSolidChild", GetModuleHandleA(nullptr));
}

}  // namespace kova::skin::test
