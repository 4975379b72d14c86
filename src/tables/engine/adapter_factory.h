// The adapter factory: which adapter class stands for a window that the scan
// gave to a group, chosen by the poker room's type, the window class and the
// title. Each client's branch is registered by that client's adapter module;
// user rooms named "Custom" get TCustomTable, any other window a generic
// TPokerTable.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tables/engine/pokertable.h"

namespace kova::tables {

// Room types that have adapters of their own.
enum : int32_t {
    RoomPokerStars = 1,
    RoomOngameNoColour = 2,
    RoomOngame = 3,
    RoomIPoker = 4,
    RoomRush = 6,
};

// A client branch: the adapter for the window, or null for none (the scan
// then tries the window again next time).
using TRoomAdapterMaker = std::function<TPokerTable*(HWND wnd, const std::string& title, const std::string& className,
                                                     int32_t roomIndex, int32_t groupIndex)>;
// Installs (or, with an empty function, removes) the branch of a room type.
void SetRoomAdapterMaker(int32_t roomType, TRoomAdapterMaker maker);

// A lobby maker: (window, title, group index).
using TLobbyAdapterMaker = std::function<TPokerTable*(HWND wnd, const std::string& title, int32_t groupIndex)>;
void SetLobbyAdapterMakers(TLobbyAdapterMaker pokerStars, TLobbyAdapterMaker fullTilt);

TPokerTable* CreateTableAdapter(HWND wnd, const std::string& title, const std::string& className, int32_t roomIndex,
                                int32_t groupIndex);
TPokerTable* CreateLobbyAdapter(HWND wnd, const std::string& title, int32_t groupIndex);
TPokerTable* CreateFTPLobbyAdapter(HWND wnd, const std::string& title, int32_t groupIndex);

}  // namespace kova::tables
