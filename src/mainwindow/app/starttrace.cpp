#include "mainwindow/app/starttrace.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace kova::mainwindow {

namespace {

struct Trace {
    FILE* file = nullptr;
    HHOOK hook = nullptr;
    HHOOK paints = nullptr;
    long windows = 0;
};

Trace* g_trace = nullptr;

double MsSinceProcessCreated();

// Every window the thread makes is counted (and listed when asked for).
LRESULT CALLBACK CountCreations(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && g_trace) {
        ++g_trace->windows;
        if (std::getenv("KOVA_STARTTRACE_WINDOWS")) {
            char cls[64] = {};
            GetClassNameA(reinterpret_cast<HWND>(wp), cls, sizeof cls);
            const auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
            std::fprintf(g_trace->file, "%9.2f ms   window %s \"%s\" %dx%d\n", MsSinceProcessCreated(), cls,
                         cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "", cs->cx, cs->cy);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The first paint the message loop hands out (the main window's or one of
// its controls'): until then the user sees a blank window, whatever the
// "visible" flag says. Marked once; a paint forced before it is marked by
// whoever forces it.
LRESULT CALLBACK NoteFirstPaint(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && g_trace && g_trace->paints) {
        const auto* msg = reinterpret_cast<const MSG*>(lp);
        char cls[32] = {};
        if (msg->message == WM_PAINT && msg->hwnd &&
            GetClassNameA(GetAncestor(msg->hwnd, GA_ROOT), cls, sizeof cls) && lstrcmpA(cls, "TKOVAForm1") == 0) {
            HHOOK hook = g_trace->paints;
            g_trace->paints = nullptr;
            StartMark("first paint from the message loop");
            UnhookWindowsHookEx(hook);
            return CallNextHookEx(nullptr, code, wp, lp);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

double MsSinceProcessCreated() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

// Opened by the first mark and kept for the process's life: the benchmark
// ends the program without its shutdown, and each line is flushed.
Trace* Open() {
    static Trace* trace = []() -> Trace* {
        const char* path = std::getenv("KOVA_STARTTRACE");
        if (!path || !*path) return nullptr;
        FILE* file = std::fopen(path, "a");
        if (!file) return nullptr;
        auto* t = new Trace;
        t->file = file;
        g_trace = t;
        t->hook = SetWindowsHookExA(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
        t->paints = SetWindowsHookExA(WH_GETMESSAGE, NoteFirstPaint, nullptr, GetCurrentThreadId());
        return t;
    }();
    return trace;
}

}  // namespace

void StartMark(const char* step) {
    Trace* t = Open();
    if (!t) return;
    HWND main = FindWindowA("TKOVAForm1", nullptr);
    std::fprintf(t->file, "%9.2f ms %5ld windows %s %s\n", MsSinceProcessCreated(), t->windows,
                 main && IsWindowVisible(main) ? "V" : "-", step);
    std::fflush(t->file);
}

}  // namespace kova::mainwindow
