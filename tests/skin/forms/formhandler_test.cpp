// The skinned form's frame under the mouse and the keyboard: what its
// children ask of it, the frame's hit test, title buttons clicked with real
// input, caption double clicks, snapping at the work-area edges, moving and
// sizing by the mouse (the outline drag of rmBorder included), system
// commands, the system menu with its states and commands, and what the
// form gets back when the skin or the provider goes.
#include "skin/forms/formhandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/menus.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/portable/skintypes.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/provider.h"
#include "../core/handlecheck.h"
#include "mouseinput.h"

namespace kova::skin::test {

using kova::test::PumpFor;
using kova::test::WaitUntil;

namespace {

LONG_PTR Style(HWND w) { return GetWindowLongPtrA(w, GWL_STYLE); }

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void DoubleClickAt(POINT at) {
    MouseTo(at);
    INPUT in[4];
    in[0] = in[2] = MouseInput(at, MOUSEEVENTF_LEFTDOWN);
    in[1] = in[3] = MouseInput(at, MOUSEEVENTF_LEFTUP);
    SendInput(4, in, sizeof in[0]);
    PumpFor(150);
}

// Drags with the left button from one screen point to another in steps.
// The input comes from another thread: the system's own move and size
// loops run inside this thread's message handling until the release.
void DragBy(POINT from, int dx, int dy) {
    MouseTo(from);
    bool done = false;
    std::thread input([&] {
        INPUT down = MouseInput(from, MOUSEEVENTF_LEFTDOWN);
        SendInput(1, &down, sizeof down);
        Sleep(80);
        POINT at = from;
        for (int step = 1; step <= 4; ++step) {
            at = POINT{from.x + dx * step / 4, from.y + dy * step / 4};
            INPUT move = MouseInput(at, 0);
            SendInput(1, &move, sizeof move);
            Sleep(60);
        }
        INPUT up = MouseInput(at, MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof up);
        Sleep(80);
        done = true;
    });
    WaitUntil([&] { return done; }, 5000);
    input.join();
    PumpFor(80);
}

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
    explicit SkinnedForm(TFormBorderStyle style = bsSizeable, TBorderIcons icons = biSystemMenu | biMinimize | biMaximize) {
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        form = TCustomForm::Create<TForm>(Application());
        form->SetBorderStyle(style);
        form->SetBorderIcons(icons);
        form->SetBounds(150, 120, 420, 300);
        form->HandleNeeded();
        TWndMethod below = form->WindowProc;
        form->WindowProc = [this, below](TMessage& m) {
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
    ClickAt(f.AtButton(f.p->MaxButton));
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000)) << "not maximised";
    f.LayOutButtons();
    ClickAt(f.AtButton(f.p->MaxButton));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.wnd()); }, 2000)) << "not restored";
    f.LayOutButtons();
    ClickAt(f.AtButton(f.p->MinButton));
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
    ClickAt(f.AtButton(f.p->CloseButton));
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
        MouseTo(f.AtButton(*b));
        Button(true);
        EXPECT_TRUE(ButtonPressed);
        EXPECT_EQ(b->State, 2);
        // Released over the client area, and once over the other buttons'
        // neighbour.
        MouseTo(f.At(200, 200));
        Button(false);
        EXPECT_FALSE(ButtonPressed);
        EXPECT_EQ(b->State, 0);
    }
    PumpFor(100);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(IsWindowVisible(f.wnd()));
    EXPECT_FALSE(IsZoomed(f.wnd()));
    EXPECT_FALSE(IsIconic(f.wnd()));
    // Pressed on close, released on maximise: neither acts.
    MouseTo(f.AtButton(f.p->CloseButton));
    Button(true);
    MouseTo(f.AtButton(f.p->MaxButton));
    Button(false);
    PumpFor(100);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(IsZoomed(f.wnd()));
}

// A double click on the caption maximises and restores; a form that can
// not be maximised stays as it is.
TEST_F(FormHandlerTest, ACaptionDoubleClickTogglesMaximised) {
    SkinnedForm f;
    DoubleClickAt(f.Caption());
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(f.wnd()) != FALSE; }, 2000)) << "not maximised";
    DoubleClickAt(f.Caption());
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(f.wnd()); }, 2000)) << "not restored";

    SkinnedForm fixed(bsDialog, biSystemMenu);
    DoubleClickAt(fixed.Caption());
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
        DragBy(f.Caption(), 60, 40);
        RECT after = WindowRect(f.wnd());
        EXPECT_EQ(after.left - before.left, 60);
        EXPECT_EQ(after.top - before.top, 40);
        EXPECT_FALSE(BorderDragging());

        const int w = WindowWidth(f.wnd()), h = WindowHeight(f.wnd());
        DragBy(f.At(w - 2, h - 1), 40, 30);
        after = WindowRect(f.wnd());
        EXPECT_EQ(after.right - after.left, w + 40) << "bottom-right corner";
        EXPECT_EQ(after.bottom - after.top, h + 30) << "bottom-right corner";
        DragBy(f.At(1, (h + 30) / 2), 25, 0);
        const RECT left = WindowRect(f.wnd());
        EXPECT_EQ(left.left - after.left, 25) << "left edge";
        EXPECT_EQ(left.right, after.right) << "left edge";
    }
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
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
        DragBy(f.At(w - 2, h - 1), -1000, -1000);
        EXPECT_EQ(WindowWidth(f.wnd()), GetSystemMetrics(SM_CXMINTRACK));
        EXPECT_EQ(WindowHeight(f.wnd()), GetSystemMetrics(SM_CYMINTRACK));
        SetWindowPos(f.wnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);

        // The system menu's move command: the first move takes the grab
        // point, the release places the form.
        const RECT before = WindowRect(f.wnd());
        MouseTo(f.At(60, 60));
        PostMessageA(f.wnd(), WM_SYSCOMMAND, SC_MOVE, 0);
        PumpFor(50);
        EXPECT_TRUE(BorderDragging());
        // (Taking the mouse may itself report a move at the grab point.)
        MouseTo(POINT{before.left + 60 + 30, before.top + 60 + 20});
        Button(true);
        Button(false);
        EXPECT_FALSE(BorderDragging());
        const RECT moved = WindowRect(f.wnd());
        EXPECT_EQ(moved.left - before.left, 30);
        EXPECT_EQ(moved.top - before.top, 20);

        // Lost capture in the middle of a drag.
        MouseTo(f.Caption());
        Button(true);
        EXPECT_TRUE(BorderDragging());
        MouseTo(POINT{f.Caption().x + 20, f.Caption().y + 20});
        ReleaseCapture();
        PumpFor(50);
        EXPECT_FALSE(BorderDragging());
        Button(false);
        EXPECT_EQ(WindowRect(f.wnd()).left, moved.left) << "a drag that lost the mouse moved the form";
        for (int i = 0; i < 5; ++i) DragBy(f.Caption(), 3, 0);
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
    ClickAt(f.At(Center(icon).x, Center(icon).y));
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

}  // namespace kova::skin::test
