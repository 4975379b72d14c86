// The program as a user starts it: its main window, and a second copy that
// says so, brings the first forward and ends.
#include <gtest/gtest.h>

#include "common/win32_testing.h"

namespace {

using namespace kova::test;

std::string KovaCommand() { return "\"" + ExeDir() + "\\kova.exe\""; }

int CountWindows(const char* className) {
  int n = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w; w = FindWindowExA(nullptr, w, className, nullptr))
    ++n;
  return n;
}

TEST(ProgramStart, MainWindowHasItsClassAndCaption) {
  ChildProcess kova;
  ASSERT_TRUE(kova.Start(KovaCommand(), TempDir()));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "KOVA  v3.26c");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));

  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  EXPECT_TRUE(kova.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(ProgramStart, SecondCopySaysSoBringsFirstForwardAndEnds) {
  const std::string dir = TempDir();
  ChildProcess first, second;
  ASSERT_TRUE(first.Start(KovaCommand(), dir));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);

  // Something else takes the foreground before the second start.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  PumpFor(100);

  ASSERT_TRUE(second.Start(KovaCommand(), dir));
  HWND box = nullptr;
  // Found once it shows: its texts are set by then.
  ASSERT_TRUE(WaitUntil(
      [&] { return (box = FindProcessWindow(second.Id(), "#32770")) != nullptr && IsWindowVisible(box); }, 10000));
  EXPECT_EQ(WindowText(box), "KOVA v3.26c");
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text control
  EXPECT_STREQ(text, "Program allready running!");
  EXPECT_EQ(CountWindows("TKOVAForm1"), 1);

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  ASSERT_TRUE(second.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 3000));
  EXPECT_EQ(CountWindows("TKOVAForm1"), 1);

  DestroyWindow(other);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.WaitForExit(10000));
}

}  // namespace
