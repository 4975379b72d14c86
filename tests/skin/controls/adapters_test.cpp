// Window adapters and skinned scroll bars on real native windows: a
// LISTBOX and a multi-line EDIT of 100 lines under a shown top-level
// window. A spy procedure chained under the adapter (installed first, the
// classic way) records what reaches the native control; presses go in as
// the system sends them (hit-test, then the non-client button message,
// then mouse messages to the capturing window) with the cursor really
// placed, so the repeat timer reads it.
#include "skin/controls/adapters.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "../core/handlecheck.h"
#include "common/testdata.h"
#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/controls/scrollwnd.h"
#include "skin/controls/portable/bordercorners.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/paint/portable/maskpaint.h"
#include "skin/core/portable/pixels.h"
#include "skin/core/providerbase.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {
namespace {

using Clock = std::chrono::steady_clock;
using kova::test::PumpFor;
using kova::test::PumpMessages;
using kova::test::WaitUntil;

// What reached the native control.
struct SpyEntry {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    Clock::time_point At;
};

struct Spy {
    WNDPROC Previous = nullptr;
    std::vector<SpyEntry> Log;
    // Answers of a skinned procedure below the adapter (sub-code 7 and 21).
    bool AnswersSkinned = false;
    LRESULT ColourAnswer = 0;
    // Answers sub-code 51 with 1: takes the full positions itself.
    bool TakesPositions = false;
    // Run when the message arrives (before it goes on).
    std::function<void(UINT)> OnMessage;

    std::vector<SpyEntry> Scrolls() const {
        std::vector<SpyEntry> out;
        for (const SpyEntry& e : Log)
            if (e.Msg == WM_VSCROLL || e.Msg == WM_HSCROLL) out.push_back(e);
        return out;
    }
    int Count(UINT msg) const {
        return static_cast<int>(std::count_if(Log.begin(), Log.end(), [&](const SpyEntry& e) { return e.Msg == msg; }));
    }
    // The frame codes (51, 52) and scroll codes in order.
    std::vector<int> Sequence() const {
        std::vector<int> out;
        for (const SpyEntry& e : Log) {
            if (e.Msg == SkinCommandMessage && (SkinSubCode(e.WParam) == 51 || SkinSubCode(e.WParam) == 52))
                out.push_back(SkinSubCode(e.WParam) * 100);
            else if (e.Msg == WM_VSCROLL || e.Msg == WM_HSCROLL)
                out.push_back(LOWORD(e.WParam));
        }
        return out;
    }
};

LRESULT CALLBACK SpyProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    auto* spy = static_cast<Spy*>(GetPropA(wnd, "KovaTestSpy"));
    spy->Log.push_back(SpyEntry{msg, w, l, Clock::now()});
    if (spy->OnMessage) spy->OnMessage(msg);
    if (spy->TakesPositions) {
        // Such a window keeps its positions itself: here, it keeps them still.
        if (msg == SkinCommandMessage && SkinSubCode(w) == 51) return 1;
        if (msg == WM_VSCROLL) return 0;
    }
    if (msg == SkinCommandMessage && spy->AnswersSkinned) {
        if (SkinSubCode(w) == scQuerySupport) return 1;
        if (SkinSubCode(w) == scQueryBgColor) return spy->ColourAnswer;
    }
    const WNDPROC prev = spy->Previous;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        RemovePropA(wnd, "KovaTestSpy");
    }
    return CallWindowProcA(prev, wnd, msg, w, l);
}

void ChainSpy(HWND wnd, Spy& spy) {
    SetPropA(wnd, "KovaTestSpy", &spy);
    spy.Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProc)));
}

// For a spy that goes before its window.
void UnchainSpy(HWND wnd, Spy& spy) {
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy.Previous));
    RemovePropA(wnd, "KovaTestSpy");
}

// A classic procedure chained over whatever is there.
struct Over {
    WNDPROC Previous = nullptr;
    int Calls = 0;
    std::function<void(UINT)> OnMessage;
};
LRESULT CALLBACK OverProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    auto* over = static_cast<Over*>(GetPropA(wnd, "KovaTestOver"));
    ++over->Calls;
    const WNDPROC prev = over->Previous;
    if (over->OnMessage) over->OnMessage(msg);
    return CallWindowProcA(prev, wnd, msg, w, l);
}
void ChainOver(HWND wnd, Over& over) {
    SetPropA(wnd, "KovaTestOver", &over);
    over.Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverProc)));
}
void UnchainOver(HWND wnd, Over& over) {
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(over.Previous));
    RemovePropA(wnd, "KovaTestOver");
}

// The test skin's colours (COLORREF as GetPixel reads them).
constexpr COLORREF kTopArrow = RGB(192, 0, 0);
constexpr COLORREF kBottomArrow = RGB(128, 0, 0);
constexpr COLORREF kPressedArrow = RGB(192, 192, 0);
constexpr COLORREF kTrackBefore = RGB(0, 192, 0);
constexpr COLORREF kTrackAfter = RGB(0, 128, 0);
constexpr COLORREF kThumb = RGB(0, 0, 192);
constexpr COLORREF kPressedThumb = RGB(0, 0, 255);

enum class Kind { ListBox, Edit };

class ScrollAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        handles_ = LiveHandleCounts();
        manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(kova::test::SourcePath("tests/skin/fixtures/scrollskin"));
        ASSERT_TRUE(manager->Model().SectionIndexValid(manager->Model().ConstData().ScrollBar1V.Section));
        host = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "host", WS_POPUP | WS_VISIBLE, 60, 60, 320, 320, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
    }
    void TearDown() override {
        adapter.reset();
        if (IsWindow(wnd)) DestroyWindow(wnd);
        DestroyWindow(host);
        PumpMessages();
        manager->Free();
        EXPECT_EQ(TransientHandlesChanged(handles_), "");
    }

    // A control of 100 lines at (10, 10) in the host, 200 x 200, with the
    // spy chained in.
    HWND Make(Kind kind, DWORD extraStyle = 0, int x = 10, int y = 10, int w = 200, int h = 200) {
        const DWORD common = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | extraStyle;
        if (kind == Kind::ListBox) {
            wnd = CreateWindowExA(0, "LISTBOX", "", common | LBS_NOINTEGRALHEIGHT, x, y, w, h, host, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
            for (int i = 0; i < 100; ++i)
                SendMessageA(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("line " + std::to_string(i)).c_str()));
        } else {
            std::string text;
            for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
            wnd = CreateWindowExA(0, "EDIT", text.c_str(), common | ES_MULTILINE | ES_AUTOVSCROLL, x, y, w, h, host,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        }
        ChainSpy(wnd, spy);
        PumpMessages();
        return wnd;
    }
    void Attach() {
        adapter = CreateAdapter<TacScrollWnd>(wnd, nullptr, manager, "EDIT");
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    RECT VBarRect() {
        RECT r{};
        GetVScrollRect(*adapter, wnd, r);
        return r;
    }
    TBarGeometry VGeometry() {
        adapter->VBar->ReadInfo(wnd);
        return ScrollBarGeometry(*adapter, 1, VBarRect());
    }
    // The pixel at a screen point, read from the window's own DC.
    COLORREF PixelAt(POINT screen) {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        HDC dc = GetWindowDC(wnd);
        const COLORREF c = GetPixel(dc, screen.x - wr.left, screen.y - wr.top);
        ReleaseDC(wnd, dc);
        return c;
    }
    POINT VPoint(int along) {
        const RECT r = VBarRect();
        return POINT{(r.left + r.right) / 2, along};
    }
    // The cursor placed and settled there: Wine's X11 driver moves the
    // pointer asynchronously, and a motion event of an earlier warp that is
    // handled late moves the system's cursor back, so the cursor is taken
    // as placed only once it has stayed there a while with the events
    // handled.
    static void PlaceCursor(POINT screen) {
        SetCursorPos(screen.x, screen.y);
        int steady = 0;
        WaitUntil(
            [&] {
                POINT c{};
                GetCursorPos(&c);
                steady = c.x == screen.x && c.y == screen.y ? steady + 1 : 0;
                return steady >= 3;
            },
            2000);
    }
    // The system's way in: hit-test, then the button message with its code.
    LRESULT Press(POINT screen) {
        PlaceCursor(screen);
        const LRESULT hit = SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        SendMessageA(wnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
        return hit;
    }
    LPARAM ClientPoint(POINT screen) {
        ScreenToClient(wnd, &screen);
        return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
    }
    // A drag reads the mouse from its messages only: the cursor stays.
    void MoveTo(POINT screen) { SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(screen)); }
    void Release(POINT screen) { SendMessageA(wnd, WM_LBUTTONUP, 0, ClientPoint(screen)); }

    THandleCounts handles_{};
    TsSkinManager* manager = nullptr;
    HWND host = nullptr;
    HWND wnd = nullptr;
    Spy spy;
    std::unique_ptr<TacScrollWnd> adapter;
};

// ------------------------------------------------------------ attaching

TEST_F(ScrollAdapterTest, AttachesOncePerWindowAndDetachingGivesTheNativeWindowBack) {
    for (Kind kind : {Kind::ListBox, Kind::Edit}) {
        SCOPED_TRACE(kind == Kind::ListBox ? "listbox" : "edit");
        Make(kind);
        const LONG_PTR nativeProc = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
        RECT nativeClient{};
        GetClientRect(wnd, &nativeClient);
        const int themeChanges = spy.Count(WM_THEMECHANGED);
        Attach();
        ASSERT_FALSE(adapter->Detached);
        EXPECT_EQ(FindAdapter(wnd), adapter.get());
        EXPECT_EQ(GetPropA(wnd, "ACSBSC"), adapter.get());
        EXPECT_NE(GetWindowLongPtrA(wnd, GWLP_WNDPROC), nativeProc);
        EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 1);
        EXPECT_EQ(SendSkinCommand(wnd, scGetSkinData, 0), reinterpret_cast<LRESULT>(adapter->CommonData));
        // Visual styles off while attached.
        EXPECT_GT(spy.Count(WM_THEMECHANGED), themeChanges);
        // The room of the bar is kept: the client area is what it was.
        RECT client{};
        GetClientRect(wnd, &client);
        EXPECT_EQ(client.right, nativeClient.right);
        EXPECT_TRUE(adapter->VBar->BarVisible);
        EXPECT_FALSE(adapter->HBar->BarVisible);

        // A second adapter for the same window does not attach.
        auto second = CreateAdapter<TacScrollWnd>(wnd, nullptr, manager, "EDIT");
        EXPECT_TRUE(second->Detached);
        EXPECT_EQ(FindAdapter(wnd), adapter.get());
        second.reset();
        EXPECT_EQ(FindAdapter(wnd), adapter.get());

        // The skin's colours on the bar.
        const TBarGeometry g = VGeometry();
        ASSERT_TRUE(g.HasThumb());
        EXPECT_EQ(PixelAt(VPoint(g.Start + g.Arrow / 2)), kTopArrow);
        EXPECT_EQ(PixelAt(VPoint(g.End - g.Arrow / 2)), kBottomArrow);
        EXPECT_EQ(PixelAt(VPoint(g.ThumbStart + g.ThumbLen / 2)), kThumb);
        EXPECT_EQ(PixelAt(VPoint(g.TrackEnd - 3)), kTrackAfter);

        const int themeBefore = spy.Count(WM_THEMECHANGED);
        DetachAdapter(true, true, adapter);
        PumpMessages();
        EXPECT_EQ(adapter, nullptr);
        EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), nativeProc);
        EXPECT_EQ(GetPropA(wnd, "ACSBSC"), nullptr);
        EXPECT_EQ(FindAdapter(wnd), nullptr);
        EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 0);
        // Visual styles back, and the system's own bar again.
        EXPECT_GT(spy.Count(WM_THEMECHANGED), themeBefore);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
        RECT wr{};
        GetWindowRect(wnd, &wr);
        const POINT arrow{wr.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2,
                          wr.top + 1 + GetSystemMetrics(SM_CYVSCROLL) / 2};
        EXPECT_NE(PixelAt(arrow), kTopArrow);
        DestroyWindow(wnd);
        spy.Log.clear();
    }
}

