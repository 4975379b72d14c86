// The program as a user starts it, each run from its own folder with its
// data files beside it: its main window, a second copy that says so, brings
// the first forward and ends (also when both start at the same moment); its
// icon and manifest; a config started by auto-run that places the simulated
// client's tables into their slots; and the files written on close (or not,
// after a "user.ini" that could not be read).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/require.h"
#include "common/win32_testing.h"
#include "mainwindow/mainform/testfiles.h"

namespace {

using namespace kova::test;

constexpr const char* kTableClass = "KovaEndToEndTable";
const Slot kSlot1{10, 10, 360, 280};
const Slot kSlot2{380, 10, 360, 280};

int CountWindows(const char* className) {
  int n = 0;
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w; w = FindWindowExA(nullptr, w, className, nullptr))
    ++n;
  return n;
}

bool HasRect(HWND w, const Slot& s) {
  RECT r{};
  if (!w || !GetWindowRect(w, &r)) return false;
  return r.left == s.left && r.top == s.top && r.right - r.left == s.width && r.bottom - r.top == s.height;
}

// A folder holding the program, its hook library and a config of one group
// for the end-to-end tables.
struct ProgramFolder {
  std::string dir = TempDir();
  ProgramFolder() {
    CopyFileA((ExeDir() + "\\kova.exe").c_str(), Path("kova.exe").c_str(), FALSE);
    CopyFileA((ExeDir() + "\\mskbrdHook.dll").c_str(), Path("mskbrdHook.dll").c_str(), FALSE);
    WriteFile(Path("PlaceConfig.cnfg"),
              PlaceConfigFile({TestConfigData{"EndToEnd", {TestGroupData{"Tables", "E2E Table", kTableClass, {kSlot1, kSlot2}}}}},
                              0));
    WriteFile(Path("PokerRooms.kov"), PokerRoomRecord("Test Room", kTableClass));
  }
  std::string Path(const std::string& name) const { return dir + "\\" + name; }
  std::string Command() const { return "\"" + Path("kova.exe") + "\""; }
};

