// The skinned form's frame under the mouse and the keyboard: what its
// children ask of it, the frame's hit test, title buttons clicked with real
// input, caption double clicks, snapping at the work-area edges, moving and
// sizing by the mouse (the outline drag of rmBorder included), system
// commands, the system menu with its states and commands, and what the
// form gets back when the skin or the provider goes.
#include "skin/forms/formhandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/portable/skintypes.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/skinstate.h"
#include "skin/forms/ctrladapter.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"
#include "skin/forms/titlebuttons.h"
#include "skin/forms/titleitems.h"
#include "../core/handlecheck.h"

namespace kova::skin::test {

using kova::test::MouseClick;
using kova::test::MouseDoubleClick;
using kova::test::MouseDown;
using kova::test::MouseDrag;
using kova::test::MouseMove;
using kova::test::MouseUp;
using kova::test::PumpFor;
using kova::test::WaitUntil;

namespace {

LONG_PTR Style(HWND w) { return GetWindowLongPtrA(w, GWL_STYLE); }

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void AltSpace() {
    INPUT in[4]{};
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[3].ki.wVk = VK_MENU;
    in[1].ki.wVk = in[2].ki.wVk = VK_SPACE;
    in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof in[0]);
    PumpFor(150);
}

RECT WindowRect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r;
}

RECT WorkArea(HWND w) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

