// Simulated poker client: opens top-level "table" windows of any class, title
// and size, paints a table with a Fold button that appears when it is the
// user's turn, changes titles and closes windows on command, and logs every
// mouse message its tables receive. Tests and the demo drive it with a script
// file and, while it runs, with commands sent to its control window:
//
//   simclient.exe [--log FILE] [--name NAME] [--script FILE]
//   simclient.exe [--name NAME] --send "COMMAND"
//
// Commands (one per line in a script; '#' starts a comment):
//   open [id=N] [class=C] [title="T"] [size=WxH] [pos=X,Y]  a new table
//   title N "T"          change a table's title
//   turn N on|off        show or hide the Fold button of table N
//   close N              close table N
//   sleep MS             (scripts) wait before the next line
//   loop                 (scripts) start the script again
//   quit                 close every table and end
// Sent commands answer with a number: "open" with the table's window handle,
// the others with 1 on success and 0 on failure.
//
// Each imitated poker client lives in a file of its own under clients/: it
// registers its commands and the painters of its window classes
// (simclient.h), and this file names none of them.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "simclient.h"
#include "simclient_protocol.h"

namespace kova::sim {
namespace {

std::map<std::string, TCommandFn>& Commands() {
  static std::map<std::string, TCommandFn> commands;
  return commands;
}

std::map<std::string, TTablePainter>& Painters() {
  static std::map<std::string, TTablePainter> painters;
  return painters;
}

}  // namespace

TSimCommand::TSimCommand(const char* word, TCommandFn fn) { Commands()[word] = std::move(fn); }

TSimPainter::TSimPainter(const char* className, TTablePainter painter) { Painters()[className] = std::move(painter); }

}  // namespace kova::sim

namespace {

using kova::sim::kControlClass;
using kova::sim::kCopyDataCommand;

struct Table {
  int id = 0;
  HWND window = nullptr;
  bool turn = false;
};

std::map<int, Table> g_tables;
std::map<HWND, int> g_idOfWindow;
int g_nextId = 1;
FILE* g_log = nullptr;
HINSTANCE g_instance = nullptr;
HWND g_control = nullptr;
std::vector<std::string> g_script;
size_t g_scriptLine = 0;
constexpr UINT_PTR kScriptTimer = 1;

std::vector<std::string> Tokenize(const std::string& line) {
  // Words separated by blanks; double quotes group a word (also after "key=").
  std::vector<std::string> out;
  std::string cur;
  bool inQuotes = false, have = false;
  for (char c : line) {
    if (c == '"') {
      inQuotes = !inQuotes;
      have = true;
    } else if (!inQuotes && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (have) out.push_back(cur);
      cur.clear();
      have = false;
    } else {
      cur += c;
      have = true;
    }
  }
  if (have) out.push_back(cur);
  return out;
}

const char* MouseMessageName(UINT m) {
  switch (m) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_XBUTTONDOWN: return "WM_XBUTTONDOWN";
    case WM_XBUTTONUP: return "WM_XBUTTONUP";
    default: return "WM_MOUSE";
  }
}

void LogMouse(int id, UINT message, LPARAM lParam) {
  if (!g_log) return;
  // Wheel positions are in screen coordinates, the others in client ones.
  std::fprintf(g_log, "%lu table=%d msg=%s(%u) x=%d y=%d\n", static_cast<unsigned long>(GetTickCount()), id,
               MouseMessageName(message), message, static_cast<short>(LOWORD(lParam)),
               static_cast<short>(HIWORD(lParam)));
  std::fflush(g_log);
}

// The client area's pixels as `dc` shows them from `origin` on.
std::vector<uint32_t> Pixels(HDC dc, POINT origin, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  kova::TMemoryDC memory(dc);
  kova::TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !bitmap) return {};
  {
    kova::TSelection selected(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, dc, origin.x, origin.y, SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (!GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS)) return {};
  return pixels;
}

// What a window painted may reach the screen only when its thread next
// waits (Wine keeps a window's pixels in a surface of the process's own and
// hands them to the display then). A command that changes what a table
// shows is answered once the screen shows it, so that whoever reads the
// screen after the answer (the engine's turn test) sees the change; bounded,
// as a covered table never shows all of it.
void ShowPainted(HWND window) {
  RECT rc{};
  GetClientRect(window, &rc);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const DWORD start = GetTickCount();
  for (;;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    std::vector<uint32_t> painted, shown;
    {
      kova::TWindowDC dc(window);
      painted = Pixels(dc.Get(), POINT{0, 0}, rc.right, rc.bottom);
    }
    {
      kova::TWindowDC screen(nullptr);
      shown = Pixels(screen.Get(), origin, rc.right, rc.bottom);
    }
    if (painted == shown || GetTickCount() - start > 500) return;
    Sleep(5);
  }
}