TEST_F(ScrollAdapterTest, AnswersOnlyWhileTheSkinIsAppliedAndPassesTheRestOn) {
    Make(Kind::ListBox);
    Attach();
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 1);
    // Sub-code 7 reached the adapter, not the native control.
    const auto sevens = [&] {
        return std::count_if(spy.Log.begin(), spy.Log.end(), [](const SpyEntry& e) {
            return e.Msg == SkinCommandMessage && SkinSubCode(e.WParam) == scQuerySupport;
        });
    };
    EXPECT_EQ(sevens(), 0);
    // Native messages go through untouched.
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
    // Without the skin applied every command goes to the window.
    manager->Model().SetActive(false);
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 0);
    EXPECT_EQ(sevens(), 1);
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
}

// Sub-codes reach the window's children.
TEST_F(ScrollAdapterTest, PassesSkinChangesToTheChildWindows) {
    Make(Kind::ListBox);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, wnd, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    Spy childSpy;
    ChainSpy(child, childSpy);
    Attach();
    SendSkinCommand(wnd, scSkinApplied, reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(std::count_if(childSpy.Log.begin(), childSpy.Log.end(),
                            [](const SpyEntry& e) {
                                return e.Msg == SkinCommandMessage && SkinSubCode(e.WParam) == scSkinApplied;
                            }),
              1);
    DestroyWindow(child);
}

// A 0 from what lies below is black only when that procedure is skinned;
// the native procedure's 0 is no answer.
TEST_F(ScrollAdapterTest, BackgroundColourAnswerOfZeroIsBlackOnlyFromASkinnedProcedure) {
    Make(Kind::ListBox);
    Attach();
    const LRESULT own = static_cast<LRESULT>(adapter->CommonData->BackgroundColorFor(0, wnd));
    ASSERT_NE(own, 0);
    EXPECT_EQ(SendSkinCommand(wnd, scQueryBgColor, clFuchsia), own);
    spy.AnswersSkinned = true;
    spy.ColourAnswer = 0;
    EXPECT_EQ(SendSkinCommand(wnd, scQueryBgColor, clFuchsia), 0);
    spy.ColourAnswer = 0x123456;
    EXPECT_EQ(SendSkinCommand(wnd, scQueryBgColor, clFuchsia), 0x123456);
}

// ------------------------------------------------------------ hit-tests

TEST_F(ScrollAdapterTest, HitTestsTheBarsTheDisabledBarAndTheSizeGrip) {
    // An edit with both bars in the host's bottom-right corner.
    RECT hostClient{};
    GetClientRect(host, &hostClient);
    Make(Kind::Edit, WS_HSCROLL | ES_AUTOHSCROLL, hostClient.right - 200, hostClient.bottom - 200, 200, 200);
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((std::string(400, 'x') + "\r\n" +
                                                               std::string(300, '\n')).c_str()));
    Attach();
    ASSERT_TRUE(adapter->HBar->BarVisible);
    ASSERT_TRUE(adapter->VBar->BarVisible);
    RECT h{}, v{};
    GetHScrollRect(*adapter, wnd, h);
    GetVScrollRect(*adapter, wnd, v);
    auto hit = [&](POINT p) { return SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); };
    EXPECT_EQ(hit(POINT{(v.left + v.right) / 2, (v.top + v.bottom) / 2}), HTVSCROLL);
    EXPECT_EQ(hit(POINT{(h.left + h.right) / 2, (h.top + h.bottom) / 2}), HTHSCROLL);
    // The corner square is the parent's size grip.
    EXPECT_EQ(hit(POINT{v.left + 2, h.top + 2}), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(POINT{(h.left + h.right) / 2, h.top - 5}), HTCLIENT);
    // A disabled bar answers nowhere, and takes no press.
    EnableScrollBar(wnd, SB_VERT, ESB_DISABLE_BOTH);
    EXPECT_EQ(hit(POINT{(v.left + v.right) / 2, (v.top + v.bottom) / 2}), HTNOWHERE);
    EXPECT_FALSE(ScrollBarEnabled(*adapter, 1));
    // Drawn in the disabled look: the arrow's colour blended over what lies
    // under the bar.
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    const COLORREF disabled = PixelAt(POINT{(v.left + v.right) / 2, v.top + 4});
    EXPECT_NE(disabled, kTopArrow);
    EXPECT_GT(GetRValue(disabled), GetGValue(disabled));
    spy.Log.clear();
    SendMessageA(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(v.left + 2, v.bottom - 3));
    EXPECT_TRUE(spy.Scrolls().empty());
    EXPECT_NE(GetCapture(), wnd);
}

// ---------------------------------------------------------- auto-repeat

