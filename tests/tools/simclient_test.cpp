// The simulated poker client is the engine's counterpart in later tests:
// check that it really does what those tests will rely on.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/win32_testing.h"
#include "framework/handles.h"
#include "simclient_protocol.h"

namespace {

using namespace kova::test;

COLORREF ScreenPixel(HWND window, int x, int y) {
  const kova::TWindowDC dc(window);
  return GetPixel(dc.Get(), x, y);
}

class SimClient : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TempDir();
    log_ = dir_ + "\\clicks.log";
    ASSERT_TRUE(client_.Start("\"" + ExeDir() + "\\simclient.exe\" --name simtest --log \"" + log_ + "\""));
    ASSERT_NE(WaitForWindow(kova::sim::kControlClass, "simtest"), nullptr);
  }
  void TearDown() override {
    kova::sim::SendCommand("simtest", "quit");
    DWORD code = 99;
    EXPECT_TRUE(client_.WaitForExit(5000, &code));
    EXPECT_EQ(code, 0u);
  }
  std::string ReadLog() {
    std::ifstream in(log_);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  ChildProcess client_;
  std::string dir_, log_;
};

TEST_F(SimClient, OpensTableOfGivenClassTitleAndClientSize) {
  auto w = reinterpret_cast<HWND>(kova::sim::SendCommand(
      "simtest", "open id=3 class=PokerStarsTableFrameClass title=\"Table 'Alpha' 6-max - $0.01/$0.02\" size=640x440 pos=20,30"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(FindWindowA("PokerStarsTableFrameClass", "Table 'Alpha' 6-max - $0.01/$0.02"), w);
  RECT rc;
  GetClientRect(w, &rc);
  EXPECT_EQ(rc.right, 640);
  EXPECT_EQ(rc.bottom, 440);
  // The same id twice is refused.
  EXPECT_EQ(kova::sim::SendCommand("simtest", "open id=3"), 0);

  EXPECT_EQ(kova::sim::SendCommand("simtest", "title 3 \"Table 'Beta' - $0.02/$0.05\""), 1);
  EXPECT_EQ(WindowText(w), "Table 'Beta' - $0.02/$0.05");

  EXPECT_EQ(kova::sim::SendCommand("simtest", "close 3"), 1);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(kova::sim::SendCommand("simtest", "close 3"), 0);
}

TEST_F(SimClient, FoldButtonColourSignalsTheTurn) {
  auto w = reinterpret_cast<HWND>(kova::sim::SendCommand("simtest", "open size=792x546 pos=100,100"));
  ASSERT_NE(w, nullptr);
  const RECT fold = kova::sim::FoldButtonRect(792, 546);
  const int x = (fold.left + fold.right) / 2, y = fold.bottom - 3;

  // (PrintWindow of another process's window cannot work under Wine, whose
  // device contexts are private to a process; the client still answers
  // WM_PRINTCLIENT for real Windows.) What another process painted reaches
  // the screen a moment later, so each change is waited for.
  auto foldShown = [&] { return ScreenPixel(w, x, y) == kova::sim::kFoldColour; };
  EXPECT_TRUE(WaitUntil([&] { return !foldShown(); }, 2000));
  ASSERT_EQ(kova::sim::SendCommand("simtest", "turn 1 on"), 1);
  EXPECT_TRUE(WaitUntil(foldShown, 2000));
  ASSERT_EQ(kova::sim::SendCommand("simtest", "turn 1 off"), 1);
  EXPECT_TRUE(WaitUntil([&] { return !foldShown(); }, 2000));
  EXPECT_EQ(kova::sim::SendCommand("simtest", "turn 1 sideways"), 0);
}

TEST_F(SimClient, LogsMouseMessagesWithTableAndPoint) {
  auto w = reinterpret_cast<HWND>(kova::sim::SendCommand("simtest", "open id=2 size=400x300"));
  ASSERT_NE(w, nullptr);
  PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(123, 45));
  PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(123, 45));
  ASSERT_TRUE(WaitUntil([&] { return ReadLog().find("WM_LBUTTONUP") != std::string::npos; }));
  const std::string log = ReadLog();
  EXPECT_NE(log.find("table=2 msg=WM_LBUTTONDOWN(513) x=123 y=45"), std::string::npos) << log;
  EXPECT_NE(log.find("table=2 msg=WM_LBUTTONUP(514) x=123 y=45"), std::string::npos) << log;
}

}  // namespace