// A shown form skinned with an internal skin, its provider's system
// commands counted.
struct SkinnedForm {
    explicit SkinnedForm(TFormBorderStyle style = bsSizeable, TBorderIcons icons = biSystemMenu | biMinimize | biMaximize,
                         bool withMenu = false) {
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        form = TCustomForm::Create<TForm>(Application());
        form->SetBorderStyle(style);
        form->SetBorderIcons(icons);
        form->SetBounds(150, 120, 420, 300);
        if (withMenu) {
            auto* bar = new TMainMenu(form);
            for (const char* caption : {"File", "Edit"}) {
                auto* item = new TMenuItem(bar);
                item->SetCaption(caption);
                bar->Items()->Add(item);
            }
            form->SetMenu(bar);
        }
        form->HandleNeeded();
        TWndMethod below = form->WindowProc;
        form->WindowProc = [this, below](TMessage& m) {
            if (underProvider && underProvider(m)) return;
            if (m.Msg == WM_SYSCOMMAND) commands.push_back(m.WParam & 0xFFF0);
            if (m.Msg == kKeepRegionQuery || m.Msg == WM_INITMENUPOPUP ||
                (IsSkinCommand(m) && SkinSubCode(m.WParam) == scParentFormNotify))
                ++reached[m.Msg == SkinCommandMessage ? 0u : m.Msg];
            below(m);
        };
        p = new TsSkinProvider(form);
        manager->SetSkinName("Linen (internal)");
        form->Show();
        SetForegroundWindow(form->Handle());
        WaitUntil([&] { return GetForegroundWindow() == form->Handle(); }, 2000);
        PumpFor(50);
    }
    ~SkinnedForm() {
        if (form && IsWindow(wnd())) form->Free();
        manager->Free();
    }
    HWND wnd() const { return form->Handle(); }
    // The title buttons where the caption shows them: the frame painted
    // through the form's own non-client paint, which lays them out.
    void LayOutButtons() {
        p->SkinData->BGChanged = true;
        RedrawWindow(wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpFor(20);
        EXPECT_FALSE(IsRectEmpty(&p->CloseButton.Rect)) << "the painter laid out no close button";
    }
    // A point of the form in window coordinates, on the screen.
    POINT At(int x, int y) const {
        const RECT r = WindowRect(wnd());
        return POINT{r.left + x, r.top + y};
    }
    POINT AtButton(const TsCaptionButton& b) const {
        const POINT c = Center(b.Rect);
        return At(c.x, c.y);
    }
    POINT Caption() const { return At(WindowWidth(wnd()) / 2 - 40, GetBorderWidth(wnd(), nullptr, false) + GetSystemMetrics(SM_CYCAPTION) / 2); }
    int HitTest(POINT screen) const {
        return static_cast<int>(SendMessageA(wnd(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }

    TsSkinManager* manager;
    TForm* form;
    TsSkinProvider* p;
    std::vector<WPARAM> commands;
    // A test's own answers in the form's procedure, under the provider
    // (true: answered there).
    std::function<bool(TMessage&)> underProvider;
    // What the provider passed on to the form's own procedure (a new
    // control's announcement counted at 0).
    std::map<UINT, int> reached;
};

// The items a popup showed, by component name, and the item to choose.
struct PopupSeen {
    TPopupMenu* menu = nullptr;
    int x = 0, y = 0;
    int shown = 0;
};

TMenuItem* Named(TMenu* menu, const std::string& name) {
    std::vector<TMenuItem*> stack{menu->Items()};
    while (!stack.empty()) {
        TMenuItem* i = stack.back();
        stack.pop_back();
        if (i->Name() == name) return i;
        for (int k = 0; k < i->Count(); ++k) stack.push_back(i->Items(k));
    }
    return nullptr;
}

class FormHandlerTest : public ::testing::Test {
protected:
    void TearDown() override {
        ButtonPressed = false;
        ResetSkinServices();
    }
};

// A message the tests post to a form to act in the middle of a wait of its
// handler (the wait runs the form's messages).
constexpr UINT kActNow = WM_APP + 0x31;

}  // namespace

// The children's questions: the client offset packed x low, y high, and
// the background under them with the offset of the client area.
TEST_F(FormHandlerTest, AnswersTheChildrensQuestions) {
    SkinnedForm f;
    POINT client{0, 0};
    ClientToScreen(f.wnd(), &client);
    const RECT r = WindowRect(f.wnd());
    const LRESULT packed = SendSkinCommand(f.wnd(), 61, 0);
    EXPECT_EQ(LOWORD(packed), client.x - r.left);
    EXPECT_EQ(HIWORD(packed), client.y - r.top);
    EXPECT_EQ(LOWORD(packed), f.p->ClientOffsetX());

    TsBackgroundInfo info;
    info.Offset = {-50, -50};
    SendSkinCommand(f.wnd(), scQueryBgInfo, reinterpret_cast<LPARAM>(&info));
    EXPECT_NE(info.BgType, 0) << "the background was not described";
    EXPECT_EQ(info.Offset.X, client.x - r.left);
    EXPECT_EQ(info.Offset.Y, client.y - r.top);

    // A new control announced to the form ends there (its adapter takes
    // it once there is one).
    EXPECT_EQ(SendSkinCommand(f.wnd(), scParentFormNotify, 0), 0);
    EXPECT_EQ(f.reached[0], 0);
}

// The hit test at each title button's centre, the icon, the caption, the
// edges and corners, and the client area.
TEST_F(FormHandlerTest, HitTestAnswersByTheFramesTables) {
    SkinnedForm f;
    f.LayOutButtons();
    const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
    const RECT icon = f.p->IconRect();
    struct Case {
        const char* what;
        POINT at;
        int code;
    };
    const Case cases[] = {
        {"close", f.AtButton(f.p->CloseButton), HTCLOSE},
        {"maximise", f.AtButton(f.p->MaxButton), HTMAXBUTTON},
        {"minimise", f.AtButton(f.p->MinButton), HTMINBUTTON},
        {"caption", f.Caption(), HTCAPTION},
        {"client", f.At(w / 2, h / 2), HTCLIENT},
        {"left edge", f.At(1, h / 2), HTLEFT},
        {"right edge", f.At(w - 2, h / 2), HTRIGHT},
        {"top edge", f.At(w / 2, 0), HTTOP},
        {"bottom edge", f.At(w / 2, h - 1), HTBOTTOM},
        {"bottom-left corner", f.At(1, h - 1), HTBOTTOMLEFT},
        {"bottom-right corner", f.At(w - 2, h - 1), HTBOTTOMRIGHT},
    };
    for (const Case& c : cases) EXPECT_EQ(f.HitTest(c.at), c.code) << c.what;
    // With the provider's size grip its image's corner of the client sizes
    // the form; beside the image the client stays the client.
    const TsSkinModel& model = f.manager->Model();
    ASSERT_TRUE(model.MaskIndexValid(model.ConstData().GripImage)) << "the skin has a grip image";
    const int gripW = ImageWidthOfMask(model.Masks()[static_cast<std::size_t>(model.ConstData().GripImage)]);
    const int b = GetBorderWidth(f.wnd(), nullptr, true);
    const POINT inGrip = f.At(w - b - 3, h - b - 3), besideGrip = f.At(w - b - gripW - 4, h - b - 3);
    EXPECT_EQ(f.HitTest(inGrip), HTCLIENT) << "no grip";
    f.p->GripMode = gmRightBottom;
    const Case grip[] = {
        {"size grip", inGrip, HTBOTTOMRIGHT},
        {"beside the size grip", besideGrip, HTCLIENT},
        {"client with a grip", f.At(w / 2, h / 2), HTCLIENT},
    };
    for (const Case& c : grip) EXPECT_EQ(f.HitTest(c.at), c.code) << c.what;
    f.p->GripMode = gmNone;
    ASSERT_GT(icon.right, icon.left) << "a sizeable form with a system menu shows its icon";
    EXPECT_EQ(f.HitTest(f.At(Center(icon).x, Center(icon).y)), HTSYSMENU) << "icon";
}

// The frame's geometry and hit test for each border style, with and
// without a menu bar: the client offset the children are told, the
// caption and border the frame is painted with, the window's size around
// its client, and the codes at the corners, the edges, the menu line, the
// caption and a user title button.
TEST_F(FormHandlerTest, GeometryAndHitTestByBorderStyleAndMenu) {
    struct Style {
        const char* name;
        TFormBorderStyle style;
        bool sizeable, tool;
    };
    const Style styles[] = {
        {"sizeable", bsSizeable, true, false},
        {"single", bsSingle, false, false},
        {"dialog", bsDialog, false, false},
        {"tool window", bsToolWindow, false, true},
        {"sizeable tool window", bsSizeToolWin, true, true},
    };
    auto sizing = [](int code) { return code >= HTLEFT && code <= HTBOTTOMRIGHT; };
    for (const Style& st : styles)
        for (bool withMenu : {false, true}) {
            SCOPED_TRACE(std::string(st.name) + (withMenu ? " with a menu" : ""));
            SkinnedForm f(st.style, biSystemMenu | biMinimize | biMaximize, withMenu);
            TsTitleButton* user = f.p->TitleButtons()->Add();
            f.LayOutButtons();
            const HWND w = f.wnd();
            const int width = WindowWidth(w), height = WindowHeight(w);
            RECT client{};
            GetClientRect(w, &client);
            POINT origin{0, 0};
            ClientToScreen(w, &origin);
            const RECT wr = WindowRect(w);

            // Geometry.
            const int b = GetBorderWidth(w, nullptr, true);
            const int caption = GetSystemMetrics(st.tool ? SM_CYSMCAPTION : SM_CYCAPTION);
            EXPECT_EQ(f.p->CaptionHeight(true), caption);
            const LRESULT packed = SendSkinCommand(w, 61, 0);
            EXPECT_EQ(LOWORD(packed), origin.x - wr.left) << "client offset x";
            EXPECT_EQ(HIWORD(packed), origin.y - wr.top) << "client offset y";
            EXPECT_EQ(f.p->ClientOffsetX(), b) << "the frame's border is not the window's";
            // A dialog shows no menu bar.
            const bool menuShown = withMenu && st.style != bsDialog;
            EXPECT_EQ(f.p->HasMenuLine(), menuShown);
            const int menuLine = menuShown ? f.p->HasMenuBar() + 1 : 0;
            EXPECT_EQ(f.p->ClientOffsetY(), b + caption + menuLine) << "caption and menu line above the client";
            EXPECT_EQ(width - client.right, 2 * b);
            EXPECT_EQ(height - client.bottom, f.p->ClientOffsetY() + b);

            // Hit codes.
            const int top = f.HitTest(f.At(width - 2, 0)), topLeft = f.HitTest(f.At(0, 0));
            const int bottomLeft = f.HitTest(f.At(1, height - 1)), bottomRight = f.HitTest(f.At(width - 2, height - 1));
            const int left = f.HitTest(f.At(0, height / 2)), right = f.HitTest(f.At(width - 1, height / 2));
            const int bottom = f.HitTest(f.At(width / 2, height - 1));
            if (st.sizeable) {
                EXPECT_EQ(topLeft, HTTOPLEFT);
                EXPECT_EQ(top, HTTOPRIGHT);
                EXPECT_EQ(bottomLeft, HTBOTTOMLEFT);
                EXPECT_EQ(bottomRight, HTBOTTOMRIGHT);
                EXPECT_EQ(left, HTLEFT);
                EXPECT_EQ(right, HTRIGHT);
                EXPECT_EQ(bottom, HTBOTTOM);
            } else {
                // (The caption's codes there are the system's answer, which
                // gives a fixed border its own code.)
                for (int code : {topLeft, top, bottomLeft, bottomRight, left, right, bottom}) {
                    EXPECT_FALSE(sizing(code)) << "a fixed edge sizes (" << code << ")";
                    EXPECT_NE(code, HTCLIENT) << "a fixed edge is the client";
                }
            }
            if (menuShown) {
                EXPECT_EQ(f.HitTest(f.At(width / 2, b + caption + menuLine / 2)), HTMENU) << "the menu line";
                EXPECT_NE(GetMenu(w), nullptr);
            } else {
                EXPECT_EQ(f.HitTest(f.At(width / 2, f.p->ClientOffsetY() - 3)), HTCAPTION) << "above the client";
                EXPECT_EQ(GetMenu(w), nullptr) << "a menu bar the frame does not paint";
            }
            EXPECT_EQ(f.HitTest(f.Caption()), HTCAPTION);
            EXPECT_EQ(f.HitTest(f.At(width / 2, f.p->ClientOffsetY() + 10)), HTCLIENT);
            ASSERT_FALSE(IsRectEmpty(&user->Rect)) << "no user button laid out";
            EXPECT_EQ(f.HitTest(f.At(Center(user->Rect).x, Center(user->Rect).y)), kUserButtonHit) << "the user button";
            EXPECT_EQ(f.HitTest(f.AtButton(f.p->CloseButton)), HTCLOSE);
        }
}

// A form showing minimise and help but no maximise: the help button keeps
// its own code (the buttons are counted as they are shown).
TEST_F(FormHandlerTest, TheHelpButtonAnswersHelpWithoutAMaximiseButton) {
    SkinnedForm f(bsSingle, biSystemMenu | biMinimize | biHelp);
    ASSERT_FALSE(f.p->SystemMenu->VisibleMax());
    ASSERT_TRUE(f.p->SystemMenu->VisibleMin());
    f.LayOutButtons();
    EXPECT_EQ(f.HitTest(f.AtButton(f.p->CloseButton)), HTCLOSE);
    EXPECT_EQ(f.HitTest(f.AtButton(f.p->MinButton)), HTMINBUTTON);
    EXPECT_EQ(f.HitTest(f.AtButton(f.p->HelpButton)), HTHELP);
}

// Clicks on the title buttons minimise, maximise, restore and close.
TEST_F(FormHandlerTest, TitleButtonClicksActOnTheForm) {
    SkinnedForm f;
    f.LayOutButtons();
    ASSERT_TRUE(MouseClick(f.AtButton(f.p->MaxButton), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000)) << "not maximised";
    f.LayOutButtons();
    ASSERT_TRUE(MouseClick(f.AtButton(f.p->MaxButton), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.wnd()); }, 2000)) << "not restored";
    f.LayOutButtons();
    ASSERT_TRUE(MouseClick(f.AtButton(f.p->MinButton), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(f.wnd()) != FALSE; }, 2000)) << "not minimised";
    ShowWindow(f.wnd(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(f.wnd()) && IsWindowVisible(f.wnd()); }, 2000));
    SetForegroundWindow(f.wnd());
    WaitUntil([&] { return GetForegroundWindow() == f.wnd(); }, 2000);
    PumpFor(100);
    f.LayOutButtons();
    ASSERT_EQ(f.HitTest(f.AtButton(f.p->CloseButton)), HTCLOSE);
    ASSERT_EQ(WindowFromPoint(f.AtButton(f.p->CloseButton)), f.wnd()) << "the close button is not on the screen";
    bool closed = false;
    f.form->OnClose = [&](TObject*, TCloseAction& a) {
        closed = true;
        a = caHide;
    };
    ASSERT_TRUE(MouseClick(f.AtButton(f.p->CloseButton), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return closed && !IsWindowVisible(f.wnd()); }, 2000)) << "not closed";
    EXPECT_FALSE(ButtonPressed);
}

