// What ties the poker-room page to the main form and the tool forms: the
// window capture tool, the window details grabber and the log.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kova::mainwindow {

class TKOVAForm1;
class TPokerRoomPage;

void ConnectRoomPage(TKOVAForm1& form, TPokerRoomPage& page);

}  // namespace kova::mainwindow
