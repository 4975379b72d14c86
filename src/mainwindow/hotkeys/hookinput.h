// The hook library's keyboard and mouse events at the main window: which
// table they are for (the window under the mouse, or the foreground table),
// and what the window-free matching (logic/hookinput.h) makes of them.
// The handlers themselves are methods of the main form (HookKeyboardMessage,
// HookMouseMessage, MatchInputToHotKeys, MouseWheelUP, MouseWheelDown),
// defined beside these helpers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "mainwindow/hotkeys/logic/hookinput.h"

namespace kova::mainwindow {

// The held modifier, the key, the target table, the last matched input and
// the table dragged by hand. Reset when the main form is created.
extern THookInputState HookInputState;

// The window and its parents up to the one that has none. An owned window
// (a table's information panel) leads to its owner.
HWND RootParentWindow(HWND window);

// Index into Tables of the table under the cursor; -1 when none.
int32_t TableIndexUnderCursor();
// Index of the table that is the foreground window; -1 when none.
int32_t TableIndexOfForeground();
// Index of the table that `window` belongs to; -1 when none, and when the
// window is one the table owns (its information panel): pressing and
// dragging there is not the table's.
int32_t TableIndexOfWindow(HWND window);

}  // namespace kova::mainwindow