// A press on a title button released elsewhere does nothing, and leaves no
// button held.
TEST_F(FormHandlerTest, APressReleasedOutsideTheButtonDoesNothing) {
    SkinnedForm f;
    f.LayOutButtons();
    bool closed = false;
    f.form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    for (TsCaptionButton* b : {&f.p->CloseButton, &f.p->MaxButton, &f.p->MinButton}) {
        const POINT on = f.AtButton(*b);
        ASSERT_TRUE(MouseMove(on, f.wnd()));
        ASSERT_TRUE(MouseDown(on, f.wnd()));
        EXPECT_TRUE(ButtonPressed);
        EXPECT_EQ(b->State, 2);
        // Released over the client area, and once over the other buttons'
        // neighbour.
        const POINT off = f.At(200, 200);
        ASSERT_TRUE(MouseMove(off, f.wnd()));
        ASSERT_TRUE(MouseUp(off, f.wnd()));
        EXPECT_FALSE(ButtonPressed);
        EXPECT_EQ(b->State, 0);
    }
    PumpFor(100);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(IsWindowVisible(f.wnd()));
    EXPECT_FALSE(IsZoomed(f.wnd()));
    EXPECT_FALSE(IsIconic(f.wnd()));
    // Pressed on close, released on maximise: neither acts.
    ASSERT_TRUE(MouseMove(f.AtButton(f.p->CloseButton), f.wnd()));
    ASSERT_TRUE(MouseDown(f.AtButton(f.p->CloseButton), f.wnd()));
    ASSERT_TRUE(MouseMove(f.AtButton(f.p->MaxButton), f.wnd()));
    ASSERT_TRUE(MouseUp(f.AtButton(f.p->MaxButton), f.wnd()));
    PumpFor(100);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(IsZoomed(f.wnd()));
}

