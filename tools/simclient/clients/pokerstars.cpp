// The simulated client's PokerStars mode: the lobby ("#32770" titled
// "PokerStars Lobby") with its tab strip, tournament list, Spin & Go frame,
// "Register"/"Unregister" buttons and the "Tournament Registration"
// dialogs, in the older client's layout and in the newer one's; the
// "Seat Available" box; the finished-tournament box of a table; and
// hand-history files appended as hands are played.
//
//   pslobby [layout=6|7] [rows=N] [registered=K] [refuse=0|1]   the lobby (one at a time)
//   psseat                        the "Seat Available" box
//   psfinished N                  the finished-tournament box of table N
//   pshand N dir="D" [time="yyyy/mm/dd h:mm:ss"]  append a hand of table N's
//                                 tournament to its file in folder D (time: now)
//
// The lobby writes what happens into the log: "pslobby select row=R",
// "pslobby register row=R", "pslobby refused row=R", "pslobby unregister
// row=R", "pslobby register spin=K", "pslobby tab sng|spin", "psseat yes|no",
// "psfinished close table=N".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "simclient.h"

namespace kova::sim {
namespace {

constexpr const char* kButtonClass = "PokerStarsButtonClass";
constexpr const char* kListClass = "PokerStarsListClass";
constexpr const char* kSelectorClass = "PokerStarsSelectorClass";
constexpr const char* kFrameClass = "PokerStarsFrameClass";
constexpr int kRowHeight = 16;

// What a click on one of our buttons (own class or a system "Button") does.
std::map<HWND, std::function<void()>> g_actions;
std::map<HWND, WNDPROC> g_dialogProcs;

struct Lobby {
  HWND window = nullptr, selector = nullptr, list = nullptr, frame = nullptr;
  HWND registerButton = nullptr, unregisterButton = nullptr, spinRegister = nullptr;
  bool newer = false, refuse = false;
  int rows = 6, selected = 0, spins = 0;
  std::vector<bool> registered;
} g_lobby;

std::string Arg(const TArgs& args, const std::string& key, const std::string& fallback) {
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i].rfind(key + "=", 0) == 0) return args[i].substr(key.size() + 1);
  return fallback;
}

void Act(HWND button) {
  auto it = g_actions.find(button);
  if (it == g_actions.end()) return;
  std::function<void()> action = it->second;  // the action may destroy the button
  action();
}

LRESULT CALLBACK ButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_LBUTTONUP:
      Act(w);
      return 0;
    case WM_PAINT: {
      kova::TPaintGuard paint(w);
      RECT rc;
      GetClientRect(w, &rc);
      {
        kova::TGdiObject<HBRUSH> face(CreateSolidBrush(RGB(200, 30, 30)));
        FillRect(paint.DC(), &rc, face.Get());
      }
      char text[64] = {};
      GetWindowTextA(w, text, sizeof text);
      SetBkMode(paint.DC(), TRANSPARENT);
      SetTextColor(paint.DC(), RGB(255, 255, 255));
      DrawTextA(paint.DC(), text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return 0;
    }
    case WM_DESTROY:
      g_actions.erase(w);
      break;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void PaintList(HWND w, HDC dc) {
  RECT rc;
  GetClientRect(w, &rc);
  {
    kova::TGdiObject<HBRUSH> white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc, &rc, white.Get());
  }
  SetBkMode(dc, TRANSPARENT);
  for (int r = 1; r <= g_lobby.rows; ++r) {
    RECT row{0, (r - 1) * kRowHeight, rc.right, r * kRowHeight};
    if (r == g_lobby.selected) {
      kova::TGdiObject<HBRUSH> dark(CreateSolidBrush(RGB(30, 40, 90)));
      FillRect(dc, &row, dark.Get());
    }
    // The row's text: a dark bar where the client writes the name, which
    // is what the lobby adapter looks for.
    RECT name{12, row.top + 4, 58, row.bottom - 4};
    kova::TGdiObject<HBRUSH> ink(CreateSolidBrush(r == g_lobby.selected ? RGB(255, 255, 255) : RGB(20, 20, 20)));
    FillRect(dc, &name, ink.Get());
    if (g_lobby.registered[static_cast<size_t>(r - 1)]) {
      RECT mark{70, row.top + 4, 80, row.bottom - 4};
      kova::TGdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 160, 0)));
      FillRect(dc, &mark, green.Get());
    }
  }
}

