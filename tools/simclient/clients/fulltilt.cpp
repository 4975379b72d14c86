// The Full Tilt Poker lobby: a "QWidget" window titled "Full Tilt Poker"
// with a tab selector, the Sit & Go list (shown by its tab, 13 pixels a
// row), the Register and Unregister buttons (the one that fits the selected
// row is shown) and the "Tournament Registration" dialogs they open: the
// buy-in (a box to tick, then OK), the confirmation that follows it, and the
// question before an unregistration. Everything it does is logged.
//
//   ftp-lobby [rows=N] [registered=R,R..] [pos=X,Y]   the lobby (answer: its handle)
//   ftp-state            kFullTiltStateBase | the registered rows (bit r-1 for row r)
//   ftp-dialog           a buy-in dialog as if the user had pressed Register
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "clients/clients_protocol.h"
#include "framework/handles.h"
#include "simclient.h"

namespace kova::sim {
namespace {

constexpr int kSelectorWidth = 539, kSelectorHeight = 30;
constexpr int kRowHeight = 13;
constexpr int kCheckBoxId = 102;

HWND g_lobby = nullptr, g_selector = nullptr, g_list = nullptr, g_decoyList = nullptr;
HWND g_register = nullptr, g_unregister = nullptr;
int g_rows = 8;
int g_selected = 0;  // 0: none
std::set<int> g_registered;
enum class DialogKind { BuyIn, Confirmation, Unregister };
std::map<HWND, std::pair<DialogKind, int>> g_dialogs;  // kind and row

HWND OpenDialog(DialogKind kind, int row);

bool EnsureClass(const char* name, WNDPROC proc) { return SimEnsureClass(name, proc, COLOR_WINDOW); }

void ShowButtons() {
    const bool selected = g_selected >= 1 && g_selected <= g_rows;
    const bool registered = g_registered.count(g_selected) != 0;
    ShowWindow(g_register, selected && !registered ? SW_SHOWNA : SW_HIDE);
    ShowWindow(g_unregister, selected && registered ? SW_SHOWNA : SW_HIDE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    auto it = g_dialogs.find(dialog);
    if (it == g_dialogs.end()) return FALSE;
    const auto [kind, row] = it->second;
    const int id = LOWORD(wParam);
    if (id == kCheckBoxId) {
        SimLog("ftp buy-in box %s", IsDlgButtonChecked(dialog, kCheckBoxId) == BST_CHECKED ? "ticked" : "cleared");
        return TRUE;
    }
    if (id != IDOK && id != IDCANCEL) return FALSE;
    bool confirm = false;
    if (id == IDOK && kind == DialogKind::BuyIn) {
        if (IsDlgButtonChecked(dialog, kCheckBoxId) == BST_CHECKED) {
            g_registered.insert(row);
            SimLog("ftp registered row %d", row);
            confirm = true;
        } else {
            SimLog("ftp buy-in not accepted");
        }
    } else if (id == IDOK && kind == DialogKind::Unregister) {
        g_registered.erase(row);
        SimLog("ftp unregistered row %d", row);
    } else {
        SimLog("ftp dialog %s", id == IDOK ? "ok" : "cancelled");
    }
    g_dialogs.erase(dialog);
    DestroyWindow(dialog);
    ShowButtons();
    if (confirm) OpenDialog(DialogKind::Confirmation, row);
    return TRUE;
}

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), SimInstance(), nullptr);
}