// A user title button under real input: a press and a release on it call
// its press and then its release; released elsewhere (the client area,
// another button) only its press is told and nothing else acts.
TEST_F(FormHandlerTest, AUserTitleButtonTellsItsPressAndItsReleaseOnIt) {
    SkinnedForm f;
    TsTitleButton* user = f.p->TitleButtons()->Add();
    std::vector<std::string> told;
    user->OnMouseDown = [&](TObject* sender, TMouseButton button, TShiftState, int, int) {
        EXPECT_EQ(sender, user);
        EXPECT_EQ(button, mbLeft);
        told.push_back("down");
    };
    user->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { told.push_back("up"); };
    bool closed = false;
    f.form->OnClose = [&](TObject*, TCloseAction& a) {
        closed = true;
        a = caHide;
    };
    f.LayOutButtons();
    ASSERT_FALSE(IsRectEmpty(&user->Rect));
    const POINT on = f.At(Center(user->Rect).x, Center(user->Rect).y);
    struct Case {
        const char* what;
        POINT release;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"released on it", on, {"down", "up"}},
        {"released over the client", f.At(200, 200), {"down"}},
        {"released over the close button", f.AtButton(f.p->CloseButton), {"down"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        told.clear();
        ASSERT_TRUE(MouseMove(on, f.wnd()));
        ASSERT_TRUE(MouseDown(on, f.wnd()));
        EXPECT_TRUE(ButtonPressed);
        EXPECT_EQ(user->State, 2);
        if (c.release.x != on.x || c.release.y != on.y) {
            ASSERT_TRUE(MouseMove(c.release, f.wnd()));
        }
        ASSERT_TRUE(MouseUp(c.release, f.wnd()));
        PumpFor(50);
        EXPECT_EQ(told, c.want);
        EXPECT_FALSE(ButtonPressed);
        EXPECT_NE(user->State, 2) << "left pressed";
        ASSERT_TRUE(MouseMove(f.At(200, 200), f.wnd()));
    }
    EXPECT_FALSE(closed);
    EXPECT_TRUE(IsWindowVisible(f.wnd()));
}

// The client area's leave, which the system may report up to a hover time
// after the mouse went on to the caption, comes between a title button's
// press and its release: the click still acts.
TEST_F(FormHandlerTest, AClientLeaveReportedDuringATitleButtonPressKeepsTheClick) {
    SkinnedForm f;
    f.LayOutButtons();
    // Over the client area first: the form asks for the leave there.
    ASSERT_TRUE(MouseMove(f.At(200, 200), f.wnd()));
    const POINT max = f.AtButton(f.p->MaxButton);
    ASSERT_TRUE(MouseMove(max, f.wnd()));
    ASSERT_TRUE(MouseDown(max, f.wnd()));
    ASSERT_TRUE(ButtonPressed);
    bool left = false;
    TWndMethod below = f.form->WindowProc;
    f.form->WindowProc = [&left, below](TMessage& m) {
        if (m.Msg == WM_MOUSELEAVE) left = true;
        below(m);
    };
    PostMessageA(f.wnd(), WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return left; }, 2000));
    EXPECT_TRUE(ButtonPressed);
    EXPECT_EQ(f.p->MaxButton.State, 2);
    ASSERT_TRUE(MouseUp(max, f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000)) << "the click was lost";
    EXPECT_FALSE(ButtonPressed);
}

// A double click on the caption maximises and restores; a form that can
// not be maximised stays as it is.
TEST_F(FormHandlerTest, ACaptionDoubleClickTogglesMaximised) {
    SkinnedForm f;
    ASSERT_TRUE(MouseDoubleClick(f.Caption(), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000)) << "not maximised";
    ASSERT_TRUE(MouseDoubleClick(f.Caption(), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.wnd()); }, 2000)) << "not restored";

    SkinnedForm fixed(bsDialog, biSystemMenu);
    ASSERT_TRUE(MouseDoubleClick(fixed.Caption(), fixed.wnd()));
    PumpFor(150);
    EXPECT_FALSE(IsZoomed(fixed.wnd()));
}

// With ScreenSnap a move to within the buffer of a work-area edge lands on
// the edge; at the buffer's distance it does not.
TEST_F(FormHandlerTest, ScreenSnapSnapsWithinTheBufferOnly) {
    SkinnedForm f;
    f.p->ScreenSnap = true;
    ASSERT_EQ(f.p->SnapBuffer, 10);
    const RECT work = WorkArea(f.wnd());
    const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
    struct Case {
        const char* edge;
        int x, y;
        int wantX, wantY;
    };
    const int midX = work.left + 100, midY = work.top + 60;
    const Case cases[] = {
        {"left 9", work.left + 9, midY, work.left, midY},
        {"left 10", work.left + 10, midY, work.left + 10, midY},
        {"top 9", midX, work.top + 9, midX, work.top},
        {"top 10", midX, work.top + 10, midX, work.top + 10},
        {"right 9", work.right - w - 9, midY, work.right - w, midY},
        {"right 10", work.right - w - 10, midY, work.right - w - 10, midY},
        {"bottom 9", midX, work.bottom - h - 9, midX, work.bottom - h},
        {"bottom 10", midX, work.bottom - h - 10, midX, work.bottom - h - 10},
    };
    for (const Case& c : cases) {
        SetWindowPos(f.wnd(), nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT r = WindowRect(f.wnd());
        EXPECT_EQ(r.left, c.wantX) << c.edge;
        EXPECT_EQ(r.top, c.wantY) << c.edge;
    }
    f.p->ScreenSnap = false;
    SetWindowPos(f.wnd(), nullptr, work.left + 5, midY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(f.wnd()).left, work.left + 5) << "snapped without ScreenSnap";
}

// Moving by the caption and sizing by the border with the mouse, in the
// standard mode and with the outline drag of rmBorder.
TEST_F(FormHandlerTest, MovesAndSizesWithTheMouse) {
    BOOL fullDrag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    for (bool outline : {false, true}) {
        SCOPED_TRACE(outline ? "rmBorder" : "rmStandard");
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, outline ? TRUE : fullDrag, nullptr, 0);
        SkinnedForm f;
        if (outline) f.p->ResizeMode = rmBorder;
        const RECT before = WindowRect(f.wnd());
        EXPECT_TRUE(MouseDrag(f.Caption(), 60, 40));
        RECT after = WindowRect(f.wnd());
        EXPECT_EQ(after.left - before.left, 60);
        EXPECT_EQ(after.top - before.top, 40);
        EXPECT_FALSE(BorderDragging());

        const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
        EXPECT_TRUE(MouseDrag(f.At(w - 2, h - 1), 40, 30));
        after = WindowRect(f.wnd());
        EXPECT_EQ(after.right - after.left, w + 40) << "bottom-right corner";
        EXPECT_EQ(after.bottom - after.top, h + 30) << "bottom-right corner";
        EXPECT_TRUE(MouseDrag(f.At(1, (h + 30) / 2), 25, 0));
        const RECT left = WindowRect(f.wnd());
        EXPECT_EQ(left.left - after.left, 25) << "left edge";
        EXPECT_EQ(left.right, after.right) << "left edge";
    }
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
}

