// The optional entry points of the system libraries the skinning uses, in
// one table: looked up once, on first use, and kept for the run of the
// program. An entry of user32, uxtheme or kernel32 is nullptr when its
// library or function is missing, and callers then do without it. The
// composition (dwmapi), gradient (msimg32) and flat scroll bar (comctl32)
// entries are never nullptr: their library loads on the first call of one
// of them, and a missing library or function answers failure (E_NOTIMPL,
// FALSE).
#pragma once

#include <windows.h>

namespace kova::skin {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
using UpdateLayeredWindowIndirectFn = BOOL(WINAPI*)(HWND, const UPDATELAYEREDWINDOWINFO*);
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using IsAppThemedFn = BOOL(WINAPI*)();
using FlatScrollBarFn = BOOL(WINAPI*)(HWND);
using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
// The blur-behind record is passed through as the system defines it.
using DwmEnableBlurBehindWindowFn = HRESULT(WINAPI*)(HWND, const void*);
using DwmSetIconicThumbnailFn = HRESULT(WINAPI*)(HWND, HBITMAP, DWORD);
using DwmSetIconicLivePreviewBitmapFn = HRESULT(WINAPI*)(HWND, HBITMAP, POINT*, DWORD);
using DwmInvalidateIconicBitmapsFn = HRESULT(WINAPI*)(HWND);
using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
using IsDebuggerPresentFn = BOOL(WINAPI*)();
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

struct TSystemEntries {
    // user32
    UpdateLayeredWindowFn UpdateLayeredWindow = nullptr;
    // The same push with a dirty rectangle (only that part of the picture
    // is taken over).
    UpdateLayeredWindowIndirectFn UpdateLayeredWindowIndirect = nullptr;
    SetLayeredWindowAttributesFn SetLayeredWindowAttributes = nullptr;
    GetScrollBarInfoFn GetScrollBarInfo = nullptr;
    // uxtheme
    SetWindowThemeFn SetWindowTheme = nullptr;
    IsAppThemedFn IsAppThemed = nullptr;
    // dwmapi
    DwmIsCompositionEnabledFn DwmIsCompositionEnabled = nullptr;
    DwmSetWindowAttributeFn DwmSetWindowAttribute = nullptr;
    DwmEnableBlurBehindWindowFn DwmEnableBlurBehindWindow = nullptr;
    DwmSetIconicThumbnailFn DwmSetIconicThumbnail = nullptr;
    DwmSetIconicLivePreviewBitmapFn DwmSetIconicLivePreviewBitmap = nullptr;
    DwmInvalidateIconicBitmapsFn DwmInvalidateIconicBitmaps = nullptr;
    // msimg32
    GradientFillFn GradientFill = nullptr;
    // comctl32: a window's flat scroll bars are switched off while the
    // skin paints its bars, and back on when the skin goes.
    FlatScrollBarFn InitializeFlatSB = nullptr;
    FlatScrollBarFn UninitializeFlatSB = nullptr;
    // kernel32
    IsDebuggerPresentFn IsDebuggerPresent = nullptr;
    IsWow64ProcessFn IsWow64Process = nullptr;
};

// The table, filled on the first call.
const TSystemEntries& SystemEntries();

// True when the system can show layered windows (UpdateLayeredWindow);
// the skin services' SystemOffers can replace the answer.
bool LayeredWindowsAvailable();

}  // namespace kova::skin
