#pragma once
// Helpers for tests that drive real windows and processes under Wine.
#include <windows.h>
// The mouse helpers report through GoogleTest; the benchmarks that share
// this header have none and go without them.
#if __has_include(<gtest/gtest.h>)
#include <gtest/gtest.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kova::test {

// Folder of the running test executable: the programs, DLLs and tools under
// test are built beside it.
inline std::string ExeDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  const size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : s.substr(0, slash);
}

// The simulated poker client built beside the tests, or "" when it is not
// (tests that need it say so with KOVA_REQUIRE_SIMCLIENT, common/require.h).
inline std::string SimClientExe() {
  const std::string exe = ExeDir() + "\\simclient.exe";
  return GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : exe;
}

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps this thread's messages until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Pumps messages for a while (to see that nothing arrives).
inline void PumpFor(int ms) {
  WaitUntil([] { return false; }, ms);
}

// Runs a step from this thread's message loop after `ms`, whoever runs the
// loop then (a box's own modal loop included), by a thread timer.
namespace detail {
inline std::map<UINT_PTR, std::function<void()>>& LaterSteps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}
inline VOID CALLBACK RunLaterStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto it = LaterSteps().find(id);
  if (it == LaterSteps().end()) return;
  std::function<void()> step = std::move(it->second);
  LaterSteps().erase(it);
  step();
}
}  // namespace detail
inline void RunLater(std::function<void()> step, UINT ms = 30) {
  detail::LaterSteps()[SetTimer(nullptr, 0, ms, detail::RunLaterStep)] = std::move(step);
}
// Steps not run yet are dropped (their timers then find nothing to run).
inline void DropLaterSteps() { detail::LaterSteps().clear(); }

#if __has_include(<gtest/gtest.h>)
// ------------------------------------------------------------ real mouse
//
// Mouse input as a user gives it, through SendInput. Each event carries its
// point (an absolute move together with the button): under Wine the
// system's idea of the cursor can lag behind the last move, and a button
// event without a position lands where the cursor was last read. Each
// helper returns once this thread has taken the event's message off its
// queue at that point and handled it, however long a loaded machine takes,
// and fails, saying what was taken instead, when that did not happen within
// the time (the input went to another window, or nowhere).

// One left-button event at a screen point: a move, a press or a release.
enum class TMouseAction { Move, Down, Up };
struct TMouseEvent {
  POINT At;
  TMouseAction Action;
};

// Where the system puts the cursor for a point: on the primary screen.
inline POINT OnScreen(POINT at) {
  return POINT{std::clamp<LONG>(at.x, 0, GetSystemMetrics(SM_CXSCREEN) - 1),
               std::clamp<LONG>(at.y, 0, GetSystemMetrics(SM_CYSCREEN) - 1)};
}

