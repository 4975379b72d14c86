// The hook library against real synthetic input: keys and mouse buttons sent
// with SendInput must reach the target window as the library's messages.
#include <gtest/gtest.h>

#include <vector>

#include "common/win32_testing.h"
#include "framework/handles.h"
#include "hooklib/hooklib.h"

namespace {

using namespace kova::test;
namespace hook = kova::hook;

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Posted> g_posted;

LRESULT CALLBACK RecorderProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == hook::kKeyboardMessage || m == hook::kMouseMessage) {
    g_posted.push_back({m, wp, lp});
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

void SendMouse(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  in.mi.dx = dx;
  in.mi.dy = dy;
  SendInput(1, &in, sizeof in);
}

// A relative move by a few pixels (no acceleration at this size).
void SendMove(LONG dx = 3) { SendMouse(MOUSEEVENTF_MOVE, 0, dx, 0); }

size_t CountOf(UINT mouseMessage) {
  size_t n = 0;
  for (const Posted& p : g_posted)
    if (p.message == kova::hook::kMouseMessage && p.wParam == mouseMessage) ++n;
  return n;
}

class HookLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = kova::TModuleHandle((ExeDir() + "\\" + hook::kLibraryName).c_str());
    ASSERT_TRUE(module_) << "mskbrdHook.dll not found beside the test";
    // Plain export names, as the program looks them up in both builds.
    start_ = module_.Proc<hook::StartHookFn>("StartHook");
    stop_ = module_.Proc<hook::StopHookFn>("StopHook");
    setData_ = module_.Proc<hook::SetDataFn>("SetData");
    ASSERT_TRUE(start_ && stop_ && setData_);

    WNDCLASSA wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaHookRecorder";
    RegisterClassA(&wc);
    // Visible and large enough that presses and small moves stay on it.
    target_ = CreateWindowExA(WS_EX_TOPMOST, "KovaHookRecorder", "recorder", WS_POPUP | WS_VISIBLE, 500, 400, 200,
                              200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(target_, nullptr);
    SetCursorPos(560, 460);
    PumpFor(50);
    g_posted.clear();
  }
  void TearDown() override {
    if (stop_) stop_();
    if (target_) DestroyWindow(target_);
    module_.Reset();
  }

  // Waits for n messages; then a little more, so that extra ones show up too.
  bool Collect(size_t n) {
    bool ok = WaitUntil([&] { return g_posted.size() >= n; }, 3000);
    PumpFor(100);
    return ok;
  }

  kova::TModuleHandle module_;
  hook::StartHookFn start_ = nullptr;
  hook::StopHookFn stop_ = nullptr;
  hook::SetDataFn setData_ = nullptr;
  HWND target_ = nullptr;
};

TEST_F(HookLibrary, KeyPressAndReleaseArriveWithReleaseBit) {
  ASSERT_TRUE(start_(target_));
  SendKey(VK_F7, false);
  SendKey(VK_F7, true);
  ASSERT_TRUE(Collect(2));
  ASSERT_EQ(g_posted.size(), 2u);
  EXPECT_EQ(g_posted[0].message, hook::kKeyboardMessage);
  EXPECT_EQ(g_posted[0].wParam, static_cast<WPARAM>(VK_F7));
  EXPECT_EQ(g_posted[0].lParam & hook::kKeyReleasedBit, 0);
  EXPECT_EQ(g_posted[1].wParam, static_cast<WPARAM>(VK_F7));
  EXPECT_NE(g_posted[1].lParam & hook::kKeyReleasedBit, 0);
}

TEST_F(HookLibrary, MouseMessagesCarryTheirNumberAndWheelDelta) {
  ASSERT_TRUE(start_(target_));
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  ASSERT_TRUE(Collect(3));
  ASSERT_EQ(g_posted.size(), 3u);
  EXPECT_EQ(g_posted[0].message, hook::kMouseMessage);
  EXPECT_EQ(g_posted[0].wParam, static_cast<WPARAM>(WM_RBUTTONDOWN));
  EXPECT_EQ(g_posted[1].wParam, static_cast<WPARAM>(WM_RBUTTONUP));
  EXPECT_EQ(g_posted[2].wParam, static_cast<WPARAM>(WM_MOUSEWHEEL));
  EXPECT_EQ(static_cast<short>(LOWORD(g_posted[2].lParam)), -WHEEL_DELTA);
}