void ShowButtonsOfSelection() {
  const bool reg = g_lobby.selected > 0 && g_lobby.registered[static_cast<size_t>(g_lobby.selected - 1)];
  ShowWindow(g_lobby.registerButton, reg ? SW_HIDE : SW_SHOWNA);
  ShowWindow(g_lobby.unregisterButton, reg ? SW_SHOWNA : SW_HIDE);
}

LRESULT CALLBACK ListProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_LBUTTONDOWN: {
      const int row = static_cast<short>(HIWORD(lp)) / kRowHeight + 1;
      if (row >= 1 && row <= g_lobby.rows) {
        g_lobby.selected = row;
        SimLog("pslobby select row=%d", row);
        ShowButtonsOfSelection();
        InvalidateRect(w, nullptr, FALSE);
        UpdateWindow(w);
      }
      return 0;
    }
    case WM_PAINT: {
      kova::TPaintGuard paint(w);
      PaintList(w, paint.DC());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintList(w, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void ShowTab(bool spin) {
  ShowWindow(g_lobby.list, spin ? SW_HIDE : SW_SHOWNA);
  ShowWindow(g_lobby.registerButton, spin ? SW_HIDE : SW_SHOWNA);
  if (spin) ShowWindow(g_lobby.unregisterButton, SW_HIDE);
  ShowWindow(g_lobby.frame, spin ? SW_SHOWNA : SW_HIDE);
  if (!spin) ShowButtonsOfSelection();
  SimLog("pslobby tab %s", spin ? "spin" : "sng");
}

LRESULT CALLBACK SelectorProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_LBUTTONUP) {
    RECT rc;
    GetClientRect(w, &rc);
    const int x = static_cast<short>(LOWORD(lp));
    // The tabs' centres: Sit & Go and Spin & Go, at the client's own places.
    const double sng = g_lobby.newer ? rc.right * 190.0 / 622 : rc.right * 295.0 / 538;
    const double spin = g_lobby.newer ? rc.right * 270.0 / 622 : rc.right * 355.0 / 538;
    if (std::abs(x - sng) <= 20) ShowTab(false);
    else if (std::abs(x - spin) <= 20) ShowTab(true);
    else SimLog("pslobby tab none x=%d", x);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::pair<const char*, WNDPROC> classes[] = {
      {kButtonClass, ButtonProc}, {kListClass, ListProc}, {kSelectorClass, SelectorProc}, {kFrameClass, DefWindowProcA}};
  for (const auto& [name, proc] : classes) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = SimInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
}

// The client's dialogs are system dialogs ("#32770"); their system
// buttons report clicks to them.
LRESULT CALLBACK DialogProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  const WNDPROC base = g_dialogProcs.count(w) ? g_dialogProcs[w] : DefDlgProcA;
  if (m == WM_COMMAND && HIWORD(wp) == BN_CLICKED && lp) {
    Act(reinterpret_cast<HWND>(lp));
    return 0;
  }
  if (m == WM_NCDESTROY) {
    g_dialogProcs.erase(w);
    return CallWindowProcA(base, w, m, wp, lp);
  }
  return CallWindowProcA(base, w, m, wp, lp);
}

HWND MakeDialog(const char* title, int clientWidth, int clientHeight, HWND owner = nullptr) {
  RECT rc{0, 0, clientWidth, clientHeight};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
  HWND d = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", title, style, 600, 150, rc.right - rc.left,
                           rc.bottom - rc.top, owner, nullptr, SimInstance(), nullptr);
  if (!d) return nullptr;
  g_dialogProcs[d] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(d, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogProc)));
  return d;
}

HWND AddButton(HWND parent, const char* cls, const char* text, int x, int y, int w, int h, std::function<void()> action) {
  const DWORD style = WS_CHILD | WS_VISIBLE | (std::string(cls) == "Button" ? BS_PUSHBUTTON : 0);
  HWND b = CreateWindowExA(0, cls, text, style, x, y, w, h, parent, nullptr, SimInstance(), nullptr);
  if (b && action) g_actions[b] = std::move(action);
  return b;
}

void Show(HWND w) {
  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
}

