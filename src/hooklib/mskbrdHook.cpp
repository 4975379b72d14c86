// Low-level keyboard and mouse hooks on a thread of their own: a low-level
// hook runs on the thread that installed it, and a busy GUI thread would
// otherwise hold up every keystroke and click on the whole desktop.
#include "hooklib/hooklib.h"

#include <atomic>

namespace {

using namespace kova::hook;

std::atomic<HWND> g_target{nullptr};
std::atomic<int> g_ignoreSynthetic{0};
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
HANDLE g_ready = nullptr;
std::atomic<bool> g_installed{false};
CRITICAL_SECTION g_lock;  // serialises StartHook and StopHook

bool Ignored(bool injected) { return injected && g_ignoreSynthetic.load() != 0; }

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    HWND target = g_target.load();
    if (target && !Ignored((k->flags & LLKHF_INJECTED) != 0)) {
      // The same bits a window's own WM_KEYDOWN/WM_KEYUP would carry.
      const bool up = (k->flags & LLKHF_UP) != 0;
      uint32_t bits = 1u | ((k->scanCode & 0xFFu) << 16);
      if (k->flags & LLKHF_EXTENDED) bits |= 1u << 24;
      if (k->flags & LLKHF_ALTDOWN) bits |= 1u << 29;
      if (up) bits |= (1u << 30) | (1u << 31);
      PostMessageA(target, kKeyboardMessage, k->vkCode, static_cast<LPARAM>(bits));
    }
    (void)wParam;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Mouse buttons held, as far as the reported input tells (the input the
// hook ignores changes nothing here), and the time of the last move posted.
// Only the hook thread touches them; it resets them when it starts.
enum : unsigned { kLeft = 1, kRight = 2, kMiddle = 4, kX1 = 8, kX2 = 16 };
unsigned g_buttonsHeld = 0;
bool g_moveSincePress = false;
DWORD g_lastMoveTick = 0;

void TrackButtons(WPARAM message, const MSLLHOOKSTRUCT& m) {
  const unsigned x = HIWORD(m.mouseData) == XBUTTON2 ? kX2 : kX1;
  switch (message) {
    case WM_LBUTTONDOWN: g_buttonsHeld |= kLeft; break;
    case WM_LBUTTONUP: g_buttonsHeld &= ~kLeft; break;
    case WM_RBUTTONDOWN: g_buttonsHeld |= kRight; break;
    case WM_RBUTTONUP: g_buttonsHeld &= ~kRight; break;
    case WM_MBUTTONDOWN: g_buttonsHeld |= kMiddle; break;
    case WM_MBUTTONUP: g_buttonsHeld &= ~kMiddle; break;
    case WM_XBUTTONDOWN: g_buttonsHeld |= x; break;
    case WM_XBUTTONUP: g_buttonsHeld &= ~x; break;
    default: return;
  }
  g_moveSincePress = false;
}

// Moves matter only while a button is held (a table dragged by hand), and
// then only that the mouse moved and over which window: the first move
// after a button changes is posted, later ones at most one per
// kMoveIntervalMs, so a drag cannot flood the receiver's queue.
bool ReportMove() {
  if (g_buttonsHeld == 0) return false;
  const DWORD now = GetTickCount();
  if (g_moveSincePress && now - g_lastMoveTick < kMoveIntervalMs) return false;
  g_moveSincePress = true;
  g_lastMoveTick = now;
  return true;
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    HWND target = g_target.load();
    if (target && !Ignored((m->flags & LLMHF_INJECTED) != 0)) {
      TrackButtons(wParam, *m);
      if (wParam != WM_MOUSEMOVE || ReportMove()) {
        LPARAM info;
        switch (wParam) {
          case WM_MOUSEWHEEL:
          case WM_MOUSEHWHEEL:
          case WM_XBUTTONDOWN:
          case WM_XBUTTONUP:
          case WM_XBUTTONDBLCLK:
            info = static_cast<LPARAM>(static_cast<WORD>(HIWORD(m->mouseData)));
            break;
          default:
            info = reinterpret_cast<LPARAM>(WindowFromPoint(m->pt));
            break;
        }
        PostMessageA(target, kMouseMessage, wParam, info);
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI HookThread(LPVOID) {
  // The thread keeps the library loaded while it runs, so a FreeLibrary
  // without StopHook cannot pull the hook code away under it.
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&HookThread), &module);
  g_buttonsHeld = 0;
  g_moveSincePress = false;
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make the thread's queue before StartHook returns
  HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, module, 0);
  g_installed = keyboard != nullptr && mouse != nullptr;
  SetEvent(g_ready);
  if (g_installed) {
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (keyboard) UnhookWindowsHookEx(keyboard);
  if (mouse) UnhookWindowsHookEx(mouse);
  FreeLibraryAndExitThread(module, 0);
}

void StopLocked() {
  g_target = nullptr;
  if (!g_thread) return;
  PostThreadMessageA(g_threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(g_thread, INFINITE);
  CloseHandle(g_thread);
  g_thread = nullptr;
  g_threadId = 0;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI StartHook(HWND target) {
  EnterCriticalSection(&g_lock);
  StopLocked();
  g_target = target;
  ResetEvent(g_ready);
  g_thread = CreateThread(nullptr, 0, HookThread, nullptr, 0, &g_threadId);
  bool ok = false;
  if (g_thread) {
    WaitForSingleObject(g_ready, INFINITE);
    ok = g_installed.load();
    if (!ok) StopLocked();
  } else {
    g_target = nullptr;
  }
  LeaveCriticalSection(&g_lock);
  return ok ? TRUE : FALSE;
}

__declspec(dllexport) BOOL WINAPI StopHook() {
  EnterCriticalSection(&g_lock);
  StopLocked();
  LeaveCriticalSection(&g_lock);
  return TRUE;
}

__declspec(dllexport) void WINAPI SetData(int flag) { g_ignoreSynthetic = flag != 0 ? 1 : 0; }

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeCriticalSection(&g_lock);
    g_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Only reached with no hook thread left: the thread holds a reference.
    CloseHandle(g_ready);
    DeleteCriticalSection(&g_lock);
  }
  return TRUE;
}
