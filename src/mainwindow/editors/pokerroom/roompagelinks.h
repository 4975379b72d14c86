// What ties the poker-room page to the main form and the tool forms: the
// window capture tool, the window details grabber and the log; and the
// number of a global hotkey from the id WM_HOTKEY carries.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kova::mainwindow {

class TKOVAForm1;
class TPokerRoomPage;

void ConnectRoomPage(TKOVAForm1& form, TPokerRoomPage& page);

// Hotkey n is registered under the id of the global atom "HotKey<n>"; 0
// when the id is none of the eleven.
int32_t HotKeyNumberOfId(WPARAM id);

}  // namespace kova::mainwindow