void PaintTable(HWND window, HDC dc, const Table& table) {
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  auto painter = kova::sim::Painters().find(className);
  if (painter != kova::sim::Painters().end()) {
    painter->second(window, dc, table.turn);
    return;
  }
  RECT rc;
  GetClientRect(window, &rc);
  const int w = rc.right, h = rc.bottom;

  {
    kova::TGdiObject<HBRUSH> background(CreateSolidBrush(RGB(24, 32, 40)));
    FillRect(dc, &rc, background.Get());
  }
  {
    kova::TGdiObject<HBRUSH> felt(CreateSolidBrush(kova::sim::kFeltColour));
    kova::TGdiObject<HPEN> rail(CreatePen(PS_SOLID, 8, RGB(90, 55, 30)));
    kova::TSelection brush(dc, felt.Get()), pen(dc, rail.Get());
    Ellipse(dc, w / 10, h / 8, w - w / 10, h * 3 / 4);
  }

  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 230, 230));
  RECT titleRect{0, h * 3 / 8 - 10, w, h * 3 / 8 + 10};
  DrawTextA(dc, title, -1, &titleRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);

  if (table.turn) {
    RECT fold = kova::sim::FoldButtonRect(w, h);
    {
      kova::TGdiObject<HBRUSH> button(CreateSolidBrush(kova::sim::kFoldColour));
      FillRect(dc, &fold, button.Get());
    }
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, "Fold", -1, &fold, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  }
}

LRESULT CALLBACK TableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = g_idOfWindow.find(window);
  const int id = found == g_idOfWindow.end() ? 0 : found->second;
  if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
      (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK)) {
    LogMouse(id, message, lParam);
  }
  switch (message) {
    case WM_PAINT:
      if (id && g_tables.count(id)) {
        kova::TPaintGuard paint(window);
        PaintTable(window, paint.DC(), g_tables[id]);
        return 0;
      }
      break;
    case WM_PRINTCLIENT:
      // PrintWindow: how a covered table's pixels are read.
      if (id && g_tables.count(id)) {
        PaintTable(window, reinterpret_cast<HDC>(wParam), g_tables[id]);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return r;
    }
    case WM_DESTROY:
      if (id) {
        g_tables.erase(id);
        g_idOfWindow.erase(window);
      }
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureClass(const std::string& className) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(g_instance, className.c_str(), &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  // Redrawn whole on every resize, as the clients lay their tables out
  // anew: a Fold button must never linger where it was at the old size.
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = TableProc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = className.c_str();
  return RegisterClassExA(&wc) != 0;
}

LRESULT OpenTable(const std::vector<std::string>& args) {
  int id = 0;
  std::string className = "PokerStarsTableFrameClass";
  std::string title;
  int width = 792, height = 546;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const size_t eq = a.find('=');
    if (eq == std::string::npos) return 0;
    const std::string key = a.substr(0, eq), value = a.substr(eq + 1);
    if (key == "id") id = std::atoi(value.c_str());
    else if (key == "class") className = value;
    else if (key == "title") title = value;
    else if (key == "size") { if (std::sscanf(value.c_str(), "%dx%d", &width, &height) != 2) return 0; }
    else if (key == "pos") { if (std::sscanf(value.c_str(), "%d,%d", &x, &y) != 2) return 0; }
    else return 0;
  }
  if (id <= 0) id = g_nextId;
  if (g_tables.count(id)) return 0;
  if (id >= g_nextId) g_nextId = id + 1;
  if (title.empty()) title = "Table " + std::to_string(id);
  if (!EnsureClass(className)) return 0;

  // The requested size is the client area, as poker clients describe theirs.
  RECT rc{0, 0, width, height};
  const DWORD style = WS_OVERLAPPEDWINDOW;
  AdjustWindowRectEx(&rc, style, FALSE, 0);
  Table& t = g_tables[id];
  t.id = id;
  HWND window = CreateWindowExA(0, className.c_str(), title.c_str(), style, x, y, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, g_instance, nullptr);
  if (!window) {
    g_tables.erase(id);
    return 0;
  }
  t.window = window;
  g_idOfWindow[window] = id;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return reinterpret_cast<LRESULT>(window);
}

Table* FindTable(const std::vector<std::string>& args) {
  if (args.size() < 2) return nullptr;
  auto it = g_tables.find(std::atoi(args[1].c_str()));
  return it == g_tables.end() ? nullptr : &it->second;
}