TEST_F(ScrollAdapterTest, HoldingAnArrowScrollsOnceThenRepeatsAfterTheFirstDelay) {
    for (Kind kind : {Kind::ListBox, Kind::Edit}) {
        SCOPED_TRACE(kind == Kind::ListBox ? "listbox" : "edit");
        Make(kind);
        Attach();
        const TBarGeometry g = VGeometry();
        const POINT arrow = VPoint(g.End - g.Arrow / 2);
        spy.Log.clear();
        const auto t0 = Clock::now();
        ASSERT_EQ(Press(arrow), HTVSCROLL);
        EXPECT_EQ(GetCapture(), wnd);
        // One request at once, framed by the sub-codes.
        ASSERT_EQ(spy.Sequence(), (std::vector<int>{5100, SB_LINEDOWN, 5200}));
        // Drawn pressed.
        EXPECT_EQ(PixelAt(arrow), kPressedArrow);
        // Nothing more before the first delay is over.
        WaitUntil([&] { return Clock::now() - t0 >= std::chrono::milliseconds(250); }, 1000);
        if (Clock::now() - t0 < std::chrono::milliseconds(290)) {
            EXPECT_EQ(spy.Scrolls().size(), 1u);
        }
        // The second after the first delay hands over to the repeat (300 + 55 ms).
        ASSERT_TRUE(WaitUntil([&] { return spy.Scrolls().size() >= 2; }, 3000));
        const auto second = spy.Scrolls()[1].At - spy.Scrolls()[0].At;
        EXPECT_GE(second, std::chrono::milliseconds(300));
        // Then one every 55 ms: a late tick may come closer to the next one,
        // so the pace is taken over the whole run of repeats.
        ASSERT_TRUE(WaitUntil([&] { return spy.Scrolls().size() >= 10; }, 5000));
        const auto s = spy.Scrolls();
        for (std::size_t i = 2; i < s.size(); ++i) EXPECT_EQ(LOWORD(s[i].WParam), SB_LINEDOWN);
        const auto pace = (s.back().At - s[1].At) / static_cast<int>(s.size() - 2);
        EXPECT_GE(pace, std::chrono::milliseconds(45));
        EXPECT_LE(pace, std::chrono::milliseconds(200));
        // Released: the end request, nothing after, the capture back.
        Release(arrow);
        EXPECT_EQ(LOWORD(spy.Scrolls().back().WParam), SB_ENDSCROLL);
        EXPECT_NE(GetCapture(), wnd);
        const std::size_t ended = spy.Scrolls().size();
        // The mouse leaves the bar: neither pressed nor hot.
        PlaceCursor(POINT{10, 10});
        PumpFor(300);
        EXPECT_EQ(spy.Scrolls().size(), ended);
        EXPECT_EQ(PixelAt(arrow), kBottomArrow);
        // The window scrolled.
        EXPECT_GT(GetScrollPos(wnd, SB_VERT), 0);
        adapter.reset();
        DestroyWindow(wnd);
        spy.Log.clear();
    }
}

// Held with the mouse off the arrow: the repeat waits for the mouse to be
// back on it, and the arrow is drawn unpressed. (The cursor is placed once,
// before the press: Wine moves the X pointer asynchronously, and moving it
// back and forth during a press lets the cursor read back an earlier place.)
TEST_F(ScrollAdapterTest, HeldOffTheArrowTheRepeatWaits) {
    Make(Kind::ListBox);
    Attach();
    const TBarGeometry g = VGeometry();
    const POINT arrow = VPoint(g.End - g.Arrow / 2);
    const POINT off = VPoint((g.TrackStart + g.TrackEnd) / 2);
    PlaceCursor(off);
    spy.Log.clear();
    SendMessageA(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(arrow.x, arrow.y));
    ASSERT_EQ(spy.Scrolls().size(), 1u);
    PumpFor(800);
    EXPECT_EQ(spy.Scrolls().size(), 1u);
    EXPECT_EQ(PixelAt(arrow), kBottomArrow);
    EXPECT_EQ(GetCapture(), wnd);
    Release(off);
    EXPECT_EQ(LOWORD(spy.Scrolls().back().WParam), SB_ENDSCROLL);
}

