// The iPoker network's client: a main window, a tournament lobby that comes
// up with pop-ups, and pop-ups over any of its windows. Tables are opened
// with "open" (any class). Every click on the main window, the lobby or a
// pop-up is logged.
//
//   ipoker-main [title="T"] [pos=X,Y]        the main window (answer: its handle)
//   ipoker-raise                             the main window to the top of the z-order
//   ipoker-lobby [title="T"] [popups=N] [pos=X,Y]
//                                            a lobby (replacing a hidden one); its N pop-ups
//                                            come one after the other
//   ipoker-popup of=main|lobby|ID [ok=L,T,R,B]
//                                            a pop-up owned by that window (answer: its
//                                            handle); a click inside ok closes it
//   ipoker-count                             1 + the pop-ups open now
//   ipoker-hold-lobby MS                     the next time the lobby is activated, the
//                                            client reads nothing for MS milliseconds (a
//                                            client slowed down by a loaded machine)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "clients/clients_protocol.h"
#include "framework/handles.h"
#include "simclient.h"

namespace kova::sim {
namespace {

struct Popup {
    RECT ok = kIPokerPopupOk;
    int number = 0;
};

HWND g_main = nullptr;
HWND g_lobby = nullptr;
int g_lobbyPopupsLeft = 0;
int g_popupNumber = 0;
DWORD g_lobbyHoldMs = 0;
// Posted to the lobby to hold the client; its wParam is the time.
constexpr UINT kHoldMessage = WM_APP + 1;
std::map<HWND, Popup> g_popups;

bool EnsureClass(const char* name, WNDPROC proc) { return SimEnsureClass(name, proc, COLOR_BTNFACE); }

// A window of `w` x `h` client pixels with a caption.
HWND CreateFramed(const char* cls, const std::string& title, DWORD style, int x, int y, int w, int h, HWND owner) {
    RECT rc{0, 0, w, h};
    AdjustWindowRectEx(&rc, style, FALSE, 0);
    return CreateWindowExA(0, cls, title.c_str(), style, x, y, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr,
                           SimInstance(), nullptr);
}

HWND OpenPopup(HWND owner, const RECT& ok);

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            auto it = g_popups.find(window);
            if (it == g_popups.end()) break;
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            SimLog("ipoker popup %d click x=%ld y=%ld", it->second.number, at.x, at.y);
            if (PtInRect(&it->second.ok, at)) {
                SimLog("ipoker popup %d closed", it->second.number);
                DestroyWindow(window);
            }
            return 0;
        }
        case WM_PAINT: {
            TPaintGuard paint(window);
            auto it = g_popups.find(window);
            if (it != g_popups.end()) {
                TGdiObject<HBRUSH> button(CreateSolidBrush(RGB(60, 120, 200)));
                FillRect(paint.DC(), &it->second.ok, button.Get());
            }
            return 0;
        }
        case WM_DESTROY: {
            HWND owner = GetWindow(window, GW_OWNER);
            g_popups.erase(window);
            // The lobby's pop-ups come one after the other.
            if (owner && owner == g_lobby && g_lobbyPopupsLeft > 0) {
                --g_lobbyPopupsLeft;
                OpenPopup(g_lobby, kIPokerPopupOk);
            }
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* name = window == g_main ? "main" : "lobby";
    switch (message) {
        case WM_LBUTTONDOWN:
            SimLog("ipoker %s click x=%d y=%d", name, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_SYSCOMMAND:
            // The client hides its lobby rather than ending it.
            if ((wParam & 0xFFF0) == SC_CLOSE && window == g_lobby) {
                SimLog("ipoker lobby closed");
                ShowWindow(window, SW_HIDE);
                return 0;
            }
            break;
        case WM_ACTIVATE:
            // Held from the next message read: a posted one is read before
            // any input, so a click that comes with the activation waits
            // behind the hold.
            if (LOWORD(wParam) != WA_INACTIVE && window == g_lobby && g_lobbyHoldMs) {
                PostMessageA(window, kHoldMessage, g_lobbyHoldMs, 0);
                g_lobbyHoldMs = 0;
            }
            break;
        case kHoldMessage:
            Sleep(static_cast<DWORD>(wParam));
            return 0;
        case WM_DESTROY:
            if (window == g_main) g_main = nullptr;
            if (window == g_lobby) g_lobby = nullptr;
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenPopup(HWND owner, const RECT& ok) {
    if (!EnsureClass(kIPokerPopupClass, PopupProc)) return nullptr;
    RECT r{};
    GetWindowRect(owner, &r);
    HWND popup = CreateFramed(kIPokerPopupClass, "Message", WS_OVERLAPPEDWINDOW, r.left + 30, r.top + 30,
                              kIPokerPopupWidth, kIPokerPopupHeight, owner);
    if (!popup) return nullptr;
    g_popups[popup] = Popup{ok, ++g_popupNumber};
    SimLog("ipoker popup %d opened", g_popupNumber);
    // Shown active, as the client does: it becomes its owner's last active
    // pop-up.
    ShowWindow(popup, SW_SHOW);
    SetForegroundWindow(popup);
    UpdateWindow(popup);
    return popup;
}

// key=value words after the command; false on a word that is not one.
bool Options(const TArgs& args, std::map<std::string, std::string>& out) {
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos) return false;
        out[args[i].substr(0, eq)] = args[i].substr(eq + 1);
    }
    return true;
}

bool Position(const std::map<std::string, std::string>& o, int& x, int& y) {
    auto it = o.find("pos");
    return it == o.end() || std::sscanf(it->second.c_str(), "%d,%d", &x, &y) == 2;
}

const TSimCommand mainWindow{"ipoker-main", [](const TArgs& args) -> LRESULT {
    std::map<std::string, std::string> o;
    int x = 1200, y = 40;
    if (g_main || !Options(args, o) || !Position(o, x, y) || !EnsureClass(kIPokerMainClass, FrameProc)) return 0;
    const std::string title = o.count("title") ? o["title"] : "iPoker Poker Client";
    g_main = CreateFramed(kIPokerMainClass, title, WS_OVERLAPPEDWINDOW, x, y, 500, 400, nullptr);
    if (!g_main) return 0;
    ShowWindow(g_main, SW_SHOWNOACTIVATE);
    UpdateWindow(g_main);
    return reinterpret_cast<LRESULT>(g_main);
}};

const TSimCommand raiseMain{"ipoker-raise", [](const TArgs&) -> LRESULT {
    return g_main && SetWindowPos(g_main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? 1 : 0;
}};

const TSimCommand lobby{"ipoker-lobby", [](const TArgs& args) -> LRESULT {
    std::map<std::string, std::string> o;
    int x = 200, y = 100;
    // A lobby the adapter closed (hidden) makes way for a new one.
    if (g_lobby && !IsWindowVisible(g_lobby)) DestroyWindow(g_lobby);
    if (g_lobby || !Options(args, o) || !Position(o, x, y) || !EnsureClass(kIPokerLobbyClass, FrameProc)) return 0;
    const std::string title = o.count("title") ? o["title"] : "Tournament lobby";
    const int popups = o.count("popups") ? std::atoi(o["popups"].c_str()) : 0;
    g_lobby = CreateFramed(kIPokerLobbyClass, title, WS_OVERLAPPEDWINDOW, x, y, 800, 560, nullptr);
    if (!g_lobby) return 0;
    ShowWindow(g_lobby, SW_SHOWNOACTIVATE);
    UpdateWindow(g_lobby);
    g_lobbyPopupsLeft = popups > 0 ? popups - 1 : 0;
    if (popups > 0 && !OpenPopup(g_lobby, kIPokerPopupOk)) return 0;
    return reinterpret_cast<LRESULT>(g_lobby);
}};

const TSimCommand popup{"ipoker-popup", [](const TArgs& args) -> LRESULT {
    std::map<std::string, std::string> o;
    if (!Options(args, o) || !o.count("of")) return 0;
    HWND owner = o["of"] == "main" ? g_main : o["of"] == "lobby" ? g_lobby : SimTableWindow(std::atoi(o["of"].c_str()));
    if (!owner) return 0;
    RECT ok = kIPokerPopupOk;
    if (o.count("ok") && std::sscanf(o["ok"].c_str(), "%ld,%ld,%ld,%ld", &ok.left, &ok.top, &ok.right, &ok.bottom) != 4)
        return 0;
    return reinterpret_cast<LRESULT>(OpenPopup(owner, ok));
}};

const TSimCommand holdLobby{"ipoker-hold-lobby", [](const TArgs& args) -> LRESULT {
    if (args.size() != 2 || std::atoi(args[1].c_str()) <= 0) return 0;
    g_lobbyHoldMs = static_cast<DWORD>(std::atoi(args[1].c_str()));
    return 1;
}};

const TSimCommand popupCount{"ipoker-count", [](const TArgs&) -> LRESULT {
    return static_cast<LRESULT>(g_popups.size()) + 1;
}};

}  // namespace
}  // namespace kova::sim
