// Real mouse input for tests of skinned frames: moves, presses, clicks,
// double clicks and drags at screen points, each waiting until this
// thread has handled what it brought.
#pragma once

#include <windows.h>

#include <thread>

#include "common/win32_testing.h"

namespace kova::skin::test {

using kova::test::PumpFor;
using kova::test::WaitUntil;

// The input queued for this thread handled (and what it sent meanwhile).
inline void InputHandled() {
    WaitUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, 1000);
    PumpFor(40);
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
    WaitUntil([&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == at.x && now.y == at.y;
    }, 1000);
    InputHandled();
}

inline void Button(bool down) {
    INPUT in = MouseInput(g_cursor, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof in);
    WaitUntil([&] { return ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }, 1000);
    InputHandled();
}

inline void ClickAt(POINT at) {
    MouseTo(at);
    Button(true);
    Button(false);
}

inline void DoubleClickAt(POINT at) {
    MouseTo(at);
    INPUT in[4];
    in[0] = in[2] = MouseInput(at, MOUSEEVENTF_LEFTDOWN);
    in[1] = in[3] = MouseInput(at, MOUSEEVENTF_LEFTUP);
    SendInput(4, in, sizeof in[0]);
    PumpFor(150);
}

// Drags with the left button from one screen point to another in steps.
// The input comes from another thread: the system's own move and size
// loops run inside this thread's message handling until the release.
inline void DragBy(POINT from, int dx, int dy) {
    MouseTo(from);
    bool done = false;
    std::thread input([&] {
        INPUT down = MouseInput(from, MOUSEEVENTF_LEFTDOWN);
        SendInput(1, &down, sizeof down);
        Sleep(80);
        POINT at = from;
        for (int step = 1; step <= 4; ++step) {
            at = POINT{from.x + dx * step / 4, from.y + dy * step / 4};
            INPUT move = MouseInput(at, 0);
            SendInput(1, &move, sizeof move);
            Sleep(60);
        }
        INPUT up = MouseInput(at, MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof up);
        Sleep(80);
        done = true;
    });
    WaitUntil([&] { return done; }, 5000);
    input.join();
    PumpFor(80);
}

}  // namespace kova::skin::test