TEST_F(HookLibrary, OwnSyntheticInputIsIgnoredWhileSetDataIsOne) {
  ASSERT_TRUE(start_(target_));
  setData_(1);
  SendKey(VK_F8, false);
  SendKey(VK_F8, true);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMove();
  SendMove();
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpFor(400);
  EXPECT_TRUE(g_posted.empty());

  // The ignored press left no button held behind: moves stay unreported.
  setData_(0);
  SendMove();
  SendMove(-3);
  PumpFor(200);
  EXPECT_TRUE(g_posted.empty());
  SendKey(VK_F8, false);
  SendKey(VK_F8, true);
  ASSERT_TRUE(Collect(2));
  EXPECT_EQ(g_posted.size(), 2u);
}

TEST_F(HookLibrary, MovesArriveBetweenPressAndReleaseInOrder) {
  ASSERT_TRUE(start_(target_));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMove();
  Sleep(2 * hook::kMoveIntervalMs);
  SendMove();
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(Collect(4));
  ASSERT_GE(g_posted.size(), 3u);
  EXPECT_EQ(g_posted.front().wParam, static_cast<WPARAM>(WM_LBUTTONDOWN));
  EXPECT_EQ(g_posted.back().wParam, static_cast<WPARAM>(WM_LBUTTONUP));
  for (size_t i = 1; i + 1 < g_posted.size(); ++i) {
    EXPECT_EQ(g_posted[i].message, hook::kMouseMessage);
    EXPECT_EQ(g_posted[i].wParam, static_cast<WPARAM>(WM_MOUSEMOVE)) << i;
    // The window under the mouse, as for the buttons.
    EXPECT_EQ(g_posted[i].lParam, reinterpret_cast<LPARAM>(target_)) << i;
  }
  // Two moves further apart than the interval both arrive.
  EXPECT_EQ(CountOf(WM_MOUSEMOVE), 2u);
}

TEST_F(HookLibrary, MovesWithoutAHeldButtonAreNotReported) {
  ASSERT_TRUE(start_(target_));
  for (int i = 0; i < 5; ++i) SendMove(i % 2 ? 3 : -3);
  PumpFor(300);
  EXPECT_TRUE(g_posted.empty());

  // Any button counts while it is held; after its release moves stop again.
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMove();
  SendMouse(MOUSEEVENTF_RIGHTUP);
  SendMove(-3);
  SendMove();
  ASSERT_TRUE(Collect(3));
  ASSERT_EQ(g_posted.size(), 3u);
  EXPECT_EQ(g_posted[0].wParam, static_cast<WPARAM>(WM_RBUTTONDOWN));
  EXPECT_EQ(g_posted[1].wParam, static_cast<WPARAM>(WM_MOUSEMOVE));
  EXPECT_EQ(g_posted[2].wParam, static_cast<WPARAM>(WM_RBUTTONUP));
}

TEST_F(HookLibrary, ADragDoesNotFloodTheReceiver) {
  ASSERT_TRUE(start_(target_));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  const DWORD begin = GetTickCount();
  constexpr int kMoves = 60;
  for (int i = 0; i < kMoves; ++i) {
    SendMove(i % 2 ? 2 : -2);
    Sleep(1);
  }
  const DWORD elapsed = GetTickCount() - begin;
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(Collect(3));
  ASSERT_TRUE(WaitUntil([] { return CountOf(WM_LBUTTONUP) == 1; }, 3000));
  // The first move, then one per interval of the time the drag took.
  const size_t moves = CountOf(WM_MOUSEMOVE);
  EXPECT_GE(moves, 1u);
  EXPECT_LE(moves, elapsed / hook::kMoveIntervalMs + 2) << "moves over " << elapsed << " ms";
  EXPECT_EQ(g_posted.back().wParam, static_cast<WPARAM>(WM_LBUTTONUP));
}

TEST_F(HookLibrary, NothingArrivesAfterStopHookAndItCanStartAgain) {
  ASSERT_TRUE(start_(target_));
  EXPECT_TRUE(stop_());
  SendKey(VK_F9, false);
  SendKey(VK_F9, true);
  PumpFor(400);
  EXPECT_TRUE(g_posted.empty());

  // A second StartHook replaces the first target; StopHook twice is harmless.
  ASSERT_TRUE(start_(target_));
  ASSERT_TRUE(start_(target_));
  SendKey(VK_F9, false);
  SendKey(VK_F9, true);
  ASSERT_TRUE(Collect(2));
  EXPECT_EQ(g_posted.size(), 2u);
  EXPECT_TRUE(stop_());
  EXPECT_TRUE(stop_());
}

}  // namespace