TEST_F(ScrollAdapterTest, ALostCaptureOrADestroyedWindowStopsTheRepeat) {
    Make(Kind::ListBox);
    Attach();
    TBarGeometry g = VGeometry();
    POINT arrow = VPoint(g.End - g.Arrow / 2);
    spy.Log.clear();
    Press(arrow);
    ASSERT_EQ(spy.Scrolls().size(), 1u);
    // Somebody else takes the capture.
    SetCapture(host);
    ReleaseCapture();
    EXPECT_EQ(LOWORD(spy.Scrolls().back().WParam), SB_ENDSCROLL);
    const std::size_t ended = spy.Scrolls().size();
    PumpFor(500);
    EXPECT_EQ(spy.Scrolls().size(), ended);

    // Pressed, then the window goes: the adapter lets go of it, and the next
    // window's mouse is its own again.
    Press(arrow);
    ASSERT_EQ(GetCapture(), wnd);
    DestroyWindow(wnd);
    EXPECT_TRUE(adapter->Detached);
    PumpFor(400);
    adapter.reset();
    spy = Spy{};
    Make(Kind::ListBox);
    Attach();
    spy.Log.clear();
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(spy.Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(spy.Count(WM_MOUSEMOVE), 1);
    EXPECT_TRUE(spy.Scrolls().empty());
}

// ---------------------------------------------------------- thumb drags

TEST_F(ScrollAdapterTest, DraggingTheThumbTracksOnlyOnChangeAndEndsWhereItWasDragged) {
    for (Kind kind : {Kind::ListBox, Kind::Edit}) {
        SCOPED_TRACE(kind == Kind::ListBox ? "listbox" : "edit");
        Make(kind);
        Attach();
        for (int round = 0; round < 2; ++round) {
            const TBarGeometry g = VGeometry();
            ASSERT_TRUE(g.HasThumb());
            const int startPos = GetScrollPos(wnd, SB_VERT);
            POINT p = VPoint(g.ThumbStart + g.ThumbLen / 2);
            spy.Log.clear();
            ASSERT_EQ(Press(p), HTVSCROLL);
            EXPECT_TRUE(adapter->ThumbTracking);
            EXPECT_TRUE(spy.Scrolls().empty());
            // Down in single pixels, each one twice.
            for (int i = 1; i <= 30; ++i) {
                MoveTo(POINT{p.x, p.y + i});
                MoveTo(POINT{p.x, p.y + i});
            }
            const auto s = spy.Scrolls();
            ASSERT_FALSE(s.empty());
            std::vector<int> tracked;
            for (const SpyEntry& e : s) {
                EXPECT_EQ(LOWORD(e.WParam), SB_THUMBTRACK);
                tracked.push_back(HIWORD(e.WParam));
            }
            for (std::size_t i = 1; i < tracked.size(); ++i) EXPECT_GT(tracked[i], tracked[i - 1]) << i;
            EXPECT_GT(tracked.front(), startPos);
            // The dragged thumb is drawn where the mouse holds it.
            EXPECT_EQ(PixelAt(POINT{p.x, p.y + 30}), kPressedThumb);
            Release(POINT{p.x, p.y + 30});
            const auto all = spy.Sequence();
            ASSERT_GE(all.size(), 6u);
            // ..., 51, THUMBPOSITION at the last tracked place, 52, 51, ENDSCROLL, 52.
            EXPECT_EQ(std::vector<int>(all.end() - 6, all.end()),
                      (std::vector<int>{5100, SB_THUMBPOSITION, 5200, 5100, SB_ENDSCROLL, 5200}));
            const auto finals = spy.Scrolls();
            EXPECT_EQ(HIWORD(finals[finals.size() - 2].WParam), tracked.back());
            EXPECT_FALSE(adapter->ThumbTracking);
            EXPECT_EQ(GetScrollPos(wnd, SB_VERT), tracked.back());
            if (kind == Kind::ListBox) {
                EXPECT_EQ(SendMessageA(wnd, LB_GETTOPINDEX, 0, 0), tracked.back());
            }
            // A press and release without moving leaves the window where it is
            // (drags do not add up).
            const TBarGeometry again = VGeometry();
            const POINT q = VPoint(again.ThumbStart + again.ThumbLen / 2);
            spy.Log.clear();
            Press(q);
            Release(q);
            const auto still = spy.Scrolls();
            ASSERT_EQ(still.size(), 2u);
            EXPECT_EQ(HIWORD(still[0].WParam), tracked.back());
            EXPECT_EQ(GetScrollPos(wnd, SB_VERT), tracked.back());
        }
        adapter.reset();
        DestroyWindow(wnd);
        spy.Log.clear();
    }
}

// A window that answers 51 gets the full position in lParam and keeps its
// scroll information itself.
TEST_F(ScrollAdapterTest, AWindowThatAnswersTheFrameTakesFullPositions) {
    Make(Kind::ListBox);
    Attach();
    spy.TakesPositions = true;
    const TBarGeometry g = VGeometry();
    const POINT p = VPoint(g.ThumbStart + g.ThumbLen / 2);
    spy.Log.clear();
    Press(p);
    MoveTo(POINT{p.x, p.y + 20});
    const auto s = spy.Scrolls();
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(LOWORD(s.back().WParam), SB_THUMBTRACK);
    EXPECT_EQ(static_cast<WORD>(s.back().LParam), HIWORD(s.back().WParam));
    EXPECT_GT(s.back().LParam, 0);
    // The adapter left the position to the window.
    EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 0);
    Release(POINT{p.x, p.y + 20});
}

// ------------------------------------------------------- the chain stays

TEST_F(ScrollAdapterTest, DetachedOrFreedInsideWMDestroyLeavesAWorkingChain) {
    for (bool freeIt : {false, true}) {
        SCOPED_TRACE(freeIt ? "freed" : "detached");
        Make(Kind::ListBox);
        Attach();
        Over over;
        ChainOver(wnd, over);
        over.OnMessage = [&](UINT msg) {
            if (msg != WM_DESTROY) return;
            if (freeIt)
                adapter.reset();
            else
                adapter->Detach(false);
        };
        DestroyWindow(wnd);
        EXPECT_FALSE(IsWindow(wnd));
        // The native control saw its window go.
        EXPECT_EQ(spy.Count(WM_DESTROY), 1);
        EXPECT_EQ(spy.Count(WM_NCDESTROY), 1);
        if (!freeIt) {
            EXPECT_TRUE(adapter->Detached);
        }
        adapter.reset();
        spy = Spy{};
    }
}

TEST_F(ScrollAdapterTest, AnAdapterUnderAnotherProcedureLeavesItWorking) {
    Make(Kind::ListBox);
    Attach();
    Over over;
    ChainOver(wnd, over);
    // The adapter leaves and is freed while the other procedure is over it.
    DetachAdapter(true, false, adapter);
    EXPECT_EQ(GetPropA(wnd, "ACSBSC"), nullptr);
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 0);
    EXPECT_GT(over.Calls, 0);
    // A new adapter over both, then the other procedure leaves too.
    Attach();
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 1);
    adapter.reset();
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
    UnchainOver(wnd, over);
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SpyProc));
    DestroyWindow(wnd);
    EXPECT_EQ(spy.Count(WM_NCDESTROY), 1);
}

// An adapter freed by whoever handles a message it passed on (the owner
// letting go of it while its own procedure runs).
TEST_F(ScrollAdapterTest, FreedWhileItsOwnMessageRuns) {
    Make(Kind::ListBox);
    Attach();
    spy.OnMessage = [&](UINT msg) {
        if (msg == WM_NCPAINT || msg == WM_SETTEXT) adapter.reset();
    };
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
    EXPECT_EQ(adapter, nullptr);
    spy.OnMessage = nullptr;
    Attach();
    spy.OnMessage = [&](UINT msg) {
        if (msg == WM_NCPAINT) adapter.reset();
    };
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_EQ(adapter, nullptr);
    spy.OnMessage = nullptr;
    EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 100);
    EXPECT_EQ(GetPropA(wnd, "ACSBSC"), nullptr);
}

// ------------------------------------------------------------- handles