inline INPUT MouseInputAt(POINT at, DWORD buttonFlags) {
  at = OnScreen(at);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

// The mouse messages a thread takes off its queue, seen by hooks on that
// thread for as long as the watch lives: the message hook for its own
// pumps, the message filter for the system's modal loops (moving, sizing,
// menus), which take their messages past the message hook.
class TMouseWatch {
 public:
  explicit TMouseWatch(DWORD threadId = GetCurrentThreadId()) {
    std::lock_guard<std::mutex> lock(Mutex());
    Seen().clear();
    getHook_ = SetWindowsHookExA(WH_GETMESSAGE, &TMouseWatch::GetHook, nullptr, threadId);
    filterHook_ = SetWindowsHookExA(WH_MSGFILTER, &TMouseWatch::FilterHook, nullptr, threadId);
  }
  ~TMouseWatch() {
    if (getHook_) UnhookWindowsHookEx(getHook_);
    if (filterHook_) UnhookWindowsHookEx(filterHook_);
  }
  TMouseWatch(const TMouseWatch&) = delete;
  TMouseWatch& operator=(const TMouseWatch&) = delete;
  bool Hooked() const { return getHook_ && filterHook_; }

  // How many messages were taken so far: a later Taken() looks from there.
  std::size_t Mark() const {
    std::lock_guard<std::mutex> lock(Mutex());
    return Seen().size();
  }
  // Whether a message of the event was taken at its point since the mark,
  // by `target` or one of its children when one is given.
  bool Taken(std::size_t mark, const TMouseEvent& e, HWND target = nullptr) const {
    const POINT at = OnScreen(e.At);
    std::lock_guard<std::mutex> lock(Mutex());
    for (std::size_t i = mark; i < Seen().size(); ++i) {
      const MSG& m = Seen()[i];
      if (m.pt.x != at.x || m.pt.y != at.y || !Matches(m.message, e.Action)) continue;
      if (!target || m.hwnd == target || IsChild(target, m.hwnd)) return true;
    }
    return false;
  }
  // Whether a move to another point than the event's was taken since the
  // mark: under Wine the display now and then reports a place the cursor
  // was warped to earlier late, and the system folds that move into a move
  // still queued (the later one never comes) or moves the cursor back.
  bool OtherMoveTaken(std::size_t mark, const TMouseEvent& e) const {
    const POINT at = OnScreen(e.At);

    std::lock_guard<std::mutex> lock(Mutex());
    for (std::size_t i = mark; i < Seen().size(); ++i) {
      const MSG& m = Seen()[i];
      if (Matches(m.message, TMouseAction::Move) && (m.pt.x != at.x || m.pt.y != at.y)) return true;
    }
    return false;
  }
  // Whether the last move taken since the mark was at the event's point.
  bool LastMoveAt(std::size_t mark, const TMouseEvent& e) const {
    const POINT at = OnScreen(e.At);
    std::lock_guard<std::mutex> lock(Mutex());
    for (std::size_t i = Seen().size(); i > mark; --i) {
      const MSG& m = Seen()[i - 1];
      if (Matches(m.message, TMouseAction::Move)) return m.pt.x == at.x && m.pt.y == at.y;
    }
    return false;
  }
  // The messages taken since the mark, for a failure's report.
  std::string Describe(std::size_t mark) const {
    std::lock_guard<std::mutex> lock(Mutex());
    std::string out;
    char line[96];
    for (std::size_t i = mark; i < Seen().size(); ++i) {
      const MSG& m = Seen()[i];
      snprintf(line, sizeof line, " %04x at %ld,%ld to %p;", m.message, m.pt.x, m.pt.y, static_cast<void*>(m.hwnd));
      out += line;
    }
    return out.empty() ? std::string(" none") : out;
  }

 private:
  static bool Matches(UINT msg, TMouseAction a) {
    switch (a) {
      case TMouseAction::Move:
        return msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE;
      case TMouseAction::Down:
        return msg == WM_LBUTTONDOWN || msg == WM_NCLBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_NCLBUTTONDBLCLK;
      case TMouseAction::Up:
        return msg == WM_LBUTTONUP || msg == WM_NCLBUTTONUP;
    }
    return false;
  }
  static void Record(const MSG* m) {
    if (!m || !((m->message >= WM_MOUSEFIRST && m->message <= WM_MOUSELAST) ||
                (m->message >= WM_NCMOUSEMOVE && m->message <= WM_NCMBUTTONDBLCLK)))
      return;
    std::lock_guard<std::mutex> lock(Mutex());
    Seen().push_back(*m);
  }
  static LRESULT CALLBACK GetHook(int code, WPARAM removed, LPARAM lp) {
    if (code == HC_ACTION && removed == PM_REMOVE) Record(reinterpret_cast<const MSG*>(lp));
    return CallNextHookEx(nullptr, code, removed, lp);
  }
  static LRESULT CALLBACK FilterHook(int code, WPARAM wp, LPARAM lp) {
    if (code >= 0) Record(reinterpret_cast<const MSG*>(lp));
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static std::mutex& Mutex() {
    static std::mutex m;
    return m;
  }
  static std::vector<MSG>& Seen() {
    static std::vector<MSG> seen;
    return seen;
  }
  HHOOK getHook_ = nullptr;
  HHOOK filterHook_ = nullptr;
};

inline DWORD MouseFlags(TMouseAction a) {
  return a == TMouseAction::Down ? MOUSEEVENTF_LEFTDOWN : a == TMouseAction::Up ? MOUSEEVENTF_LEFTUP : 0;
}

inline bool CursorAt(POINT at) {
  at = OnScreen(at);
  POINT now{};
  GetCursorPos(&now);
  return now.x == at.x && now.y == at.y;
}

// What a failure reports: the point, where the cursor reads, the window
// under the point, the test thread's capture and active window, and the
// mouse messages taken.
inline std::string MouseFailure(const char* what, POINT at, const TMouseWatch* watch = nullptr, std::size_t mark = 0,
                                DWORD testThread = GetCurrentThreadId()) {
  POINT now{};
  GetCursorPos(&now);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(testThread, &gui);
  char line[256];
  snprintf(line, sizeof line,
           "%s at %ld,%ld (the cursor reads %ld,%ld; under the point %p; capture %p, active %p, foreground %p)", what,
           at.x, at.y, now.x, now.y, static_cast<void*>(WindowFromPoint(at)), static_cast<void*>(gui.hwndCapture),
           static_cast<void*>(gui.hwndActive), static_cast<void*>(GetForegroundWindow()));
  std::string out = line;
  if (watch) out += "; taken:" + watch->Describe(mark);
  return out;
}

// The last single press the helpers made, so that the next one does not
// become a double click by being near it in place and time.
struct TLastPress {
  POINT At{-100000, -100000};
  DWORD Tick = 0;
};
inline TLastPress& LastPress() {
  static TLastPress last;
  return last;
}
inline void WaitOutDoubleClick(POINT at) {
  const TLastPress& last = LastPress();
  if (std::abs(at.x - last.At.x) > GetSystemMetrics(SM_CXDOUBLECLK) / 2 ||
      std::abs(at.y - last.At.y) > GetSystemMetrics(SM_CYDOUBLECLK) / 2)
    return;
  const DWORD wait = GetDoubleClickTime() + 1;
  WaitUntil([&] { return GetTickCount() - last.Tick > wait; }, static_cast<int>(wait) + 100);
}
inline void NotePress(POINT at) { LastPress() = TLastPress{at, GetTickCount()}; }

inline bool UnderPoint(HWND target, POINT at) {
  const HWND under = WindowFromPoint(at);
  return under == target || IsChild(target, under);
}

// The events sent in one SendInput; succeeds once this thread took the last
// one's message at its point (by `target` or a child of it when given) and,
// for a move, the cursor reads back there. A target must be the window under the first
// point before anything is sent: a window just shown or moved may not be
// there yet.
inline ::testing::AssertionResult SendMouse(std::initializer_list<TMouseEvent> events, HWND target = nullptr,
                                            int timeoutMs = 5000) {
  if (events.size() == 0) return ::testing::AssertionSuccess();
  const POINT first = OnScreen(events.begin()->At);
  if (target && !WaitUntil([&] { return UnderPoint(target, first); }, timeoutMs))
    return ::testing::AssertionFailure() << MouseFailure("the window is not under the point", first);
  TMouseWatch watch;
  if (!watch.Hooked()) return ::testing::AssertionFailure() << "no message hook";
  const std::size_t mark = watch.Mark();
  std::vector<INPUT> in;
  for (const TMouseEvent& e : events) in.push_back(MouseInputAt(e.At, MouseFlags(e.Action)));
  if (SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) != in.size())
    return ::testing::AssertionFailure() << "SendInput refused the input";
  const TMouseEvent& last = *(events.end() - 1);
  // Input that goes to another program's window (the desktop, away from
  // every window of the test) brings this thread nothing: the cursor
  // reading back there is all there is to wait for.
  const HWND under = WindowFromPoint(OnScreen(last.At));
  const bool ours = target || GetCapture() || GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId();
  std::size_t resent = mark;  // where the last sending began
  auto handled = [&] {
    // A button event counts by its message: a late report of an earlier
    // place may move the cursor away again afterwards (the next event
    // carries its own point). A move counts once the cursor is there too.
    const bool taken = !ours || watch.Taken(mark, last, target);
    if (taken && (last.Action != TMouseAction::Move || CursorAt(last.At))) return true;
    // A lone move that a late report of an earlier place replaced, or
    // undid, is sent again (a button event is never folded into another).
    if (ours && events.size() == 1 && last.Action == TMouseAction::Move && watch.OtherMoveTaken(resent, last)) {
      resent = watch.Mark();
      SendInput(1, in.data(), sizeof(INPUT));
    }
    return false;
  };
  if (!WaitUntil(handled, timeoutMs))
    return ::testing::AssertionFailure() << MouseFailure("the input was not handled", OnScreen(last.At), &watch, mark);
  return ::testing::AssertionSuccess();
}

// The cursor brought to the point. Where the cursor already is, a move
// brings no message: the window under it is checked only. (A move away and
// back is no way round: the display reports the way-point late now and
// then, and the cursor ends there.)
inline ::testing::AssertionResult MouseMove(POINT at, HWND target = nullptr) {
  at = OnScreen(at);
  if (!CursorAt(at)) return SendMouse({{at, TMouseAction::Move}}, target);
  if (target && !WaitUntil([&] { return UnderPoint(target, at); }))
    return ::testing::AssertionFailure() << MouseFailure("the window is not under the point", at);
  return ::testing::AssertionSuccess();
}
// A single press (never the second of a double click). The press is
// noted once it was handled: the system times a double click from the
// press's own message, which a loaded machine may stamp well after the
// input was sent.
inline ::testing::AssertionResult MouseDown(POINT at, HWND target = nullptr) {
  at = OnScreen(at);
  WaitOutDoubleClick(at);
  ::testing::AssertionResult r = SendMouse({{at, TMouseAction::Down}}, target);
  NotePress(at);
  return r;
}
inline ::testing::AssertionResult MouseUp(POINT at, HWND target = nullptr) {
  return SendMouse({{at, TMouseAction::Up}}, target);
}

// The cursor brought to the point, then pressed and released there, each
// handled before the next.
inline ::testing::AssertionResult MouseClick(POINT at, HWND target = nullptr) {
  ::testing::AssertionResult r = MouseMove(at, target);
  if (r) r = MouseDown(at, target);
  if (r) r = MouseUp(at, target);
  return r;
}

// Two clicks at one point in one SendInput, within the double-click time.
inline ::testing::AssertionResult MouseDoubleClick(POINT at, HWND target = nullptr) {
  ::testing::AssertionResult r = MouseMove(at, target);
  if (!r) return r;
  WaitOutDoubleClick(at);
  r = SendMouse({{at, TMouseAction::Down}, {at, TMouseAction::Up}, {at, TMouseAction::Down}, {at, TMouseAction::Up}},
                target);
  NotePress(OnScreen(at));
  return r;
}

// A drag with the left button from one screen point by an offset, in
// steps. The input comes from another thread, each event sent once this
// thread took the one before (and after the press, once it holds the
// mouse): the system's own move and size loops (and any other modal loop a
// press starts) run inside this thread's message handling until the
// release. `stepMs` is how long the hand rests after each step once it
// was taken, as a slow drag does (what runs on a timer during the drag).
inline ::testing::AssertionResult MouseDrag(POINT from, int dx, int dy, int steps = 4, int timeoutMs = 5000,
                                            int stepMs = 0) {
  ::testing::AssertionResult placed = MouseMove(from);
  if (!placed) return placed;
  TMouseWatch watch;
  if (!watch.Hooked()) return ::testing::AssertionFailure() << "no message hook";
  // Steps that the screen's edge or rounding put on the last point bring
  // no message: they are left out.
  WaitOutDoubleClick(OnScreen(from));
  NotePress(OnScreen(from));
  std::vector<TMouseEvent> events{{OnScreen(from), TMouseAction::Down}};
  for (int step = 1; step <= steps; ++step) {
    const POINT at = OnScreen(POINT{from.x + dx * step / steps, from.y + dy * step / steps});
    if (at.x != events.back().At.x || at.y != events.back().At.y) events.push_back({at, TMouseAction::Move});
  }
  events.push_back({events.back().At, TMouseAction::Up});
  std::atomic<bool> done{false};
  std::string failure;
  const DWORD testThread = GetCurrentThreadId();
  std::thread input([&] {
    for (const TMouseEvent& e : events) {
      const std::size_t mark = watch.Mark();
      INPUT in = MouseInputAt(e.At, MouseFlags(e.Action));
      const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
      bool taken = SendInput(1, &in, sizeof in) == 1;
      // After the press the mouse must be held (by the system's loop or
      // the window) before the first move: a move before that goes to
      // the window under the point. (The release is its message only:
      // the system's size loop puts the cursor on the moved edge.)
      std::size_t resent = mark;  // where the last sending began
      int steady = 0;
      auto handled = [&] {
        if (!watch.Taken(mark, e)) return false;
        // A move counts once the cursor stays there over a few reads: the
        // display may still report places of earlier moves (over the
        // desktop another program hands them in), which would move the
        // cursor back under the next event.
        if (e.Action == TMouseAction::Move) {
          GUITHREADINFO gui{};
          gui.cbSize = sizeof gui;
          // The system's move and size loop holds the display's pointer for
          // the test thread: the display refuses this thread's warps, and
          // the cursor read back from it (as the system does once the last
          // move is 100 ms old, soon on a loaded machine) stays where the
          // loop took the pointer. There the loop's own messages tell: the
          // last move it took is this one, over a few reads.
          const bool held = GetGUIThreadInfo(testThread, &gui) && (gui.flags & GUI_INMOVESIZE);
          const bool there = held ? watch.LastMoveAt(resent, e) : CursorAt(e.At);
          steady = there ? steady + 1 : 0;
          return steady >= 3;
        }
        if (e.Action == TMouseAction::Up) return true;
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        return GetGUIThreadInfo(testThread, &gui) && gui.hwndCapture != nullptr;
      };
      while (taken && !handled()) {
        if (std::chrono::steady_clock::now() >= end) {
          taken = false;
        } else if (e.Action == TMouseAction::Move && watch.OtherMoveTaken(resent, e)) {
          // Replaced or undone by a late report of an earlier place: again.
          resent = watch.Mark();
          SendInput(1, &in, sizeof in);
        } else {
          Sleep(2);
        }
      }
      if (!taken) {
        failure = MouseFailure("the drag's input was not handled", OnScreen(e.At), &watch, mark, testThread);
        // A loop the press started ends only with a release. The drag
        // returns once the release was taken: one still on its way would
        // end the drag in the middle of the test's next steps (an outline
        // drag then sizes the form again after the test restored it).
        const std::size_t upMark = watch.Mark();
        INPUT up = MouseInputAt(e.At, MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof up);
        const TMouseEvent release{e.At, TMouseAction::Up};
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!watch.Taken(upMark, release) && std::chrono::steady_clock::now() < until) Sleep(2);
        break;
      }
      if (stepMs > 0 && e.Action == TMouseAction::Move) Sleep(static_cast<DWORD>(stepMs));
    }
    done = true;
  });
  const bool finished = WaitUntil([&] { return done.load(); }, timeoutMs * static_cast<int>(events.size() + 1));
  input.join();
  // What the release brought (the form's last move and paint) handled too.
  PumpMessages();
  if (!finished) return ::testing::AssertionFailure() << "the drag did not end";
  if (!failure.empty()) return ::testing::AssertionFailure() << failure;
  return ::testing::AssertionSuccess();
}

