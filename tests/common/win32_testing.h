#pragma once
// Helpers for tests that drive real windows and processes under Wine.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

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
