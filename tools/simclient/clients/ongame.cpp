// The Ongame client, as far as the program reads it. Its tables (window
// class "OngameTableWindow") lay their content out for the size they had
// when the user last dragged their resize corner: a plain resize leaves the
// layout as it was, scaled for the old size. While it is not the user's
// turn, two points left of the table's centre show the client's grey
// background; on the user's turn action buttons cover them. The client's
// frame is its own drawing: its resize corner reads the mouse messages'
// positions as screen coordinates, and a press within 40 pixels of the
// window's bottom-right corner, a move with the button held and a release
// resize the window by the way the mouse went and lay the table out anew.
//
// Commands:
//   ongame-hand N DIR HAND   append hand HAND of table N's tournament to the
//                            hand-history file its title names ("][hh1]"
//                            names DIR\hh1.txt), as the client writes it
//   ongame-layout N          answers the table's layout width * 10000 + height
//   ongame-pressed N         answers 1 while table N's resize corner holds a
//                            pressed button (a drag begun and not released)
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "framework/handles.h"
#include "simclient.h"
#include "simclient_protocol.h"

namespace kova::sim {
namespace {

constexpr const char* kClass = "OngameTableWindow";
constexpr int kRefW = 781, kRefH = 564, kMinW = 512, kMinH = 367;
constexpr COLORREF kGrey = RGB(191, 191, 191);
constexpr COLORREF kBackground = RGB(40, 70, 50);

// The two probe points at the reference size and the points that stay put
// when the table is laid out for another size.
struct Probe {
  int x, y, anchorX, anchorY;
};
constexpr Probe kProbes[2] = {{260, 316, 386, 511}, {260, 284, 386, 479}};

struct Layout {
  WNDPROC original = nullptr;
  int width = 0, height = 0;  // the size the table is laid out for
  bool pressed = false, dragged = false;
  POINT down{};
};
std::map<HWND, Layout> g_layouts;

int Scaled(int v, int anchor, int size, int ref, int min) {
  const double f = static_cast<double>(size - min) / (ref - min);
  return anchor + static_cast<int>(std::lround((v - anchor) * f));
}

LRESULT CALLBACK TableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = g_layouts.find(window);
  if (it == g_layouts.end()) return DefWindowProcA(window, message, wParam, lParam);
  Layout& l = it->second;
  const WNDPROC original = l.original;
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_LBUTTONDOWN: {
      RECT r;
      GetWindowRect(window, &r);
      l.pressed = at.x > r.right - 40 && at.x <= r.right && at.y > r.bottom - 40 && at.y <= r.bottom;
      l.dragged = false;
      l.down = at;
      break;
    }
    case WM_MOUSEMOVE:
      if (l.pressed && (wParam & MK_LBUTTON) && (at.x != l.down.x || at.y != l.down.y)) l.dragged = true;
      break;
    case WM_LBUTTONUP:
      if (l.pressed && l.dragged) {
        RECT r;
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left + at.x - l.down.x, r.bottom - r.top + at.y - l.down.y,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT c;
        GetClientRect(window, &c);
        l.width = c.right;
        l.height = c.bottom;
        SimLog("ongame layout table=%d %dx%d", SimTableId(window), l.width, l.height);
        InvalidateRect(window, nullptr, FALSE);
      }
      l.pressed = l.dragged = false;
      break;
    case WM_DESTROY: {
      g_layouts.erase(it);
      break;
    }
  }
  return CallWindowProcA(original, window, message, wParam, lParam);
}

void PaintTable(HWND window, HDC dc, bool turn) {
  RECT rc;
  GetClientRect(window, &rc);
  auto it = g_layouts.find(window);
  if (it == g_layouts.end()) {
    // First sight of the table: it is laid out for the size it opened with,
    // and its mouse messages pass through the resize corner from now on.
    Layout l;
    l.width = rc.right;
    l.height = rc.bottom;
    l.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TableProc)));
    it = g_layouts.emplace(window, l).first;
  }
  const Layout& l = it->second;
  {
    TGdiObject<HBRUSH> background(CreateSolidBrush(kBackground));
    FillRect(dc, &rc, background.Get());
  }
  // The action area: grey, or the buttons on the user's turn.
  TGdiObject<HBRUSH> area(CreateSolidBrush(turn ? kFoldColour : kGrey));
  for (const Probe& p : kProbes) {
    const int x = Scaled(p.x, p.anchorX, l.width, kRefW, kMinW), y = Scaled(p.y, p.anchorY, l.height, kRefH, kMinH);
    const RECT box{x - 5, y - 5, x + 6, y + 6};
    FillRect(dc, &box, area.Get());
  }
}