// The system's size loop follows the mouse when each of its steps takes
// long (a form slow to size, a loaded machine): the loop holds the pointer
// meanwhile, so the cursor read back lags behind the moves it was given.
TEST_F(FormHandlerTest, TheSystemsSizeLoopFollowsSlowSteps) {
    SkinnedForm f;
    int steps = 0;
    f.underProvider = [&steps](TMessage& m) {
        if (m.Msg == WM_SIZING) {
            ++steps;
            Sleep(150);
        }
        return false;
    };
    const RECT before = WindowRect(f.wnd());
    const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
    EXPECT_TRUE(MouseDrag(f.At(w - 2, h - 1), 40, 30));
    const RECT after = WindowRect(f.wnd());
    EXPECT_GT(steps, 0) << "the system's size loop did not size the form";
    EXPECT_EQ(after.right - after.left, w + 40);
    EXPECT_EQ(after.bottom - after.top, h + 30);
    EXPECT_EQ(after.left, before.left);
}

// The outline drag: the moved edge stops at the smallest size, the move
// and size commands of the system menu start it, and a capture lost
// meanwhile ends it with the desktop's DC given back.
TEST_F(FormHandlerTest, TheOutlineDragKeepsTheSmallestSizeAndEndsOnALostCapture) {
    BOOL fullDrag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    BOOL now = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &now, 0);
    ASSERT_TRUE(now) << "full-window dragging could not be switched on";
    const THandleCounts handles = LiveHandleCounts();
    {
        SkinnedForm f;
        f.p->ResizeMode = rmBorder;
        const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
        EXPECT_TRUE(MouseDrag(f.At(w - 2, h - 1), -1000, -1000));
        EXPECT_EQ(WindowWidth(f.wnd()), GetSystemMetrics(SM_CXMINTRACK));
        EXPECT_EQ(WindowHeight(f.wnd()), GetSystemMetrics(SM_CYMINTRACK));
        SetWindowPos(f.wnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        // At the smallest width the caption's point below is on the icon.
        ASSERT_EQ(WindowWidth(f.wnd()), w) << "the corner drag ended late";

        // The system menu's move command: the first move takes the grab
        // point, the release places the form.
        const RECT before = WindowRect(f.wnd());
        ASSERT_TRUE(MouseMove(f.At(60, 60), f.wnd()));
        PostMessageA(f.wnd(), WM_SYSCOMMAND, SC_MOVE, 0);
        PumpFor(50);
        EXPECT_TRUE(BorderDragging());
        // (Taking the mouse may itself report a move at the grab point.)
        const POINT to{before.left + 60 + 30, before.top + 60 + 20};
        ASSERT_TRUE(MouseMove(to, f.wnd()));
        ASSERT_TRUE(MouseDown(to, f.wnd()));
        ASSERT_TRUE(MouseUp(to, f.wnd()));
        EXPECT_FALSE(BorderDragging());
        const RECT moved = WindowRect(f.wnd());
        EXPECT_EQ(moved.left - before.left, 30);
        EXPECT_EQ(moved.top - before.top, 20);

        // Lost capture in the middle of a drag.
        ASSERT_TRUE(MouseMove(f.Caption(), f.wnd()));
        ASSERT_TRUE(MouseDown(f.Caption(), f.wnd()));
        EXPECT_TRUE(BorderDragging());
        const POINT away{f.Caption().x + 20, f.Caption().y + 20};
        ASSERT_TRUE(MouseMove(away, f.wnd()));
        ReleaseCapture();
        PumpFor(50);
        EXPECT_FALSE(BorderDragging());
        ASSERT_TRUE(MouseUp(away, f.wnd()));
        EXPECT_EQ(WindowRect(f.wnd()).left, moved.left) << "a drag that lost the mouse moved the form";
        for (int i = 0; i < 5; ++i) EXPECT_TRUE(MouseDrag(f.Caption(), 3, 0));
    }
    EXPECT_EQ(TransientHandlesChanged(handles), "");
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
}

// The maximised geometry: the work area with the system frame outside it.
TEST_F(FormHandlerTest, MaximisedGeometryCoversTheWorkArea) {
    SkinnedForm f;
    MINMAXINFO info{};
    SendMessageA(f.wnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const int b = GetBorderWidth(f.wnd(), nullptr, false);
    const RECT work = WorkArea(f.wnd());
    EXPECT_EQ(info.ptMaxPosition.x, -b);
    EXPECT_EQ(info.ptMaxPosition.y, -b);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 2 * b);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 2 * b);
    ShowWindow(f.wnd(), SW_MAXIMIZE);
    PumpFor(50);
    EXPECT_FALSE(f.p->UseSysCaption) << "without a border window the system's caption height stands";
}

