#pragma once
// What a module of the simulated client (one file per imitated poker client
// under clients/) may use: it registers command words and the painters of
// its table classes at namespace scope, and writes into the client's log.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kova::sim {

using TArgs = std::vector<std::string>;  // the command's words, the first the command itself
// Answers a command: a number for "--send" (0 means failure).
using TCommandFn = std::function<LRESULT(const TArgs& args)>;
// Paints a table window's client area; `turn` is the table's "turn on|off".
using TTablePainter = std::function<void(HWND window, HDC dc, bool turn)>;

// A command word of a client module ("open", "title", "turn", "close" and
// "quit" are the client's own and cannot be taken).
struct TSimCommand {
  TSimCommand(const char* word, TCommandFn fn);
};

// Tables opened with this window class are painted by `painter` instead of
// the plain table with its Fold button.
struct TSimPainter {
  TSimPainter(const char* className, TTablePainter painter);
};

// One line into the client's log ("--log"), after the tick count, as the
// mouse lines are written; nothing without a log.
void SimLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

HINSTANCE SimInstance();
// Registers a window class of the client once (an existing class is kept),
// with its background in the system colour `background` (COLOR_...).
bool SimEnsureClass(const char* name, WNDPROC proc, int background);
HWND SimTableWindow(int id);  // the window of table `id`, or null
int SimTableId(HWND window);  // the id of a table window, or 0

}  // namespace kova::sim