TEST(ProgramStart, MainWindowHasItsClassAndCaption) {
  ProgramFolder folder;
  ChildProcess kova;
  ASSERT_TRUE(kova.Start(folder.Command(), folder.dir));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "KOVA  v3.26c");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  const DWORD layouts = GetFileAttributesA(folder.Path("Layouts").c_str());
  EXPECT_TRUE(layouts != INVALID_FILE_ATTRIBUTES && (layouts & FILE_ATTRIBUTE_DIRECTORY));

  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  EXPECT_TRUE(kova.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

// The start-up trace a developer asks for with KOVA_STARTTRACE: one line a
// step, in order, each with the windows made so far and whether the main
// window shows; the window is visible by the first page's filling, and the
// windows made before it are counted.
TEST(ProgramStart, StartTraceWritesEachStepInOrder) {
  ProgramFolder folder;
  const std::string trace = folder.Path("start.txt");
  SetEnvironmentVariableA("KOVA_STARTTRACE", trace.c_str());
  ChildProcess kova;
  const bool started = kova.Start(folder.Command(), folder.dir);
  SetEnvironmentVariableA("KOVA_STARTTRACE", nullptr);  // the other tests start without it
  ASSERT_TRUE(started);
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  const auto text = [&] {
    std::ifstream in(trace);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  };
  EXPECT_TRUE(WaitUntil([&] { return text().find("FormActivate done") != std::string::npos; }, 20000)) << text();
  std::vector<std::string> lines;
  std::istringstream in(text());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const std::vector<std::string> steps = {"WinMain", "skin units started", "main form created", "FormShow",
                                          "main form shown", "FormActivate done"};
  size_t at = 0;
  long windowsBefore = -1;
  for (const std::string& step : steps) {
    while (at < lines.size() && !lines[at].ends_with(" " + step)) ++at;
    ASSERT_LT(at, lines.size()) << step << " missing or out of order in:\n" << text();
    double ms = -1;
    long windows = -1;
    char shown = '?';
    ASSERT_EQ(std::sscanf(lines[at].c_str(), "%lf ms %ld windows %c", &ms, &windows, &shown), 3) << lines[at];
    EXPECT_GT(ms, 0) << lines[at];
    EXPECT_GE(windows, windowsBefore) << lines[at];
    windowsBefore = windows;
    const bool afterShow = step == "FormShow" || step == "main form shown" || step == "FormActivate done";
    EXPECT_EQ(shown, afterShow ? 'V' : '-') << lines[at];
    if (step == "FormShow") {
      EXPECT_GT(windows, 1) << "the shown page's windows are made before it";
    }
  }

  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(kova.WaitForExit(10000));
}

TEST(ProgramStart, SecondCopySaysSoBringsFirstForwardAndEnds) {
  ProgramFolder folder;
  ChildProcess first, second;
  ASSERT_TRUE(first.Start(folder.Command(), folder.dir));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);

  // Something else takes the foreground before the second start.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(other);
  PumpFor(100);

  ASSERT_TRUE(second.Start(folder.Command(), folder.dir));
  HWND box = nullptr;
  // Found once it shows: its texts are set by then.
  ASSERT_TRUE(WaitUntil(
      [&] { return (box = FindProcessWindow(second.Id(), "#32770")) != nullptr && IsWindowVisible(box); }, 10000));
  EXPECT_EQ(WindowText(box), "KOVA v3.26c");
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text control
  EXPECT_STREQ(text, "Program allready running!");
  // The second copy has no skin manager: its box stays plain.
  EXPECT_EQ(GetPropA(box, "ACSBSC"), nullptr);
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

// The message box of a copy that found another one running, or null.
HWND RunningBoxOf(const ChildProcess& copy) {
  HWND box = FindProcessWindow(copy.Id(), "#32770");
  return box && IsWindowVisible(box) ? box : nullptr;
}

TEST(ProgramStart, CopiesStartedAtTheSameMomentGiveOneProgram) {
  ProgramFolder folder;
  // Held at their first instruction and let go together: none can have made
  // its window when the others look. Four copies, so that under a loaded
  // machine's scheduling at least two of them meet.
  constexpr int kCopies = 4;
  ChildProcess copies[kCopies];
  for (ChildProcess& c : copies) ASSERT_TRUE(c.StartSuspended(folder.Command(), folder.dir));
  for (ChildProcess& c : copies) ASSERT_TRUE(c.Resume());

  // All but one say so; the one left makes the main window.
  std::vector<HWND> boxes(kCopies, nullptr);
  const auto countBoxes = [&] {
    int n = 0;
    for (int i = 0; i < kCopies; ++i) n += (boxes[i] = RunningBoxOf(copies[i])) != nullptr;
    return n;
  };
  HWND main = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] { return countBoxes() == kCopies - 1 && (main = FindWindowA("TKOVAForm1", nullptr)) != nullptr; }, 20000))
      << countBoxes() << " boxes, " << CountWindows("TKOVAForm1") << " main windows";
  PumpFor(500);
  EXPECT_EQ(CountWindows("TKOVAForm1"), 1);
  ASSERT_NE(main, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(main, &owner);

  for (int i = 0; i < kCopies; ++i) {
    if (copies[i].Id() == owner) {
      EXPECT_EQ(RunningBoxOf(copies[i]), nullptr);
      continue;
    }
    HWND box = RunningBoxOf(copies[i]);
    ASSERT_NE(box, nullptr) << "copy " << i;
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, "Program allready running!");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(copies[i].WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
  }
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 3000));

  PostMessageA(main, WM_CLOSE, 0, 0);
  for (ChildProcess& c : copies) EXPECT_TRUE(c.WaitForExit(10000));
}