// The system menu by Alt+Space and by the icon: its items, their states
// for the form's state and border, the commands it sends.
TEST_F(FormHandlerTest, TheSystemMenuShowsTheFormsStatesAndSendsItsCommands) {
    PopupSeen seen;
    TMenuItem* choose = nullptr;
    std::string chooseName;
    TScopedDialogResponder responder([&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind != TDialogKind::Popup) return a;
        a.handled = true;
        seen.menu = r.menu;
        seen.x = r.x;
        seen.y = r.y;
        ++seen.shown;
        if (!chooseName.empty()) a.item = choose = Named(r.menu, chooseName);
        return a;
    });
    SkinnedForm f;
    HMENU sys = GetSystemMenu(f.wnd(), FALSE);
    ASSERT_NE(sys, nullptr);
    AltSpace();
    ASSERT_EQ(seen.shown, 1) << "Alt+Space showed no menu";
    const RECT r = WindowRect(f.wnd());
    EXPECT_GE(seen.x, r.left);
    EXPECT_GT(seen.y, r.top);
    EXPECT_LT(seen.y, r.top + GetSystemMetrics(SM_CYCAPTION) * 2 + 8) << "not under the icon";

    TMenu* menu = seen.menu;
    struct State {
        const char* name;
        bool visible, enabled;
    };
    auto check = [&](const char* what, std::initializer_list<State> states) {
        for (const State& s : states) {
            TMenuItem* i = Named(menu, s.name);
            ASSERT_NE(i, nullptr) << what << " " << s.name;
            EXPECT_EQ(i->Visible(), s.visible) << what << " " << s.name;
            if (s.visible) {
                EXPECT_EQ(i->Enabled(), s.enabled) << what << " " << s.name;
            }
        }
    };
    check("normal", {{"acIR", true, false}, {"acIM", true, true}, {"acIS", true, true}, {"acIN", true, true},
                     {"acIX", true, true}, {"acIC", true, true}});
    // The order: the five, a separator, then close.
    std::vector<std::string> order;
    for (int i = 0; i < menu->Items()->Count(); ++i) order.push_back(menu->Items()->Items(i)->Caption() == "-" ? "-" : menu->Items()->Items(i)->Name());
    EXPECT_EQ(order, (std::vector<std::string>{"acIR", "acIM", "acIS", "acIN", "acIX", "-", "acIC"}));
    char text[256] = {};
    GetMenuStringA(sys, SC_CLOSE, text, 255, MF_BYCOMMAND);
    const std::string close = text;
    ASSERT_NE(close.find('\t'), std::string::npos) << "the window's close entry has no key text";
    EXPECT_EQ(Named(menu, "acIC")->ShortCut(), close.substr(close.find('\t') + 1));

    // Maximise chosen from the menu; the maximised form's states.
    chooseName = "acIX";
    AltSpace();
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000));
    chooseName.clear();
    AltSpace();
    check("maximised", {{"acIR", true, true}, {"acIM", true, false}, {"acIX", true, false}});
    chooseName = "acIR";
    AltSpace();
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.wnd()); }, 2000));

    // The icon shows it too.
    chooseName.clear();
    const int before = seen.shown;
    const RECT icon = f.p->IconRect();
    ASSERT_TRUE(MouseClick(f.At(Center(icon).x, Center(icon).y), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return seen.shown == before + 1; }, 2000)) << "the icon showed no menu";

    // An application's command stands between separators before close and
    // is posted as a system command.
    AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sys, MF_STRING, 0x120, "Keep on top\tCtrl+T");
    f.p->SystemMenu->RefreshItems(true);
    f.commands.clear();
    TMenuItem* app = nullptr;
    for (int i = 0; i < f.p->SystemMenu->Items()->Count(); ++i)
        if (f.p->SystemMenu->Items()->Items(i)->Tag() == 0x120) app = f.p->SystemMenu->Items()->Items(i);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->Caption(), "Keep on top");
    EXPECT_EQ(app->ShortCut(), "Ctrl+T");
    EXPECT_EQ(f.p->SystemMenu->ExtraItemCount, 1);
    TMenuItem* root = f.p->SystemMenu->Items();
    const int at = [&] {
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i) == app) return i;
        return -1;
    }();
    EXPECT_TRUE(root->Items(at - 1)->IsSeparator());
    EXPECT_TRUE(root->Items(at + 1)->IsSeparator());
    EXPECT_EQ(root->Items(at + 2), f.p->SystemMenu->ItemClose);
    app->Click();
    EXPECT_TRUE(WaitUntil([&] { return !f.commands.empty() && f.commands.back() == 0x120; }, 1000));
}

TEST_F(FormHandlerTest, SystemMenuStatesByBorderAndState) {
    {
        SkinnedForm f(bsDialog, biSystemMenu | biMinimize | biMaximize);
        TsSystemMenu* m = f.p->SystemMenu;
        m->RefreshItems(false);
        EXPECT_FALSE(m->ItemRestore->Visible());
        EXPECT_FALSE(m->ItemSize->Visible());
        EXPECT_FALSE(m->ItemMinimize->Visible());
        EXPECT_FALSE(m->ItemMaximize->Visible());
        EXPECT_TRUE(m->ItemMove->Visible());
        EXPECT_TRUE(m->ItemClose->Visible());
    }
    {
        SkinnedForm f;
        ShowWindow(f.wnd(), SW_MINIMIZE);
        PumpFor(50);
        TsSystemMenu* m = f.p->SystemMenu;
        m->RefreshItems(false);
        EXPECT_TRUE(m->ItemMinimize->Visible());
        EXPECT_FALSE(m->ItemMinimize->Enabled()) << "a minimised form that is not the main form";
        EXPECT_FALSE(m->ItemSize->Enabled());
    }
}

// With MakeSkinMenu the menu offers the manager's skins at its top and
// choosing one loads it.
TEST_F(FormHandlerTest, MakeSkinMenuOffersTheSkins) {
    std::string chooseName;
    TPopupMenu* shown = nullptr;
    TScopedDialogResponder responder([&](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.kind != TDialogKind::Popup) return a;
        a.handled = true;
        shown = r.menu;
        if (!chooseName.empty()) a.item = Named(r.menu, chooseName);
        return a;
    });
    SkinnedForm f;
    AltSpace();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Named(shown, "SkinSelectItem"), nullptr) << "skins offered without MakeSkinMenu";
    f.p->MakeSkinMenu = true;
    AltSpace();
    TMenuItem* skins = Named(shown, "SkinSelectItem");
    ASSERT_NE(skins, nullptr);
    EXPECT_EQ(skins->Caption(), "Available skins");
    EXPECT_EQ(shown->Items()->Items(0), skins);
    EXPECT_TRUE(shown->Items()->Items(1)->IsSeparator());
    std::vector<std::string> names;
    std::string checked;
    for (int i = 0; i < skins->Count(); ++i) {
        names.push_back(skins->Items(i)->Caption());
        EXPECT_TRUE(skins->Items(i)->RadioItem());
        if (skins->Items(i)->Checked()) checked = skins->Items(i)->Caption();
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Slate (internal)"), names.end());
    EXPECT_EQ(checked, "Linen (internal)");
    // Shown again: still one skin entry.
    AltSpace();
    int entries = 0;
    for (int i = 0; i < shown->Items()->Count(); ++i) entries += shown->Items()->Items(i)->Name() == "SkinSelectItem";
    EXPECT_EQ(entries, 1);
    const int slate = static_cast<int>(std::find(names.begin(), names.end(), "Slate (internal)") - names.begin());
    chooseName = "SkinSelectItem" + std::to_string(slate);
    AltSpace();
    EXPECT_EQ(f.manager->SkinName(), "Slate (internal)");
}

