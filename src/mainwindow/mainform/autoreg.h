// The " SNG Auto-Registrator " controls of the PokerStars and Full Tilt Poker
// pages: Start and Stop switch the registration that the lobby adapters
// carry out on their own ticks, and the status text shows the switch.
#pragma once

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

namespace kova::mainwindow {

class TAutoRegControls {
public:
    explicit TAutoRegControls(TForm& form);

    TPanel* StatusSNG = nullptr;
    TPanel* StatusSNGFTP = nullptr;

    // Also run by the global start and stop hotkeys (both clients at once).
    void StartAutoRegPokerStars();
    void StopAutoRegPokerStars();
    void StartAutoRegFTP();
    void StopAutoRegFTP();
};

}  // namespace kova::mainwindow