TEST_F(ScrollAdapterTest, HandleCountsStayFlatOverManyRounds) {
    Make(Kind::Edit);
    // One round first: what the system keeps for good is taken then.
    Attach();
    adapter.reset();
    PumpMessages();
    const TFlatCounts counts;
    for (int i = 0; i < 100; ++i) {
        Attach();
        SendSkinCommand(wnd, scRefresh, reinterpret_cast<LPARAM>(manager));
        SendMessageA(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
        PumpMessages();
        adapter.reset();
    }
    PumpMessages();
    // Freed without a detach first, each left the window as it found it.
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SpyProc));
    EXPECT_EQ(GetPropA(wnd, "ACSBSC"), nullptr);
    counts.ExpectKept(TFlatCounts::AllLive, TFlatCounts::GuiSame);
}

// ------------------------------------------------- a framework control

TEST_F(ScrollAdapterTest, UpdateScrollAdapterFollowsTheRecordOfAControl) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    form->SetBounds(80, 80, 300, 300);
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(8, 8, 200, 200);
    for (int i = 0; i < 100; ++i) list->Items()->Add("line " + std::to_string(i));
    form->Show();
    TsCommonData data(list, true);
    data.SetSkinManager(manager);
    data.SetSkinSection("EDIT");
    data.ReadSkinIndexes();
    ASSERT_TRUE(data.IsSkinned());
    const TControlStyle style = list->ControlStyle();
    ASSERT_FALSE(style & csOpaque);
    std::unique_ptr<TacScrollWnd> a;
    UpdateScrollAdapter(data, a);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FindAdapter(list->Handle()), a.get());
    EXPECT_TRUE(list->ControlStyle() & csOpaque);
    EXPECT_EQ(SendSkinCommand(list->Handle(), scQuerySupport, 0), 1);
    // The same again keeps it.
    TacScrollWnd* first = a.get();
    UpdateScrollAdapter(data, a);
    EXPECT_EQ(a.get(), first);
    // A detached one is replaced.
    a->Detach(false);
    UpdateScrollAdapter(data, a);
    EXPECT_NE(a, nullptr);
    EXPECT_FALSE(a->Detached);
    // No longer skinned: gone, the control as it was.
    data.SetSkinSection("NOSUCHSECTION");
    data.ReadSkinIndexes();
    UpdateScrollAdapter(data, a);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(list->ControlStyle(), style);
    EXPECT_EQ(FindAdapter(list->Handle()), nullptr);
    EXPECT_EQ(list->Items()->Count(), 100);
    // Colour properties by their published names.
    SetColorProp(list, "Color", 0x123456);
    EXPECT_EQ(list->Color(), 0x123456);
    EXPECT_EQ(GetColorProp(list, "Color"), 0x123456);
    SetColorProp(list, "NoSuchColour", 0x654321);
    EXPECT_EQ(GetColorProp(list, "NoSuchColour"), 0);
    // The edit variant through its seam.
    data.SetSkinSection("EDIT");
    data.ReadSkinIndexes();
    UpdateEditAdapter(data, a);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FindAdapter(list->Handle()), a.get());
    a.reset();
    form->Free();
}

// The vertical bar follows WS_EX_LEFTSCROLLBAR, also when it changes; a
// window too low for a bar shows none.
TEST_F(ScrollAdapterTest, LeftScrollBarAndAWindowTooSmallForABar) {
    Make(Kind::ListBox);
    SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Attach();
    EXPECT_TRUE(adapter->LeftScrollBar);
    RECT wr{}, v{};
    GetWindowRect(wnd, &wr);
    auto hit = [&](POINT p) { return SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)); };
    GetVScrollRect(*adapter, wnd, v);
    EXPECT_LT(v.left - wr.left, 4);
    EXPECT_EQ(hit(POINT{v.left + 2, (v.top + v.bottom) / 2}), HTVSCROLL);
    EXPECT_EQ(PixelAt(POINT{(v.left + v.right) / 2, v.top + 3}), kTopArrow);
    // Switched at run time: the bar and its hit area move to the right.
    SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LEFTSCROLLBAR);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PumpMessages();
    EXPECT_FALSE(adapter->LeftScrollBar);
    GetVScrollRect(*adapter, wnd, v);
    EXPECT_LT(wr.right - v.right, 4);
    EXPECT_EQ(hit(POINT{v.right - 2, (v.top + v.bottom) / 2}), HTVSCROLL);
    EXPECT_NE(hit(POINT{wr.left + 4, (v.top + v.bottom) / 2}), HTVSCROLL);
    adapter.reset();
    DestroyWindow(wnd);

    // Lower than a bar is thick: no horizontal bar, nothing hit there.
    Make(Kind::Edit, WS_HSCROLL | ES_AUTOHSCROLL, 10, 10, 200, GetSystemMetrics(SM_CYHSCROLL) - 1);
    SetWindowLongA(wnd, GWL_STYLE, GetWindowLongA(wnd, GWL_STYLE) & ~WS_VSCROLL);
    Attach();
    GetWindowRect(wnd, &wr);
    EXPECT_FALSE(adapter->HBar->BarVisible) << wr.bottom - wr.top << " insets " << adapter->InsetTop << " "
                                            << adapter->InsetBottom;
    EXPECT_NE(hit(POINT{(wr.left + wr.right) / 2, wr.bottom - 3}), HTHSCROLL);
}

