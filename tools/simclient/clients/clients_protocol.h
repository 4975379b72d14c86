#pragma once
// What tests need to know of the imitated iPoker, Full Tilt and Rush
// clients: their window classes, the commands' answers and where the Rush
// tables paint their Fold button.
#include <windows.h>

namespace kova::sim {

// ---- iPoker ---------------------------------------------------------------
constexpr const char* kIPokerMainClass = "iPokerMainFrame";
constexpr const char* kIPokerLobbyClass = "iPokerLobbyFrame";
constexpr const char* kIPokerPopupClass = "iPokerPopup";
// A pop-up's client size and its default OK button (client coordinates):
// the client's pop-ups have it near (200, 240).
constexpr int kIPokerPopupWidth = 400, kIPokerPopupHeight = 300;
constexpr RECT kIPokerPopupOk{150, 190, 260, 260};

// ---- Full Tilt Poker lobby ---------------------------------------------------
// "ftp-state" answers kFullTiltStateBase | (bit r-1 set for a registered row r).
constexpr LRESULT kFullTiltStateBase = 0x10000;

// ---- Rush tables --------------------------------------------------------------
constexpr const char* kRushTableClass = "FTCRushTable";
// The Fold button's two places at the reference client size 800 x 600 (the
// button's centre), and their colours; tables of other sizes scale both by
// their height.
constexpr int kRushRefWidth = 800, kRushRefHeight = 600;
constexpr POINT kRushFold1{560, 540};
constexpr POINT kRushFold2{400, 540};
constexpr COLORREF kRushFoldColour1 = RGB(200, 24, 24);
constexpr COLORREF kRushFoldColour2 = RGB(24, 120, 200);

}  // namespace kova::sim