HWND OpenDialog(DialogKind kind, int row) {
    // An empty dialog from a template in memory; its controls follow.
    struct alignas(4) Template {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tpl{};
    tpl.t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tpl.t.cx = 200;
    tpl.t.cy = 100;
    HWND dialog = CreateDialogIndirectParamA(SimInstance(), &tpl.t, g_lobby, DialogProc, 0);
    if (!dialog) return nullptr;
    SetWindowTextA(dialog, "Tournament Registration");
    RECT lobby{};
    GetWindowRect(g_lobby, &lobby);
    SetWindowPos(dialog, HWND_TOP, lobby.left + 100, lobby.top + 120, 360, 200, SWP_NOACTIVATE);
    g_dialogs[dialog] = {kind, row};
    switch (kind) {
        case DialogKind::BuyIn:
            Child(dialog, "Button", "", WS_VISIBLE | BS_AUTORADIOBUTTON, 20, 20, 16, 16, 101);
            Child(dialog, "Button", "", WS_VISIBLE | BS_AUTOCHECKBOX, 20, 50, 16, 16, kCheckBoxId);
            Child(dialog, "Button", "OK", WS_VISIBLE | BS_PUSHBUTTON, 60, 110, 80, 26, IDOK);
            Child(dialog, "Button", "Cancel", WS_VISIBLE | BS_PUSHBUTTON, 180, 110, 80, 26, IDCANCEL);
            break;
        case DialogKind::Confirmation:
            Child(dialog, "FTPButtonClass", "OK", WS_VISIBLE, 120, 110, 80, 26, IDOK);
            break;
        case DialogKind::Unregister:
            Child(dialog, "Button", "OK", WS_VISIBLE | BS_PUSHBUTTON, 60, 110, 80, 26, IDOK);
            Child(dialog, "Button", "Cancel", WS_VISIBLE | BS_PUSHBUTTON, 180, 110, 80, 26, IDCANCEL);
            break;
    }
    SimLog("ftp dialog %s row %d", kind == DialogKind::BuyIn ? "buy-in" : kind == DialogKind::Confirmation ? "confirmation" : "unregister", row);
    ShowWindow(dialog, SW_SHOWNA);
    return dialog;
}

// The client's own buttons: a press is a button-up inside them.
LRESULT CALLBACK FtpButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP: {
            HWND parent = GetParent(window);
            if (window == g_register) {
                SimLog("ftp press Register row %d", g_selected);
                OpenDialog(DialogKind::BuyIn, g_selected);
            } else if (window == g_unregister) {
                SimLog("ftp press Unregister row %d", g_selected);
                OpenDialog(DialogKind::Unregister, g_selected);
            } else if (g_dialogs.count(parent)) {
                // The confirmation's OK.
                SimLog("ftp confirmation closed");
                g_dialogs.erase(parent);
                DestroyWindow(parent);
            }
            return 0;
        }
        case WM_PAINT: {
            TPaintGuard paint(window);
            RECT rc;
            GetClientRect(window, &rc);
            FillRect(paint.DC(), &rc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
            char text[64] = {};
            GetWindowTextA(window, text, sizeof text);
            SetBkMode(paint.DC(), TRANSPARENT);
            DrawTextA(paint.DC(), text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SelectorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        const int x = static_cast<short>(LOWORD(lParam));
        RECT rc;
        GetClientRect(window, &rc);
        // The Sit & Go tab, between 330 and 380 of the selector's 539 pixels.
        const bool sng = x >= rc.right * 330 / kSelectorWidth && x < rc.right * 380 / kSelectorWidth;
        SimLog("ftp tab %s x=%d", sng ? "sng" : "other", x);
        ShowWindow(g_list, sng ? SW_SHOWNA : SW_HIDE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            if (window != g_list) {
                SimLog("ftp decoy list clicked");
                return 0;
            }
            const int y = static_cast<short>(HIWORD(lParam));
            const int row = y / kRowHeight + 1;
            if (row < 1 || row > g_rows) return 0;
            g_selected = row;
            SimLog("ftp select row %d", row);
            ShowButtons();
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        }
        case WM_PAINT: {
            TPaintGuard paint(window);
            RECT rc;
            GetClientRect(window, &rc);
            FillRect(paint.DC(), &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
            for (int r = 1; r <= g_rows && window == g_list; ++r) {
                RECT row{0, (r - 1) * kRowHeight, rc.right, r * kRowHeight};
                if (r == g_selected) FillRect(paint.DC(), &row, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
                char text[64];
                std::snprintf(text, sizeof text, "Sit & Go %d%s", r, g_registered.count(r) ? " (registered)" : "");
                SetBkMode(paint.DC(), TRANSPARENT);
                DrawTextA(paint.DC(), text, -1, &row, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
            }
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK LobbyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && window == g_lobby) {
        g_lobby = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const TSimCommand lobby{"ftp-lobby", [](const TArgs& args) -> LRESULT {
    if (g_lobby) return 0;
    int x = 100, y = 100;
    g_rows = 8;
    g_registered.clear();
    g_selected = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos) return 0;
        const std::string key = args[i].substr(0, eq), value = args[i].substr(eq + 1);
        if (key == "rows") {
            g_rows = std::atoi(value.c_str());
        } else if (key == "registered") {
            std::stringstream in(value);
            for (std::string r; std::getline(in, r, ',');) g_registered.insert(std::atoi(r.c_str()));
        } else if (key == "pos") {
            if (std::sscanf(value.c_str(), "%d,%d", &x, &y) != 2) return 0;
        } else {
            return 0;
        }
    }
    if (!EnsureClass("QWidget", LobbyProc) || !EnsureClass("FTPSelectorClass", SelectorProc) ||
        !EnsureClass("FTPListClass", ListProc) || !EnsureClass("FTPButtonClass", FtpButtonProc))
        return 0;
    RECT rc{0, 0, 700, 420};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    g_lobby = CreateWindowExA(0, "QWidget", "Full Tilt Poker - Logged In As hero", WS_OVERLAPPEDWINDOW, x, y,
                              rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr, SimInstance(), nullptr);
    if (!g_lobby) return 0;
    g_selector = Child(g_lobby, "FTPSelectorClass", "selector", WS_VISIBLE, 0, 0, kSelectorWidth, kSelectorHeight, 1);
    // A list of another panel, further right: not the tournament list.
    g_decoyList = Child(g_lobby, "FTPListClass", "", WS_VISIBLE, 560, 40, 120, 200, 2);
    g_list = Child(g_lobby, "FTPListClass", "", 0, 5, 40, 500, kRowHeight * g_rows + 4, 3);
    g_register = Child(g_lobby, "FTPButtonClass", "Register", 0, 520, 260, 100, 26, 4);
    g_unregister = Child(g_lobby, "FTPButtonClass", "Unregister", 0, 520, 260, 100, 26, 5);
    ShowWindow(g_lobby, SW_SHOWNOACTIVATE);
    UpdateWindow(g_lobby);
    return reinterpret_cast<LRESULT>(g_lobby);
}};

const TSimCommand state{"ftp-state", [](const TArgs&) -> LRESULT {
    LRESULT mask = 0;
    for (int r : g_registered)
        if (r >= 1 && r <= 16) mask |= LRESULT{1} << (r - 1);
    return kFullTiltStateBase | mask;
}};

const TSimCommand dialog{"ftp-dialog", [](const TArgs&) -> LRESULT {
    return g_lobby ? reinterpret_cast<LRESULT>(OpenDialog(DialogKind::BuyIn, g_selected)) : 0;
}};

}  // namespace
}  // namespace kova::sim
