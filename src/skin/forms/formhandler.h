// The skinned form's own answers to its messages: what its children ask
// of it (the background under them, where its client area lies, a new
// control to adapt), the non-client hit test of the skinned frame, the
// caption's mouse (title buttons, double clicks, the outline drag of
// rmBorder), system commands, snapping at the work-area edges and the
// skinned system menu. What it does not answer goes on along the form's
// procedure chain.
#pragma once

#include <windows.h>

#include "framework/controls.h"

namespace kova::skin {

class TsSkinProvider;

// The longest the end of a session waits for the engine's work in progress
// (a skin change) before it lets the session end: the system counts a
// program that does not answer within a few seconds as hung.
constexpr DWORD kEndSessionWaitMs = 1000;

// True when the message was answered here (Result set); false: the
// provider's general handling goes on.
bool HandleFormMessage(TsSkinProvider& p, TMessage& m);

// The provider's non-client hit code for a screen point (the skinned
// frame's tables: title buttons, icon, caption, menu line, sizing
// borders), and the 1-based index of the title button under a point in
// window coordinates (0: none).
int FormHitTest(TsSkinProvider& p, POINT screen);
int TitleButtonAt(TsSkinProvider& p, POINT window);
// The same for a point in cache coordinates (a border window's own).
int TitleButtonAtCache(TsSkinProvider& p, POINT at);

// The client background of the form from the skin into a DC whose origin
// is the client's top-left: the form's colour for a plain background, else
// the client part of the cache (rebuilt when stale) around the windowless
// children. With notify the children are told the background is done
// (sub-code 6): they then apply their skin parameters and paint.
void PaintClientBg(TsSkinProvider& p, HDC dc, bool notify);
// The erase of the client area: PaintClientBg into the given DC (the
// form's client DC without one) around the windowless children, and the
// size grip.
void PaintToDC(TsSkinProvider& p, HDC dc);

// The screen top-left the provider's window coordinates start at.
POINT WindowOrigin(TsSkinProvider& p);

// The MDI main form's frame brought up to date after a change of its
// children (their buttons live in its menu line): repainted from a fresh
// cache.
void RefreshMDIMainFrame(bool repaint);

// Snapping: the position moved onto the edge when it lies closer to it
// than the buffer (strictly); size is what lies between the position and
// the edge that snaps.
int SnapToEdge(int pos, int edge, int buffer, int size);

// A wait inside a handler lets other messages run, which may destroy the
// form's window or free its provider: true while the window is there and
// the provider is still its form's.
bool ProviderStillOnForm(HWND wnd, const TsSkinProvider* p);

// An outline drag of rmBorder is under way.
bool BorderDragging();

}  // namespace kova::skin