// A copy that was killed (no orderly exit) leaves nothing behind that would
// keep the next start from running.
TEST(ProgramStart, StartsAfterACopyThatWasKilled) {
  ProgramFolder folder;
  {
    ChildProcess killed;
    ASSERT_TRUE(killed.Start(folder.Command(), folder.dir));
    ASSERT_NE(WaitForWindow("TKOVAForm1", nullptr), nullptr);
    killed.Kill();
  }
  ASSERT_TRUE(WaitUntil([] { return FindWindowA("TKOVAForm1", nullptr) == nullptr; }, 5000));
  ChildProcess next;
  ASSERT_TRUE(next.Start(folder.Command(), folder.dir));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FindProcessWindow(next.Id(), "#32770"), nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(next.WaitForExit(10000));
}

// kova.exe's own resources, read without running it: the icon of its
// windows and notification-area entry at the sizes the shell asks for, and
// the manifest that gives it version 6 of the common controls and real
// pixels on a scaled screen.
TEST(ProgramResources, IconAndManifestAreInTheExecutable) {
  const std::string exe = ExeDir() + "\\kova.exe";
  HMODULE m = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(m, nullptr) << exe;

  for (int size : {16, 20, 24, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageA(m, "MAINICON", IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    // An image of its own at each size, not one scaled from another: 32 bits
    // with alpha.
    EXPECT_EQ(bm.bmWidth, size);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }

  HRSRC res = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // the process's manifest
  ASSERT_NE(res, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(m, res)));
  ASSERT_NE(data, nullptr);
  const std::string manifest(data, SizeofResource(m, res));
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"", "<dpiAware",
                           "true/pm</dpiAware>", "PerMonitorV2"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  FreeLibrary(m);
}

// Runs the simulated client with two tables of the test's class.
bool StartTables(ChildProcess& client, const ProgramFolder& folder) {
  WriteText(folder.Path("tables.txt"),
            std::string("open id=1 class=") + kTableClass + " title=\"E2E Table 1\" size=300x200 pos=600,500\n" +
                "open id=2 class=" + kTableClass + " title=\"E2E Table 2\" size=300x200 pos=650,550\n");
  const std::string cmd = "\"" + SimClientExe() + "\" --name e2e --script \"" + folder.Path("tables.txt") + "\"";
  return client.Start(cmd, folder.dir);
}

TEST(ProgramRun, AutoRunPlacesTablesAndCloseWritesTheFilesBack) {
  KOVA_REQUIRE_SIMCLIENT();
  ProgramFolder folder;
  WriteText(folder.Path("startup.ini"), "[Common]\r\nLeft=900\r\nTop=420\r\nAutoRun=1\r\nScanningPeriod=100\r\n");
  const Bytes user = UserIniFile(1, 1, 0);
  WriteFile(folder.Path("user.ini"), user);
  const Bytes config = ReadFile(folder.Path("PlaceConfig.cnfg"));
  const Bytes rooms = ReadFile(folder.Path("PokerRooms.kov"));

  ChildProcess client, kova;
  ASSERT_TRUE(StartTables(client, folder));
  HWND t1 = nullptr, t2 = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    t1 = FindWindowA(kTableClass, "E2E Table 1");
    t2 = FindWindowA(kTableClass, "E2E Table 2");
    return t1 && t2;
  }, 10000));

  ASSERT_TRUE(kova.Start(folder.Command(), folder.dir));
  HWND main = WaitForWindow("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    return (HasRect(t1, kSlot1) && HasRect(t2, kSlot2)) || (HasRect(t1, kSlot2) && HasRect(t2, kSlot1));
  }, 10000));
  RECT r{};
  GetWindowRect(main, &r);
  EXPECT_EQ(r.left, 900);
  EXPECT_EQ(r.top, 420);

  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(kova.WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);

  EXPECT_EQ(ReadFile(folder.Path("user.ini")), user);
  EXPECT_EQ(ReadFile(folder.Path("PlaceConfig.cnfg")), config);
  EXPECT_EQ(ReadFile(folder.Path("PokerRooms.kov")), rooms);
  const Bytes ini = ReadFile(folder.Path("startup.ini"));
  const std::string text(ini.begin(), ini.end());
  for (const char* key : {"Left=900", "Top=420", "AutoRun=1", "ScanningPeriod=100", "CurTournament=8"})
    EXPECT_NE(text.find(key), std::string::npos) << key << " in\n" << text;
}