#endif  // GoogleTest

inline HWND WaitForWindow(const char* className, const char* title, int timeoutMs = 10000) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(className, title)) != nullptr; }, timeoutMs);
  return found;
}

// A child process that is killed when the test lets go of it, so a failing
// test never leaves a program (or its modal box) behind.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Kill(); }

  bool Start(const std::string& commandLine, const std::string& workingDir = std::string()) {
    return Create(commandLine, workingDir, 0) && Resume();
  }

  // Created with its first thread held, so that several processes can be
  // let go at the same moment (races of program starts); Resume lets go.
  bool StartSuspended(const std::string& commandLine, const std::string& workingDir = std::string()) {
    return Create(commandLine, workingDir, CREATE_SUSPENDED);
  }
  bool Resume() {
    if (!thread_) return process_ != nullptr;
    const bool resumed = ResumeThread(thread_) != static_cast<DWORD>(-1);
    CloseHandle(thread_);
    thread_ = nullptr;
    return resumed;
  }

  // True when the process ended within the time; its exit code in *code.
  bool WaitForExit(int timeoutMs, DWORD* code = nullptr) {
    if (!process_) return true;
    bool ended = false;
    WaitUntil([&] { return ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (ended && code) GetExitCodeProcess(process_, code);
    return ended;
  }

  void Kill() {
    if (thread_) {
      CloseHandle(thread_);
      thread_ = nullptr;
    }
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    id_ = 0;
  }

  DWORD Id() const { return id_; }

 private:
  bool Create(const std::string& commandLine, const std::string& workingDir, DWORD flags) {
    Kill();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi))
      return false;
    thread_ = pi.hThread;
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
    return true;
  }

  HANDLE process_ = nullptr;
  HANDLE thread_ = nullptr;
  DWORD id_ = 0;
};

struct ProcessWindowSearch {
  DWORD pid;
  const char* cls;
  HWND found;
};

inline BOOL CALLBACK FindProcessWindowStep(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ProcessWindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[256] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, s->cls) == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The first top-level window of a process with the given class ("#32770" for
// dialogs and message boxes), or null.
inline HWND FindProcessWindow(DWORD processId, const char* className) {
  ProcessWindowSearch search{processId, className, nullptr};
  EnumWindows(FindProcessWindowStep, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline std::string WindowText(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// A scratch folder for one test, removed with its content afterwards.
inline std::string TempDir() {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  char name[MAX_PATH] = {};
  GetTempFileNameA(base, "kov", 0, name);
  DeleteFileA(name);
  CreateDirectoryA(name, nullptr);
  return name;
}

}  // namespace kova::test