LRESULT Execute(const std::string& line) {
  std::vector<std::string> args = Tokenize(line);
  if (args.empty() || args[0][0] == '#') return 1;
  const std::string& cmd = args[0];
  if (cmd == "open") return OpenTable(args);
  auto client = kova::sim::Commands().find(cmd);
  if (client != kova::sim::Commands().end()) return client->second(args);
  if (cmd == "quit") {
    PostQuitMessage(0);
    return 1;
  }
  Table* table = FindTable(args);
  if (!table) return 0;
  if (cmd == "title" && args.size() == 3) return SetWindowTextA(table->window, args[2].c_str()) ? 1 : 0;
  if (cmd == "turn" && args.size() == 3 && (args[2] == "on" || args[2] == "off")) {
    table->turn = args[2] == "on";
    InvalidateRect(table->window, nullptr, FALSE);
    UpdateWindow(table->window);
    ShowPainted(table->window);
    return 1;
  }
  if (cmd == "close" && args.size() == 2) return DestroyWindow(table->window) ? 1 : 0;
  return 0;
}

void RunScript(HWND control) {
  KillTimer(control, kScriptTimer);
  while (g_scriptLine < g_script.size()) {
    const std::string line = g_script[g_scriptLine++];
    std::vector<std::string> args = Tokenize(line);
    if (args.empty()) continue;
    if (args[0] == "sleep" && args.size() == 2) {
      SetTimer(control, kScriptTimer, static_cast<UINT>(std::atoi(args[1].c_str())), nullptr);
      return;
    }
    if (args[0] == "loop") {
      g_scriptLine = 0;
      continue;
    }
    if (!Execute(line)) std::fprintf(stderr, "simclient: failed: %s\n", line.c_str());
  }
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (cds->dwData != kCopyDataCommand || !cds->lpData) return 0;
      return Execute(std::string(static_cast<const char*>(cds->lpData), cds->cbData));
    }
    case WM_TIMER:
      if (wParam == kScriptTimer) RunScript(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int SendCommand(const std::string& name, const std::string& command) {
  HWND control = FindWindowA(kControlClass, name.c_str());
  if (!control) {
    std::fprintf(stderr, "simclient: no running client named \"%s\"\n", name.c_str());
    return 2;
  }
  COPYDATASTRUCT cds{kCopyDataCommand, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &result)) {
    std::fprintf(stderr, "simclient: the client did not answer\n");
    return 2;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(result));
  return result ? 0 : 1;
}

}  // namespace

namespace kova::sim {

void SimLog(const char* format, ...) {
  if (!g_log) return;
  std::va_list args;
  va_start(args, format);
  std::fprintf(g_log, "%lu ", static_cast<unsigned long>(GetTickCount()));
  std::vfprintf(g_log, format, args);
  std::fputc('\n', g_log);
  va_end(args);
  std::fflush(g_log);
}

HINSTANCE SimInstance() { return g_instance; }

bool SimEnsureClass(const char* name, WNDPROC proc, int background) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(g_instance, name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = g_instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

HWND SimTableWindow(int id) {
  auto it = g_tables.find(id);
  return it == g_tables.end() ? nullptr : it->second.window;
}

int SimTableId(HWND window) {
  auto it = g_idOfWindow.find(window);
  return it == g_idOfWindow.end() ? 0 : it->second;
}

}  // namespace kova::sim

int main(int argc, char** argv) {
  g_instance = GetModuleHandleA(nullptr);
  std::string name = "simclient", logPath, scriptPath, send;
  bool haveSend = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--log") logPath = next();
    else if (a == "--name") name = next();
    else if (a == "--script") scriptPath = next();
    else if (a == "--send") { send = next(); haveSend = true; }
    else {
      std::fprintf(stderr, "usage: simclient [--log FILE] [--name NAME] [--script FILE] | [--name NAME] --send CMD\n");
      return 2;
    }
  }
  if (haveSend) return SendCommand(name, send);

  if (!scriptPath.empty()) {
    std::ifstream in(scriptPath);
    if (!in) {
      std::fprintf(stderr, "simclient: cannot read %s\n", scriptPath.c_str());
      return 2;
    }
    for (std::string line; std::getline(in, line);) g_script.push_back(line);
  }
  if (!logPath.empty()) {
    g_log = std::fopen(logPath.c_str(), "a");
    if (!g_log) {
      std::fprintf(stderr, "simclient: cannot write %s\n", logPath.c_str());
      return 2;
    }
  }

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = g_instance;
  wc.lpszClassName = kControlClass;
  RegisterClassExA(&wc);
  g_control = CreateWindowExA(0, kControlClass, name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_instance, nullptr);
  if (!g_control) return 2;
  RunScript(g_control);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  for (auto& [id, table] : std::map<int, Table>(g_tables)) DestroyWindow(table.window);
  if (g_log) std::fclose(g_log);
  return 0;
}