const TSimPainter painter(kClass, PaintTable);

// "History for hand" text of one hand: four players, everyone folds to the
// big blind, who wins the blinds.
std::string HandText(const std::string& tournament, int hand) {
  const std::string id = tournament + std::to_string(hand);
  char text[2048];
  std::snprintf(text, sizeof text,
                "***** History for hand %s (TOURNAMENT: \"Sim Sit & Go\", %s, buy-in: $5) *****\r\n"
                "Start hand: Mon Mar 01 10:%02d:00 GMT+0100 2010\r\n"
                "Table: Table #1 [100] (NO_LIMIT TEXAS_HOLDEM 10/20, TC)\r\n"
                "User: Hero\r\n"
                "Button: seat 4\r\n"
                "Players in round: 4\r\n"
                "Seat 1: Alice (1500)\r\n"
                "Seat 2: Bob (1500)\r\n"
                "Seat 3: Hero (1500)\r\n"
                "Seat 4: Carol (1500)\r\n"
                "Alice posts small blind (10)\r\n"
                "Bob posts big blind (20)\r\n"
                "---\r\n"
                "Dealing pocket cards\r\n"
                "Dealing to Hero: [7c, 2d]\r\n"
                "Hero folds\r\n"
                "Carol folds\r\n"
                "Alice folds\r\n"
                "---\r\n"
                "Summary:\r\n"
                "Main pot: 30 won by Bob (30)\r\n"
                "Seat 1: Alice (1490), net: -10\r\n"
                "Seat 2: Bob (1510), net: +10\r\n"
                "Seat 3: Hero (1500)\r\n"
                "Seat 4: Carol (1500)\r\n"
                "***** End of hand %s *****\r\n",
                id.c_str(), tournament.c_str(), hand % 60, id.c_str());
  return text;
}

// The text of `title` after `start` up to `end`.
std::string Between(const std::string& title, const std::string& start, char end) {
  const size_t p = title.find(start);
  if (p == std::string::npos) return std::string();
  const size_t from = p + start.size();
  return title.substr(from, title.find(end, from) - from);
}

LRESULT WriteHand(const TArgs& args) {
  if (args.size() != 4) return 0;
  HWND window = SimTableWindow(std::atoi(args[1].c_str()));
  if (!window) return 0;
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  const std::string title = buffer;
  const std::string file = Between(title, "][", ']');
  std::string id = Between(title, "ID=", ']');
  const size_t second = id.find('-', id.find('-') + 1);
  if (file.empty() || second == std::string::npos) return 0;
  id.erase(second + 1);  // the tournament's id, without the title's hand number
  const std::string path = args[2] + "\\" + file + ".txt";
  FILE* out = std::fopen(path.c_str(), "ab");
  if (!out) return 0;
  const std::string text = HandText(id, std::atoi(args[3].c_str()));
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written ? 1 : 0;
}

LRESULT LayoutOf(const TArgs& args) {
  if (args.size() != 2) return 0;
  auto it = g_layouts.find(SimTableWindow(std::atoi(args[1].c_str())));
  return it == g_layouts.end() ? 0 : it->second.width * 10000 + it->second.height;
}

LRESULT PressedOf(const TArgs& args) {
  if (args.size() != 2) return 0;
  auto it = g_layouts.find(SimTableWindow(std::atoi(args[1].c_str())));
  return it != g_layouts.end() && it->second.pressed ? 1 : 0;
}

const TSimCommand handCommand("ongame-hand", WriteHand);
const TSimCommand pressedCommand("ongame-pressed", PressedOf);
const TSimCommand layoutCommand("ongame-layout", LayoutOf);

}  // namespace
}  // namespace kova::sim