// Skin removal and the provider's end give the form its system look back:
// the system-menu style and no region of the skin's.
TEST_F(FormHandlerTest, RemovingTheSkinOrTheProviderRestoresTheForm) {
    SkinnedForm f;
    ASSERT_EQ(Style(f.wnd()) & WS_SYSMENU, 0);
    f.p->RegionRects = {RECT{0, 0, 4, 1}};
    f.p->UpdateRegion(false);
    f.manager->SetActive(false);
    EXPECT_NE(Style(f.wnd()) & WS_SYSMENU, 0);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(f.wnd(), probe), ERROR);
    EXPECT_EQ(f.form->Color(), clBtnFace);
    f.manager->SetActive(true);
    ASSERT_EQ(Style(f.wnd()) & WS_SYSMENU, 0);
    f.p->RegionRects = {RECT{0, 0, 4, 1}};
    f.p->UpdateRegion(false);
    ASSERT_NE(GetWindowRgn(f.wnd(), probe), ERROR);
    f.p->Free();
    EXPECT_NE(Style(f.wnd()) & WS_SYSMENU, 0) << "the provider left without giving the style back";
    EXPECT_EQ(GetWindowRgn(f.wnd(), probe), ERROR) << "the provider left its region";
    DeleteObject(probe);
}

// The editor's close command closes only the form it previews.
TEST_F(FormHandlerTest, OnlyThePreviewedFormClosesAtTheEditorsWord) {
    SkinnedForm f;
    bool closed = false;
    f.form->OnClose = [&](TObject*, TCloseAction& a) {
        closed = true;
        a = caHide;
    };
    PreviewWindow = nullptr;
    SendMessageA(f.wnd(), kSkinEditorMessage, 1, 0);
    EXPECT_FALSE(closed);
    PreviewWindow = f.wnd();
    SendMessageA(f.wnd(), kSkinEditorMessage, 1, 0);
    EXPECT_TRUE(closed);
    PreviewWindow = nullptr;
}

// The form's own region opt-out and its menu popups still reach its
// procedure.
TEST_F(FormHandlerTest, PassesTheRegionQueryAndMenuPopupsOn) {
    SkinnedForm f;
    const int before = f.reached[kKeepRegionQuery];
    SendMessageA(f.wnd(), kKeepRegionQuery, 0, 0);
    EXPECT_EQ(f.reached[kKeepRegionQuery], before + 1);
    TMenuHandle popup(CreatePopupMenu());
    SendMessageA(f.wnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.Get()), 0);
    EXPECT_EQ(f.reached[WM_INITMENUPOPUP], 1);
}

