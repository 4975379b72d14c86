// The hook library against real synthetic input: keys and mouse buttons sent
// with SendInput must reach the target window as the library's messages.
#include <gtest/gtest.h>

#include <vector>

#include "common/win32_testing.h"
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

void SendMouse(DWORD flags, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  SendInput(1, &in, sizeof in);
}

class HookLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA((ExeDir() + "\\" + hook::kLibraryName).c_str());
    ASSERT_NE(module_, nullptr) << "mskbrdHook.dll not found beside the test";
    // Plain export names, as the program looks them up in both builds.
    start_ = hook::LoadExport<hook::StartHookFn>(module_, "StartHook");
    stop_ = hook::LoadExport<hook::StopHookFn>(module_, "StopHook");
    setData_ = hook::LoadExport<hook::SetDataFn>(module_, "SetData");
    ASSERT_TRUE(start_ && stop_ && setData_);

    WNDCLASSA wc{};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaHookRecorder";
    RegisterClassA(&wc);
    target_ = CreateWindowExA(0, "KovaHookRecorder", "recorder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(target_, nullptr);
    g_posted.clear();
  }
  void TearDown() override {
    if (stop_) stop_();
    if (target_) DestroyWindow(target_);
    if (module_) FreeLibrary(module_);
  }

  // Waits for n messages; then a little more, so that extra ones show up too.
  bool Collect(size_t n) {
    bool ok = WaitUntil([&] { return g_posted.size() >= n; }, 3000);
    PumpFor(100);
    return ok;
  }

  HMODULE module_ = nullptr;
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
  PumpFor(400);
  EXPECT_TRUE(g_posted.empty());

  setData_(0);
  SendKey(VK_F8, false);
  SendKey(VK_F8, true);
  ASSERT_TRUE(Collect(2));
  EXPECT_EQ(g_posted.size(), 2u);
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
