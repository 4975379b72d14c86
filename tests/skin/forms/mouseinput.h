// Real mouse input for the skinned-form tests: moves and clicks at screen
// points, each waited for until the window has handled it.
#pragma once

#include <windows.h>

#include "common/win32_testing.h"

namespace kova::skin::test {

// The input queued for this thread handled (and what it sent meanwhile).
inline void InputHandled() {
    kova::test::WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, 1000);
    kova::test::PumpFor(40);
}

inline INPUT MouseInput(POINT at, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

// Where the last move put the cursor: button events carry it, as the
// system's idea of the cursor may lag behind the last move.
inline POINT g_cursor{};

// Real mouse input at a screen point.
inline void MouseTo(POINT at) {
    g_cursor = at;
    INPUT in = MouseInput(at, 0);
    SendInput(1, &in, sizeof in);
    // Input reaches the window asynchronously: wait for the cursor, then
    // let the window handle what the move brought.
    kova::test::WaitUntil([&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == at.x && now.y == at.y;
    }, 1000);
    InputHandled();
}

inline void Button(bool down) {
    INPUT in = MouseInput(g_cursor, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof in);
    kova::test::WaitUntil([&] { return ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }, 1000);
    InputHandled();
}

inline void ClickAt(POINT at) {
    MouseTo(at);
    Button(true);
    Button(false);
}

}  // namespace kova::skin::test