// The end of a session: the engine is told at once and its work in
// progress gets a bounded wait, in which the form's messages run (the work
// may end, the provider may go); the form's own answer follows.
TEST_F(FormHandlerTest, TheEndOfASessionWaitsABoundedTimeForTheEnginesWork) {
    SkinnedForm f;
    std::optional<TSkinBusyScope> busy;
    std::function<void()> act;
    f.underProvider = [&](TMessage& m) {
        if (m.Msg != kActNow) return false;
        if (act) act();
        return true;
    };
    struct Case {
        const char* what;
        bool busy;
        std::function<void()> during;  // run by a message posted before
        bool waitsTheLimit;
    };
    const Case cases[] = {
        {"nothing under way", false, nullptr, false},
        {"work that does not end", true, nullptr, true},
        {"work that ends meanwhile", true, [&] { busy.reset(); }, false},
        {"the provider freed meanwhile", true,
         [&] {
             f.p->Free();
             f.p = nullptr;
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SkinShuttingDown = false;
        if (c.busy) busy.emplace();
        act = c.during;
        if (c.during) PostMessageA(f.wnd(), kActNow, 0, 0);
        const DWORD start = GetTickCount();
        const LRESULT answer = SendMessageA(f.wnd(), WM_QUERYENDSESSION, 0, 0);
        const DWORD took = GetTickCount() - start;
        EXPECT_TRUE(SkinShuttingDown);
        EXPECT_EQ(answer, TRUE) << "the form's own answer lets the session end";
        if (c.waitsTheLimit) {
            EXPECT_GE(took, kEndSessionWaitMs - 20);
            EXPECT_LT(took, kEndSessionWaitMs + 700) << "not bounded";
        } else {
            EXPECT_LT(took, kEndSessionWaitMs / 2);
        }
        busy.reset();
    }
    SkinShuttingDown = false;
    EXPECT_EQ(f.p, nullptr);
    EXPECT_TRUE(IsWindow(f.wnd()));
}

// A click on the icon waits a moment for a double click before it shows
// the system menu (the system's own popup, SkinnedPopups being off): the
// double click closes the form, and a provider freed in the wait shows
// nothing and is not touched.
TEST_F(FormHandlerTest, TheIconsWaitForADoubleClick) {
    // The menus the form's procedure saw start (each one ended at once).
    auto countMenus = [](SkinnedForm& f, int& menus) {
        return [&f, &menus](TMessage& m) {
            if (m.Msg == WM_INITMENUPOPUP) {
                ++menus;
                PostMessageA(f.wnd(), kActNow, 0, 0);
            } else if (m.Msg == kActNow && menus > 0) {
                EndMenu();
                return true;
            }
            return false;
        };
    };
    {
        SkinnedForm f;
        f.manager->SetSkinnedPopups(false);
        int menus = 0;
        f.underProvider = countMenus(f, menus);
        f.LayOutButtons();
        bool closed = false;
        f.form->OnClose = [&](TObject*, TCloseAction& a) {
            closed = true;
            a = caHide;
        };
        const RECT icon = f.p->IconRect();
        ASSERT_TRUE(MouseDoubleClick(f.At(Center(icon).x, Center(icon).y), f.wnd()));
        EXPECT_TRUE(WaitUntil([&] { return closed && !IsWindowVisible(f.wnd()); }, 2000)) << "not closed";
        PumpFor(300);
        EXPECT_EQ(menus, 0) << "a double click showed the menu";
    }
    {
        SkinnedForm f;
        f.manager->SetSkinnedPopups(false);
        f.LayOutButtons();
        int menus = 0;
        bool freed = false;
        f.underProvider = [&, counted = countMenus(f, menus)](TMessage& m) {
            // The press reaches the form's procedure before the wait: the
            // provider is freed by the first message the wait runs.
            if (m.Msg == WM_NCLBUTTONDOWN && m.WParam == HTSYSMENU) {
                PostMessageA(f.wnd(), kActNow, 0, 0);
                return true;
            }
            if (m.Msg == kActNow && !freed) {
                f.p->Free();
                f.p = nullptr;
                freed = true;
                return true;
            }
            return counted(m);
        };
        const RECT icon = f.p->IconRect();
        ASSERT_TRUE(MouseClick(f.At(Center(icon).x, Center(icon).y), f.wnd()));
        EXPECT_TRUE(WaitUntil([&] { return freed; }, 2000));
        PumpFor(300);
        EXPECT_EQ(menus, 0) << "a freed provider showed its menu";
        EXPECT_TRUE(IsWindowVisible(f.wnd()));
    }
    // The same click with the provider kept shows the menu after the wait.
    SkinnedForm f;
    f.manager->SetSkinnedPopups(false);
    int menus = 0;
    f.underProvider = countMenus(f, menus);
    f.LayOutButtons();
    const RECT icon = f.p->IconRect();
    ASSERT_TRUE(MouseClick(f.At(Center(icon).x, Center(icon).y), f.wnd()));
    EXPECT_TRUE(WaitUntil([&] { return menus == 1; }, 2000)) << "the icon showed no menu";
}

// The counted holds of the form's drawing, and the settings change that
// the frame is made anew after.
TEST_F(FormHandlerTest, DrawingHoldsAreCountedAndASettingsChangeRepaintsTheFrame) {
    SkinnedForm f;
    ASSERT_EQ(f.p->RedrawLock, 0);
    struct Step {
        BOOL redraw;
        int lock;
    };
    const Step steps[] = {{FALSE, 1}, {FALSE, 2}, {TRUE, 1}, {TRUE, 0}, {TRUE, 0}};
    for (const Step& s : steps) {
        SendMessageA(f.wnd(), WM_SETREDRAW, s.redraw, 0);
        EXPECT_EQ(f.p->RedrawLock, s.lock) << "after " << (s.redraw ? "on" : "off");
    }
    EXPECT_TRUE(IsWindowVisible(f.wnd()));

    f.p->SkinData->BGChanged = false;
    SendMessageA(f.wnd(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_TRUE(f.p->SkinData->BGChanged);
}

// A page control's page change (its controls' windows may be new) has the
// form's controls adapted again.
TEST_F(FormHandlerTest, APageChangeAdaptsTheFormsControlsAgain) {
    SkinnedForm f;
    f.manager->ThirdParty.Lists[0] = "TEdit";
    f.manager->UpdateThirdPartyLists();
    auto* edit = new TEdit(f.form);
    edit->SetBounds(10, 10, 100, 22);
    edit->SetParent(f.form);
    edit->HandleNeeded();
    PumpFor(50);
    auto* adapter = static_cast<TacCtrlAdapter*>(f.p->Adapter.get());
    ASSERT_NE(adapter, nullptr);
    adapter->FreeAllItems();
    ASSERT_EQ(adapter->ItemCount(), 0);
    NMHDR other{edit->Handle(), 0, static_cast<UINT>(-552)};
    SendMessageA(f.wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(adapter->ItemCount(), 0) << "another notification adapted";
    NMHDR changed{edit->Handle(), 0, static_cast<UINT>(-551)};
    SendMessageA(f.wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
    int forEdit = 0;
    for (int i = 0; i < adapter->ItemCount(); ++i) forEdit += adapter->GetItem(i)->Control == edit;
    EXPECT_EQ(forEdit, 1);
}

// The wheel turned over a list that does not hold the focus reaches the
// form (the focused control passes it up): the form hands it to the list
// under the mouse, skinned or not; over the focused list the list had it
// first, and over the bare client it stays the form's.
TEST_F(FormHandlerTest, TheWheelGoesToTheControlUnderTheMouse) {
    SkinnedForm f;
    auto* list = new TListBox(f.form);
    list->SetBounds(10, 10, 150, 80);
    list->SetParent(f.form);
    for (int i = 0; i < 60; ++i) list->Items()->Add("line " + std::to_string(i));
    auto* edit = new TEdit(f.form);
    edit->SetBounds(200, 10, 100, 22);
    edit->SetParent(f.form);
    PumpFor(50);
    const HWND lb = list->Handle();
    auto top = [&] { return static_cast<int>(SendMessageA(lb, LB_GETTOPINDEX, 0, 0)); };
    auto wheelAt = [&](POINT screen) {
        SendMessageA(f.wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
    };
    RECT lr{};
    GetWindowRect(lb, &lr);
    const POINT overList = Center(lr);
    for (bool skinned : {true, false}) {
        SCOPED_TRACE(skinned ? "skinned" : "without the skin");
        f.manager->SetActive(skinned);
        PumpFor(30);
        SendMessageA(lb, LB_SETTOPINDEX, 0, 0);
        edit->SetFocus();
        ASSERT_EQ(GetFocus(), edit->Handle());
        wheelAt(overList);
        EXPECT_GT(top(), 0) << "the list under the mouse did not scroll";
        const int after = top();
        wheelAt(f.At(WindowWidth(f.wnd()) / 2, WindowHeight(f.wnd()) - 30));
        EXPECT_EQ(top(), after) << "a turn over the bare client scrolled the list";
        list->SetFocus();
        wheelAt(overList);
        EXPECT_EQ(top(), after) << "the focused list was given the turn again";
    }
}

}  // namespace kova::skin::test
