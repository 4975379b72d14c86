#pragma once
// The keyboard and mouse hook library "mskbrdHook.dll": system-wide low-level
// hooks that report input to one window, so the program sees keys and mouse
// buttons pressed while a poker client has the focus.
//
//   StartHook(window)  installs the hooks; from then on they post
//                      WM_USER+0x64 (wParam = virtual key, bit 31 of lParam
//                      set on release) and WM_USER+0x65 (wParam = the mouse
//                      message number; lParam = the window under the mouse,
//                      or for the wheel and the X buttons a word in its low
//                      16 bits) to that window. Mouse moves (WM_MOUSEMOVE)
//                      are posted only while a mouse button is held: the
//                      first after each press or release, then at most one
//                      per kMoveIntervalMs.
//   StopHook()         removes them.
//   SetData(flag)      1 while the program sends its own synthetic input,
//                      which the hooks then ignore; 0 afterwards.
#include <windows.h>

namespace kova::hook {

constexpr UINT kKeyboardMessage = WM_USER + 0x64;
constexpr UINT kMouseMessage = WM_USER + 0x65;
constexpr LPARAM kKeyReleasedBit = static_cast<LPARAM>(0x80000000u);
// A dragging hand sees no difference at 20 reports a second; a mouse that
// reports at 1000 Hz would otherwise post a message every millisecond.
constexpr DWORD kMoveIntervalMs = 50;

using StartHookFn = BOOL(WINAPI*)(HWND);
using StopHookFn = BOOL(WINAPI*)();
using SetDataFn = void(WINAPI*)(int);

constexpr const char* kLibraryName = "mskbrdHook.dll";

}  // namespace kova::hook

extern "C" {
BOOL WINAPI StartHook(HWND target);
BOOL WINAPI StopHook();
void WINAPI SetData(int flag);
}