// The root adapter on a window without scroll bars: its own record, the
// commands it answers, WM_PRINT through its painting, a refresh of a
// hidden window that paints nothing.
TEST_F(ScrollAdapterTest, TheRootAdapterAnswersForAPlainWindow) {
    wnd = CreateWindowExA(0, "STATIC", "plain", WS_CHILD, 10, 10, 50, 20, host, nullptr, GetModuleHandleA(nullptr),
                          nullptr);
    ChainSpy(wnd, spy);
    auto root = CreateAdapter<TacMainWnd>(wnd, nullptr, manager, "EDIT");
    ASSERT_FALSE(root->Detached);
    EXPECT_TRUE(root->OwnsCommonData);
    EXPECT_EQ(root->CommonData->SkinSection(), "EDIT");
    EXPECT_TRUE(root->CommonData->IsSkinned());
    EXPECT_EQ(root->WindowText, "plain");
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
    EXPECT_EQ(root->WindowText, "renamed");
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 1);
    EXPECT_EQ(SendSkinCommand(wnd, scGetSkinData, 0), reinterpret_cast<LRESULT>(root->CommonData));
    EXPECT_EQ(SendSkinCommand(wnd, scQueryUpdating, 0), 0);
    // Hidden: the refresh re-reads the record, no WM_PAINT.
    root->CommonData->BGChanged = false;
    spy.Log.clear();
    EXPECT_EQ(SendSkinCommand(wnd, scRefresh, reinterpret_cast<LPARAM>(manager)), 0);
    EXPECT_TRUE(root->CommonData->BGChanged);
    EXPECT_EQ(spy.Count(WM_PAINT), 0);
    ShowWindow(wnd, SW_SHOW);
    SendSkinCommand(wnd, scRefresh, reinterpret_cast<LPARAM>(manager));
    EXPECT_EQ(spy.Count(WM_PAINT), 1);
    // WM_PRINT paints through WM_PAINT into the DC given.
    HDC dc = CreateCompatibleDC(nullptr);
    spy.Log.clear();
    SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ASSERT_EQ(spy.Count(WM_PAINT), 1);
    EXPECT_EQ(std::find_if(spy.Log.begin(), spy.Log.end(), [](const SpyEntry& e) { return e.Msg == WM_PAINT; })->WParam,
              reinterpret_cast<WPARAM>(dc));
    EXPECT_EQ(spy.Count(WM_PRINT), 0);
    DeleteDC(dc);
    // Another manager's skin change goes to the window.
    spy.Log.clear();
    SendSkinCommand(wnd, scRefresh, 0x1234);
    EXPECT_EQ(spy.Count(SkinCommandMessage), 1);
    // The mouse makes it the manager's hot control.
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(manager->HotControl(), wnd);
    manager->SetHotControl(nullptr);
    // Sub-code 23 rebuilds its cache from the skin, at the window's size.
    root->CommonData->BGChanged = true;
    SendSkinCommand(wnd, 23, 0);
    EXPECT_FALSE(root->CommonData->BGChanged);
    ASSERT_NE(root->CommonData->CacheBmp, nullptr);
    ASSERT_EQ(root->CommonData->CacheBmp->Width(), 50);
    ASSERT_EQ(root->CommonData->CacheBmp->Height(), 20);
    EXPECT_EQ(root->CommonData->CacheBmp->Pixels().At(25, 10) & 0xFFFFFFu, ColorToPixel(16772829) & 0xFFFFFFu);
    // A second detach does nothing; the window goes on.
    root->Detach(false);
    root->Detach(false);
    EXPECT_EQ(GetPropA(wnd, "ACSBSC"), nullptr);
    EXPECT_EQ(SendSkinCommand(wnd, scQuerySupport, 0), 0);
    root.reset();
}

// The part under the mouse looks hot while the mouse is over the bar; the
// hover timer notices the mouse leaving.
TEST_F(ScrollAdapterTest, HoveringShowsThePartUnderTheMouseHot) {
    Make(Kind::ListBox);
    Attach();
    const TBarGeometry g = VGeometry();
    const POINT thumb = VPoint(g.ThumbStart + g.ThumbLen / 2);
    PlaceCursor(thumb);
    SendMessageA(wnd, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
    ASSERT_TRUE(WaitUntil([&] { return PixelAt(thumb) == kPressedThumb; }, 2000));
    // The arrow is not the hot part.
    EXPECT_EQ(PixelAt(VPoint(g.Start + g.Arrow / 2)), kTopArrow);
    // The system's own hover handling on the way in and out leaves the
    // skinned bar as it is.
    PumpFor(100);
    EXPECT_EQ(PixelAt(thumb), kPressedThumb);
    PlaceCursor(POINT{5, 5});
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(thumb) == kThumb; }, 2000));
    PumpFor(100);
    EXPECT_EQ(PixelAt(thumb), kThumb);
    EXPECT_EQ(PixelAt(VPoint(g.Start + g.Arrow / 2)), kTopArrow);
}

// The least a form's provider is, for adapters of the provider's record.
class BareProvider : public TsSkinProviderBase {
public:
    using TsSkinProviderBase::TsSkinProviderBase;
    void PaintNonClientCache() override {}
    std::unique_ptr<TBitmap> MakeFormImage() override { return nullptr; }
    void InitRegionRects() override {}
    void UpdateRegion(bool) override {}
    HRGN MakeRegion(int, int) override { return nullptr; }
    int ClientOffsetX() override { return 0; }
    int ClientOffsetY() override { return 0; }
    RECT GetExtBorderMargins() override { return RECT{}; }
    int CaptionHeight(bool) override { return 0; }
    void StartMinimizing() override {}
    bool StartRestoring() override { return false; }
};