void Close(HWND w) { DestroyWindow(w); }

// The client's answer to a registration: accepted, or refused (a narrow box).
void AnswerRegistration(bool refused) {
  HWND box = MakeDialog("Tournament Registration", refused ? 180 : 300, 100);
  const char* cls = g_lobby.newer ? kButtonClass : "Button";
  AddButton(box, cls, "OK", refused ? 50 : 110, 60, 80, 25, [box] { Close(box); });
  Show(box);
}

void OpenRegistration(int row) {
  HWND d = MakeDialog("Tournament Registration", 360, 200);
  auto confirm = [d, row] {
    Close(d);
    if (g_lobby.refuse) {
      SimLog("pslobby refused row=%d", row);
    } else {
      g_lobby.registered[static_cast<size_t>(row - 1)] = true;
      SimLog("pslobby register row=%d", row);
      ShowButtonsOfSelection();
      InvalidateRect(g_lobby.list, nullptr, FALSE);
    }
    AnswerRegistration(g_lobby.refuse);
  };
  auto choice = [] { SimLog("pslobby buy-in chosen"); };
  if (!g_lobby.newer) {
    // Two choices of buy-in (captionless), then OK and Cancel.
    AddButton(d, "Button", "", 20, 20, 16, 16, choice);
    AddButton(d, "Button", "", 20, 50, 16, 16, choice);
    AddButton(d, "Button", "OK", 80, 150, 80, 25, confirm);
    AddButton(d, "Button", "Cancel", 200, 150, 80, 25, [d] {
      SimLog("pslobby cancel");
      Close(d);
    });
  } else {
    AddButton(d, kButtonClass, "USD", 20, 20, 80, 25, choice);
    AddButton(d, kButtonClass, "T$", 120, 20, 80, 25, choice);
    AddButton(d, kButtonClass, "Buy-in with USD", 20, 60, 180, 25, choice);
    AddButton(d, kButtonClass, "Confirm", 80, 150, 80, 25, confirm);
    AddButton(d, kButtonClass, "Cancel", 200, 150, 80, 25, [d] {
      SimLog("pslobby cancel");
      Close(d);
    });
  }
  Show(d);
}

LRESULT OpenLobby(const TArgs& args) {
  RegisterClasses();
  if (g_lobby.window && IsWindow(g_lobby.window)) return 0;
  g_lobby = Lobby{};
  g_lobby.newer = Arg(args, "layout", "6") == "7";
  g_lobby.rows = std::atoi(Arg(args, "rows", "6").c_str());
  g_lobby.refuse = Arg(args, "refuse", "0") == "1";
  const int already = std::atoi(Arg(args, "registered", "0").c_str());
  if (g_lobby.rows < 0 || g_lobby.rows > 20) return 0;
  g_lobby.registered.assign(static_cast<size_t>(g_lobby.rows), false);
  for (int r = 0; r < already && r < g_lobby.rows; ++r) g_lobby.registered[static_cast<size_t>(r)] = true;

  HWND l = CreateWindowExA(0, "#32770", "PokerStars Lobby - Logged in as Hero", WS_OVERLAPPEDWINDOW, 20, 20, 800, 600,
                           nullptr, nullptr, SimInstance(), nullptr);
  if (!l) return 0;
  g_lobby.window = l;
  const int selectorWidth = g_lobby.newer ? 622 : 538;
  g_lobby.selector = CreateWindowExA(0, kSelectorClass, g_lobby.newer ? "main-lobby-selector" : "",
                                     WS_CHILD | WS_VISIBLE, 5, 5, selectorWidth, 34, l, nullptr, SimInstance(), nullptr);
  g_lobby.list = CreateWindowExA(0, kListClass, "", WS_CHILD | WS_VISIBLE, 5, 45, 500, 20 * kRowHeight, l, nullptr,
                                 SimInstance(), nullptr);
  g_lobby.registerButton = AddButton(l, kButtonClass, "Register", 540, 60, 120, 30, [] {
    const int row = g_lobby.selected;
    if (row < 1 || g_lobby.registered[static_cast<size_t>(row - 1)]) return;
    OpenRegistration(row);
  });
  g_lobby.unregisterButton = AddButton(l, kButtonClass, "Unregister", 540, 100, 120, 30, [] {
    const int row = g_lobby.selected;
    if (row < 1 || !g_lobby.registered[static_cast<size_t>(row - 1)]) return;
    g_lobby.registered[static_cast<size_t>(row - 1)] = false;
    SimLog("pslobby unregister row=%d", row);
    ShowButtonsOfSelection();
    InvalidateRect(g_lobby.list, nullptr, FALSE);
  });
  ShowWindow(g_lobby.unregisterButton, SW_HIDE);
  g_lobby.frame = CreateWindowExA(0, kFrameClass, "", WS_CHILD, 5, 380, 500, 150, l, nullptr, SimInstance(), nullptr);
  g_lobby.spinRegister = AddButton(g_lobby.frame, kButtonClass, "Register", 350, 100, 120, 30, [] {
    SimLog("pslobby register spin=%d", ++g_lobby.spins);
    HWND d = MakeDialog("Tournament Registration", 300, 120);
    AddButton(d, g_lobby.newer ? kButtonClass : "Button", "OK", 110, 80, 80, 25, [d] {
      SimLog("pslobby spin confirmed");
      Close(d);
    });
    Show(d);
  });
  ShowWindow(l, SW_SHOWNOACTIVATE);
  UpdateWindow(l);
  return reinterpret_cast<LRESULT>(l);
}