// The program's adapters come from the clients registered in it: a room
// named "Custom" gets the custom client's tables, which never have a panel,
// while any other room's tables are generic ones with their panels. (Were
// the custom client missing from the program, its rooms' tables would be
// generic too.)
TEST(ProgramRun, TheCustomClientIsPartOfTheProgram) {
  struct Case {
    const char* room;
    int panels;
  };
  for (const Case& c : {Case{"Test Room", 2}, Case{"Custom", 0}}) {
    SCOPED_TRACE(c.room);
    ASSERT_TRUE(WaitUntil([] { return FindWindowA(kTableClass, nullptr) == nullptr; }, 5000));
    ProgramFolder folder;
    WriteFile(folder.Path("PokerRooms.kov"), PokerRoomRecord(c.room, kTableClass));
    WriteText(folder.Path("startup.ini"), "[Common]\r\nAutoRun=1\r\nScanningPeriod=100\r\n");
    WriteFile(folder.Path("user.ini"), UserIniFile(1, 0, 0));

    ChildProcess client, kova;
    ASSERT_TRUE(StartTables(client, folder));
    HWND t1 = nullptr, t2 = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      t1 = FindWindowA(kTableClass, "E2E Table 1");
      t2 = FindWindowA(kTableClass, "E2E Table 2");
      return t1 && t2;
    }, 10000));
    ASSERT_TRUE(kova.Start(folder.Command(), folder.dir));
    HWND main = WaitForWindow("TKOVAForm1", nullptr);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
      return (HasRect(t1, kSlot1) && HasRect(t2, kSlot2)) || (HasRect(t1, kSlot2) && HasRect(t2, kSlot1));
    }, 10000));
    if (c.panels) {
      EXPECT_TRUE(WaitUntil([&] { return CountWindows("THUDTable") == c.panels; }, 5000)) << CountWindows("THUDTable");
    } else {
      PumpFor(1000);  // ten scans
      EXPECT_EQ(CountWindows("THUDTable"), 0);
    }

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(kova.WaitForExit(10000));
  }
}

TEST(ProgramRun, UnreadableUserIniIsToldAndNothingIsWrittenOnClose) {
  ProgramFolder folder;
  const Bytes shortUser(600, 1);
  WriteFile(folder.Path("user.ini"), shortUser);
  const Bytes config = ReadFile(folder.Path("PlaceConfig.cnfg"));
  const Bytes rooms = ReadFile(folder.Path("PokerRooms.kov"));

  ChildProcess kova;
  ASSERT_TRUE(kova.Start(folder.Command(), folder.dir));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (box = FindProcessWindow(kova.Id(), "#32770")) != nullptr && IsWindowVisible(box); }, 10000));
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "Error loading file \"user.ini\". Try to copy file \"user.ini\" to KOVA folder again!");
  // The program's boxes are skinned: the box has its dialog adapter and
  // the system's title buttons are gone.
  EXPECT_NE(GetPropA(box, "ACSBSC"), nullptr);
  EXPECT_FALSE(GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));

  HWND main = FindWindowA("TKOVAForm1", nullptr);
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(kova.WaitForExit(10000));

  EXPECT_EQ(ReadFile(folder.Path("user.ini")), shortUser);
  EXPECT_EQ(ReadFile(folder.Path("PlaceConfig.cnfg")), config);
  EXPECT_EQ(ReadFile(folder.Path("PokerRooms.kov")), rooms);
  EXPECT_FALSE(DataFileExists(folder.Path("startup.ini")));
}

}  // namespace
