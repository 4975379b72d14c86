// Services of the table adapter base that need a real window: pixels read
// from the screen, with the fallback for covered or off-screen windows,
// and the client-size scaling of room points. The fallback renders a window
// into a bitmap, which works only for windows of the same process under
// Wine, so these tables are windows of the test itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "common/win32_testing.h"
#include "framework/handles.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {
namespace {

using namespace kova::test;

constexpr COLORREF kParentColour = RGB(10, 200, 30);
constexpr COLORREF kChildColour = RGB(220, 40, 90);
int g_presses = 0;  // left-button presses the test's tables received

LRESULT CALLBACK PaintProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    const COLORREF colour = static_cast<COLORREF>(GetWindowLongPtrA(w, GWLP_USERDATA));
    auto fill = [&](HDC dc) {
        RECT r;
        GetClientRect(w, &r);
        const kova::TGdiObject<HBRUSH> b(CreateSolidBrush(colour));
        FillRect(dc, &r, b.Get());
    };
    switch (m) {
        case WM_PAINT: {
            const kova::TPaintGuard paint(w);
            fill(paint.DC());
            return 0;
        }
        case WM_PRINTCLIENT:
            fill(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            ++g_presses;
            return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

class OwnTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PaintProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KovaOwnTable";
        RegisterClassA(&wc);
        // Client 400 x 300; a child covers its right half.
        RECT r{0, 0, 400, 300};
        AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window_ = CreateWindowExA(0, "KovaOwnTable", "Own table", WS_OVERLAPPEDWINDOW, 100, 100, r.right - r.left,
                                  r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
        SetWindowLongPtrA(window_, GWLP_USERDATA, kParentColour);
        child_ = CreateWindowExA(0, "KovaOwnTable", "", WS_CHILD | WS_VISIBLE, 200, 0, 200, 300, window_, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_TRUE(child_);
        SetWindowLongPtrA(child_, GWLP_USERDATA, kChildColour);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
        PumpFor(100);
        ResetEngine();
        table_ = MakeTableAdapter<TPokerTable>(window_, -1, "Own table");
        PokerRooms.assign(1, TPokerRoom{});
        table_->RoomIndex = 0;
    }
    void TearDown() override {
        table_.reset();
        if (window_) DestroyWindow(window_);
        ResetEngine();
    }
    void MoveTo(int x, int y) {
        SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(window_);
        PumpFor(100);
    }

    HWND window_ = nullptr, child_ = nullptr;
    std::unique_ptr<TPokerTable> table_;
};

TEST_F(OwnTableTest, BaseFieldsComeFromTheWindow) {
    EXPECT_EQ(table_->Kind, KindGeneric);
    EXPECT_EQ(table_->RefWidth, 800);
    EXPECT_EQ(table_->TickCountdown, 5);
    RECT w, c;
    GetWindowRect(window_, &w);
    GetClientRect(window_, &c);
    EXPECT_EQ(table_->BorderX, ((w.right - w.left) - c.right) / 2);
    EXPECT_EQ(table_->CaptionY, (w.bottom - w.top) - c.bottom - table_->BorderX);
    EXPECT_EQ(table_->MainWnd, reinterpret_cast<uintptr_t>(window_));
    EXPECT_EQ(ScaleX(*table_, 400, 0), 200);  // client 400 of the reference 800
    EXPECT_EQ(ScaleY(*table_, 300, 0), 150);
}

TEST_F(OwnTableTest, PixelsAreReadFromTheScreenAndFromTheWindowWhenOffScreen) {
    struct Case {
        const char* name;
        int x, y;            // window position
        uint8_t dragging;
        COLORREF left, right;  // at client (50, 150) and (350, 150)
    };
    const int screenRight = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const Case cases[] = {
        {"on the screen", 100, 100, 0, kParentColour, kChildColour},
        {"right half off the screen", screenRight - 250, 100, 0, kParentColour, kChildColour},
        {"off the screen while dragged", screenRight - 250, 100, 1, kParentColour, CLR_INVALID},
    };
    for (const Case& c : cases) {
        MoveTo(c.x, c.y);
        table_->Dragging = c.dragging;
        EXPECT_EQ(table_->GetPixel(50, 150), c.left) << c.name;
        EXPECT_EQ(table_->GetPixel(350, 150), c.right) << c.name;
    }
}

TEST_F(OwnTableTest, RoomPointsAreScaledToTheClientSize) {
    TPokerRoom& room = PokerRooms[0];
    const TColourPoint point{700, 300, 0, 0};  // right half at 800 x 600; client 400 x 300
    const TScaleRef ref{800, 600, 0, 0};
    struct Case {
        uint8_t proportional;
        TScaleRef ref;
        COLORREF expected;
    };
    const Case cases[] = {
        {1, ref, kChildColour},               // (350, 150)
        {0, ref, kChildColour},               // two references with minimum 0: the same
        {0, {400, 300, 400, 300}, CLR_INVALID},  // factor 1: (700, 300) lies outside the client area
        {1, {0, 600, 0, 0}, CLR_INVALID},     // no reference size
    };
    MoveTo(100, 100);
    for (const Case& c : cases) {
        room.Proportional = c.proportional;
        EXPECT_EQ(PixelAtScaledPoint(*table_, point, c.ref), c.expected) << int(c.proportional) << " " << c.ref.W;
    }
    const TColourPoint leftPoint{100, 300, 0, 0};
    room.Proportional = 1;
    EXPECT_EQ(PixelAtScaledPoint(*table_, leftPoint, ref), kParentColour);
}

TEST_F(OwnTableTest, ChildWindowAtPointMakesThePointRelativeToTheChild) {
    int32_t x = table_->BorderX + 250, y = table_->CaptionY + 20;
    EXPECT_EQ(ChildWindowAtPoint(window_, x, y), child_);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 20);
    x = table_->BorderX + 20;
    y = table_->CaptionY + 20;
    EXPECT_EQ(ChildWindowAtPoint(window_, x, y), window_);
    EXPECT_EQ(x, table_->BorderX + 20);
}

// The program's click on a window of its own thread: that thread reads
// the press only once the click has returned, so waiting for its repaint
// would only hold the program (its windows unpainted, its input unread)
// for the whole bound of the wait. The click arrives all the same.
TEST_F(OwnTableTest, AClickOnAWindowOfThisThreadDoesNotWaitForARepaintItCannotGet) {
    // The window in front before the click, away from the clicked point.
    HWND other = CreateWindowExA(0, "KovaOwnTable", "Other", WS_POPUP | WS_VISIBLE, 700, 500, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(other);
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 3000));
    PumpFor(50);
    g_presses = 0;
    const DWORD start = GetTickCount();
    ClickWithCursor(*table_, window_, 50, 50);
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 450u);  // the repaint wait alone is bounded at 500 ms
    EXPECT_TRUE(WaitUntil([] { return g_presses == 1; }, 3000));
    EXPECT_EQ(SyntheticClick, 0);
    DestroyWindow(other);
}

}  // namespace
}  // namespace kova::tables