LRESULT OpenSeatAvailable(const TArgs&) {
  RegisterClasses();
  HWND d = MakeDialog("Seat Available", 300, 120);
  if (!d) return 0;
  AddButton(d, "Button", "Yes", 40, 80, 80, 25, [d] {
    SimLog("psseat yes");
    Close(d);
  });
  AddButton(d, "Button", "No", 180, 80, 80, 25, [d] {
    SimLog("psseat no");
    Close(d);
  });
  Show(d);
  return reinterpret_cast<LRESULT>(d);
}

LRESULT OpenFinished(const TArgs& args) {
  if (args.size() != 2) return 0;
  const int id = std::atoi(args[1].c_str());
  HWND table = SimTableWindow(id);
  if (!table) return 0;
  RegisterClasses();
  HWND d = MakeDialog("PokerStars", 300, 100, table);
  if (!d) return 0;
  AddButton(d, "Button", "Close", 110, 60, 80, 25, [d, id] {
    SimLog("psfinished close table=%d", id);
    Close(d);
  });
  Show(d);
  return reinterpret_cast<LRESULT>(d);
}

// Hands written so far per table.
std::map<int, int> g_hands;

LRESULT AppendHand(const TArgs& args) {
  if (args.size() < 3) return 0;
  const int id = std::atoi(args[1].c_str());
  HWND table = SimTableWindow(id);
  const std::string dir = Arg(args, "dir", "");
  if (!table || dir.empty()) return 0;
  char title[256] = {};
  GetWindowTextA(table, title, sizeof title);
  std::string t = title;
  const size_t at = t.find("Tournament ");
  if (at == std::string::npos) return 0;
  const std::string tournament = t.substr(at + 11, t.find(' ', at + 11) - (at + 11));
  std::string time = Arg(args, "time", "");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  if (time.empty()) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u/%02u/%02u %u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    time = text;
  }
  char day[16];
  std::snprintf(day, sizeof day, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  const std::string file = dir + "\\HH" + day + " T" + tournament + " No Limit Hold'em $1+$0.10.txt";
  std::ofstream out(file, std::ios::binary | std::ios::app);
  if (!out) return 0;
  const int n = ++g_hands[id];
  out << "PokerStars Hand #" << 100000 + n << ": Tournament #" << tournament
      << ", $1+$0.10 USD Hold'em No Limit - Level I (10/20) - " << time << " ET\r\n"
      << "Table '" << tournament << " 1' 9-max Seat #1 is the button\r\n"
      << "Seat 1: Hero (1500 in chips)\r\n*** HOLE CARDS ***\r\nHero: folds\r\n\r\n\r\n";
  return out.good() ? 1 : 0;
}

const TSimCommand lobbyCommand("pslobby", OpenLobby);
const TSimCommand seatCommand("psseat", OpenSeatAvailable);
const TSimCommand finishedCommand("psfinished", OpenFinished);
const TSimCommand handCommand("pshand", AppendHand);

}  // namespace
}  // namespace kova::sim
