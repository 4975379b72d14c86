// Mouse activation against the simulated client's tables: a table of a
// Mouse Activate group comes forward when the cursor enters it, once, and
// takes its enlarged rectangle after the hover delay; leaving every table
// lets it go. With left-button activation, hovering only brings it forward.
// The test runs scans as the main window's timer would.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <ostream>
#include <string>
#include <utility>

#include "common/require.h"
#include "common/win32_testing.h"
#include "client_fixture.h"
#include "simclient_protocol.h"
#include "tables/engine/autoplace.h"
#include "tables/logic/placemath.h"

namespace kova::tables {
namespace {

using namespace kova::test;
using namespace kova::tables::testing;

constexpr const char* kClient = "kovamouseacttest";
constexpr const char* kTableClass = "KovaMouseActTable";

// Two slots side by side, apart; the enlarged size is 480 x 360.
const TSlotRec kSlots[] = {{200, 200, 400, 300, 200, 200, 400, 300}, {700, 200, 400, 300, 700, 200, 400, 300}};

}  // namespace

void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height() << ")";
}

namespace {

TRect RectOf(HWND h) {
    const RECT r = WindowRect(h);
    return TRect{r.left, r.top, r.right, r.bottom};
}

TRect NormalRect(int slot) {
    const TSlotRec& s = kSlots[slot];
    return TRect{s.Left, s.Top, s.Left + s.Width, s.Top + s.Height};
}

// The hovered table's rectangle: 480 x 360 centred on its slot, inside the
// work area of the slot's monitor.
TRect EnlargedRect(int slot) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromPoint(POINT{kSlots[slot].Left, kSlots[slot].Top}, MONITOR_DEFAULTTONEAREST), &mi);
    return ActivateSlotRect(NormalRect(slot), 480, 360, TRect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
}

bool CursorTo(int x, int y) {
    SetCursorPos(x, y);
    return WaitUntil(
        [&] {
            POINT p{};
            GetCursorPos(&p);
            return p.x == x && p.y == y;
        },
        3000);
}

class MouseActivation : public ClientTest {
protected:
    MouseActivation() : ClientTest(kClient) {}

    void SetUp() override {
        ClientTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        RunningConfig.Name = "Mouse";
        TGroupRec g;
        g.Name = "G";
        g.ClassPattern = kTableClass;
        g.Title = Title("Table");
        g.AutoPlace = g.AutoSize = g.ActivateSize = g.MouseActivate = 1;
        g.Size2.Width = 480;
        g.Size2.Height = 360;
        g.Slots = {kSlots[0], kSlots[1]};
        RunningConfig.Groups = {g};
        EngineOptions.MouseActDelay = 1;
        // Away from every table.
        ASSERT_TRUE(CursorTo(1800, 620));
        a_ = Open(1);
        b_ = Open(2);
        ASSERT_TRUE(a_ && b_);
        auto placed = [&](HWND x, HWND y) { return RectOf(x) == NormalRect(0) && RectOf(y) == NormalRect(1); };
        ASSERT_TRUE(ScanUntil([&] { return placed(a_, b_) || placed(b_, a_); }))
            << ::testing::PrintToString(RectOf(a_)) << " " << ::testing::PrintToString(RectOf(b_));
        if (!placed(a_, b_)) std::swap(a_, b_);  // a in slot 0, b in slot 1
        ASSERT_EQ(MouseOverWnd, 0u);
    }

    HWND Open(int id) {
        return ClientTest::Open(id, kTableClass, "Table " + std::to_string(id), "300x200", "1300,700");
    }

    // b above a, as another window might have put it.
    void RaiseB() {
        SetWindowPos(b_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil([&] { return IsAbove(b_, a_); }, 2000));
    }

    HWND a_ = nullptr, b_ = nullptr;
};

TEST_F(MouseActivation, HoveringBringsTheTableForwardOnceAndEnlargesItAfterTheDelay) {
    RaiseB();
    const auto entered = std::chrono::steady_clock::now();
    ASSERT_TRUE(CursorTo(kSlots[0].Left + 50, kSlots[0].Top + 50));
    ASSERT_TRUE(Scan());
    EXPECT_EQ(MouseOverWnd, reinterpret_cast<uintptr_t>(a_));
    EXPECT_TRUE(IsAbove(a_, b_));
    // Within the hover delay the table keeps its slot's size.
    EXPECT_EQ(RectOf(a_), NormalRect(0));

    // Another window comes over it while the cursor moves inside: the table
    // is not brought forward again.
    RaiseB();
    ASSERT_TRUE(CursorTo(kSlots[0].Left + 60, kSlots[0].Top + 40));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(IsAbove(b_, a_));
    EXPECT_EQ(MouseOverWnd, reinterpret_cast<uintptr_t>(a_));

    // After the delay (1 s) it takes the enlarged rectangle.
    ASSERT_TRUE(ScanUntil([&] { return RectOf(a_) == EnlargedRect(0); }, 40));
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - entered).count();
    EXPECT_GE(waited, 0.9);
    EXPECT_EQ(RectOf(b_), NormalRect(1));

    // Leaving every table lets it go back into its slot.
    ASSERT_TRUE(CursorTo(1800, 620));
    ASSERT_TRUE(ScanUntil([&] { return RectOf(a_) == NormalRect(0); }));
    EXPECT_EQ(MouseOverWnd, 0u);
}

TEST_F(MouseActivation, WithoutADelayTheHoveredTableIsEnlargedAtOnceAndMovingToAnotherSwapsThem) {
    EngineOptions.MouseActDelay = 0;
    ASSERT_TRUE(CursorTo(kSlots[1].Left + 50, kSlots[1].Top + 50));
    ASSERT_TRUE(ScanUntil([&] { return RectOf(b_) == EnlargedRect(1); }, 10));
    ASSERT_TRUE(CursorTo(kSlots[0].Left + 20, kSlots[0].Top + 250));
    ASSERT_TRUE(ScanUntil([&] { return RectOf(a_) == EnlargedRect(0) && RectOf(b_) == NormalRect(1); }, 10));
    EXPECT_EQ(MouseOverWnd, reinterpret_cast<uintptr_t>(a_));
}

TEST_F(MouseActivation, WithLeftButtonActivationHoveringBringsForwardButNeverEnlarges) {
    EngineOptions.LBtnMouseActivate = true;
    EngineOptions.MouseActDelay = 0;
    RaiseB();
    ASSERT_TRUE(CursorTo(kSlots[0].Left + 50, kSlots[0].Top + 50));
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(IsAbove(a_, b_));
    // Not remembered as the hovered table: every scan brings it forward
    // again, and it keeps its slot's size.
    EXPECT_EQ(MouseOverWnd, 0u);
    RaiseB();
    ASSERT_TRUE(Scan());
    EXPECT_TRUE(IsAbove(a_, b_));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Scan());
        PumpFor(100);
    }
    EXPECT_EQ(RectOf(a_), NormalRect(0));
    EXPECT_EQ(MouseOverWnd, 0u);
}

}  // namespace
}  // namespace kova::tables