// An adapter of a provider's record takes the form's WindowProc; visual
// styles stay when the provider leaves the frame to the system.
TEST_F(ScrollAdapterTest, AnAdapterOfAProvidersRecordChainsIntoTheFormsWindowProc) {
    for (bool drawsFrame : {false, true}) {
        SCOPED_TRACE(drawsFrame ? "frame drawn" : "system frame");
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(100, 100, 200, 150);
        auto* provider = new BareProvider(form);
        provider->DrawNonClientArea = drawsFrame;
        provider->SkinData->SetSkinManager(manager);
        provider->SkinData->SetSkinSection("EDIT");
        provider->SkinData->ReadSkinIndexes();
        int themeChanges = 0;
        TWndMethod inner = form->WindowProc;
        form->WindowProc = [&themeChanges, inner](TMessage& m) {
            if (m.Msg == WM_THEMECHANGED) ++themeChanges;
            inner(m);
        };
        form->Show();
        HWND formWnd = form->Handle();
        EXPECT_EQ(form->Perform(SkinCommandMessage, SkinCommand(scQuerySupport), 0), 0);
        auto a = CreateAdapter<TacMainWnd>(formWnd, provider->SkinData.get(), nullptr, "FORM");
        ASSERT_FALSE(a->Detached);
        EXPECT_EQ(a->Manager, manager);
        EXPECT_EQ(FindAdapter(formWnd), a.get());
        // Messages the framework performs reach it, as those the window gets.
        EXPECT_EQ(form->Perform(SkinCommandMessage, SkinCommand(scQuerySupport), 0), 1);
        EXPECT_EQ(SendSkinCommand(formWnd, scQuerySupport, 0), 1);
        EXPECT_EQ(themeChanges > 0, drawsFrame);
        a.reset();
        EXPECT_EQ(form->Perform(SkinCommandMessage, SkinCommand(scQuerySupport), 0), 0);
        EXPECT_EQ(FindAdapter(formWnd), nullptr);
        form->WindowProc = inner;
        form->Free();
    }
}

// The small routines every adapter shares.
TEST_F(ScrollAdapterTest, NonClientFontsAndTheTopWindowNotice) {
    for (int kind = 1; kind <= 5; ++kind) {
        TGdiObject<HFONT> font = GetNonClientFont(kind);
        EXPECT_NE(font.Get(), nullptr) << kind;
    }
    EXPECT_EQ(GetNonClientFont(0).Get(), nullptr);
    EXPECT_EQ(GetNonClientFont(6).Get(), nullptr);
    Make(Kind::Edit);
    Spy hostSpy;
    ChainSpy(host, hostSpy);
    NotifyTopWindow(wnd);
    EXPECT_EQ(std::count_if(hostSpy.Log.begin(), hostSpy.Log.end(),
                            [](const SpyEntry& e) {
                                return e.Msg == SkinCommandMessage && SkinSubCode(e.WParam) == scParentFormNotify;
                            }),
              1);
    UnchainSpy(host, hostSpy);
    // The scroll adapter follows the window's text, and repaints its bars
    // when the new text changes what they show.
    Attach();
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("short"));
    EXPECT_EQ(adapter->WindowText, "short");
    EXPECT_FALSE(ScrollBarEnabled(*adapter, 1) && VGeometry().HasThumb());
}

// A native window's cache painted from its section, and the border's
// transparent corner pixels given the parent's background, also for a
// window smaller than its border.
TEST_F(ScrollAdapterTest, BorderCornersOfANativeWindowShowItsParent) {
    for (SIZE size : {SIZE{60, 30}, SIZE{3, 3}, SIZE{1, 9}}) {
        SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy));
        wnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, size.cx, size.cy, host, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        auto a = CreateAdapter<TacMainWnd>(wnd, nullptr, manager, "FRAMED");
        TsCommonData& d = *a->CommonData;
        ASSERT_TRUE(manager->Model().MaskIndexValid(d.BorderIndex));
        d.BGChanged = true;
        UpdateWndCache(d, wnd, false);
        ASSERT_EQ(d.CacheBmp->Width(), size.cx);
        // Whatever the painting left in the corners is replaced.
        for (auto [x, y] : {std::pair{0, 0}, {size.cx - 1, size.cy - 1}}) d.CacheBmp->Pixels().At(x, y) = 0xFF123456u;
        FillBorderCorners(d, *a);
        const TsMaskData& mask = manager->Model().Masks()[static_cast<std::size_t>(d.BorderIndex)];
        const TRect image = MaskStateRect(mask, 0);
        // The test skin's border has key-coloured corner pixels.
        ASSERT_EQ(MaskSourceBitmap(mask)->At(image.Left, image.Top) & 0xFFFFFFu, 0xFF00FFu);
        TsParentImageInfo parent;
        ParentImageInfoOfWnd(wnd, parent);
        const std::uint32_t corner = d.CacheBmp->Pixels().At(0, 0);
        if (size.cx > 1) {
            EXPECT_EQ(corner & 0xFFFFFFu, ColorToPixel(static_cast<std::uint32_t>(parent.FillColor)) & 0xFFFFFFu);
        }
        if (size.cx > 8 && size.cy > 8) {
            // Inside the border nothing changed.
            EXPECT_EQ(d.CacheBmp->Pixels().At(size.cx / 2, size.cy / 2) & 0xFFFFFFu, ColorToPixel(16772829) & 0xFFFFFFu);
            EXPECT_EQ(d.CacheBmp->Pixels().At(size.cx - 1, size.cy - 1) & 0xFFFFFFu,
                      ColorToPixel(static_cast<std::uint32_t>(parent.FillColor)) & 0xFFFFFFu);
        }
        a.reset();
        DestroyWindow(wnd);
    }
}

// With one of our own skins the arrows carry their glyphs over the
// button's face (the face alone is one colour in the middle).
TEST_F(ScrollAdapterTest, ArrowsShowTheirGlyphsFromTheSkin) {
    manager->Model().LoadStoredData(InternalSkinData("Linen"));
    ASSERT_TRUE(manager->Model().MaskIndexValid(manager->Model().ConstData().ScrollBtns[0].Glyph));
    Make(Kind::ListBox);
    Attach();
    const TBarGeometry g = VGeometry();
    const RECT v = VBarRect();
    std::vector<COLORREF> seen;
    for (int y = g.Start + g.Arrow / 2 - 3; y <= g.Start + g.Arrow / 2 + 3; ++y)
        for (int x = (v.left + v.right) / 2 - 3; x <= (v.left + v.right) / 2 + 3; ++x) {
            const COLORREF c = PixelAt(POINT{x, y});
            if (std::find(seen.begin(), seen.end(), c) == seen.end()) seen.push_back(c);
        }
    EXPECT_GE(seen.size(), 2u);
}

}  // namespace
}  // namespace kova::skin::test
