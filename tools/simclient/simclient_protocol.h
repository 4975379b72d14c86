#pragma once
// What tests need to know of the simulated poker client: how to reach it and
// where and in which colour it paints the Fold button.
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace kova::sim {

constexpr const char* kControlClass = "KovaSimClientControl";
constexpr ULONG_PTR kCopyDataCommand = 0x4B53;  // "KS"

constexpr COLORREF kFeltColour = RGB(20, 110, 60);
constexpr COLORREF kFoldColour = RGB(200, 24, 24);

// The Fold button's place in a client area of w x h pixels: bottom right,
// as in the clients it imitates, scaled with the table.
inline RECT FoldButtonRect(int w, int h) {
  return RECT{w * 56 / 100, h * 86 / 100, w * 70 / 100, h * 95 / 100};
}

// Sends one command to a running client; returns its answer (0 on failure).
inline LRESULT SendCommand(const char* clientName, const char* command) {
  HWND control = FindWindowA(kControlClass, clientName);
  if (!control) return 0;
  COPYDATASTRUCT cds{kCopyDataCommand, static_cast<DWORD>(lstrlenA(command)), const_cast<char*>(command)};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 5000, &result))
    return 0;
  return static_cast<LRESULT>(result);
}

// One left-button press in the client's mouse log: the table's id and the
// point in client coordinates.
struct LoggedClick {
  int table, x, y;
};

inline std::vector<LoggedClick> LeftClicksInLog(const std::string& log) {
  std::vector<LoggedClick> clicks;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.find("WM_LBUTTONDOWN") == std::string::npos) continue;
    const size_t t = line.find("table="), x = line.find(" x="), y = line.find(" y=");
    if (t == std::string::npos || x == std::string::npos || y == std::string::npos) continue;
    clicks.push_back(LoggedClick{std::atoi(line.c_str() + t + 6), std::atoi(line.c_str() + x + 3),
                                 std::atoi(line.c_str() + y + 3)});
  }
  return clicks;
}

}  // namespace kova::sim
